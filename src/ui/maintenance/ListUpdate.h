#pragma once

#include "core/maintenance/ListCompare.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class FlexGrid;
class QDialog;
class QLabel;
class QMenu;
class QPushButton;
class QWidget;
struct FormContext;

// "c. Update from new list...": takes a new edition of the current PhilHealth list. It reads the
// files "b. Scan && Import" reads, compares them with the table and shows what would change in
// the window "Update <table> from the new list"; Apply writes all of it in one transaction,
// refreshes the links' copies of changed codes (one undoable batch of the history) and records the
// version; links left pointing at dropped codes are then offered for re-mapping. "List
// versions..." lists the versions applied.
class ListUpdate : public QObject {
    Q_OBJECT
public:
    // The button's place in twips: left of the maintenance frame, beside its two buttons, from
    // the top of "a. Create Tables" to the bottom of "b. Scan && Import", in the free space
    // between the link frame (ending at 13815) and the maintenance frame (at 15000): with the
    // frame at its design place, 13920, 480, 975, 1095. Its caption wraps.
    static constexpr int rightOfFrameLeft = -1080;
    static constexpr int belowFrame = -1215;
    static constexpr int buttonWidth = 975;
    static constexpr int buttonHeight = 1095;

    // `folder` gives the folder the lists are read from, the import's.
    ListUpdate(FormContext& form, std::function<QString()> folder);
    ~ListUpdate() override;

    // Puts cmdListUpdate on the form beside the maintenance frame, shown and hidden with it; the
    // Tab key reaches it right after `tabAfter`.
    void install(QWidget* tabAfter);
    // "List versions..." for the mapping list's menu.
    void addMenuItems(QMenu* menu);

    // Reads and compares the current table's files and opens the window (window-modal; this
    // returns while it is open). A file that cannot be read or is empty, or a failure of the
    // database, is told in a message and opens nothing.
    void cmdListUpdate_Click();
    // Applies the comparison shown, after asking when the new list looks cut short.
    void cmdListUpdateApply_Click();
    void cmdListUpdateClose_Click();
    // Opens the window of the versions applied, newest first.
    void cmdListVersions_Click();

    QPushButton* button() const { return m_button; }
    QDialog* dialog() const { return m_dialog; }
    FlexGrid* grid() const { return m_grid; }
    QLabel* summary() const { return m_summary; }
    QDialog* versionsWindow() const { return m_versions; }
    FlexGrid* versionsGrid() const { return m_versionsGrid; }
    const listupdate::Comparison& comparison() const { return m_comparison; }

private:
    void makeDialog();
    void showComparison();

    FormContext& m_form;
    std::function<QString()> m_folder;
    QPushButton* m_button = nullptr;
    QPointer<QDialog> m_dialog;
    FlexGrid* m_grid = nullptr;
    QLabel* m_summary = nullptr;
    QPointer<QDialog> m_versions;
    FlexGrid* m_versionsGrid = nullptr;
    listupdate::Comparison m_comparison;
    bool m_running = false;
};

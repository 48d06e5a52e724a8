#pragma once

#include "core/review/LinkReview.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class FlexGrid;
class QComboBox;
class QDialog;
class QLabel;
class QMenu;
struct FormContext;

// The review of the links by a second person: the window "Review links" (dlgReview), opened by
// "Review links..." in the mapping list's menu or by F4 anywhere on the screen. It lists the links
// of the current table that its filters let through (state, category, who saved them); Enter
// approves the current row and moves to the next, F flags it with a note, Space ticks it and
// "Approve checked" approves the ticked rows; a double click shows the link on the screen. A row
// reviewed shows its new state and stays listed until the list is read again.
class ReviewScreen : public QObject {
    Q_OBJECT
public:
    explicit ReviewScreen(FormContext& form)
        : m_form(form) {}

    // The key F4.
    void install();
    // "Review links..." in the mapping list's menu.
    void addMenuItems(QMenu* menu);

    // Opens the window (or brings it to the front) and reads the list.
    void open();
    // Reads the list again with the filters as they are.
    void refresh();
    QDialog* window() const { return m_window; }

    // What the keys and buttons do, on the grid's rows (the first link is row 1).
    void approveRow(int row);
    void flagRow(int row);
    void approveChecked();
    void toggleTick(int row);
    void showOnScreen(int row);

    // The links listed, in the order of the grid's rows.
    const review::LinkState& listed(int row) const { return m_links[m_shown[row - 1]]; }
    int listedCount() const { return int(m_shown.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    // Fills a filter's items (its first "All", then `values`), keeping its choice where it can.
    static void fillFilter(QComboBox* box, QStringList values);
    bool passes(const review::LinkState& link) const;
    // A row's state and note as recorded; the counts of the listed states under the list.
    void showRow(int row);
    void showSummary();
    // Records the state for the rows and shows the rows' new state. A report says how many were
    // recorded and why any was not; without one, only the reason one row was refused is said.
    // The number recorded.
    int record(const QList<int>& rows, const QString& state, const QString& note, bool report);

    FormContext& m_form;
    QPointer<QDialog> m_window;
    FlexGrid* m_grid = nullptr;
    QComboBox *m_state = nullptr, *m_category = nullptr, *m_by = nullptr;
    QLabel* m_summary = nullptr;
    // The reference table and link table the list was read from, and the reviewer's login.
    QString m_table, m_linkTable, m_login;
    QList<review::LinkState> m_links;
    QList<qsizetype> m_shown;
    bool m_filling = false;
};

#pragma once

#include "ui/screen/FormContext.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

class FlexGrid;
class QPushButton;

// The database check, for hospital IT: the button "Check this database..." under the
// maintenance frame, and the window "Database check" that lists what the check found on the
// current login's connection, one finding a row ("Check", "Result", "Detail"), with the menu
// every list has, so that IT can copy the report or save it as a CSV file.
class DatabaseCheckScreen : public QObject {
    Q_OBJECT
public:
    // The button's place in twips: at the top of "Import drug register..." and 105 twips right of
    // it (its left edge 2685 twips right of the frame's left edge), 105 twips under the frame;
    // with the frame at its design place that is 17685, 1800, 2100, 495. Like the register's
    // button it lies over the revenue frame while the maintenance frame is shown.
    static constexpr int rightOfFrameLeft = 2685;
    static constexpr int belowFrame = 105;
    static constexpr int buttonWidth = 2100;
    static constexpr int buttonHeight = 495;

    explicit DatabaseCheckScreen(FormContext& form);
    ~DatabaseCheckScreen() override;

    // Puts cmdCheckDatabase on the form under the maintenance frame, shown and hidden with the
    // frame and following it; the Tab key reaches it right after `tabAfter`.
    void install(QWidget* tabAfter);

    // Runs the check and shows its findings in the window, opened the first time, brought to the
    // front after.
    void cmdCheckDatabase_Click();
    // Runs the check again and lists its findings.
    void RunCheck();
    // Closes the window if it is open.
    void closeWindow();

    QPushButton* button() const { return m_button; }
    // The window once it has been opened (it lives with the screen), else nullptr.
    QDialog* window() const { return m_window; }

private:
    void makeWindow();

    FormContext& m_form;
    QPushButton* m_button = nullptr;
    QPointer<QDialog> m_window;
    FlexGrid* m_grid = nullptr;
};

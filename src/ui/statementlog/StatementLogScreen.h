#pragma once

#include "core/db/ResultTables.h"
#include "ui/screen/FormContext.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

class FlexGrid;
class QPushButton;
class StatementLog;

// The statement log, for hospital IT: the button "Statement log..." under the maintenance frame,
// and the window that lists the last statements the connection sent, newest first, with their
// time, duration, rows and the database's error text. Passwords and connection strings are
// masked in what it shows, copies and saves.
class StatementLogScreen : public QObject {
    Q_OBJECT
public:
    // The button's place in twips: 105 twips under the maintenance frame (as far apart as the
    // frame's buttons), its right edge 375 twips past the frame's left edge; with the frame at
    // its design place that is 13920, 1800, 1455, 495. It thus lies between the link frame
    // (which ends at 13815) and the revenue frame, which the layout moves under the maintenance
    // frame (to 15425 at the design size on a window without a border).
    static constexpr int belowFrame = 105;
    static constexpr int rightPastFrameLeft = 375;
    static constexpr int buttonWidth = 1455;
    static constexpr int buttonHeight = 495;

    explicit StatementLogScreen(FormContext& form);
    ~StatementLogScreen() override;

    // Puts cmdStatementLog on the form under the maintenance frame: it is shown and hidden with
    // the frame and follows it wherever the frame goes.
    void install();

    // Opens the window with the log as it is now, or brings the open window to the front.
    void cmdStatementLog_Click();
    // Lists the log again.
    void Refresh();
    // Closes the window if it is open.
    void closeWindow();

    QPushButton* button() const { return m_button; }
    // The window once it has been opened (it lives with the screen), else nullptr.
    QDialog* window() const { return m_window; }

    // A log as the window lists it: "Time", "Duration (ms)", "Rows", "Statement", "Error", one
    // row a statement, newest first; texts masked, no rows when the database did not say.
    static TextTable table(const StatementLog& log);

private:
    void makeWindow();

    FormContext& m_form;
    QPushButton* m_button = nullptr;
    QPointer<QDialog> m_window;
    FlexGrid* m_grid = nullptr;
};

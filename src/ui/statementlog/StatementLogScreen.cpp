#include "StatementLogScreen.h"

#include "core/db/StatementLog.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/FrameFollower.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowPlacement.h"
#include "ui/widgets/WindowSettings.h"

#include <QDialog>
#include <QGroupBox>
#include <QPushButton>

namespace {

// The widths of the window's columns, in twips: time, duration, rows, statement, error.
constexpr std::initializer_list<int> columnWidths = {2400, 1300, 700, 9000, 5000};

} // namespace

StatementLogScreen::StatementLogScreen(FormContext& form)
    : m_form(form) {}

StatementLogScreen::~StatementLogScreen() {
    // The window goes with the screen, before the screen's other parts.
    delete m_window;
}

void StatementLogScreen::install() {
    QGroupBox* frame = m_form.c.fraMaint;
    m_button = new QPushButton(QStringLiteral("Statement log..."), frame->parentWidget());
    m_button->setObjectName(QStringLiteral("cmdStatementLog"));
    // Above the revenue frame where a narrow window brings it under the button, as the
    // maintenance frame is.
    m_button->raise();
    QWidget::setTabOrder(m_form.c.cmdCreateTable, m_button);
    new FrameFollower(frame, m_button, rightPastFrameLeft - buttonWidth, belowFrame, buttonWidth,
                      buttonHeight);
    connect(m_button, &QPushButton::clicked, this, [this] { cmdStatementLog_Click(); });
}

void StatementLogScreen::cmdStatementLog_Click() {
    if (!m_window) {
        makeWindow();
        // Beside the screen, or over its revenue lists: never over the steps or the mappings.
        placement::placeFirstTime(m_window, m_form.c.fraMaint->window(),
                                  {m_form.c.GridRev, m_form.c.GridRevCode},
                                  m_form.user.VALTORClasses());
    }
    if (!m_window->isVisible()) {
        Refresh();
        m_window->show();
    }
    m_window->raise();
    m_window->activateWindow();
}

void StatementLogScreen::makeWindow() {
    const ListWindow w = ListWindow::make(
        m_form.c.fraMaint->window(), QStringLiteral("dlgStatementLog"),
        QStringLiteral("Statement log"), QStringLiteral("GridStatementLog"), columnWidths);
    m_window = w.window;
    m_grid = w.grid;
    m_form.screen.addListMenu(m_grid);
    QPushButton* refresh =
        w.addButton(QStringLiteral("cmdStatementLogRefresh"), QStringLiteral("Refresh"));
    connect(refresh, &QPushButton::clicked, this, [this] { Refresh(); });
    // Close and Esc hide the window; the next click on the button shows it again, listed anew.
    // Closed, the window keeps its place and size for the next time.
    connect(m_window, &QDialog::finished, this,
            [this] { m_form.user.VALTORClasses().Savewinsettings(m_window); });
}

void StatementLogScreen::Refresh() {
    if (!m_grid)
        return;
    try {
        m_grid->bind(table(m_form.db().statements()));
    } catch (const DbError& e) {
        m_form.prompter.message(e.description());
    }
}

void StatementLogScreen::closeWindow() {
    if (m_window)
        m_window->close();
}

TextTable StatementLogScreen::table(const StatementLog& log) {
    TextTable t{{QStringLiteral("Time"), QStringLiteral("Duration (ms)"), QStringLiteral("Rows"),
                 QStringLiteral("Statement"), QStringLiteral("Error")},
                {}};
    const QList<StatementRecord> records = log.newestFirst();
    t.rows.reserve(records.size());
    for (const StatementRecord& r : records)
        t.rows << QStringList{sentAtText(r.sentAt), durationText(r.microseconds),
                              r.rows < 0 ? QString() : QString::number(r.rows),
                              StatementLog::masked(r.statement), StatementLog::masked(r.error)};
    return t;
}

#include "DatabaseCheckScreen.h"

#include "core/diagnostics/DatabaseCheck.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/FrameFollower.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/LongWork.h"
#include "ui/widgets/WindowPlacement.h"
#include "ui/widgets/WindowSettings.h"

#include <QGroupBox>
#include <QPushButton>

namespace {

// The widths of the window's columns, in twips: check, result, detail.
constexpr std::initializer_list<int> columnWidths = {3600, 1000, 12000};

} // namespace

DatabaseCheckScreen::DatabaseCheckScreen(FormContext& form)
    : m_form(form) {}

DatabaseCheckScreen::~DatabaseCheckScreen() {
    // The window goes with the screen, before the screen's other parts.
    delete m_window;
}

void DatabaseCheckScreen::install(QWidget* tabAfter) {
    QGroupBox* frame = m_form.c.fraMaint;
    m_button = new QPushButton(QStringLiteral("Check this database..."), frame->parentWidget());
    m_button->setObjectName(QStringLiteral("cmdCheckDatabase"));
    // Above the revenue frame, which lies under the maintenance frame at the design size.
    m_button->raise();
    QWidget::setTabOrder(tabAfter, m_button);
    new FrameFollower(frame, m_button, rightOfFrameLeft, belowFrame, buttonWidth, buttonHeight);
    connect(m_button, &QPushButton::clicked, this, [this] { cmdCheckDatabase_Click(); });
}

void DatabaseCheckScreen::cmdCheckDatabase_Click() {
    if (!m_window) {
        makeWindow();
        // Beside the screen, or over its revenue lists: never over the steps or the mappings.
        placement::placeFirstTime(m_window, m_form.c.fraMaint->window(),
                                  {m_form.c.GridRev, m_form.c.GridRevCode},
                                  m_form.user.VALTORClasses());
    }
    RunCheck();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void DatabaseCheckScreen::makeWindow() {
    const ListWindow w = ListWindow::make(
        m_form.c.fraMaint->window(), QStringLiteral("dlgDatabaseCheck"),
        QStringLiteral("Database check"), QStringLiteral("GridDatabaseCheck"), columnWidths);
    m_window = w.window;
    m_grid = w.grid;
    m_form.screen.addListMenu(m_grid);
    QPushButton* again =
        w.addButton(QStringLiteral("cmdDatabaseCheckAgain"), QStringLiteral("Run again"));
    connect(again, &QPushButton::clicked, this, [this] { RunCheck(); });
    // Close and Esc hide the window; the next click on the button runs the check again.
    // Closed, the window keeps its place and size for the next time.
    connect(m_window, &QDialog::finished, this,
            [this] { m_form.user.VALTORClasses().Savewinsettings(m_window); });
}

void DatabaseCheckScreen::RunCheck() {
    if (!m_grid)
        return;
    WaitCursor wait(m_form.c.fraMaint->window());
    // Every step reports its own failure as a finding; the check itself raises nothing.
    m_grid->bind(diagnostics::findingsTable(diagnostics::checkDatabase(m_form.db())));
}

void DatabaseCheckScreen::closeWindow() {
    if (m_window)
        m_window->close();
}

#include "DatabaseCheckScreen.h"

#include "core/diagnostics/DatabaseCheck.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/FrameFollower.h"
#include "ui/widgets/LongWork.h"
#include "ui/widgets/WindowPlacement.h"
#include "ui/widgets/WindowSettings.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The widths of the window's columns, in twips: check, result, detail.
constexpr int columnWidths[] = {3600, 1000, 12000};

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
    // A window of the screen's: it stays in front of the screen without blocking it, and goes
    // with it.
    m_window = new QDialog(m_form.c.fraMaint->window());
    m_window->setObjectName(QStringLiteral("dlgDatabaseCheck"));
    m_window->setWindowTitle(QStringLiteral("Database check"));
    m_window->setModal(false);
    auto* layout = new QVBoxLayout(m_window);
    m_grid = new FlexGrid(m_window);
    m_grid->setObjectName(QStringLiteral("GridDatabaseCheck"));
    for (int col = 0; col < int(std::size(columnWidths)); ++col)
        m_grid->setColWidth(col, columnWidths[col]);
    m_form.screen.addListMenu(m_grid);
    layout->addWidget(m_grid);
    auto* buttons = new QHBoxLayout;
    auto* again = new QPushButton(QStringLiteral("Run again"), m_window);
    again->setObjectName(QStringLiteral("cmdDatabaseCheckAgain"));
    auto* close = new QPushButton(QStringLiteral("Close"), m_window);
    close->setObjectName(QStringLiteral("cmdDatabaseCheckClose"));
    buttons->addStretch();
    buttons->addWidget(again);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(again, &QPushButton::clicked, this, [this] { RunCheck(); });
    // Close and Esc hide the window; the next click on the button runs the check again.
    connect(close, &QPushButton::clicked, m_window, &QDialog::reject);
    // Closed, the window keeps its place and size for the next time.
    connect(m_window, &QDialog::finished, this,
            [this] { m_form.user.VALTORClasses().Savewinsettings(m_window); });
    m_window->resize(1240, 560);
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

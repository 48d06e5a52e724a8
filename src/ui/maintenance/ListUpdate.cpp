#include "ListUpdate.h"

#include "core/db/DbError.h"
#include "core/maintenance/ListApply.h"
#include "core/maintenance/ListStatements.h"
#include "ui/screen/FormContext.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/FrameFollower.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/LongWork.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowPlacement.h"
#include "ui/widgets/WindowSettings.h"
#include "ui/widgets/WrappingButton.h"

#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace {

// The widths of the comparison's columns, in twips: change, code, field, now, new list, links.
constexpr int columnWidths[] = {1900, 1300, 1300, 5200, 5200, 700};
// The versions' columns.
constexpr std::initializer_list<int> versionWidths = {800, 1200, 1900, 1400, 1400, 2800,
                                                      900, 700,  900,  1400, 1300, 6000};

QString linksText(int links) {
    return links == 1 ? QStringLiteral("1 link") : QStringLiteral("%1 links").arg(links);
}

} // namespace

ListUpdate::ListUpdate(FormContext& form, std::function<QString()> folder)
    : m_form(form)
    , m_folder(std::move(folder)) {}

ListUpdate::~ListUpdate() {
    // The windows go with the screen, before the screen's other parts.
    delete m_versions;
    delete m_dialog;
}

void ListUpdate::install(QWidget* tabAfter) {
    QGroupBox* frame = m_form.c.fraMaint;
    m_button =
        new WrappingButton(QStringLiteral("c. Update from new list..."), frame->parentWidget());
    m_button->setObjectName(QStringLiteral("cmdListUpdate"));
    m_button->raise();
    QWidget::setTabOrder(tabAfter, m_button);
    new FrameFollower(frame, m_button, rightOfFrameLeft, belowFrame, buttonWidth, buttonHeight);
    connect(m_button, &QPushButton::clicked, this, [this] { cmdListUpdate_Click(); });
}

void ListUpdate::addMenuItems(QMenu* menu) {
    menu->addAction(QStringLiteral("List versions..."), this, [this] { cmdListVersions_Click(); });
}

void ListUpdate::cmdListUpdate_Click() {
    if (m_running)
        return;
    RunningFlag running(m_running);
    const QString table = m_form.c.lblESOATableName->text();
    QList<listupdate::ListFile> files;
    if (const QString failure = listupdate::readFiles(m_folder(), table, files);
        !failure.isEmpty()) {
        m_form.prompter.message(failure);
        return;
    }
    try {
        WaitCursor wait(m_form.c.fraMaint->window());
        m_comparison = listupdate::compare(m_form.db(), table, files);
    } catch (const DbError& e) {
        m_form.prompter.message(e.description());
        return;
    }
    if (!m_dialog)
        makeDialog();
    showComparison();
    m_dialog->open();
    m_dialog->raise();
    m_dialog->activateWindow();
    m_grid->setFocus();
}

void ListUpdate::makeDialog() {
    m_dialog = new QDialog(m_form.c.fraMaint->window());
    m_dialog->setObjectName(QStringLiteral("dlgListUpdate"));
    m_dialog->setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(m_dialog);
    m_summary = new QLabel(m_dialog);
    m_summary->setObjectName(QStringLiteral("lblListUpdateSummary"));
    layout->addWidget(m_summary);
    m_grid = new FlexGrid(m_dialog);
    m_grid->setObjectName(QStringLiteral("GridListUpdate"));
    for (int col = 0; col < int(std::size(columnWidths)); ++col)
        m_grid->setColWidth(col, columnWidths[col]);
    m_form.screen.addListMenu(m_grid);
    layout->addWidget(m_grid);
    auto* buttons = new QHBoxLayout;
    auto* versions = new QPushButton(QStringLiteral("List versions..."), m_dialog);
    versions->setObjectName(QStringLiteral("cmdListVersions"));
    auto* apply = new QPushButton(QStringLiteral("Apply"), m_dialog);
    apply->setObjectName(QStringLiteral("cmdListUpdateApply"));
    auto* close = new QPushButton(QStringLiteral("Close"), m_dialog);
    close->setObjectName(QStringLiteral("cmdListUpdateClose"));
    for (QPushButton* button : {versions, apply, close})
        button->setAutoDefault(false);
    buttons->addWidget(versions);
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(versions, &QPushButton::clicked, this, [this] { cmdListVersions_Click(); });
    connect(apply, &QPushButton::clicked, this, [this] { cmdListUpdateApply_Click(); });
    connect(close, &QPushButton::clicked, this, [this] { cmdListUpdateClose_Click(); });
    connect(m_dialog, &QDialog::finished, this,
            [this] { m_form.user.VALTORClasses().Savewinsettings(m_dialog); });
    int width = 0;
    for (int w : columnWidths)
        width += w;
    m_dialog->resize(twips::toPixels(width + 700), twips::toPixels(7200));
    placement::placeFirstTime(m_dialog, m_form.c.fraMaint->window(),
                              {m_form.c.GridRev, m_form.c.GridRevCode},
                              m_form.user.VALTORClasses());
}

void ListUpdate::showComparison() {
    const listupdate::Comparison& c = m_comparison;
    m_dialog->setWindowTitle(QStringLiteral("Update %1 from the new list").arg(c.table));
    m_summary->setText(c.summary());
    TextTable shown;
    shown.columns =
        QStringList{QStringLiteral("Change"), QStringLiteral("Code"),     QStringLiteral("Field"),
                    QStringLiteral("Now"),    QStringLiteral("New list"), QStringLiteral("Links")};
    for (const listupdate::Difference& d : c.rows)
        shown.rows << QStringList{listupdate::changeText(d.change), d.code, d.field, d.now, d.next,
                                  QString::number(d.links)};
    m_grid->bind(shown);
}

void ListUpdate::cmdListUpdateApply_Click() {
    if (m_running || !m_dialog)
        return;
    RunningFlag running(m_running);
    const listupdate::Comparison& c = m_comparison;
    if (c.looksCutShort() &&
        m_form.prompter.message(QStringLiteral("The new list lacks %1 of the %2 codes listed now. "
                                               "Apply it all the same?")
                                    .arg(c.retiredCodes)
                                    .arg(c.codesNow),
                                Prompter::Buttons::YesNoDefaultNo,
                                Prompter::Icon::Question) != Prompter::Answer::Yes)
        return;
    listupdate::Applied applied;
    try {
        WaitCursor wait(m_dialog);
        applied = listupdate::apply(m_form.db(), m_form.history, c);
    } catch (const DbError& e) {
        m_form.prompter.message(
            QStringLiteral("The new list was not applied; nothing was changed.\r\n") +
                e.description(),
            Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    m_dialog->close();
    // The lists show the new edition; the suggestions read it again.
    m_form.screen.referenceListUpdated();
    m_form.screen.LoadCategories();
    m_form.screen.LoadReferenceItems();
    m_form.screen.LoadMappings();
    m_form.prompter.message(
        QStringLiteral("%1 is updated (version %2): %3 new, %4 changed, %5 no longer listed; %6 "
                       "refreshed.")
            .arg(c.table)
            .arg(applied.version)
            .arg(applied.newCodes)
            .arg(applied.changedCodes)
            .arg(applied.retiredCodes)
            .arg(linksText(applied.linksRefreshed)));
    // Links left pointing at dropped codes are offered for re-mapping; none, nothing opens.
    if (c.table == m_form.c.lblESOATableName->text())
        m_form.screen.showLinksToMissingCodes();
}

void ListUpdate::cmdListUpdateClose_Click() {
    if (m_dialog)
        m_dialog->close();
}

void ListUpdate::cmdListVersions_Click() {
    TextTable rows;
    try {
        rows = m_form.db().query(listupdate::versionsStatement());
    } catch (const DbError& e) {
        m_form.prompter.message(listupdate::tablesPresent(m_form.db())
                                    ? e.description()
                                    : QStringLiteral("No new edition of a list has been applied "
                                                     "to this database yet."));
        return;
    }
    // Over the update's window while it is open, else over the screen.
    QWidget* over = m_dialog && m_dialog->isVisible() ? static_cast<QWidget*>(m_dialog)
                                                      : m_form.c.fraMaint->window();
    if (!m_versions || m_versions->parentWidget() != over) {
        delete m_versions;
        const ListWindow w = ListWindow::make(over, QStringLiteral("dlgListVersions"),
                                              QStringLiteral("List versions"),
                                              QStringLiteral("GridListVersions"), versionWidths);
        m_versions = w.window;
        m_versionsGrid = w.grid;
        m_form.screen.addListMenu(m_versionsGrid);
    }
    m_versionsGrid->bind(rows);
    m_versions->show();
    m_versions->raise();
    m_versions->activateWindow();
}

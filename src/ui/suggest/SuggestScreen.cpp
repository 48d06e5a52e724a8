#include "SuggestScreen.h"

#include "core/db/DbError.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/LongWork.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowPlacement.h"
#include "ui/widgets/WindowSettings.h"

#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The window's columns and their widths in twips.
const char* const columnNames[] = {"Score",   "ItemID",    "Item", "Generic",
                                   "Revenue", "Mapped to", "Why"};
constexpr int columnWidths[] = {700, 1000, 5200, 2600, 900, 1400, 5200};
constexpr int mappedToColumn = 5;

// The exam table a routing names: "BUILD_FILE..tbcoLabExam" is tbcoLabExam.
QString examTableOf(const QString& routedTable) {
    const int dot = routedTable.lastIndexOf(u'.');
    return dot < 0 ? routedTable : routedTable.mid(dot + 1);
}

} // namespace

SuggestScreen::SuggestScreen(FormContext& form)
    : m_form(form)
    , m_codes(form, m_engine, [this] { followLinkChanges(); })
    , m_retired(form, m_engine, [this] { followLinkChanges(); }) {}

SuggestScreen::~SuggestScreen() {
    delete m_window;
}

void SuggestScreen::install() {
    Controls& c = m_form.c;
    QWidget* screen = c.Grid1->window();
    // Anywhere on the screen; the window has its own.
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), screen, nullptr, nullptr,
                             Qt::WidgetWithChildrenShortcut);
    f3->setObjectName(QStringLiteral("keySuggest"));
    connect(f3, &QShortcut::activated, this, [this] { showSuggestions(); });
    // These run after the screen's own procedures for the same events.
    auto follow = [this] {
        if (m_window && m_window->isVisible())
            Refresh();
    };
    connect(c.Grid1, &FlexGrid::gridClicked, this, follow);
    // A save, a delete or an undo shows in "Mapped to" at once.
    m_form.history.setChanged(
        [this](const QString& linkTable, const QString& revenueId, const QString& itemId) {
            showMappedTo(linkTable, revenueId, itemId);
        });
    connect(c.GridCat, &FlexGrid::gridClicked, this, follow);
    for (QRadioButton* option : c.optTable)
        connect(option, &QRadioButton::toggled, this, [follow](bool selected) {
            if (selected)
                follow();
        });
}

void SuggestScreen::addMappingListItems(QMenu* menu) {
    menu->addSeparator();
    menu->addAction(QStringLiteral("Links to codes no longer listed..."), this,
                    [this] { m_retired.open(); });
}

void SuggestScreen::addMenuItems(QMenu* menu, FlexGrid* grid) {
    if (grid == m_form.c.Grid1) {
        menu->addSeparator();
        QAction* action = menu->addAction(QStringLiteral("Suggest hospital items..."), this,
                                          [this] { showSuggestions(); });
        action->setShortcut(QKeySequence(Qt::Key_F3));
    } else if (grid == m_form.c.Grid2) {
        menu->addSeparator();
        menu->addAction(QStringLiteral("Suggest PhilHealth codes for the listed items..."), this,
                        [this] { m_codes.open(); });
    }
}

void SuggestScreen::makeWindow() {
    // A window of the screen's: it stays beside the screen without blocking it, and goes with it.
    m_window = new QDialog(m_form.c.Grid1->window());
    m_window->setObjectName(QStringLiteral("dlgSuggest"));
    m_window->setWindowTitle(QStringLiteral("Suggestions"));
    m_window->setModal(false);
    auto* layout = new QVBoxLayout(m_window);
    m_for = new QLabel(m_window);
    m_for->setObjectName(QStringLiteral("lblSuggestFor"));
    m_for->setWordWrap(true);
    m_for->setTextFormat(Qt::PlainText);
    layout->addWidget(m_for);
    m_grid = new FlexGrid(m_window);
    m_grid->setObjectName(QStringLiteral("GridSuggest"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int col = 0; col < int(std::size(columnWidths)); ++col)
        m_grid->setColWidth(col, columnWidths[col]);
    m_form.screen.addListMenu(m_grid);
    layout->addWidget(m_grid);
    auto* buttons = new QHBoxLayout;
    auto* close = new QPushButton(QStringLiteral("Close"), m_window);
    close->setObjectName(QStringLiteral("cmdSuggestClose"));
    // Enter belongs to the list (it takes the row over), never to the button.
    close->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, m_window, &QDialog::close);
    // Closed (Close, Esc), the window keeps its place and size for the next time, and hands the
    // keyboard back to the screen.
    connect(m_window, &QDialog::finished, this, [this] {
        m_form.user.VALTORClasses().Savewinsettings(m_window);
        QTimer::singleShot(0, m_form.c.Grid1->window(),
                           [screen = m_form.c.Grid1->window()] { screen->activateWindow(); });
    });
    connect(m_grid, &FlexGrid::rowChosen, this, [this] { takeOver(m_grid->row()); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            takeOver(index.row() + m_grid->fixedRows());
    });
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), m_window);
    connect(f3, &QShortcut::activated, this, [this] { showSuggestions(); });
    int width = 0;
    for (int w : columnWidths)
        width += w;
    m_window->resize(twips::toPixels(width + 600), twips::toPixels(6600));
}

void SuggestScreen::showSuggestions() {
    if (!m_window) {
        makeWindow();
        // Beside the screen, or over its revenue lists: never over the steps or the mappings.
        placement::placeFirstTime(m_window, m_form.c.Grid1->window(),
                                  {m_form.c.GridRev, m_form.c.GridRevCode},
                                  m_form.user.VALTORClasses());
    }
    Refresh();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    m_grid->setFocus();
    if (m_grid->rows() > 1)
        m_grid->setRow(1);
}

void SuggestScreen::followLinkChanges() {
    const quint64 changes = m_form.history.changes();
    if (changes != m_linksSeen) {
        m_engine.linksChanged();
        m_linksSeen = changes;
    }
}

bool SuggestScreen::isRouted(const suggest::HospitalItem& item) const {
    const Controls& c = m_form.c;
    const QString section = c.txtSectionID->text();
    return item.examTable.compare(examTableOf(c.lblTable->text()), Qt::CaseInsensitive) == 0 &&
           (section.isEmpty() || item.sectionId.compare(section, Qt::CaseInsensitive) == 0);
}

void SuggestScreen::Refresh() {
    if (!m_window)
        return;
    Controls& c = m_form.c;
    m_shown.clear();
    m_revenues.clear();
    TextTable table;
    for (const char* name : columnNames)
        table.columns << QLatin1String(name);
    const QString code = c.txtESOACode->text(), description = c.txtESOADesc->text();
    if (code.isEmpty()) {
        m_for->setText(QStringLiteral("Choose a PhilHealth item in the list."));
        m_grid->bind(table);
        return;
    }
    m_for->setText(code + QStringLiteral(" - ") + description);
    const QString referenceTable = c.lblESOATableName->text();
    const bool inventory = c.txtType->text() == u"INV";
    try {
        WaitCursor wait(m_window);
        followLinkChanges();
        const suggest::Routed routed{examTableOf(c.lblTable->text()), c.txtSectionID->text()};
        const auto found = m_engine.hospitalItemsFor(m_form.db(), referenceTable, code, description,
                                                     inventory, routed, listed);
        for (const suggest::HospitalSuggestion& s : found) {
            // The revenue code a save of this item would write.
            const QString revenue =
                inventory || isRouted(s.item) ? c.txtRevID->text() : s.item.revenueId;
            const QString mapped = suggest::Suggestions::linkedCode(m_form.db(), referenceTable,
                                                                    revenue, s.item.itemId);
            table.rows << QStringList{
                QString::number(s.score), s.item.itemId, s.item.item, s.item.generic,
                s.item.revenueId,         mapped,        s.why};
            m_shown << s.item;
            m_revenues << revenue;
        }
    } catch (const DbError& e) {
        m_shown.clear();
        m_revenues.clear();
        table.rows.clear();
        m_grid->bind(table);
        m_form.prompter.message(e.description());
        return;
    }
    m_grid->bind(table);
}

void SuggestScreen::showMappedTo(const QString& linkTable, const QString& revenueId,
                                 const QString& itemId) {
    if (!m_window || !m_window->isVisible() || m_shown.isEmpty())
        return;
    const QString referenceTable = m_form.c.lblESOATableName->text();
    if (!linkTable.contains(referenceTable + QStringLiteral("_LINK"), Qt::CaseInsensitive))
        return;
    try {
        for (int i = 0; i < m_shown.size(); ++i) {
            // The item of the change, or every item after a change of several.
            if (!itemId.isEmpty() && (m_shown[i].itemId != itemId ||
                                      m_revenues[i].compare(revenueId, Qt::CaseInsensitive) != 0))
                continue;
            m_grid->setTextMatrix(i + 1, mappedToColumn,
                                  suggest::Suggestions::linkedCode(m_form.db(), referenceTable,
                                                                   m_revenues[i],
                                                                   m_shown[i].itemId));
        }
    } catch (const DbError&) {
        // The next listing says what is wrong with the link table.
    }
}

void SuggestScreen::takeOver(int row) {
    if (row < 1 || row > m_shown.size())
        return;
    const suggest::HospitalItem item = m_shown[row - 1];
    Controls& c = m_form.c;
    if (!item.inventory() && !isRouted(item)) {
        // The routing of the item's exam table, as a click on its row in the revenue list gives.
        c.txtRevID->setText(item.revenueId);
        c.lblTable->setText(QStringLiteral("BUILD_FILE..") + item.examTable);
        c.lblIDFieldName->setText(item.idField);
        c.lblExamFieldName->setText(item.nameField);
        c.txtSectionID->setText(item.sectionField.isEmpty() ? QString() : item.sectionId);
        m_form.screen.SearchHospitalItems();
    }
    // Its row in the hospital list, clicked; an item the list does not show is taken as the
    // click would take it.
    FlexGrid* list = c.Grid2;
    int listed = -1;
    for (int r = list->fixedRows(); r < list->rows() && listed < 0 && list->cols() > 1; ++r)
        if (list->textMatrix(r, 0) == item.itemId)
            listed = r;
    bool taken = false;
    if (listed > 0) {
        list->setRow(listed);
        try {
            m_form.screen.Grid2_Click();
            taken = c.txtVALTORItemID->text() == item.itemId;
        } catch (const GridError&) {
        }
    }
    if (!taken) {
        c.txtVALTORItemID->setText(item.itemId);
        c.txtVALTORitemDesc->setText(item.item);
        m_form.steps.ShowStepHint(5);
    }
    // The next step is the save: Alt+V, or Enter on the focused button.
    QWidget* screen = c.cmdEdit->window();
    screen->activateWindow();
    c.cmdEdit->setFocus();
}

void SuggestScreen::closeWindow() {
    if (m_window)
        m_window->close();
    m_codes.close();
}

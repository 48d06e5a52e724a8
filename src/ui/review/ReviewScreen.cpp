#include "ReviewScreen.h"

#include "core/review/ReviewStatements.h"
#include "ui/screen/FormContext.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/LongWork.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowPlacement.h"
#include "ui/widgets/WindowSettings.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The grid's columns and their widths in twips.
struct Column {
    const char* name;
    int width;
};
constexpr Column columns[] = {
    {"State", 1400},  {"Code", 1100},     {"Description", 3400}, {"ItemID", 1100}, {"Item", 3400},
    {"Revenue", 900}, {"Saved by", 1400}, {"Saved at", 1900},    {"How", 1800},    {"Note", 2600}};
constexpr int stateColumn = 0, noteColumn = 9;

// The state filter's items and the states they let through (empty: all).
struct StateChoice {
    const char* caption;
    const char* state;
};
constexpr StateChoice stateChoices[] = {{"To review", review::toReview},
                                        {"Flagged", review::flagged},
                                        {"Approved", review::approved},
                                        {"All", ""}};

const QString all = QStringLiteral("All");

// How many refused links a report names; the rest are counted.
constexpr int namedRefusals = 20;

} // namespace

void ReviewScreen::install() {
    QWidget* screen = m_form.c.Grid1->window();
    auto* f4 = new QShortcut(QKeySequence(Qt::Key_F4), screen, nullptr, nullptr,
                             Qt::WidgetWithChildrenShortcut);
    f4->setObjectName(QStringLiteral("keyReview"));
    connect(f4, &QShortcut::activated, this, [this] { open(); });
}

void ReviewScreen::addMenuItems(QMenu* menu) {
    QAction* item = menu->addAction(QStringLiteral("Review links..."), this, [this] { open(); });
    item->setShortcut(QKeySequence(Qt::Key_F4));
}

void ReviewScreen::build() {
    QWidget* screen = m_form.c.Grid1->window();
    m_window = new QDialog(screen);
    m_window->setObjectName(QStringLiteral("dlgReview"));
    m_window->setWindowTitle(QStringLiteral("Review links"));
    m_window->setModal(false);
    auto* layout = new QVBoxLayout(m_window);
    auto* filters = new QHBoxLayout;
    auto addFilter = [&](const char* name, const QString& caption) {
        auto* label = new QLabel(caption, m_window);
        auto* box = new QComboBox(m_window);
        box->setObjectName(QLatin1String(name));
        label->setBuddy(box);
        filters->addWidget(label);
        filters->addWidget(box);
        return box;
    };
    m_state = addFilter("cboReviewState", QStringLiteral("&State"));
    for (const StateChoice& choice : stateChoices)
        m_state->addItem(QLatin1String(choice.caption));
    m_category = addFilter("cboReviewCategory", QStringLiteral("&Category"));
    m_category->setMinimumContentsLength(16);
    m_by = addFilter("cboReviewBy", QStringLiteral("Saved &by"));
    m_by->setMinimumContentsLength(12);
    auto* refreshButton = new QPushButton(QStringLiteral("&Refresh"), m_window);
    refreshButton->setObjectName(QStringLiteral("cmdReviewRefresh"));
    filters->addWidget(refreshButton);
    filters->addStretch();
    layout->addLayout(filters);
    m_grid = new FlexGrid(m_window);
    m_grid->setObjectName(QStringLiteral("GridReview"));
    m_form.screen.addListMenu(m_grid);
    layout->addWidget(m_grid);
    auto* bottom = new QHBoxLayout;
    m_summary = new QLabel(m_window);
    m_summary->setObjectName(QStringLiteral("lblReviewSummary"));
    bottom->addWidget(m_summary);
    bottom->addStretch();
    auto* approve = new QPushButton(QStringLiteral("Approve checked"), m_window);
    approve->setObjectName(QStringLiteral("cmdReviewApprove"));
    auto* flag = new QPushButton(QStringLiteral("Flag..."), m_window);
    flag->setObjectName(QStringLiteral("cmdReviewFlag"));
    auto* close = new QPushButton(QStringLiteral("Close"), m_window);
    close->setObjectName(QStringLiteral("cmdReviewClose"));
    for (QPushButton* button : {refreshButton, approve, flag, close}) {
        button->setAutoDefault(false);
        if (button != refreshButton)
            bottom->addWidget(button);
    }
    layout->addLayout(bottom);

    for (QComboBox* box : {m_state, m_category, m_by})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_filling)
                refresh();
        });
    connect(refreshButton, &QPushButton::clicked, this, [this] { refresh(); });
    connect(approve, &QPushButton::clicked, this, [this] { approveChecked(); });
    connect(flag, &QPushButton::clicked, this, [this] { flagRow(m_grid->row()); });
    connect(close, &QPushButton::clicked, m_window, &QDialog::close);
    connect(m_grid, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { showOnScreen(index.row() + m_grid->fixedRows()); });
    m_grid->installEventFilter(this);
    QDialog* dialog = m_window;
    connect(dialog, &QDialog::finished, dialog,
            [this, dialog] { m_form.user.VALTORClasses().Savewinsettings(dialog); });
    int width = 700;
    for (const Column& column : columns)
        width += column.width;
    m_window->resize(twips::toPixels(std::min(width, 18000)), twips::toPixels(7800));
    placement::placeFirstTime(m_window, screen, {m_form.c.GridRev, m_form.c.GridRevCode},
                              m_form.user.VALTORClasses());
}

void ReviewScreen::open() {
    Gateway& db = m_form.db();
    // A review stands until the link's next change, which its history tells: without the history
    // no review could be trusted.
    if (!m_form.history.available(db)) {
        m_form.prompter.message(QStringLiteral("Links cannot be reviewed without the history of "
                                               "their changes (ESOA_LINK_HISTORY), which this "
                                               "database does not keep."));
        return;
    }
    try {
        review::makeTable(db);
    } catch (const DbError& e) {
        m_form.prompter.message(e.description());
        return;
    }
    if (!m_window)
        build();
    refresh();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    m_grid->setFocus();
}

void ReviewScreen::fillFilter(QComboBox* box, QStringList values) {
    const QString chosen = box->currentText();
    values.removeAll(QString());
    // Names that differ only in case are one, as SQL Server compares them.
    std::sort(values.begin(), values.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    values.erase(std::unique(values.begin(), values.end(),
                             [](const QString& a, const QString& b) {
                                 return a.compare(b, Qt::CaseInsensitive) == 0;
                             }),
                 values.end());
    box->clear();
    box->addItem(all);
    box->addItems(values);
    box->setCurrentIndex(std::max(0, box->findText(chosen)));
}

bool ReviewScreen::passes(const review::LinkState& link) const {
    const QString state = QLatin1String(stateChoices[std::max(0, m_state->currentIndex())].state);
    if (!state.isEmpty() && link.state != state)
        return false;
    const auto same = [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    };
    if (m_category->currentIndex() > 0 && !same(link.category, m_category->currentText()))
        return false;
    return m_by->currentIndex() <= 0 || same(link.savedBy, m_by->currentText());
}

void ReviewScreen::refresh() {
    if (!m_window)
        return;
    Gateway& db = m_form.db();
    m_table = m_form.c.lblESOATableName->text();
    m_linkTable = m_table + QStringLiteral("_LINK");
    {
        WaitCursor wait(m_window);
        try {
            m_login = review::login(db);
            m_links = review::readLinks(db, m_linkTable, m_form.history.keepsHow());
        } catch (const DbError& e) {
            m_links.clear();
            m_form.prompter.message(e.description());
        }
    }
    QStringList categories, savers;
    for (const review::LinkState& link : m_links) {
        categories << link.category;
        savers << link.savedBy;
    }
    m_filling = true;
    fillFilter(m_category, categories);
    fillFilter(m_by, savers);
    m_filling = false;
    m_shown.clear();
    TextTable t;
    for (const Column& column : columns)
        t.columns << QLatin1String(column.name);
    for (qsizetype i = 0; i < m_links.size(); ++i) {
        const review::LinkState& l = m_links[i];
        if (!passes(l))
            continue;
        m_shown << i;
        t.rows << QStringList{l.state,     l.code,    l.description, l.itemId, l.item,
                              l.revenueId, l.savedBy, l.savedAt,     l.how,    l.note};
    }
    m_grid->bind(t);
    m_grid->setCheckColumn(stateColumn);
    for (int col = 0; col < int(std::size(columns)); ++col)
        m_grid->setColWidth(col, columns[col].width);
    if (m_grid->rows() > m_grid->fixedRows())
        m_grid->setRow(m_grid->fixedRows());
    showSummary();
}

void ReviewScreen::showRow(int row) {
    if (row >= m_grid->fixedRows() && row < m_grid->rows()) {
        const review::LinkState& link = listed(row);
        m_grid->setTextMatrix(row, stateColumn, link.state);
        m_grid->setTextMatrix(row, noteColumn, link.note);
    }
}

void ReviewScreen::showSummary() {
    int toReview = 0, flagged = 0, approved = 0;
    for (qsizetype i : m_shown) {
        const QString& state = m_links[i].state;
        toReview += state == QLatin1String(review::toReview);
        flagged += state == QLatin1String(review::flagged);
        approved += state == QLatin1String(review::approved);
    }
    m_summary->setText(QStringLiteral("%1: %2 links listed: %3 to review, %4 flagged, %5 approved.")
                           .arg(m_table)
                           .arg(m_shown.size())
                           .arg(toReview)
                           .arg(flagged)
                           .arg(approved));
}

int ReviewScreen::record(const QList<int>& rows, const QString& state, const QString& note,
                         bool report) {
    QList<review::LinkState*> links;
    for (int row : rows)
        links << &m_links[m_shown[row - 1]];
    review::Outcome outcome;
    try {
        WaitCursor wait(m_window);
        outcome = review::record(m_form.db(), m_linkTable, links, state, note, m_login);
    } catch (const DbError& e) {
        m_form.prompter.message(QStringLiteral("Nothing was recorded.\r\n") + e.description());
        return 0;
    }
    QStringList refused;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (outcome.refused[i].isEmpty()) {
            m_grid->setChecked(rows[i], false);
            showRow(rows[i]);
        } else {
            const review::LinkState& l = *links[i];
            refused << QStringLiteral("%1 (%2), %3: %4")
                           .arg(l.item, l.itemId, l.code, outcome.refused[i]);
        }
    }
    showSummary();
    if (!report && !refused.isEmpty()) {
        m_form.prompter.message(outcome.refused.first());
    } else if (report) {
        QString report = QStringLiteral("%1 links %2.").arg(outcome.reviewed()).arg(state);
        if (!refused.isEmpty()) {
            const qsizetype more = refused.size() - namedRefusals;
            refused = refused.mid(0, namedRefusals);
            if (more > 0)
                refused << QStringLiteral("and %1 more").arg(more);
            report += QStringLiteral("\r\n%1 were not:\r\n")
                          .arg(outcome.refused.size() - outcome.reviewed()) +
                      refused.join(QStringLiteral("\r\n"));
        }
        m_form.prompter.message(report);
    }
    return outcome.reviewed();
}

void ReviewScreen::approveRow(int row) {
    if (row < m_grid->fixedRows() || row >= m_grid->rows())
        return;
    if (record({row}, QLatin1String(review::approved), QString(), false) == 1 &&
        row + 1 < m_grid->rows())
        m_grid->setRow(row + 1);
}

void ReviewScreen::flagRow(int row) {
    if (row < m_grid->fixedRows() || row >= m_grid->rows())
        return;
    const std::optional<QString> note = m_form.prompter.askText(
        QStringLiteral("Flag link"), QStringLiteral("Why is this link flagged?"));
    if (!note)
        return;
    record({row}, QLatin1String(review::flagged), note->trimmed(), false);
}

void ReviewScreen::approveChecked() {
    QList<int> rows;
    for (int r = m_grid->fixedRows(); r < m_grid->rows(); ++r)
        if (m_grid->isChecked(r))
            rows << r;
    if (rows.isEmpty()) {
        m_form.prompter.message(QStringLiteral("Tick the rows to approve first."));
        return;
    }
    record(rows, QLatin1String(review::approved), QString(), true);
}

void ReviewScreen::toggleTick(int row) {
    if (row >= m_grid->fixedRows() && row < m_grid->rows())
        m_grid->setChecked(row, !m_grid->isChecked(row));
}

void ReviewScreen::showOnScreen(int row) {
    if (row < m_grid->fixedRows() || row >= m_grid->rows())
        return;
    const review::LinkState& link = listed(row);
    m_form.screen.showLink(m_table, link.code, link.linkId);
}

bool ReviewScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            approveRow(m_grid->row());
            return true;
        }
        if (plain && key->key() == Qt::Key_F) {
            flagRow(m_grid->row());
            return true;
        }
        if (plain && key->key() == Qt::Key_Space) {
            toggleTick(m_grid->row());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

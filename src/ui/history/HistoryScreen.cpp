#include "HistoryScreen.h"

#include "core/review/LinkReview.h"
#include "core/review/ReviewStatements.h"
#include "ui/widgets/FlexGrid.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// GridMap's columns that name the hospital item of a link.
constexpr int revenueColumn = 4;
constexpr int itemColumn = 6;
constexpr int itemDescColumn = 7;

// How many of the links left alone an undo names; the rest are counted.
constexpr int namedLeftAlone = 20;

QString linksText(int links) {
    return links == 1 ? QStringLiteral("1 link") : QStringLiteral("%1 links").arg(links);
}

} // namespace

QString HistoryScreen::listedLinkTable() const {
    return m_form.screen.listedTable() + QStringLiteral("_LINK");
}

void HistoryScreen::addMenuItems(QMenu* menu, int row) {
    FlexGrid* grid = m_form.c.GridMap;
    menu->addSeparator();
    QAction* item = menu->addAction(QStringLiteral("History of this link..."), this,
                                    [this, row] { showItemHistory(row); });
    item->setEnabled(row >= grid->fixedRows() && row < grid->rows());
    std::optional<history::BatchOffer> offer;
    try {
        offer = m_form.history.newestBatch(m_form.db(), listedLinkTable());
    } catch (const DbError&) {
        // No history to read: there is nothing to undo.
    }
    if (offer)
        menu->addAction((offer->listUpdate ? QStringLiteral("Undo last list update (%1)")
                                           : QStringLiteral("Undo last Map ALL (%1)"))
                            .arg(linksText(offer->links)),
                        this, [this, offer] { undoMapAll(*offer); });
}

void HistoryScreen::showItemHistory(int row) {
    FlexGrid* grid = m_form.c.GridMap;
    const auto cells = grid->rowTexts(row, {revenueColumn, itemColumn, itemDescColumn});
    if (!cells || row < grid->fixedRows())
        return;
    const QString table = listedLinkTable();
    TextTable rows;
    try {
        // The review actions of the item's links stand among its changes.
        const TextTable reviews =
            review::present(m_form.db())
                ? m_form.db().query(review::itemReviewsStatement(table, cells->at(0), cells->at(1)))
                : TextTable{};
        rows = review::withReviews(
            m_form.history.itemHistory(m_form.db(), table, cells->at(0), cells->at(1)), reviews);
    } catch (const DbError& e) {
        m_form.prompter.message(e.description());
        return;
    }
    QDialog dialog(grid->window());
    dialog.setObjectName(QStringLiteral("dlgLinkHistory"));
    dialog.setWindowTitle(QStringLiteral("History of a link - ") + table);
    auto* layout = new QVBoxLayout(&dialog);
    auto* caption = new QLabel(QStringLiteral("%1 (%2), revenue code %3: every change of its "
                                              "link, newest first")
                                   .arg(cells->at(2), cells->at(1), cells->at(0)),
                               &dialog);
    caption->setObjectName(QStringLiteral("lblLinkHistory"));
    layout->addWidget(caption);
    auto* list = new FlexGrid(&dialog);
    list->setObjectName(QStringLiteral("GridLinkHistory"));
    list->bind(rows);
    const int widths[] = {2300, 1400, 1400, 900, 1300, 3800, 1300, 3800, 900, 3000};
    for (int col = 0; col < list->cols() && col < int(std::size(widths)); ++col)
        list->setColWidth(col, widths[col]);
    layout->addWidget(list);
    auto* buttons = new QHBoxLayout;
    auto* close = new QPushButton(QStringLiteral("Close"), &dialog);
    close->setObjectName(QStringLiteral("cmdLinkHistoryClose"));
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.resize(1240, 420);
    QTimer::singleShot(0, &dialog, [this, &dialog] { emit historyShown(&dialog); });
    dialog.exec();
}

void HistoryScreen::undoMapAll(const history::BatchOffer& offer) {
    const QString question =
        offer.listUpdate
            ? QStringLiteral("Undo the last list update's refresh of %1?\r\nThe links get their "
                             "old copies back; the list itself stays as updated.")
                  .arg(linksText(offer.links))
            : QStringLiteral("Undo the last Map ALL Listed to %1 (%2)?\r\nLinks it added are "
                             "removed; links it rewrote get their old values back.")
                  .arg(offer.codes > 1 ? QStringLiteral("%1 codes").arg(offer.codes) : offer.code,
                       linksText(offer.links));
    if (m_form.prompter.message(question, Prompter::Buttons::YesNo, Prompter::Icon::Question) !=
        Prompter::Answer::Yes)
        return;
    history::UndoOutcome outcome;
    try {
        outcome = m_form.history.undo(m_form.db(), offer);
    } catch (const DbError& e) {
        m_form.prompter.message(
            (offer.listUpdate
                 ? QStringLiteral("The list update was not undone; nothing was changed.\r\n")
                 : QStringLiteral("The Map ALL was not undone; nothing was changed.\r\n")) +
            e.description());
        return;
    }
    m_form.screen.LoadMappings();
    QString report = QStringLiteral("%1 restored").arg(outcome.restored);
    if (outcome.leftAlone.isEmpty()) {
        report += u'.';
    } else {
        QStringList named = outcome.leftAlone.mid(0, namedLeftAlone);
        if (outcome.leftAlone.size() > namedLeftAlone)
            named << QStringLiteral("and %1 more").arg(outcome.leftAlone.size() - namedLeftAlone);
        report += QStringLiteral(", %1 left alone because they were changed since: %2")
                      .arg(outcome.leftAlone.size())
                      .arg(named.join(QStringLiteral(", ")));
    }
    m_form.prompter.message(report);
}

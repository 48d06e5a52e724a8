#include "LinkReview.h"

#include "core/db/OwnTables.h"
#include "core/db/ValueCompare.h"
#include "core/history/HistoryStatements.h"
#include "core/review/ReviewStatements.h"
#include "core/tsql/SqlText.h"

#include <QDateTime>
#include <QHash>

#include <algorithm>

namespace review {

namespace {

QString textOf(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

} // namespace

bool present(Gateway& db) {
    return owntables::present(db, {QLatin1String(tableName)});
}

void makeTable(Gateway& db) {
    owntables::make(db, {QLatin1String(tableName)}, createStatements(),
                    QStringLiteral("The table of the reviews (%1) is missing and could not be made")
                        .arg(QLatin1String(tableName)));
}

QString login(Gateway& db) {
    Lookup found = db.lookup(loginStatement());
    const QString name = found.atEnd() ? QString() : textOf(found.field(QStringLiteral("Login")));
    found.close();
    return name;
}

QString howOf(const QString& how, const QString& action, bool inBatch) {
    if (!how.isEmpty())
        return how;
    if (action == u"refresh")
        return QStringLiteral("list update");
    if (action == u"undo")
        return QStringLiteral("undo");
    if (action.isEmpty())
        return QString();
    return inBatch ? QStringLiteral("map all") : QStringLiteral("save");
}

QList<LinkState> readLinks(Gateway& db, const QString& linkTable, bool historyHasHow) {
    const ValueTable t = db.select(linksStatement(linkTable, historyHasHow));
    const QStringList& columns = history::linkColumns();
    QList<int> valueColumns;
    for (const QString& column : columns)
        valueColumns << t.column(column);
    const int id = t.column(QStringLiteral("ID")), revenue = t.column(QStringLiteral("RevenueID")),
              item = t.column(QStringLiteral("ItemID")),
              historyId = t.column(QStringLiteral("HistoryID")),
              savedBy = t.column(QStringLiteral("SavedBy")),
              savedAt = t.column(QStringLiteral("SavedAt")),
              action = t.column(QStringLiteral("Action")),
              batch = t.column(QStringLiteral("BatchNo")), how = t.column(QStringLiteral("How")),
              state = t.column(QStringLiteral("State")),
              reviewedBy = t.column(QStringLiteral("ReviewedBy")),
              reviewedAt = t.column(QStringLiteral("ReviewedAt")),
              note = t.column(QStringLiteral("Note")),
              reviewed = t.column(QStringLiteral("ReviewedHistoryID"));
    const qsizetype code = columns.indexOf(u"Code"), category = columns.indexOf(u"Category"),
                    description = columns.indexOf(u"Description"),
                    itemDesc = columns.indexOf(u"ItemDesc");
    QList<LinkState> links;
    links.reserve(t.rows.size());
    for (const QList<QVariant>& row : t.rows) {
        LinkState link;
        link.linkId = row.value(id).toLongLong();
        link.revenueId = textOf(row.value(revenue));
        link.itemId = textOf(row.value(item));
        for (int c : valueColumns)
            link.values << row.value(c);
        link.code = textOf(link.values.value(code));
        link.category = textOf(link.values.value(category));
        link.description = textOf(link.values.value(description));
        link.item = textOf(link.values.value(itemDesc));
        link.historyId = row.value(historyId).toLongLong();
        link.savedBy = textOf(row.value(savedBy));
        link.savedAt = textOf(row.value(savedAt));
        link.how =
            howOf(textOf(row.value(how)), textOf(row.value(action)), !row.value(batch).isNull());
        const QString lastState = textOf(row.value(state));
        // A review stands until the link's next history row.
        if (!lastState.isEmpty() && link.historyId <= row.value(reviewed).toLongLong())
            link.state = lastState;
        link.reviewedBy = textOf(row.value(reviewedBy));
        link.reviewedAt = textOf(row.value(reviewedAt));
        link.note = textOf(row.value(note));
        links << link;
    }
    return links;
}

TextTable withReviews(const TextTable& changes, const TextTable& reviews) {
    struct Entry {
        QString when;
        qint64 order; // history rows by their ID, a review just after the row it reviewed
        qint64 serial;
        QStringList cells;
    };
    QList<Entry> entries;
    const qsizetype width = changes.columns.size() - 1; // without the ID
    for (qsizetype i = 0; i < changes.rows.size(); ++i) {
        QStringList cells = changes.rows[i].mid(0, width);
        cells << QString();
        entries << Entry{changes.rows[i].value(0), changes.rows[i].value(width).toLongLong() * 2,
                         -i, cells};
    }
    for (qsizetype i = 0; i < reviews.rows.size(); ++i) {
        const QStringList& r = reviews.rows[i];
        QStringList cells = {r.value(0), r.value(1), r.value(2), r.value(3)};
        while (cells.size() < width)
            cells << QString();
        cells << r.value(4);
        entries << Entry{r.value(0), r.value(5).toLongLong() * 2 + 1, -i, cells};
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.when != b.when)
            return a.when > b.when;
        if (a.order != b.order)
            return a.order > b.order;
        return a.serial > b.serial;
    });
    TextTable out;
    out.columns = changes.columns.mid(0, width);
    out.columns << QStringLiteral("Note");
    out.rows.reserve(entries.size());
    for (Entry& e : entries)
        out.rows << std::move(e.cells);
    return out;
}

int Outcome::reviewed() const {
    int n = 0;
    for (const QString& reason : refused)
        n += reason.isEmpty() ? 1 : 0;
    return n;
}

Outcome record(Gateway& db, const QString& linkTable, QList<LinkState*> links, const QString& state,
               const QString& note, const QString& login) {
    Outcome outcome;
    outcome.refused.resize(links.size());
    if (links.isEmpty())
        return outcome;
    makeTable(db);
    QList<qint64> ids;
    ids.reserve(links.size());
    for (const LinkState* link : links)
        ids << link->linkId;
    struct Now {
        QList<QVariant> values;
        QString revenueId, itemId;
        qint64 historyId = 0;
        QString savedBy;
    };
    Gateway::Transaction transaction(db);
    QHash<qint64, Now> now;
    const QStringList& columns = history::linkColumns();
    for (const QList<qint64>& list : idLists(ids)) {
        const ValueTable rows = db.select(lockedLinksStatement(linkTable, list));
        for (const QList<QVariant>& row : rows.rows) {
            Now& n = now[row.value(0).toLongLong()];
            n.revenueId = textOf(row.value(1));
            n.itemId = textOf(row.value(2));
            n.values = row.mid(3, columns.size());
        }
        const ValueTable changes = db.select(lastChangesStatement(linkTable, list));
        for (const QList<QVariant>& row : changes.rows) {
            auto it = now.find(row.value(0).toLongLong());
            if (it != now.end()) {
                it->historyId = row.value(1).toLongLong();
                it->savedBy = textOf(row.value(2));
            }
        }
    }
    QList<qsizetype> accepted;
    for (qsizetype i = 0; i < links.size(); ++i) {
        const LinkState& seen = *links[i];
        const auto it = now.constFind(seen.linkId);
        QString& reason = outcome.refused[i];
        if (it == now.constEnd()) {
            reason = QLatin1String(removedText);
            continue;
        }
        bool same = it->historyId == seen.historyId && it->revenueId == seen.revenueId &&
                    it->itemId == seen.itemId && it->values.size() == seen.values.size();
        for (qsizetype k = 0; same && k < seen.values.size(); ++k)
            same = sameAsRead(it->values[k], seen.values[k]);
        if (!same)
            reason = QLatin1String(changedText);
        else if (!it->savedBy.isEmpty() && it->savedBy.compare(login, Qt::CaseInsensitive) == 0)
            reason = QLatin1String(selfReviewText);
        else
            accepted << i;
    }
    const QString whole = insertRowsStatement(rowsPerInsert), single = insertRowsStatement(1);
    qsizetype next = 0;
    for (int count : sql::statementRows(int(accepted.size()), rowsPerInsert)) {
        QList<QVariant> values;
        for (qsizetype k = next; k < next + count; ++k) {
            const LinkState& link = *links[accepted[k]];
            values << linkTable << link.linkId << state
                   << (note.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : note)
                   << (link.historyId ? QVariant(link.historyId)
                                      : QVariant(QMetaType::fromType<qint64>()));
        }
        db.execute(count == 1 ? single : whole, values);
        next += count;
    }
    transaction.commit();
    // The workstation's time until the list is read again (the row holds the server's).
    const QString at = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    for (qsizetype i : accepted) {
        LinkState& link = *links[i];
        link.state = state;
        link.reviewedBy = login;
        link.reviewedAt = at;
        link.note = note;
    }
    return outcome;
}

} // namespace review

#include "LinkHistory.h"

#include "core/db/OwnTables.h"
#include "core/db/ValueCompare.h"
#include "core/history/HistoryStatements.h"
#include "core/tsql/SqlText.h"

#include <QHash>

#include <algorithm>

namespace history {

namespace {

using Transaction = Gateway::Transaction;

QList<QVariant> valuesOf(const ValueTable& table, const QList<QVariant>& row,
                         const QString& prefix) {
    QList<QVariant> values;
    for (const QString& column : linkColumns())
        values << row.value(table.column(prefix + column));
    return values;
}

} // namespace

bool LinkHistory::available(Gateway& db) {
    if (m_state == State::Unknown && !present(db)) {
        const QStringList statements = createStatements();
        QString failure;
        for (int i = 0; i < statements.size(); ++i) {
            try {
                db.execute(statements[i]);
            } catch (const DbError& e) {
                if (i == 0)
                    failure = e.description();
            }
        }
        if (!failure.isEmpty() || !present(db)) {
            m_state = State::Unavailable;
            if (!m_told && m_tell) {
                m_told = true;
                m_tell(QStringLiteral("The history of the links cannot be kept: the table "
                                      "ESOA_LINK_HISTORY is missing and could not be made.\r\n") +
                       failure +
                       QStringLiteral("\r\nMappings are saved as before, without their history, "
                                      "until the table is made (\"a. Create Tables\", or the "
                                      "database administrator)."));
            }
        }
    }
    if (m_state == State::Present && !m_withHow && !m_howTried) {
        // A table made before the column How is given it once a run; without the right to alter
        // the table, the rows go on without it (what made a change is then told by its action).
        m_howTried = true;
        try {
            db.execute(addHowStatement());
            m_withHow = probeHow(db);
        } catch (const DbError&) {
        }
    }
    return m_state == State::Present;
}

bool LinkHistory::present(Gateway& db) {
    if (m_state == State::Unknown) {
        if (owntables::present(db, {QLatin1String(tableName)})) {
            m_state = State::Present;
            m_withHow = probeHow(db);
        }
    }
    return m_state == State::Present;
}

bool LinkHistory::probeHow(Gateway& db) {
    try {
        Lookup probe = db.lookup(probeHowStatement());
        probe.close();
        return true;
    } catch (const DbError&) {
        return false;
    }
}

void LinkHistory::recheck() {
    if (m_state != State::Off)
        m_state = State::Unknown;
    m_howTried = false;
}

QList<QVariant> LinkHistory::parametersOf(const Change& change) const {
    QList<QVariant> values = {change.linkTable, change.linkId, change.action, change.revenueId,
                              change.itemId};
    for (const QList<QVariant>* side : {&change.before, &change.after})
        for (int i = 0; i < linkColumns().size(); ++i)
            values << side->value(i);
    values << change.batch;
    if (m_withHow)
        values << change.how;
    return values;
}

qint64 LinkHistory::write(Gateway& db, const Change& change, bool givesBatchNumber) {
    const QList<QVariant> values = parametersOf(change);
    if (!givesBatchNumber) {
        db.execute(insertStatement(m_withHow), values);
        return 0;
    }
    const std::optional<qint64> id = db.insertForId(insertStatement(m_withHow), values);
    if (!id || *id <= 0)
        throw DbError(QStringLiteral("The key of the row just added could not be read."));
    db.execute(setBatchStatement(), {*id, *id});
    return *id;
}

void LinkHistory::saveRow(Gateway& db, WriteCursor& row) {
    ++m_changes;
    // A cursor with nothing to write fails in its update, as it would without a history.
    if (!row.isOpen() || row.atEnd() || !available(db)) {
        const bool known = row.isOpen() && !row.atEnd();
        const QString revenueId =
            known ? row.value(QStringLiteral("RevenueID")).toString() : QString();
        const QString itemId = known ? row.value(QStringLiteral("ItemID")).toString() : QString();
        row.update();
        if (m_changed && known)
            m_changed(row.tableName(), revenueId, itemId);
        return;
    }
    Change change;
    change.linkTable = row.tableName();
    const bool adding = row.adding();
    change.action = adding ? QStringLiteral("add") : QStringLiteral("rewrite");
    change.revenueId = row.value(QStringLiteral("RevenueID"));
    change.itemId = row.value(QStringLiteral("ItemID"));
    for (const QString& column : linkColumns()) {
        if (!adding)
            change.before << row.original(column);
        change.after << row.value(column);
    }
    Transaction transaction(db);
    row.update();
    if (adding) {
        change.linkId = row.addedId();
    } else {
        // The row as it was read back after the write.
        change.linkId = row.original(QStringLiteral("ID"));
        change.after.clear();
        for (const QString& column : linkColumns())
            change.after << row.original(column);
    }
    const bool givesNumber = m_inBatch && m_batch.isNull();
    change.batch = m_inBatch ? m_batch : QVariant();
    change.how = m_how.isEmpty() ? QStringLiteral("save") : m_how;
    const qint64 batch = write(db, change, givesNumber);
    transaction.commit();
    if (givesNumber)
        m_batch = batch;
    if (m_changed)
        m_changed(change.linkTable, change.revenueId.toString(), change.itemId.toString());
}

void LinkHistory::deleteRow(Gateway& db, const QString& linkTable, const QString& id,
                            const std::function<void()>& remove) {
    ++m_changes;
    if (!available(db)) {
        remove();
        if (m_changed)
            m_changed(linkTable, QString(), QString());
        return;
    }
    Transaction transaction(db);
    std::optional<Change> change;
    try {
        Lookup found = db.lookup(linkRowStatement(linkTable, id));
        if (!found.atEnd()) {
            Change c{linkTable,
                     found.field(QStringLiteral("ID")),
                     QStringLiteral("delete"),
                     found.field(QStringLiteral("RevenueID")),
                     found.field(QStringLiteral("ItemID")),
                     {},
                     {},
                     {},
                     QStringLiteral("delete")};
            for (const QString& column : linkColumns())
                c.before << found.field(column);
            change = std::move(c);
        }
        found.close();
    } catch (const DbError&) {
        // No row to read (the link table is missing): the delete tells what is wrong.
    }
    remove();
    if (change)
        write(db, *change, false);
    transaction.commit();
    if (m_changed)
        m_changed(linkTable, change ? change->revenueId.toString() : QString(),
                  change ? change->itemId.toString() : QString());
}

qint64 LinkHistory::recordRefreshes(Gateway& db, const QString& linkTable,
                                    const QList<Refreshed>& links) {
    ++m_changes;
    if (links.isEmpty() || !available(db))
        return 0;
    auto changeOf = [&](const Refreshed& link, const QVariant& batch) {
        return Change{linkTable,      link.linkId, QStringLiteral("refresh"),
                      link.revenueId, link.itemId, link.before,
                      link.after,     batch,       QStringLiteral("list update")};
    };
    const qint64 batch = write(db, changeOf(links.first(), QVariant()), true);
    // The rest a statement's worth at a time, the last ones (fewer than that) one by one: two
    // statement shapes for any number of links.
    const QString whole = insertRowsStatement(rowsPerInsert, m_withHow),
                  single = insertStatement(m_withHow);
    qsizetype first = 1;
    for (int count : sql::statementRows(int(links.size()) - 1, rowsPerInsert)) {
        QList<QVariant> values;
        for (qsizetype i = first; i < first + count; ++i)
            values << parametersOf(changeOf(links[i], batch));
        db.execute(count == 1 ? single : whole, values);
        first += count;
    }
    if (m_changed)
        m_changed(linkTable, QString(), QString());
    return batch;
}

LinkHistory::Batch::Batch(LinkHistory& history, const QString& how)
    : m_history(history)
    , m_how(history.m_how) {
    m_history.m_inBatch = true;
    m_history.m_batch = QVariant();
    m_history.m_how = how;
}

LinkHistory::Batch::~Batch() {
    m_history.m_inBatch = false;
    m_history.m_batch = QVariant();
    m_history.m_how = m_how;
}

std::optional<BatchOffer> LinkHistory::newestBatch(Gateway& db, const QString& linkTable) {
    if (!present(db))
        return std::nullopt;
    Lookup found = db.lookup(newestBatchStatement(linkTable));
    if (found.atEnd())
        return std::nullopt;
    BatchOffer offer{found.field(QStringLiteral("BatchNo")).toLongLong(),
                     found.field(QStringLiteral("Links")).toInt(),
                     found.field(QStringLiteral("Code")).toString(),
                     linkTable,
                     std::max(1, found.field(QStringLiteral("Codes")).toInt()),
                     found.field(QStringLiteral("Refresh")).toInt() == 1};
    found.close();
    return offer;
}

struct LinkHistory::BatchLink {
    QVariant id;
    qint64 firstRow = 0; // the ID of the batch's first history row of the link
    bool added = false;
    QVariant revenueId, itemId;
    QList<QVariant> before, after;
};

QList<LinkHistory::BatchLink> LinkHistory::batchLinks(Gateway& db, const BatchOffer& offer) {
    const ValueTable rows = db.select(batchRowsStatement(offer.linkTable, offer.batch));
    const int idColumn = rows.column(QStringLiteral("ID"));
    const int linkColumn = rows.column(QStringLiteral("LinkID"));
    QList<BatchLink> links;
    QHash<QString, qsizetype> byId;
    for (const QList<QVariant>& row : rows.rows) {
        const QString key = row.value(linkColumn).toString();
        auto it = byId.find(key);
        if (it == byId.end()) {
            // The batch's first row of a link holds what the link was before the batch.
            BatchLink link;
            link.id = row.value(linkColumn);
            link.firstRow = row.value(idColumn).toLongLong();
            link.added = row.value(rows.column(QStringLiteral("Action"))).toString() ==
                         QStringLiteral("add");
            link.revenueId = row.value(rows.column(QStringLiteral("RevenueID")));
            link.itemId = row.value(rows.column(QStringLiteral("ItemID")));
            link.before = valuesOf(rows, row, QStringLiteral("Old"));
            it = byId.insert(key, links.size());
            links << link;
        }
        // Its last row, what the batch left.
        links[*it].after = valuesOf(rows, row, QStringLiteral("New"));
    }
    return links;
}

std::optional<QList<QVariant>>
LinkHistory::unchangedSince(Gateway& db, const QString& linkTable, const BatchLink& link,
                            const QHash<QString, qint64>& lastChanges) {
    if (lastChanges.value(link.id.toString(), 0) > link.firstRow)
        return std::nullopt;
    Lookup found = db.lookup(linkRowStatement(linkTable, link.id.toString()));
    bool unchanged = !found.atEnd();
    QList<QVariant> current;
    for (int i = 0; unchanged && i < linkColumns().size(); ++i) {
        current << found.field(linkColumns()[i]);
        unchanged = sameAsRecorded(current.last(), link.after.value(i));
    }
    found.close();
    if (!unchanged)
        return std::nullopt;
    return current;
}

void LinkHistory::putBack(Gateway& db, const BatchOffer& offer, const BatchLink& link,
                          const QList<QVariant>& current) {
    if (link.added) {
        db.execute(removeStatement(offer.linkTable), {link.id});
    } else {
        QList<QVariant> values = link.before;
        values << link.id;
        db.execute(restoreStatement(offer.linkTable), values);
    }
    write(db,
          Change{offer.linkTable, link.id, QStringLiteral("undo"), link.revenueId, link.itemId,
                 current, link.added ? QList<QVariant>() : link.before, offer.batch,
                 QStringLiteral("undo")},
          false);
}

UndoOutcome LinkHistory::undo(Gateway& db, const BatchOffer& offer) {
    ++m_changes;
    Transaction transaction(db);
    const QList<BatchLink> links = batchLinks(db, offer);
    UndoOutcome outcome;
    if (!links.isEmpty()) {
        // For each link, the newest change since the batch began that no undone batch made.
        QHash<QString, qint64> lastChanges;
        const ValueTable later =
            db.select(laterChangesStatement(offer.linkTable, offer.batch, links.first().firstRow));
        for (const QList<QVariant>& row : later.rows)
            lastChanges.insert(row.value(0).toString(), row.value(1).toLongLong());
        for (const BatchLink& link : links) {
            const auto current = unchangedSince(db, offer.linkTable, link, lastChanges);
            if (!current) {
                const QString desc =
                    link.after.value(linkColumns().indexOf(u"ItemDesc")).toString();
                outcome.leftAlone << QStringLiteral("%1 (%2)").arg(desc, link.itemId.toString());
                continue;
            }
            putBack(db, offer, link, *current);
            ++outcome.restored;
        }
    }
    if (outcome.restored == 0) // the batch is undone all the same: it is offered no more
        write(db,
              Change{offer.linkTable,
                     QVariant(),
                     QStringLiteral("undo"),
                     QVariant(),
                     QVariant(),
                     {},
                     {},
                     offer.batch,
                     QStringLiteral("undo")},
              false);
    transaction.commit();
    if (m_changed)
        m_changed(offer.linkTable, QString(), QString());
    return outcome;
}

TextTable LinkHistory::itemHistory(Gateway& db, const QString& linkTable, const QString& revenueId,
                                   const QString& itemId) {
    return db.query(itemHistoryStatement(linkTable, revenueId, itemId));
}

} // namespace history

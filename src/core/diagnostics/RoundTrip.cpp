#include "DatabaseCheck.h"

#include "core/history/HistoryStatements.h"
#include "core/tsql/SqlText.h"

#include <optional>

namespace diagnostics {

namespace {

// The link columns the save sets on a new row, in its order, with the test link's values.
struct Value {
    const char* column;
    QVariant added, rewritten;
};
const Value values[] = {
    {"ItemID", QString::fromLatin1(testItemId), {}},
    {"RevenueID", QString::fromLatin1(testRevenueId), {}},
    {"ItemDesc", QStringLiteral("Database check (rolled back)"),
     QStringLiteral("Database check, rewritten (rolled back)")},
    {"InvOrProc", QStringLiteral("INV"), QStringLiteral("PROC")},
    {"Code", QStringLiteral("CHECK-1"), QStringLiteral("CHECK-2")},
    {"SectionID", QString::fromLatin1(""), QString::fromLatin1("")},
    {"Category", QStringLiteral("Database check"), QStringLiteral("Database check")},
    {"Description", QStringLiteral("Database check"), QStringLiteral("Database check, rewritten")},
    {"FixedFee", 1.5, 2.5},
    {"ChargingUnit", QStringLiteral("check"), QStringLiteral("check")},
};

// The save's look-up of the test item's link, as the save builds it.
QString lookupOf(const QString& linkTable) {
    return QStringLiteral("SELECT * FROM ") + sql::buildFileName(linkTable) +
           QStringLiteral("  WHERE      RevenueID =") + sql::quoted(QLatin1String(testRevenueId)) +
           QStringLiteral(" AND ItemID    =") + sql::quoted(QLatin1String(testItemId));
}

// The history row of the add, as the save writes it: the link table, the link's ID, the action,
// the hospital item, no old values, the new ones, no batch.
QList<QVariant> historyValues(const QString& linkTable, qint64 id) {
    QList<QVariant> out = {linkTable, id, QStringLiteral("add"), QLatin1String(testRevenueId),
                           QLatin1String(testItemId)};
    for (int i = 0; i < history::linkColumns().size(); ++i)
        out << QVariant();
    for (const QString& column : history::linkColumns())
        for (const Value& v : values)
            if (column == QLatin1String(v.column))
                out << v.added;
    out << QVariant() << QStringLiteral("save");
    return out;
}

} // namespace

Findings roundTrip(Gateway& db, const QString& linkTable, bool historyPresent) {
    const QString check = QStringLiteral("Round trip on ") + linkTable;
    const bool server = db.backend().dialect() == Dialect::TSql;
    const QString lookup = lookupOf(linkTable);
    Findings out;
    auto step = [&](const QString& what, Result result, const QString& detail) {
        out << Finding{check + QStringLiteral(": ") + what, result, detail};
    };
    if (db.inTransaction()) {
        step(QStringLiteral("begin"), Result::Failed,
             QStringLiteral("Not run: a transaction of this connection is open (an import?)."));
        return out;
    }
    std::optional<Gateway::Transaction> transaction;
    try {
        transaction.emplace(db);
    } catch (const DbError& e) {
        step(QStringLiteral("begin"), Result::Failed,
             QStringLiteral("Not run: the transaction did not begin: ") + e.description());
        return out;
    }
    qint64 id = 0;
    try {
        WriteCursor row = db.openForWrite(lookup);
        if (!row.atEnd())
            throw DbError(QStringLiteral("The test item (RevenueID '%1', ItemID '%2') has a link "
                                         "already: nothing was written.")
                              .arg(QLatin1String(testRevenueId), QLatin1String(testItemId)));
        row.addNew();
        for (const Value& v : values)
            row.setField(QLatin1String(v.column), v.added);
        row.update();
        id = row.addedId();
        row.close();
        step(QStringLiteral("add"), Result::Ok,
             server ? QStringLiteral("The add's batch (SET NOCOUNT ON; INSERT ... OUTPUT "
                                     "INSERTED.[ID] INTO @added ...; SELECT [ID] FROM @added) "
                                     "gave the new ID %1 as its first result.")
                          .arg(id)
                    : QStringLiteral("The add (INSERT ... RETURNING [ID]) gave the new ID %1.")
                          .arg(id));
    } catch (const DbError& e) {
        step(QStringLiteral("add"), Result::Failed, e.description());
    }
    if (id > 0) {
        try {
            WriteCursor row = db.openForWrite(lookup);
            if (row.atEnd())
                throw DbError(QStringLiteral("The save's look-up did not find the link just "
                                             "added."));
            for (const Value& v : values)
                if (v.rewritten.isValid())
                    row.setField(QLatin1String(v.column), v.rewritten);
            row.update();
            row.close();
            step(QStringLiteral("rewrite"), Result::Ok,
                 QStringLiteral("The next statement ran at once (the add left no result "
                                "pending); the rewrite read the link again under UPDLOCK, "
                                "HOLDLOCK and wrote it by its ID."));
        } catch (const DbError& e) {
            step(QStringLiteral("rewrite"), Result::Failed, e.description());
        }
        try {
            const ValueTable read = db.select(lookup);
            const int code = read.column(QStringLiteral("Code"));
            const int key = read.column(QStringLiteral("ID"));
            if (read.rows.size() != 1 || read.rows[0].value(key).toLongLong() != id)
                throw DbError(QStringLiteral("The look-up found %1 rows, not the link of ID %2.")
                                  .arg(read.rows.size())
                                  .arg(id));
            const QString found = read.rows[0].value(code).toString();
            step(QStringLiteral("read back"),
                 found == QStringLiteral("CHECK-2") ? Result::Ok : Result::Failed,
                 QStringLiteral("ID %1 read back with the code %2 (the rewrite wrote CHECK-2).")
                     .arg(id)
                     .arg(found));
        } catch (const DbError& e) {
            step(QStringLiteral("read back"), Result::Failed, e.description());
        }
        if (!historyPresent) {
            step(QStringLiteral("history row"), Result::Warning,
                 QStringLiteral("Not written: the table ESOA_LINK_HISTORY is missing."));
        } else {
            try {
                db.execute(history::insertStatement(), historyValues(linkTable, id));
                step(QStringLiteral("history row"), Result::Ok,
                     QStringLiteral("Written by the save's own statement."));
            } catch (const DbError& e) {
                step(QStringLiteral("history row"), Result::Failed, e.description());
            }
        }
        try {
            db.execute(history::removeStatement(linkTable), {id});
            if (!db.select(lookup).rows.isEmpty())
                throw DbError(QStringLiteral("The link is still there after its DELETE."));
            step(QStringLiteral("delete"), Result::Ok,
                 QStringLiteral("Deleted; the look-up finds it no more."));
        } catch (const DbError& e) {
            step(QStringLiteral("delete"), Result::Failed, e.description());
        }
    }
    // Never committed: the transaction's end rolls back all of the above.
    transaction.reset();
    try {
        const bool linkLeft = !db.select(lookup).rows.isEmpty();
        const bool historyLeft =
            historyPresent &&
            !db.select(history::itemHistoryStatement(linkTable, QLatin1String(testRevenueId),
                                                     QLatin1String(testItemId)))
                 .rows.isEmpty();
        if (linkLeft || historyLeft)
            step(QStringLiteral("rollback"), Result::Failed,
                 QStringLiteral("The test item's %1 is still there after the rollback: delete "
                                "the rows of RevenueID '%2', ItemID '%3'.")
                     .arg(linkLeft ? QStringLiteral("link") : QStringLiteral("history row"),
                          QLatin1String(testRevenueId), QLatin1String(testItemId)));
        else
            step(QStringLiteral("rollback"), Result::Ok,
                 server ? QStringLiteral("Rolled back: neither the link nor its history row is "
                                         "left (the ID it was given stays used: the next link "
                                         "skips it).")
                        : QStringLiteral("Rolled back: neither the link nor its history row is "
                                         "left."));
    } catch (const DbError& e) {
        step(QStringLiteral("rollback"), Result::Failed, e.description());
    }
    return out;
}

} // namespace diagnostics

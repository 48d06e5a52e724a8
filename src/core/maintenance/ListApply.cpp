#include "ListApply.h"

#include "core/db/Gateway.h"
#include "core/db/OwnTables.h"
#include "core/history/HistoryStatements.h"
#include "core/history/LinkHistory.h"
#include "core/maintenance/ImportFile.h"
#include "core/maintenance/ListCompare.h"
#include "core/maintenance/ListStatements.h"
#include "core/tsql/SqlText.h"

#include <QHash>

namespace listupdate {

namespace {

constexpr int rowsPerStatement = 100;

// Adds rows to a table a hundred to a statement, the rest one by one.
void insertRows(Gateway& db, const QString& table, const QStringList& columns,
                const QList<QList<QVariant>>& rows, const QString& tail = QString()) {
    QHash<int, QString> texts;
    qsizetype at = 0;
    for (int count : sql::statementRows(int(rows.size()), rowsPerStatement)) {
        QString& text = texts[count];
        if (text.isEmpty())
            text = insertRowsStatement(table, columns, count, tail);
        QList<QVariant> values;
        for (qsizetype i = at; i < at + count; ++i)
            values << rows[i];
        db.execute(text, values);
        at += count;
    }
}

// A value as ESOA_LIST_CHANGE keeps it: a fee as the comparison shows it, a text cut to the
// column's 250 characters.
QVariant recorded(const QString& column, const QVariant& value) {
    if (value.isNull())
        return QVariant();
    return valueText(column, value).left(250);
}

// The links of the changed codes whose copies differ from the new list, with their new values.
QList<history::Refreshed> linksToRefresh(Gateway& db, const Comparison& c) {
    QHash<QString, const Comparison::Changed*> changed;
    for (const Comparison::Changed& code : c.changed)
        changed.insert(importfile::codeKey(code.code), &code);
    QList<history::Refreshed> out;
    if (changed.isEmpty())
        return out;
    const QStringList& columns = history::linkColumns();
    const QStringList listed = listedColumns(c.table);
    const QStringList copied = copiedColumns(c.table);
    const ValueTable links = db.select(linkRowsStatement(c.table, true));
    const int first = 3; // ID, RevenueID, ItemID, then the history's link columns
    for (const QList<QVariant>& row : links.rows) {
        const auto code = changed.constFind(
            importfile::codeKey(row.value(first + int(columns.indexOf(u"Code"))).toString()));
        if (code == changed.cend())
            continue;
        history::Refreshed link{
            row.value(0), row.value(1), row.value(2), row.mid(first, columns.size()), {}};
        link.after = link.before;
        bool differs = false;
        for (const QString& column : copied) {
            const qsizetype at = columns.indexOf(column);
            const QVariant next = (*code)->next.value(listed.indexOf(column));
            if (sameValue(column, link.before[at], next))
                continue;
            link.after[at] = next;
            differs = true;
        }
        if (differs)
            out << link;
    }
    return out;
}

} // namespace

bool tablesPresent(Gateway& db) {
    return owntables::present(
        db, {QLatin1String(versionTable), QLatin1String(retiredTable), QLatin1String(changeTable)});
}

void makeTables(Gateway& db) {
    owntables::make(
        db, {QLatin1String(versionTable), QLatin1String(retiredTable), QLatin1String(changeTable)},
        createStatements(),
        QStringLiteral("The tables that record the lists' editions (%1, %2, %3) are "
                       "missing and could not be made")
            .arg(QLatin1String(versionTable), QLatin1String(retiredTable),
                 QLatin1String(changeTable)));
}

QString changedSinceText(const QString& table) {
    return QStringLiteral("%1 was changed since the new list was compared with it (by another "
                          "workstation, or another update): nothing was applied. Compare the new "
                          "list again.")
        .arg(table);
}

Applied apply(Gateway& db, history::LinkHistory& history, const Comparison& c) {
    makeTables(db);
    Gateway::Transaction transaction(db);
    if (digestOf(db.select(referenceRowsStatement(c.table, true)).rows) != c.tableDigest)
        throw DbError(changedSinceText(c.table));
    const QList<history::Refreshed> refreshed = linksToRefresh(db, c);

    Applied applied{0, c.newCodes, c.changedCodes, c.retiredCodes, int(refreshed.size()), 0};
    const std::optional<qint64> version =
        db.insertForId(insertVersionStatement(),
                       {c.table, c.files.join(u'|'), c.sha256.join(u'|'), c.linesRead, c.newCodes,
                        c.changedCodes, c.retiredCodes, applied.linksRefreshed});
    if (!version || *version <= 0)
        throw DbError(QStringLiteral("The key of the row just added could not be read."));
    applied.version = *version;

    const QStringList listed = listedColumns(c.table);
    QList<QList<QVariant>> rows, changes;
    for (const Comparison::Added& code : c.added) {
        rows << (QList<QVariant>{code.code} << code.values);
        for (int i = 0; i < listed.size(); ++i)
            changes << QList<QVariant>{applied.version,
                                       c.table,
                                       QStringLiteral("new"),
                                       code.code,
                                       listed[i],
                                       QVariant(),
                                       recorded(listed[i], code.values[i])};
    }
    insertRows(db, c.table, QStringList{QStringLiteral("Code")} << listed, rows);

    const QString update = updateByIdStatement(c.table, listed);
    for (const Comparison::Changed& code : c.changed) {
        for (qint64 id : code.ids)
            db.execute(update, QList<QVariant>(code.next) << id);
        for (int i = 0; i < listed.size(); ++i)
            if (!sameValue(listed[i], code.now[i], code.next[i]))
                changes << QList<QVariant>{applied.version,
                                           c.table,
                                           QStringLiteral("changed"),
                                           code.code,
                                           listed[i],
                                           recorded(listed[i], code.now[i]),
                                           recorded(listed[i], code.next[i])};
    }

    rows.clear();
    for (const Comparison::Retired& code : c.retired)
        rows << (QList<QVariant>{c.table, code.code} << code.values << applied.version);
    insertRows(db, QLatin1String(retiredTable), retiredColumns(), rows);
    const QString remove = deleteByIdStatement(c.table);
    for (const Comparison::Retired& code : c.retired)
        db.execute(remove, {code.id});
    insertRows(db, QLatin1String(changeTable), changeColumns(), changes);

    const QString linkTable = c.table + QStringLiteral("_LINK");
    const QStringList copied = copiedColumns(c.table);
    const QString refresh = updateByIdStatement(linkTable, copied);
    for (const history::Refreshed& link : refreshed) {
        QList<QVariant> values;
        for (const QString& column : copied)
            values << link.after[history::linkColumns().indexOf(column)];
        db.execute(refresh, values << link.linkId);
    }
    applied.batch = history.recordRefreshes(db, linkTable, refreshed);
    transaction.commit();
    return applied;
}

} // namespace listupdate

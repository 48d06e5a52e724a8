#include "DatabaseCheck.h"

#include "core/diagnostics/Expected.h"
#include "core/diagnostics/ServerAnswers.h"
#include "core/tsql/SqlText.h"

namespace diagnostics {

namespace {

// The rows of a PRAGMA's answer, by column name.
QVariant valueOf(const ValueTable& t, const QList<QVariant>& row, const char* column) {
    return row.value(t.column(QLatin1String(column)));
}

} // namespace

Findings checkEmbedded(Gateway& db) {
    Findings out;
    for (const QString& database :
         {QStringLiteral("main"), QStringLiteral("Build_FIle"), QStringLiteral("Inventory")}) {
        const QString check = QStringLiteral("Integrity of ") + database;
        try {
            const ValueTable answer = db.select(
                QStringLiteral("PRAGMA %1.integrity_check").arg(sql::bracketed(database)));
            QStringList lines;
            for (const QList<QVariant>& row : answer.rows)
                lines << row.value(0).toString();
            if (lines == QStringList{QStringLiteral("ok")})
                out << Finding{check, Result::Ok, QStringLiteral("ok")};
            else
                out << Finding{check, Result::Failed,
                               QStringList(lines.mid(0, 10)).join(QStringLiteral("\r\n"))};
        } catch (const DbError& e) {
            out << Finding{check, Result::Failed, e.description()};
        }
    }

    // The columns of the program's tables, in the shape SQL Server lists them.
    const QList<ExpectedTable> expected = expectedTables(Dialect::Sqlite);
    ValueTable columns{{QStringLiteral("TABLE_NAME"), QStringLiteral("COLUMN_NAME"),
                        QStringLiteral("DATA_TYPE"), QStringLiteral("CHARACTER_MAXIMUM_LENGTH"),
                        QStringLiteral("IS_NULLABLE")},
                       {}};
    QList<ExpectedTable> read;
    for (const ExpectedTable& table : expected) {
        try {
            const ValueTable info = db.select(QStringLiteral("PRAGMA [Build_FIle].table_info(%1)")
                                                  .arg(sql::bracketed(table.name)));
            for (const QList<QVariant>& row : info.rows) {
                const ExpectedColumn column = columnOfType(
                    valueOf(info, row, "name").toString(), valueOf(info, row, "type").toString(),
                    valueOf(info, row, "notnull").toInt() == 0);
                columns.rows << QList<QVariant>{
                    table.name, column.name, column.type,
                    column.length == 0 ? QVariant() : QVariant(column.length),
                    column.nullable ? QStringLiteral("YES") : QStringLiteral("NO")};
            }
            read << table;
        } catch (const DbError& e) {
            out << Finding{QStringLiteral("Table ") + table.name, Result::Failed, e.description()};
        }
    }
    out << tableFindings(read, columns);
    const QStringList present = presentTables(columns);

    // Their indexes: on the embedded database each is named after its table ("ESOA_ITEM__by_ID").
    ValueTable indexes{{QStringLiteral("TableName"), QStringLiteral("IndexName"),
                        QStringLiteral("IndexType"), QStringLiteral("ColumnName")},
                       {}};
    for (const ExpectedTable& table : read) {
        if (!present.contains(table.name, Qt::CaseInsensitive))
            continue;
        try {
            const ValueTable list = db.select(QStringLiteral("PRAGMA [Build_FIle].index_list(%1)")
                                                  .arg(sql::bracketed(table.name)));
            for (const QList<QVariant>& row : list.rows) {
                const QString name = valueOf(list, row, "name").toString();
                const QString prefix = table.name + QStringLiteral("__");
                if (!name.startsWith(prefix, Qt::CaseInsensitive))
                    continue;
                const ValueTable keys = db.select(
                    QStringLiteral("PRAGMA [Build_FIle].index_info(%1)").arg(sql::bracketed(name)));
                for (const QList<QVariant>& key : keys.rows)
                    indexes.rows << QList<QVariant>{table.name, name.mid(prefix.size()), QString(),
                                                    valueOf(keys, key, "name")};
            }
        } catch (const DbError& e) {
            out << Finding{QStringLiteral("Indexes of ") + table.name, Result::Failed,
                           e.description()};
        }
    }
    out << indexFindings(read, present, indexes);

    const bool historyPresent = present.contains(QStringLiteral("ESOA_LINK_HISTORY"));
    for (const QString& link : {QStringLiteral("ESOA_ITEM_LINK"), QStringLiteral("ESOA_ER_LINK")})
        out << roundTrip(db, link, historyPresent);
    return out;
}

} // namespace diagnostics

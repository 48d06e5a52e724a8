#include "ServerAnswers.h"

#include "core/history/HistoryStatements.h"
#include "core/maintenance/ListStatements.h"
#include "core/register/RegisterStatements.h"
#include "core/review/ReviewStatements.h"

#include <QRegularExpression>

namespace diagnostics {

namespace {

// The first row's value of a column, or NULL.
QVariant first(const ValueTable& answer, const QString& column) {
    const int i = answer.column(column);
    return i < 0 || answer.rows.isEmpty() ? QVariant() : answer.rows.first().value(i);
}

QString text(const QVariant& value) {
    return value.isNull() ? QString() : value.toString().trimmed();
}

// "A", "A and B", "A, B and C".
QString listed(const QStringList& items) {
    if (items.size() < 2)
        return items.value(0);
    return QStringList(items.mid(0, items.size() - 1)).join(QStringLiteral(", ")) +
           QStringLiteral(" and ") + items.last();
}

bool yes(const QVariant& value) {
    const QString t = text(value).toUpper();
    return t == u"1" || t == u"TRUE" || t == u"YES";
}

QString tableCheck(const QString& table) {
    return QStringLiteral("Table ") + table;
}

} // namespace

Finding serverFinding(const ValueTable& answer) {
    const QString version = text(first(answer, QStringLiteral("ProductVersion")));
    const QString level = text(first(answer, QStringLiteral("ProductLevel")));
    const QString edition = text(first(answer, QStringLiteral("Edition")));
    const QString check = QStringLiteral("Server version and edition");
    if (version.isEmpty())
        return {check, Result::Failed, QStringLiteral("The server did not give its version.")};
    QString detail = QStringLiteral("SQL Server ") + version;
    if (!level.isEmpty())
        detail += u' ' + level;
    if (!edition.isEmpty())
        detail += QStringLiteral(", ") + edition;
    if (version.section(u'.', 0, 0).toInt() < 9)
        return {check, Result::Failed,
                detail + QStringLiteral(": the program needs SQL Server 2005 (9.0) or later for "
                                        "the OUTPUT ... INTO of its adds.")};
    return {check, Result::Ok, detail};
}

Finding loginFinding(const ValueTable& answer) {
    const QString login = text(first(answer, QStringLiteral("Login")));
    const QString user = text(first(answer, QStringLiteral("UserName")));
    const QString database = text(first(answer, QStringLiteral("CurrentDatabase")));
    return {QStringLiteral("Login and database user"), Result::Ok,
            QStringLiteral("Login %1, database user %2 in %3 (the connection's current database; "
                           "every statement names Build_FIle or Inventory itself).")
                .arg(login.isEmpty() ? QStringLiteral("(none)") : login,
                     user.isEmpty() ? QStringLiteral("(none)") : user,
                     database.isEmpty() ? QStringLiteral("(none)") : database)};
}

bool comparesCase(const QString& collation) {
    static const QRegularExpression sensitive(QStringLiteral("_(CS|BIN2?)(_|$)"),
                                              QRegularExpression::CaseInsensitiveOption);
    return sensitive.match(collation).hasMatch();
}

Findings collationFindings(const ValueTable& answer) {
    Findings out;
    for (const QString& database : answer.columns) {
        const QString collation = text(first(answer, database));
        const QString check = QStringLiteral("Collation of ") + database;
        if (collation.isEmpty())
            out << Finding{check, Result::Failed,
                           QStringLiteral("The server gave no collation: the database %1 is not "
                                          "there, or this login cannot reach it.")
                               .arg(database)};
        else if (comparesCase(collation))
            out << Finding{check, Result::Warning,
                           collation + QStringLiteral(" compares case: the program compares "
                                                      "codes, categories and names as SQL "
                                                      "Server's default collations do, without "
                                                      "regard to case, so \"abc\" and \"ABC\" "
                                                      "are different items here.")};
        else
            out << Finding{check, Result::Ok,
                           collation + QStringLiteral(" compares without regard to case.")};
    }
    return out;
}

QStringList presentTables(const ValueTable& columns) {
    QStringList out;
    const int table = columns.column(QStringLiteral("TABLE_NAME"));
    for (const QList<QVariant>& row : columns.rows)
        if (const QString name = text(row.value(table)); !out.contains(name, Qt::CaseInsensitive))
            out << name;
    return out;
}

Findings tableFindings(const QList<ExpectedTable>& expected, const ValueTable& columns) {
    const int tableAt = columns.column(QStringLiteral("TABLE_NAME"));
    const int nameAt = columns.column(QStringLiteral("COLUMN_NAME"));
    const int typeAt = columns.column(QStringLiteral("DATA_TYPE"));
    const int lengthAt = columns.column(QStringLiteral("CHARACTER_MAXIMUM_LENGTH"));
    const int nullableAt = columns.column(QStringLiteral("IS_NULLABLE"));
    const int collationAt = columns.column(QStringLiteral("COLLATION_NAME"));
    Findings out;
    for (const ExpectedTable& table : expected) {
        QList<const QList<QVariant>*> rows;
        for (const QList<QVariant>& row : columns.rows)
            if (text(row.value(tableAt)).compare(table.name, Qt::CaseInsensitive) == 0)
                rows << &row;
        const QString check = tableCheck(table.name);
        if (rows.isEmpty()) {
            if (table.whenMissing.isEmpty())
                out << Finding{check, Result::Failed,
                               QStringLiteral("The table is missing from Build_FIle (or this "
                                              "login may not see it): \"a. Create Tables\" makes "
                                              "it.")};
            else
                out << Finding{check, Result::Warning,
                               QStringLiteral("The table is missing from Build_FIle (or this "
                                              "login may not see it): ") +
                                   table.whenMissing + u'.'};
            continue;
        }
        const qsizetype before = out.size();
        for (const ExpectedColumn& want : table.columns) {
            const QList<QVariant>* found = nullptr;
            for (const QList<QVariant>* row : rows)
                if (text(row->value(nameAt)).compare(want.name, Qt::CaseInsensitive) == 0)
                    found = row;
            if (!found && table.addedWhenMissing.contains(want.name)) {
                out << Finding{check, Result::Warning,
                               QStringLiteral("The column %1 is missing: %2.")
                                   .arg(want.name, table.addedWhenMissing.value(want.name))};
                continue;
            }
            if (!found) {
                out << Finding{check, Result::Failed,
                               QStringLiteral("The column %1 is missing: every statement that "
                                              "names it fails.")
                                   .arg(want.name)};
                continue;
            }
            const QString type = text(found->value(typeAt)).toLower();
            const QVariant length = found->value(lengthAt);
            const int has = length.isNull() ? 0 : length.toInt();
            const int wanted = want.length;
            if (type != want.type || (wanted != 0 && has != wanted))
                out << Finding{
                    check, Result::Warning,
                    QStringLiteral("The column %1 is %2; the program makes it %3.")
                        .arg(want.name, typeText(type, has), typeText(want.type, want.length))};
            if (want.nullable &&
                text(found->value(nullableAt)).compare(u"NO", Qt::CaseInsensitive) == 0)
                out << Finding{check, Result::Warning,
                               QStringLiteral("The column %1 refuses NULL; the program makes it "
                                              "NULL, and a row that leaves it empty is refused.")
                                   .arg(want.name)};
            if (const QString collation = text(found->value(collationAt));
                collationAt >= 0 && comparesCase(collation))
                out << Finding{check, Result::Warning,
                               QStringLiteral("The column %1 compares case (%2): the program "
                                              "compares it without regard to case.")
                                   .arg(want.name, collation)};
        }
        if (out.size() == before)
            out << Finding{
                check, Result::Ok,
                QStringLiteral("%1 columns as the program makes them.").arg(table.columns.size())};
    }
    return out;
}

Findings indexFindings(const QList<ExpectedTable>& expected, const QStringList& present,
                       const ValueTable& indexes) {
    const int tableAt = indexes.column(QStringLiteral("TableName"));
    const int nameAt = indexes.column(QStringLiteral("IndexName"));
    const int typeAt = indexes.column(QStringLiteral("IndexType"));
    const int columnAt = indexes.column(QStringLiteral("ColumnName"));
    Findings out;
    for (const ExpectedTable& table : expected) {
        if (!present.contains(table.name, Qt::CaseInsensitive) || table.indexes.isEmpty())
            continue;
        const QString check = QStringLiteral("Indexes of ") + table.name;
        const qsizetype before = out.size();
        QStringList names;
        for (const ExpectedIndex& want : table.indexes) {
            names << want.name;
            QStringList columns;
            QString type;
            for (const QList<QVariant>& row : indexes.rows)
                if (text(row.value(tableAt)).compare(table.name, Qt::CaseInsensitive) == 0 &&
                    text(row.value(nameAt)).compare(want.name, Qt::CaseInsensitive) == 0) {
                    columns << text(row.value(columnAt));
                    type = text(row.value(typeAt)).toUpper();
                }
            const QString on = want.columns.join(QStringLiteral(", "));
            if (columns.isEmpty()) {
                out << Finding{check, Result::Warning,
                               QStringLiteral("The index %1 on (%2) is missing: what looks rows "
                                              "up by %2 reads the whole table instead.")
                                   .arg(want.name, on)};
                continue;
            }
            bool same = columns.size() == want.columns.size();
            for (int i = 0; same && i < columns.size(); ++i)
                same = columns[i].compare(want.columns[i], Qt::CaseInsensitive) == 0;
            if (!same)
                out << Finding{check, Result::Warning,
                               QStringLiteral("The index %1 is on (%2); the program makes it on "
                                              "(%3).")
                                   .arg(want.name, columns.join(QStringLiteral(", ")), on)};
            const bool clustered = type == u"CLUSTERED";
            if (!type.isEmpty() && clustered != want.clustered)
                out << Finding{check, Result::Warning,
                               QStringLiteral("The index %1 is %2; the program makes it %3.")
                                   .arg(want.name, type.toLower(),
                                        want.clustered ? QStringLiteral("clustered")
                                                       : QStringLiteral("nonclustered"))};
        }
        if (out.size() == before)
            out << Finding{check, Result::Ok,
                           listed(names) + QStringLiteral(" as the program makes them.")};
    }
    return out;
}

Findings triggerFindings(const QStringList& tables, const ValueTable& triggers) {
    const int tableAt = triggers.column(QStringLiteral("TableName"));
    const int nameAt = triggers.column(QStringLiteral("TriggerName"));
    const int disabledAt = triggers.column(QStringLiteral("IsDisabled"));
    const int insteadAt = triggers.column(QStringLiteral("IsInsteadOf"));
    Findings out;
    for (const QList<QVariant>& row : triggers.rows) {
        const QString table = text(row.value(tableAt));
        const bool instead = yes(row.value(insteadAt));
        out << Finding{
            QStringLiteral("Triggers on ") + table, Result::Warning,
            QStringLiteral("%1 has the trigger %2 (%3, %4): the program's adds take the new ID "
                           "from OUTPUT ... INTO, which the trigger cannot change, but what the "
                           "trigger itself does to a save, a delete or an undo is for the DBA "
                           "to say.")
                .arg(table, text(row.value(nameAt)),
                     instead ? QStringLiteral("INSTEAD OF") : QStringLiteral("AFTER"),
                     yes(row.value(disabledAt)) ? QStringLiteral("disabled")
                                                : QStringLiteral("enabled"))};
    }
    if (out.isEmpty())
        out << Finding{QStringLiteral("Triggers"), Result::Ok,
                       QStringLiteral("No trigger on ") + listed(tables) + u'.'};
    return out;
}

QList<TableRights> neededRights(const QStringList& examTables) {
    const QString build = QStringLiteral("Build_FIle"), inventory = QStringLiteral("Inventory");
    const QStringList all = {"SELECT", "INSERT", "UPDATE", "DELETE"};
    QList<TableRights> out = {
        {build, QStringLiteral("tbRevenues"), {"SELECT"}, {}},
        {build, QStringLiteral("tbcorevenuecode"), {"SELECT"}, {}},
        {inventory, QStringLiteral("tbInvMaster"), {"SELECT"}, {"ALTER"}},
        {inventory, QStringLiteral("tbForGeneric"), {"SELECT"}, {}},
        {build, QStringLiteral("ESOA_ITEM"), {"SELECT"}, {"INSERT", "UPDATE", "DELETE", "ALTER"}},
        {build, QStringLiteral("ESOA_ITEM_LINK"), all, {"ALTER"}},
        {build, QStringLiteral("ESOA_ER"), {"SELECT"}, {"INSERT", "UPDATE", "DELETE", "ALTER"}},
        {build, QStringLiteral("ESOA_ER_LINK"), all, {"ALTER"}},
        {build, QLatin1String(history::tableName), {"SELECT", "INSERT", "UPDATE"}, {"ALTER"}},
        {build, QLatin1String(drugregister::tableName), {"SELECT"}, {"INSERT", "DELETE"}},
        {build, QLatin1String(listupdate::versionTable), {"SELECT"}, {"INSERT"}},
        {build, QLatin1String(listupdate::retiredTable), {}, {"INSERT"}},
        {build, QLatin1String(listupdate::changeTable), {}, {"INSERT"}},
        {build, QLatin1String(review::tableName), {"SELECT", "INSERT"}, {}},
    };
    // "a. Create Tables" drops a column of three exam tables, whether the catalogue names them
    // or not.
    const QStringList altered = {"tbCoXrayExam", "tbcoUltraExam", "tbcoCTExam"};
    QStringList seen;
    auto add = [&](const QString& given, bool named) {
        const QString table = given.section(u'.', -1).trimmed();
        const QString database = given.contains(u'.') ? given.section(u'.', 0, 0).trimmed() : build;
        const QString key = (database + u'.' + table).toLower();
        if (table.isEmpty() || seen.contains(key))
            return;
        seen << key;
        out << TableRights{database, table, named ? QStringList{"SELECT"} : QStringList{},
                           altered.contains(table, Qt::CaseInsensitive) &&
                                   database.compare(build, Qt::CaseInsensitive) == 0
                               ? QStringList{"ALTER"}
                               : QStringList{}};
    };
    for (const QString& exam : examTables)
        add(exam, true);
    for (const QString& table : altered)
        add(table, false);
    return out;
}

Finding rightsFinding(const TableRights& rights, const ValueTable& answer) {
    const QString check = QStringLiteral("Rights on ") + rights.table;
    if (answer.rows.isEmpty()) {
        const bool needed = !rights.needed.isEmpty();
        return {
            check, needed ? Result::Failed : Result::Warning,
            QStringLiteral("%1 is not in %2, or this login holds no right on it at all%3.")
                .arg(rights.table, rights.database,
                     needed ? QString() : QStringLiteral(": only \"a. Create Tables\" uses it"))};
    }
    QStringList granted, missing, unknown, missingMaintenance;
    auto read = [&](const QStringList& wanted, QStringList& lacking) {
        for (const QString& right : wanted) {
            const QVariant v = first(answer, right);
            if (v.isNull())
                unknown << right;
            else if (yes(v))
                granted << right;
            else
                lacking << right;
        }
    };
    read(rights.needed, missing);
    read(rights.maintenance, missingMaintenance);
    QStringList parts;
    if (!granted.isEmpty())
        parts << listed(granted) + QStringLiteral(" granted");
    if (!missing.isEmpty())
        parts << listed(missing) + QStringLiteral(" not granted: the clerks' work that needs it "
                                                  "fails");
    if (!missingMaintenance.isEmpty())
        parts << listed(missingMaintenance) +
                     QStringLiteral(" not granted: only the maintenance commands need it; run "
                                    "them with a login that has it");
    if (!unknown.isEmpty())
        parts << QStringLiteral("the server could not tell about ") + listed(unknown);
    const Result result = !missing.isEmpty() || !unknown.isEmpty() ? Result::Failed
                          : !missingMaintenance.isEmpty()          ? Result::Warning
                                                                   : Result::Ok;
    return {check, result,
            QStringLiteral("%1.%2: ").arg(rights.database, rights.table) +
                parts.join(QStringLiteral("; ")) + u'.'};
}

Finding createTableFinding(const ValueTable& answer) {
    const QVariant v = first(answer, QStringLiteral("CREATE TABLE"));
    const QString check = QStringLiteral("Right to create tables in Build_FIle");
    if (!v.isNull() && yes(v))
        return {check, Result::Ok, QStringLiteral("CREATE TABLE granted.")};
    return {check, Result::Warning,
            QStringLiteral("CREATE TABLE not granted: \"a. Create Tables\", the first save "
                           "without the history table and the first register import need it; "
                           "run them with a login that has it (and ALTER on the schema dbo).")};
}

Finding encryptionFinding(const ValueTable& answer) {
    const QString value = text(first(answer, QStringLiteral("encrypt_option"))).toUpper();
    const QString check = QStringLiteral("Encrypted connection");
    if (value == u"TRUE")
        return {check, Result::Ok, QStringLiteral("The connection is encrypted.")};
    if (value == u"FALSE")
        return {check, Result::Warning,
                QStringLiteral("The connection is not encrypted: the login and every row cross "
                               "the network as they are.")};
    return {check, Result::Failed, QStringLiteral("The server did not say.")};
}

} // namespace diagnostics

#include "ServerStatements.h"

#include "core/history/HistoryStatements.h"
#include "core/maintenance/ListStatements.h"
#include "core/register/RegisterStatements.h"
#include "core/review/ReviewStatements.h"
#include "core/tsql/SqlText.h"

namespace diagnostics::statements {

namespace {

// 'A', 'B', 'C'
QString quotedList(const QStringList& names) {
    QStringList quoted;
    for (const QString& name : names)
        quoted << sql::quoted(name);
    return quoted.join(QStringLiteral(", "));
}

} // namespace

QStringList programTables() {
    return {QStringLiteral("ESOA_ITEM"),
            QStringLiteral("ESOA_ITEM_LINK"),
            QStringLiteral("ESOA_ER"),
            QStringLiteral("ESOA_ER_LINK"),
            QLatin1String(history::tableName),
            QLatin1String(drugregister::tableName),
            QLatin1String(listupdate::versionTable),
            QLatin1String(listupdate::retiredTable),
            QLatin1String(listupdate::changeTable),
            QLatin1String(review::tableName)};
}

QStringList triggerTables() {
    return {QStringLiteral("ESOA_ITEM_LINK"), QStringLiteral("ESOA_ER_LINK"),
            QLatin1String(history::tableName)};
}

QString examCatalogue() {
    return QStringLiteral("SELECT [RevenueID],[ExamTableName],[IDFieldName],[ExamFieldName],"
                          "[SectionIDFieldName] FROM ") +
           sql::buildFileTable(QStringLiteral("tbRevenues")) +
           QStringLiteral(" WITH (NOLOCK) WHERE [ExamTableName] <> ''");
}

QString server() {
    return QStringLiteral("SELECT SERVERPROPERTY('ProductVersion') AS [ProductVersion], "
                          "SERVERPROPERTY('ProductLevel') AS [ProductLevel], "
                          "SERVERPROPERTY('Edition') AS [Edition]");
}

QString login() {
    return QStringLiteral("SELECT SUSER_SNAME() AS [Login], USER_NAME() AS [UserName], "
                          "DB_NAME() AS [CurrentDatabase]");
}

QString collations() {
    return QStringLiteral("SELECT DATABASEPROPERTYEX('Build_FIle', 'Collation') AS [Build_FIle], "
                          "DATABASEPROPERTYEX('Inventory', 'Collation') AS [Inventory]");
}

QString columns() {
    return QStringLiteral(
               "SELECT TABLE_NAME, COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, "
               "IS_NULLABLE, COLLATION_NAME FROM [Build_FIle].INFORMATION_SCHEMA.COLUMNS "
               "WHERE TABLE_SCHEMA = 'dbo' AND TABLE_NAME IN (") +
           quotedList(programTables()) + QStringLiteral(") ORDER BY TABLE_NAME, ORDINAL_POSITION");
}

QString indexes() {
    return QStringLiteral(
               "SELECT t.name AS [TableName], i.name AS [IndexName], i.type_desc AS [IndexType], "
               "c.name AS [ColumnName] FROM [Build_FIle].sys.indexes i "
               "JOIN [Build_FIle].sys.tables t ON t.object_id = i.object_id "
               "JOIN [Build_FIle].sys.schemas s ON s.schema_id = t.schema_id "
               "JOIN [Build_FIle].sys.index_columns ic ON ic.object_id = i.object_id "
               "AND ic.index_id = i.index_id "
               "JOIN [Build_FIle].sys.columns c ON c.object_id = ic.object_id "
               "AND c.column_id = ic.column_id "
               "WHERE s.name = 'dbo' AND t.name IN (") +
           quotedList(programTables()) +
           QStringLiteral(") AND ic.key_ordinal > 0 ORDER BY t.name, i.name, ic.key_ordinal");
}

QString triggers() {
    return QStringLiteral("SELECT t.name AS [TableName], tr.name AS [TriggerName], "
                          "tr.is_disabled AS [IsDisabled], tr.is_instead_of_trigger AS "
                          "[IsInsteadOf] FROM [Build_FIle].sys.triggers tr "
                          "JOIN [Build_FIle].sys.tables t ON t.object_id = tr.parent_id "
                          "WHERE t.name IN (") +
           quotedList(triggerTables()) + QStringLiteral(") ORDER BY t.name, tr.name");
}

QString rights(const QString& database, const QString& table) {
    const QString db = sql::bracketed(database);
    QStringList columns;
    for (const char* right : {"SELECT", "INSERT", "UPDATE", "DELETE", "ALTER"})
        columns << QStringLiteral("HAS_PERMS_BY_NAME('%1.[dbo].' + QUOTENAME(o.name), 'OBJECT', "
                                  "'%2') AS [%2]")
                       .arg(db, QLatin1String(right));
    return QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) +
           QStringLiteral(" FROM %1.sys.objects o JOIN %1.sys.schemas s ON s.schema_id = "
                          "o.schema_id WHERE s.name = 'dbo' AND o.name = ")
               .arg(db) +
           sql::quoted(table);
}

QString createTableRight() {
    return QStringLiteral(
        "SELECT HAS_PERMS_BY_NAME('Build_FIle', 'DATABASE', 'CREATE TABLE') AS [CREATE TABLE]");
}

QString noexecOn() {
    return QStringLiteral("SET NOEXEC ON");
}

QString noexecProbe() {
    return QStringLiteral("SELECT 1 AS [Executed]");
}

QString noexecOff() {
    return QStringLiteral("SET NOEXEC OFF");
}

QString encryption() {
    return QStringLiteral("SELECT encrypt_option FROM sys.dm_exec_connections WHERE session_id = "
                          "@@SPID");
}

QString encryptionOfThisConnection() {
    return QStringLiteral("SELECT CONNECTIONPROPERTY('encrypt_option') AS [encrypt_option]");
}

} // namespace diagnostics::statements

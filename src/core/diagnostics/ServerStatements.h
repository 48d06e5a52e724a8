#pragma once

#include <QString>
#include <QStringList>

// The T-SQL of the database check on SQL Server: what it asks the server about itself, the login,
// the databases, the program's tables and the login's rights. Each is on file in
// docs/statements.sql; none changes anything.
namespace diagnostics::statements {

// The program's tables in Build_FIle, in the order the check reports them.
QStringList programTables();

// RevenueID, ExamTableName, IDFieldName, ExamFieldName, SectionIDFieldName: the rows of the
// revenue catalogue that name an exam table (the statement the suggestions send).
QString examCatalogue();
// ProductVersion, ProductLevel, Edition.
QString server();
// Login, UserName (in the connection's current database), CurrentDatabase.
QString login();
// Build_FIle, Inventory: each database's collation (NULL when it is not there or not reachable).
QString collations();
// TABLE_NAME, COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, IS_NULLABLE, COLLATION_NAME of
// the program's tables, in their order.
QString columns();
// TableName, IndexName, IndexType, ColumnName of the program's tables' indexes, each index's key
// columns in their order.
QString indexes();
// TableName, TriggerName, IsDisabled, IsInsteadOf of the triggers on the link and history tables.
QString triggers();
// The tables whose triggers are asked for.
QStringList triggerTables();
// SELECT, INSERT, UPDATE, DELETE, ALTER: whether the login holds each on the table of the
// database (1 or 0); no row when the table is not there or the login may not see it.
QString rights(const QString& database, const QString& table);
// CREATE TABLE: whether the login may create tables in Build_FIle.
QString createTableRight();
// The compiling of the statement file: NOEXEC on, a probe that returns no row while it is on,
// and off again.
QString noexecOn();
QString noexecProbe();
QString noexecOff();
// encrypt_option of this session's connection ("TRUE" or "FALSE"); the first needs VIEW SERVER
// STATE, the second (asked when the first is refused) needs no right.
QString encryption();
QString encryptionOfThisConnection();

} // namespace diagnostics::statements

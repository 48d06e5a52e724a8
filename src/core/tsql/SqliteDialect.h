#pragma once

#include <QString>

// Turns the T-SQL that the program builds into SQLite's dialect for the embedded database.
namespace tsql {

// What the session functions give on the embedded database: who is working, and where.
struct Session {
    QString user; // SUSER_SNAME()
    QString host; // HOST_NAME()
};

// The statement in SQLite's dialect:
// - database..table and database.schema.table name database.table (the attached schema);
// - the table hint WITH (NOLOCK) is dropped; SELECT TOP n becomes LIMIT n;
// - + next to a string literal joins texts (||); CONVERT, ISNULL, LEN and GETDATE are mapped;
//   SUSER_SNAME() and HOST_NAME() give the session's user and host, @@IDENTITY the last key
//   added; BEGIN TRANSACTION takes the write lock at once (BEGIN IMMEDIATE);
// - CREATE TABLE maps the column types (identity, money, text without regard to case, ranges)
//   and drops a trailing comma; CREATE [NON]CLUSTERED INDEX gets a per-table index name.
QString toSqlite(const QString& sql, const Session& session = {});

} // namespace tsql

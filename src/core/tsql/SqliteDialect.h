#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Turns the T-SQL that the program builds into SQLite's dialect for the embedded database.
// It works on tokens, never on raw text, so string literals pass through untouched.
namespace tsql {

enum class TokenKind { Space, Comment, String, Bracketed, Quoted, Word, Number, Punct };

struct Token {
    TokenKind kind;
    QString text;
};

// Splits a statement into tokens; joining the texts of the tokens gives the statement back.
QList<Token> tokenize(const QString& sql);

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

// The table a "SELECT ... FROM table ..." reads: its text as written, and its database and table
// names without brackets (database empty when the text names none). Empty when there is no FROM.
struct TableName {
    QString text;
    QString database;
    QString table;
};
TableName selectTable(const QString& sql);

// A statement whose value literals are taken out, so that statements that differ only in them
// share one prepared statement. Literals are taken from SELECT statements after their first
// WHERE (the select list names the result's columns) and from anywhere in INSERT, UPDATE and
// DELETE statements. `text` holds a marker literal in the place of each one taken; `values` are
// their texts, quotes undone.
struct Lifted {
    QString text;
    QStringList values;
    // A SELECT, INSERT, UPDATE or DELETE, or a transaction's BEGIN, COMMIT or ROLLBACK: one that
    // leaves the tables' shape.
    bool data = false;
};
Lifted liftLiterals(const QString& sql);

// The rewritten text of a lifted statement with its `count` marker literals turned into ?
// parameters. Empty when the markers did not come out once each and in their order.
QString markersToParameters(const QString& sql, qsizetype count);

} // namespace tsql

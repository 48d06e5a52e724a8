#pragma once

#include <QString>
#include <QStringList>

// What the gateway learns of a statement's shape to reuse its work: the table a SELECT reads, and
// the statement with its value literals taken out, so that statements that differ only in them
// share one prepared statement.
namespace tsql {

// The table a "SELECT ... FROM table ..." reads: its text as written, and its database and table
// names without brackets (database empty when the text names none). Empty when there is no FROM.
struct TableName {
    QString text;
    QString database;
    QString table;
};
TableName selectTable(const QString& sql);

// A statement whose value literals are taken out. Literals are taken from SELECT statements after
// their first WHERE (the select list names the result's columns) and from anywhere in INSERT,
// UPDATE and DELETE statements. `text` holds a marker literal in the place of each one taken;
// `values` are their texts, quotes undone.
struct Lifted {
    QString text;
    QStringList values;
    // A SELECT, INSERT, UPDATE or DELETE, or a transaction's BEGIN, COMMIT or ROLLBACK: one that
    // leaves the tables' shape.
    bool data = false;
};
Lifted liftLiterals(const QString& sql);

// A condition with each of its string literals made a ? parameter: `text` holds the ?s, `values`
// the literals' texts, quotes undone. A literal left open stays as it is.
Lifted literalsAsParameters(const QString& sql);

// The rewritten text of a lifted statement with its `count` marker literals turned into ?
// parameters. Empty when the markers did not come out once each and in their order.
QString markersToParameters(const QString& sql, qsizetype count);

} // namespace tsql

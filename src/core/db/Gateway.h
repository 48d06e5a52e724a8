#pragma once

#include "core/db/Backend.h"
#include "core/db/Cursors.h"
#include "core/db/DbError.h"
#include "core/db/ResultTables.h"
#include "core/db/StatementPool.h"
#include "core/db/WriteBatch.h"
#include "core/tsql/StatementShape.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariant>

#include <memory>

// The four kinds of database operation of the program, on one connection. Every failure
// raises DbError with the driver's text. Statements are logged as the program built them.
class Gateway {
public:
    explicit Gateway(std::unique_ptr<Backend> backend);

    // Statement: run the text, read no result.
    void execute(const QString& sql);
    // The same with ? parameters, bound to the values in their order.
    void execute(const QString& sql, const QList<QVariant>& values);
    // Query into values: every row and column of the result as the database gave them.
    ValueTable select(const QString& sql);
    // Query into a grid: every row and column of the result, as text.
    TextTable query(const QString& sql, Rowset mode = Rowset::ForwardReadOnly);
    // Look-up: open, then test atEnd() and read fields of the first row.
    Lookup lookup(const QString& sql, Rowset mode = Rowset::ForwardReadOnly);
    // Write through a query: open an updatable result over a SELECT ... FROM table ....
    WriteCursor openForWrite(const QString& sql);

    // Adds one row with the given values, bound as parameters: values never enter the text.
    void insertRow(const QString& table, const QStringList& columns, const QList<QVariant>& values);

    const QStringList& log() const { return m_log; }
    void clearLog() { m_log.clear(); }
    Backend& backend() { return *m_backend; }

private:
    friend class WriteCursor;
    friend class WriteBatch;
    // A statement as it reaches the database: its text, the values bound to it, and the text
    // with its value literals taken out (the same for statements that differ only in them).
    struct Native {
        QString shape;
        QString text;
        QList<QVariant> values;
        bool pooled = false;
    };
    Native native(const QString& tsql, const QList<QVariant>& values);
    // Every write (statement, added or rewritten row) first lets an open batch commit.
    void beforeWrite();
    PooledQuery run(const Native& statement, bool forwardOnly);
    PooledQuery run(const QString& tsql, bool forwardOnly, const QList<QVariant>& values = {});
    QList<QVariant> bound(const QString& table, const QStringList& columns,
                          const QList<QVariant>& values);
    const tsql::TableName& tableOf(const QString& shape);

    std::unique_ptr<Backend> m_backend;
    QStringList m_log;
    WriteBatch* m_batch = nullptr;
    // Statements already rewritten, by their text with value literals taken out: the rewritten
    // text with ? parameters, or empty for one whose literals must stay in the text.
    QHash<QString, QString> m_rewritten;
    QHash<QString, tsql::TableName> m_tables;
    // Declared after the backend: its statements are finalised before the connection closes.
    std::shared_ptr<StatementPool> m_pool;
};

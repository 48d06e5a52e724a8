#pragma once

#include "core/db/Backend.h"
#include "core/db/DbError.h"
#include "core/tsql/StatementShape.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

// How a rowset is opened. Qt offers forward-only or scrollable queries; the locking of the
// original record sets has no counterpart, and writes go through WriteCursor.
enum class Rowset { ForwardReadOnly, ForwardOptimistic, DynamicOptimistic };

// A query result as text, ready for a grid: the column names and one list of texts per row.
struct TextTable {
    QStringList columns;
    QList<QStringList> rows;
};

// A query result as the database gave it: the column names and one list of values per row (NULL
// stays NULL).
struct ValueTable {
    QStringList columns;
    QList<QList<QVariant>> rows;
    // The position of a column by name, regardless of case; -1 when there is none.
    int column(const QString& name) const;
};

class StatementPool;

// A query run through the gateway. On the embedded database its prepared statement goes back to
// the gateway's pool when the query is released or dropped, to be run again with other values.
class PooledQuery {
public:
    PooledQuery() = default;
    PooledQuery(QSqlQuery query, QString key, std::weak_ptr<StatementPool> pool);
    PooledQuery(PooledQuery&& other) noexcept;
    PooledQuery& operator=(PooledQuery&& other) noexcept;
    PooledQuery(const PooledQuery&) = delete;
    PooledQuery& operator=(const PooledQuery&) = delete;
    ~PooledQuery();

    QSqlQuery& operator*() { return m_query; }
    QSqlQuery* operator->() { return &m_query; }
    const QSqlQuery* operator->() const { return &m_query; }
    // Ends the result and gives the statement back.
    void release();

private:
    QSqlQuery m_query;
    QString m_key;
    std::weak_ptr<StatementPool> m_pool;
    bool m_live = false;
    quint64 m_generation = 0;
};

// A look-up: the first row of a result, read by column name, then closed.
class Lookup {
public:
    explicit Lookup(PooledQuery query);
    bool atEnd() const { return m_atEnd; }
    QVariant field(const QString& name) const;
    QVariant field(int index) const;
    void close();

private:
    PooledQuery m_query;
    QSqlRecord m_record;
    bool m_atEnd = true;
};

class Gateway;

// Write through a query: the rows a SELECT found, the first of them current. Fields are set by
// column name, and a value the column cannot take (a text that is not an amount, for a money
// column) fails when it is set, leaving the field unset; update() adds the new row (a parameterised
// INSERT) or rewrites the found row by its ID, and fails when that row was changed or removed since
// it was read.
//
// A cursor made by the default constructor is a result set not yet opened: like one that was
// closed, every operation on it fails with "Operation is not allowed when the object is closed.".
class WriteCursor {
public:
    WriteCursor() = default;
    WriteCursor(Gateway& gateway, tsql::TableName table, QSqlRecord record,
                std::optional<QList<QVariant>> firstRow);
    bool isOpen() const { return m_open; }
    // No row found and none added.
    bool atEnd() const;
    // A new row is being added (addNew() and no update() yet).
    bool adding() const { return m_open && m_adding; }
    // The table written to, without brackets ("ESOA_ER_LINK").
    const QString& tableName() const { return m_name.table; }
    // A column's value as the row was read (NULL for a row being added) and as update() would
    // leave it: the value set, converted for the column, or else the value read.
    QVariant original(const QString& name) const;
    QVariant value(const QString& name) const;
    void addNew();
    void setField(const QString& name, const QVariant& value);
    void update();
    void close();

private:
    void requireOpen() const;

    Gateway* m_gateway = nullptr;
    tsql::TableName m_name;
    QString m_table;
    QSqlRecord m_record;
    std::optional<QList<QVariant>> m_original;
    bool m_adding = false;
    QList<QString> m_setColumns;
    QList<QVariant> m_setValues;
    bool m_open = false;
};

// Row-by-row work committed in batches (the import of a reference list). What the work writes
// between beginRecord() and endRecord() joins one open transaction, which commits once it has
// `records` records or has been open for `milliseconds`, and when finish() is called. A record
// is never split between two commits. Any other write that reaches the gateway while the
// transaction is open (a save the user makes between two lines) commits the batch first and
// then runs on its own, so it is on disk when it returns, as every write of the program is.
class WriteBatch {
public:
    WriteBatch(Gateway& gateway, int records, int milliseconds);
    // Commits what is still open; a failure there is not reported (call finish() to hear it).
    ~WriteBatch();
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // Opens the transaction when none is open. Fails with the database's text.
    void beginRecord();
    // Ends the record and commits when the batch is due.
    void endRecord();
    // Commits what is open. A commit that fails is rolled back (so the connection is never left
    // inside a transaction) and raises the database's text.
    void finish();

private:
    friend class Gateway;
    void commitBeforeOtherWrite();

    Gateway& m_gateway;
    const int m_records;
    const int m_milliseconds;
    bool m_open = false;
    bool m_inRecord = false;
    int m_pending = 0;
    QElapsedTimer m_since;
};

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

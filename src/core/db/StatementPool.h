#pragma once

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <memory>

// Prepared statements of the embedded database that are not in use, by their text. A statement
// is taken out while its query runs and given back, its result ended, when the query is done.
class StatementPool {
public:
    explicit StatementPool(QSqlDatabase db)
        : m_db(std::move(db)) {}

    // An idle statement of the text, or one prepared now. Raises DbError when it cannot be.
    QSqlQuery take(const QString& text);
    // Ends the query's result and keeps the statement for its text, unless it was prepared before
    // the last change of a table's definition.
    void give(const QString& text, QSqlQuery query, quint64 generation);

    quint64 generation() const { return m_generation; }
    // A statement that may change a table's columns (CREATE, DROP, ALTER) is about to run. A
    // statement prepared before it is not run again: Qt's driver keeps the column count it read
    // first, and SQLite may give another after such a change.
    void schemaMayChange();

private:
    static constexpr qsizetype maxTexts = 64;
    static constexpr qsizetype maxPerText = 4;
    QSqlDatabase m_db;
    QHash<QString, QList<QSqlQuery>> m_idle;
    quint64 m_generation = 0;
};

// How many results of one connection are still open: read from, or not yet ended.
struct OpenResults {
    int count = 0;
};

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
    // Counts the query's result among the connection's open ones until it is ended.
    void countAsOpen(std::shared_ptr<OpenResults> open);

private:
    QSqlQuery m_query;
    QString m_key;
    std::weak_ptr<StatementPool> m_pool;
    std::shared_ptr<OpenResults> m_open;
    bool m_live = false;
    quint64 m_generation = 0;
};

#include "StatementPool.h"

#include "core/db/Backend.h"
#include "core/db/DbError.h"

#include <QSqlError>

#include <utility>

// ---- StatementPool ----

QSqlQuery StatementPool::take(const QString& text) {
    auto it = m_idle.find(text);
    if (it != m_idle.end() && !it->isEmpty())
        return it->takeLast();
    QSqlQuery q(m_db);
    if (!q.prepare(text))
        throw DbError(driverText(q.lastError()));
    return q;
}

void StatementPool::schemaMayChange() {
    ++m_generation;
    m_idle.clear();
}

void StatementPool::give(const QString& text, QSqlQuery query, quint64 generation) {
    query.finish();
    if (generation != m_generation)
        return;
    if (m_idle.size() >= maxTexts && !m_idle.contains(text))
        m_idle.clear();
    QList<QSqlQuery>& idle = m_idle[text];
    if (idle.size() < maxPerText)
        idle << std::move(query);
}

// ---- PooledQuery ----

PooledQuery::PooledQuery(QSqlQuery query, QString key, std::weak_ptr<StatementPool> pool)
    : m_query(std::move(query))
    , m_key(std::move(key))
    , m_pool(std::move(pool))
    , m_live(true) {
    if (std::shared_ptr<StatementPool> p = m_pool.lock())
        m_generation = p->generation();
}

// A query moved from has no result left to end.
PooledQuery::PooledQuery(PooledQuery&& other) noexcept
    : m_query(std::move(other.m_query))
    , m_key(std::move(other.m_key))
    , m_pool(std::move(other.m_pool))
    , m_open(std::move(other.m_open))
    , m_live(std::exchange(other.m_live, false))
    , m_generation(other.m_generation) {}

PooledQuery& PooledQuery::operator=(PooledQuery&& other) noexcept {
    if (this != &other) {
        release();
        m_query = std::move(other.m_query);
        m_key = std::move(other.m_key);
        m_pool = std::move(other.m_pool);
        m_open = std::move(other.m_open);
        m_live = std::exchange(other.m_live, false);
        m_generation = other.m_generation;
    }
    return *this;
}

PooledQuery::~PooledQuery() {
    release();
}

void PooledQuery::countAsOpen(std::shared_ptr<OpenResults> open) {
    if (m_open || !m_live || !m_query.isActive() || !m_query.isSelect())
        return;
    m_open = std::move(open);
    ++m_open->count;
}

void PooledQuery::release() {
    if (m_open) {
        --m_open->count;
        m_open.reset();
    }
    if (!m_live)
        return;
    m_live = false;
    if (std::shared_ptr<StatementPool> pool = m_pool.lock())
        pool->give(m_key, std::move(m_query), m_generation);
    else
        m_query.finish();
    m_pool.reset();
}

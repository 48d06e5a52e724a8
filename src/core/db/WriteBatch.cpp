#include "WriteBatch.h"

#include "core/db/Gateway.h"

#include <QSqlError>

#include <utility>

WriteBatch::WriteBatch(Gateway& gateway, int records, int milliseconds)
    : m_gateway(gateway)
    , m_records(records)
    , m_milliseconds(milliseconds) {
    // One batch at a time: a second one writes as if there were none.
    if (!m_gateway.m_batch)
        m_gateway.m_batch = this;
}

WriteBatch::~WriteBatch() {
    try {
        finish();
    } catch (const DbError&) {
    }
    if (m_gateway.m_batch == this)
        m_gateway.m_batch = nullptr;
}

void WriteBatch::beginRecord() {
    m_inRecord = true;
    if (m_open || m_gateway.m_batch != this)
        return;
    QSqlDatabase& db = m_gateway.backend().database();
    if (!db.transaction())
        throw DbError(driverText(db.lastError()));
    m_open = true;
    m_pending = 0;
    m_since.start();
}

void WriteBatch::endRecord() {
    m_inRecord = false;
    if (!m_open)
        return;
    ++m_pending;
    if (m_pending >= m_records || m_since.elapsed() >= m_milliseconds)
        finish();
}

void WriteBatch::runBeforeCommit() {
    if (!m_beforeCommit || m_running)
        return;
    // Its statements are part of a record: they join the transaction and commit nothing.
    m_running = true;
    const bool inRecord = std::exchange(m_inRecord, true);
    try {
        m_beforeCommit();
    } catch (...) {
        m_inRecord = inRecord;
        m_running = false;
        throw;
    }
    m_inRecord = inRecord;
    m_running = false;
}

void WriteBatch::beforeOtherStatement() {
    if (m_open && !m_inRecord)
        runBeforeCommit();
}

void WriteBatch::finish() {
    m_inRecord = false;
    if (!m_open)
        return;
    runBeforeCommit();
    m_open = false;
    QSqlDatabase& db = m_gateway.backend().database();
    if (db.commit())
        return;
    const QString failure = driverText(db.lastError());
    db.rollback();
    throw DbError(failure);
}

void WriteBatch::commitBeforeOtherWrite() {
    if (!m_inRecord)
        finish();
}

#include "Cursors.h"

#include "core/db/DbError.h"
#include "core/db/Gateway.h"
#include "core/db/ValueCompare.h"
#include "core/tsql/SqlText.h"

namespace {

int columnIndex(const QSqlRecord& record, const QString& name) {
    for (int i = 0; i < record.count(); ++i)
        if (record.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

[[noreturn]] void noSuchItem() {
    throw DbError(QStringLiteral(
        "Item cannot be found in the collection corresponding to the requested name or ordinal."));
}

[[noreturn]] void noCurrentRecord() {
    throw DbError(QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                 "deleted. Requested operation requires a current record."));
}

[[noreturn]] void rowChangedSince() {
    throw DbError(QStringLiteral("Row cannot be located for updating. Some values may have "
                                 "been changed since it was last read."));
}

} // namespace

// ---- Lookup ----

Lookup::Lookup(PooledQuery query)
    : m_query(std::move(query))
    , m_record(m_query->record()) {
    m_atEnd = !m_query->next();
}

QVariant Lookup::field(const QString& name) const {
    int i = columnIndex(m_record, name);
    if (i < 0)
        noSuchItem();
    return field(i);
}

QVariant Lookup::field(int index) const {
    if (index < 0 || index >= m_record.count())
        noSuchItem();
    if (m_atEnd)
        noCurrentRecord();
    return m_query->value(index);
}

void Lookup::close() {
    m_query.release();
    m_atEnd = true;
}

// ---- WriteCursor ----

WriteCursor::WriteCursor(Gateway& gateway, tsql::TableName table, QSqlRecord record,
                         std::optional<QList<QVariant>> firstRow)
    : m_gateway(&gateway)
    , m_name(std::move(table))
    , m_table(m_name.text)
    , m_record(std::move(record))
    , m_original(std::move(firstRow))
    , m_open(true) {}

void WriteCursor::requireOpen() const {
    if (!m_open)
        throw DbError(QStringLiteral("Operation is not allowed when the object is closed."));
}

bool WriteCursor::atEnd() const {
    requireOpen();
    return !m_original && !m_adding;
}

QVariant WriteCursor::original(const QString& name) const {
    const int i = columnIndex(m_record, name);
    if (i < 0)
        noSuchItem();
    return m_original && !m_adding ? m_original->at(i) : QVariant();
}

QVariant WriteCursor::value(const QString& name) const {
    const int i = columnIndex(m_record, name);
    if (i < 0)
        noSuchItem();
    const int set = m_setColumns.indexOf(m_record.fieldName(i));
    return set >= 0 ? m_setValues[set] : original(name);
}

void WriteCursor::addNew() {
    requireOpen();
    m_adding = true;
    m_setColumns.clear();
    m_setValues.clear();
}

void WriteCursor::setField(const QString& name, const QVariant& value) {
    requireOpen();
    int i = columnIndex(m_record, name);
    if (i < 0)
        noSuchItem();
    if (atEnd())
        noCurrentRecord();
    const QString column = m_record.fieldName(i);
    const QVariant taken =
        m_gateway->backend().columnValue(m_name.database, m_name.table, column, value);
    int already = m_setColumns.indexOf(column);
    if (already >= 0) {
        m_setValues[already] = taken;
    } else {
        m_setColumns << column;
        m_setValues << taken;
    }
}

void WriteCursor::update() {
    requireOpen();
    m_gateway->beforeWrite();
    if (m_adding)
        insertNew();
    else
        rewriteFound();
}

void WriteCursor::insertNew() {
    m_gateway->insertRow(m_table, m_setColumns, m_setValues);
    m_adding = false;
    m_setColumns.clear();
    m_setValues.clear();
}

void WriteCursor::rewriteFound() {
    if (!m_original)
        noCurrentRecord();
    if (m_setColumns.isEmpty())
        return;
    const int id = columnIndex(m_record, QStringLiteral("ID"));
    if (id < 0)
        throw DbError(QStringLiteral("Insufficient key column information for updating or "
                                     "refreshing."));
    const QVariant key = m_original->at(id);
    const QString where =
        QStringLiteral(" WHERE ") + sql::bracketed(m_record.fieldName(id)) + QStringLiteral(" = ?");
    // Optimistic: the row must still read as it did when it was found.
    PooledQuery current =
        m_gateway->run(QStringLiteral("SELECT * FROM ") + m_table + where, true, {key});
    bool unchanged = current->next();
    for (int i = 0; unchanged && i < m_record.count(); ++i)
        unchanged = sameAsRead(current->value(i), m_original->at(i));
    current.release();
    if (!unchanged)
        rowChangedSince();
    QString sets;
    for (int i = 0; i < m_setColumns.size(); ++i)
        sets += (i ? QStringLiteral(", ") : QString()) + sql::bracketed(m_setColumns[i]) +
                QStringLiteral(" = ?");
    QList<QVariant> bound = m_gateway->bound(m_table, m_setColumns, m_setValues);
    bound << key;
    PooledQuery q = m_gateway->run(
        QStringLiteral("UPDATE ") + m_table + QStringLiteral(" SET ") + sets + where, true, bound);
    if (q->numRowsAffected() == 0)
        rowChangedSince();
    q.release();
    PooledQuery reread =
        m_gateway->run(QStringLiteral("SELECT * FROM ") + m_table + where, true, {key});
    if (reread->next())
        for (int i = 0; i < m_record.count(); ++i)
            (*m_original)[i] = reread->value(i);
    m_setColumns.clear();
    m_setValues.clear();
}

void WriteCursor::close() {
    requireOpen();
    m_open = false;
    m_adding = false;
    m_original.reset();
}

#include "Gateway.h"

#include "SqlText.h"
#include "TsqlRewriter.h"

#include <QSqlError>
#include <QSqlField>

namespace {

QString bracketed(const QString& name) {
    return u'[' + QString(name).replace(QStringLiteral("]"), QStringLiteral("]]")) + u']';
}

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

// Same value as read back from the database: numbers by value, everything else as text.
bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    bool okA = false, okB = false;
    double da = a.toDouble(&okA), db = b.toDouble(&okB);
    if (okA && okB && a.metaType().id() != QMetaType::QString &&
        b.metaType().id() != QMetaType::QString)
        return da == db;
    return a.toString() == b.toString();
}

} // namespace

// ---- Lookup ----

Lookup::Lookup(QSqlQuery query)
    : m_query(std::move(query))
    , m_record(m_query.record()) {
    m_atEnd = !m_query.next();
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
    return m_query.value(index);
}

void Lookup::close() {
    m_query.finish();
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
    if (m_adding) {
        m_gateway->insertRow(m_table, m_setColumns, m_setValues);
        m_adding = false;
        m_setColumns.clear();
        m_setValues.clear();
        return;
    }
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
        QStringLiteral(" WHERE ") + bracketed(m_record.fieldName(id)) + QStringLiteral(" = ?");
    // Optimistic: the row must still read as it did when it was found.
    QSqlQuery current =
        m_gateway->run(QStringLiteral("SELECT * FROM ") + m_table + where, true, {key});
    bool unchanged = current.next();
    for (int i = 0; unchanged && i < m_record.count(); ++i)
        unchanged = sameValue(current.value(i), m_original->at(i));
    current.finish();
    if (!unchanged)
        throw DbError(QStringLiteral("Row cannot be located for updating. Some values may have "
                                     "been changed since it was last read."));
    QString sets;
    for (int i = 0; i < m_setColumns.size(); ++i)
        sets += (i ? QStringLiteral(", ") : QString()) + bracketed(m_setColumns[i]) +
                QStringLiteral(" = ?");
    QList<QVariant> values = m_gateway->bound(m_table, m_setColumns, m_setValues);
    values << key;
    QSqlQuery q = m_gateway->run(
        QStringLiteral("UPDATE ") + m_table + QStringLiteral(" SET ") + sets + where, true, values);
    if (q.numRowsAffected() == 0)
        throw DbError(QStringLiteral("Row cannot be located for updating. Some values may have "
                                     "been changed since it was last read."));
    QSqlQuery reread =
        m_gateway->run(QStringLiteral("SELECT * FROM ") + m_table + where, true, {key});
    if (reread.next())
        for (int i = 0; i < m_record.count(); ++i)
            (*m_original)[i] = reread.value(i);
    m_setColumns.clear();
    m_setValues.clear();
}

void WriteCursor::close() {
    requireOpen();
    m_open = false;
    m_adding = false;
    m_original.reset();
}

// ---- Gateway ----

Gateway::Gateway(std::unique_ptr<Backend> backend)
    : m_backend(std::move(backend)) {}

QSqlQuery Gateway::run(const QString& tsql, bool forwardOnly, const QList<QVariant>& values) {
    QSqlQuery q(m_backend->database());
    q.setForwardOnly(forwardOnly);
    const QString text = m_backend->native(tsql);
    bool ok = false;
    if (values.isEmpty()) {
        ok = q.exec(text);
    } else {
        ok = q.prepare(text);
        if (ok) {
            for (const QVariant& v : values)
                q.addBindValue(v);
            ok = q.exec();
        }
    }
    if (!ok)
        throw DbError(driverText(q.lastError()));
    return q;
}

// The values as the table's columns take them; the table name is read once for the row.
QList<QVariant> Gateway::bound(const QString& table, const QStringList& columns,
                               const QList<QVariant>& values) {
    const tsql::TableName name = tsql::selectTable(QStringLiteral("SELECT * FROM ") + table);
    QList<QVariant> out;
    out.reserve(columns.size());
    for (int i = 0; i < columns.size(); ++i)
        out << m_backend->columnValue(name.database, name.table, columns[i], values.value(i));
    return out;
}

void Gateway::beforeWrite() {
    if (m_batch)
        m_batch->commitBeforeOtherWrite();
}

void Gateway::execute(const QString& sql) {
    m_log << sql;
    beforeWrite();
    run(sql, true);
}

TextTable Gateway::query(const QString& sql, Rowset mode) {
    m_log << sql;
    QSqlQuery q = run(sql, mode != Rowset::DynamicOptimistic);
    TextTable table;
    const QSqlRecord record = q.record();
    const int count = record.count();
    table.columns.reserve(count);
    for (int i = 0; i < count; ++i)
        table.columns << record.fieldName(i);
    while (q.next()) {
        QStringList row;
        row.reserve(count);
        for (int i = 0; i < count; ++i)
            row << sql::displayText(q.value(i));
        table.rows << std::move(row);
    }
    if (q.lastError().isValid())
        throw DbError(driverText(q.lastError()));
    return table;
}

Lookup Gateway::lookup(const QString& sql, Rowset mode) {
    m_log << sql;
    return Lookup(run(sql, mode != Rowset::DynamicOptimistic));
}

WriteCursor Gateway::openForWrite(const QString& sql) {
    m_log << sql;
    const tsql::TableName name = tsql::selectTable(sql);
    QSqlQuery q = run(sql, true);
    if (name.table.isEmpty())
        throw DbError(QStringLiteral("The query names no table to write to."));
    const QSqlRecord record = q.record();
    std::optional<QList<QVariant>> first;
    if (q.next()) {
        QList<QVariant> row;
        for (int i = 0; i < record.count(); ++i)
            row << q.value(i);
        first = std::move(row);
    }
    q.finish();
    return WriteCursor(*this, name, record, std::move(first));
}

void Gateway::insertRow(const QString& table, const QStringList& columns,
                        const QList<QVariant>& values) {
    beforeWrite();
    QString names, marks;
    for (int i = 0; i < columns.size(); ++i) {
        names += (i ? QStringLiteral(", ") : QString()) + bracketed(columns[i]);
        marks += i ? QStringLiteral(", ?") : QStringLiteral("?");
    }
    const QList<QVariant> bind = bound(table, columns, values);
    const QString sql =
        columns.isEmpty()
            ? QStringLiteral("INSERT INTO ") + table + QStringLiteral(" DEFAULT VALUES")
            : QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + names +
                  QStringLiteral(") VALUES (") + marks + u')';
    run(sql, true, bind);
}

// ---- WriteBatch ----

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

void WriteBatch::finish() {
    m_inRecord = false;
    if (!m_open)
        return;
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

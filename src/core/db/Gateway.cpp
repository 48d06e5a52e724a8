#include "Gateway.h"

#include "core/tsql/SqlText.h"
#include "core/tsql/StatementShape.h"

#include <QSqlError>
#include <QSqlField>

#include <utility>

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

// ---- StatementPool ----

// Prepared statements of the embedded database that are not in use, by their text. A statement
// is taken out while its query runs and given back, its result ended, when the query is done.
class StatementPool {
public:
    explicit StatementPool(QSqlDatabase db)
        : m_db(std::move(db)) {}

    QSqlQuery take(const QString& text) {
        auto it = m_idle.find(text);
        if (it != m_idle.end() && !it->isEmpty())
            return it->takeLast();
        QSqlQuery q(m_db);
        if (!q.prepare(text))
            throw DbError(driverText(q.lastError()));
        return q;
    }

    quint64 generation() const { return m_generation; }

    // A statement that may change a table's columns (CREATE, DROP, ALTER) is about to run. A
    // statement prepared before it is not run again: Qt's driver keeps the column count it read
    // first, and SQLite may give another after such a change.
    void schemaMayChange() {
        ++m_generation;
        m_idle.clear();
    }

    void give(const QString& text, QSqlQuery query, quint64 generation) {
        query.finish();
        if (generation != m_generation)
            return;
        if (m_idle.size() >= maxTexts && !m_idle.contains(text))
            m_idle.clear();
        QList<QSqlQuery>& idle = m_idle[text];
        if (idle.size() < maxPerText)
            idle << std::move(query);
    }

private:
    static constexpr qsizetype maxTexts = 64;
    static constexpr qsizetype maxPerText = 4;
    QSqlDatabase m_db;
    QHash<QString, QList<QSqlQuery>> m_idle;
    quint64 m_generation = 0;
};

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
    , m_live(std::exchange(other.m_live, false))
    , m_generation(other.m_generation) {}

PooledQuery& PooledQuery::operator=(PooledQuery&& other) noexcept {
    if (this != &other) {
        release();
        m_query = std::move(other.m_query);
        m_key = std::move(other.m_key);
        m_pool = std::move(other.m_pool);
        m_live = std::exchange(other.m_live, false);
        m_generation = other.m_generation;
    }
    return *this;
}

PooledQuery::~PooledQuery() {
    release();
}

void PooledQuery::release() {
    if (!m_live)
        return;
    m_live = false;
    if (std::shared_ptr<StatementPool> pool = m_pool.lock())
        pool->give(m_key, std::move(m_query), m_generation);
    else
        m_query.finish();
    m_pool.reset();
}

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
    PooledQuery current =
        m_gateway->run(QStringLiteral("SELECT * FROM ") + m_table + where, true, {key});
    bool unchanged = current->next();
    for (int i = 0; unchanged && i < m_record.count(); ++i)
        unchanged = sameValue(current->value(i), m_original->at(i));
    current.release();
    if (!unchanged)
        throw DbError(QStringLiteral("Row cannot be located for updating. Some values may have "
                                     "been changed since it was last read."));
    QString sets;
    for (int i = 0; i < m_setColumns.size(); ++i)
        sets += (i ? QStringLiteral(", ") : QString()) + bracketed(m_setColumns[i]) +
                QStringLiteral(" = ?");
    QList<QVariant> values = m_gateway->bound(m_table, m_setColumns, m_setValues);
    values << key;
    PooledQuery q = m_gateway->run(
        QStringLiteral("UPDATE ") + m_table + QStringLiteral(" SET ") + sets + where, true, values);
    if (q->numRowsAffected() == 0)
        throw DbError(QStringLiteral("Row cannot be located for updating. Some values may have "
                                     "been changed since it was last read."));
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

// ---- Gateway ----

Gateway::Gateway(std::unique_ptr<Backend> backend)
    : m_backend(std::move(backend)) {
    if (m_backend->dialect() == Dialect::Sqlite)
        m_pool = std::make_shared<StatementPool>(m_backend->database());
}

// On the embedded database a statement is rewritten once for all statements that differ only
// in their value literals, which are bound as parameters instead, and its prepared statement is
// reused. On SQL Server the text goes as the program built it.
Gateway::Native Gateway::native(const QString& tsql, const QList<QVariant>& values) {
    if (!m_pool)
        return Native{tsql, tsql, values, false};
    tsql::Lifted lifted;
    if (values.isEmpty()) {
        lifted = tsql::liftLiterals(tsql);
    } else {
        lifted.text = tsql; // the caller binds its own values, always to a data statement
        lifted.data = true;
    }
    if (!lifted.data) {
        m_pool->schemaMayChange();
        return Native{tsql, m_backend->native(tsql), values, false};
    }
    auto it = m_rewritten.find(lifted.text);
    if (it == m_rewritten.end()) {
        if (m_rewritten.size() >= 1000)
            m_rewritten.clear();
        const QString rewritten = m_backend->native(lifted.text);
        it = m_rewritten.insert(lifted.text,
                                tsql::markersToParameters(rewritten, lifted.values.size()));
    }
    if (it->isEmpty()) // literals that cannot be parameters: the text as it is, prepared afresh
        return Native{lifted.text, m_backend->native(tsql), values, false};
    Native out{lifted.text, *it, values, true};
    for (const QString& v : std::as_const(lifted.values))
        out.values << v;
    return out;
}

PooledQuery Gateway::run(const Native& statement, bool forwardOnly) {
    if (!statement.pooled) {
        QSqlQuery q(m_backend->database());
        q.setForwardOnly(forwardOnly);
        bool ok = false;
        if (statement.values.isEmpty()) {
            ok = q.exec(statement.text);
        } else {
            ok = q.prepare(statement.text);
            if (ok) {
                for (const QVariant& v : statement.values)
                    q.addBindValue(v);
                ok = q.exec();
            }
        }
        if (!ok)
            throw DbError(driverText(q.lastError()));
        return PooledQuery(std::move(q), QString(), {});
    }
    PooledQuery q(m_pool->take(statement.text), statement.text, m_pool);
    q->setForwardOnly(forwardOnly);
    for (int i = 0; i < statement.values.size(); ++i)
        q->bindValue(i, statement.values[i]);
    if (!q->exec())
        throw DbError(driverText(q->lastError()));
    return q;
}

PooledQuery Gateway::run(const QString& tsql, bool forwardOnly, const QList<QVariant>& values) {
    return run(native(tsql, values), forwardOnly);
}

const tsql::TableName& Gateway::tableOf(const QString& shape) {
    auto it = m_tables.find(shape);
    if (it == m_tables.end()) {
        if (m_tables.size() >= 1000)
            m_tables.clear();
        it = m_tables.insert(shape, tsql::selectTable(shape));
    }
    return *it;
}

// The values as the table's columns take them; the table name is read once for the row.
QList<QVariant> Gateway::bound(const QString& table, const QStringList& columns,
                               const QList<QVariant>& values) {
    const tsql::TableName name = tableOf(QStringLiteral("SELECT * FROM ") + table);
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

void Gateway::execute(const QString& sql, const QList<QVariant>& values) {
    m_log << sql;
    beforeWrite();
    run(sql, true, values);
}

ValueTable Gateway::select(const QString& sql) {
    m_log << sql;
    PooledQuery pooled = run(sql, true);
    QSqlQuery& q = *pooled;
    ValueTable table;
    const QSqlRecord record = q.record();
    const int count = record.count();
    for (int i = 0; i < count; ++i)
        table.columns << record.fieldName(i);
    while (q.next()) {
        QList<QVariant> row;
        row.reserve(count);
        for (int i = 0; i < count; ++i)
            row << q.value(i);
        table.rows << std::move(row);
    }
    if (q.lastError().isValid())
        throw DbError(driverText(q.lastError()));
    return table;
}

int ValueTable::column(const QString& name) const {
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TextTable Gateway::query(const QString& sql, Rowset mode) {
    m_log << sql;
    PooledQuery pooled = run(sql, mode != Rowset::DynamicOptimistic);
    QSqlQuery& q = *pooled;
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
    const Native statement = native(sql, {});
    // A statement whose values stay in its text has a shape of its own: nothing to cache.
    const tsql::TableName name =
        statement.pooled ? tableOf(statement.shape) : tsql::selectTable(statement.shape);
    PooledQuery q = run(statement, true);
    if (name.table.isEmpty())
        throw DbError(QStringLiteral("The query names no table to write to."));
    const QSqlRecord record = q->record();
    std::optional<QList<QVariant>> first;
    if (q->next()) {
        QList<QVariant> row;
        for (int i = 0; i < record.count(); ++i)
            row << q->value(i);
        first = std::move(row);
    }
    q.release();
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

#include "Gateway.h"

#include "core/tsql/SqlText.h"

#include <QSqlError>
#include <QSqlRecord>

namespace {

// Every row of a result, each value made a cell of the table by `cell`. Raises the driver's text
// when the rows cannot all be read.
template <typename Table, typename Cell> Table readAll(QSqlQuery& q, Cell cell) {
    Table table;
    const QSqlRecord record = q.record();
    const int count = record.count();
    table.columns.reserve(count);
    for (int i = 0; i < count; ++i)
        table.columns << record.fieldName(i);
    while (q.next()) {
        typename decltype(Table::rows)::value_type row;
        row.reserve(count);
        for (int i = 0; i < count; ++i)
            row << cell(q.value(i));
        table.rows << std::move(row);
    }
    if (q.lastError().isValid())
        throw DbError(driverText(q.lastError()));
    return table;
}

} // namespace

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
    return readAll<ValueTable>(*pooled, [](const QVariant& value) { return value; });
}

TextTable Gateway::query(const QString& sql, Rowset mode) {
    m_log << sql;
    PooledQuery pooled = run(sql, mode != Rowset::DynamicOptimistic);
    return readAll<TextTable>(*pooled, sql::displayText);
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
        names += (i ? QStringLiteral(", ") : QString()) + sql::bracketed(columns[i]);
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

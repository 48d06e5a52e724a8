#include "Gateway.h"

#include "core/tsql/Lexer.h"
#include "core/tsql/SqlText.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlRecord>

#include <atomic>

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

// The values of the query's current row, or nothing when it has none.
std::optional<QList<QVariant>> nextRow(QSqlQuery& q) {
    if (!q.next())
        return std::nullopt;
    const int count = q.record().count();
    QList<QVariant> row;
    row.reserve(count);
    for (int i = 0; i < count; ++i)
        row << q.value(i);
    return row;
}

const char beginText[] = "BEGIN TRANSACTION";
const char commitText[] = "COMMIT TRANSACTION";
const char rollbackText[] = "ROLLBACK TRANSACTION";

// The rows a statement changed, where the driver tells: only an INSERT, UPDATE or DELETE changes
// rows (SQLite repeats the last one's count after any other statement).
qint64 changedRows(const QSqlQuery& q, const QString& tsql) {
    const QStringView text = QStringView(tsql).trimmed();
    const bool changes = text.startsWith(u"INSERT", Qt::CaseInsensitive) ||
                         text.startsWith(u"UPDATE", Qt::CaseInsensitive) ||
                         text.startsWith(u"DELETE", Qt::CaseInsensitive);
    const int n = changes ? q.numRowsAffected() : -1;
    return n < 0 ? -1 : n;
}

std::atomic<bool> recordingByDefault{true};
std::atomic<bool> oneOpenResultByDefault{false};

} // namespace

void Gateway::setRecordingByDefault(bool on) {
    recordingByDefault = on;
}

void Gateway::setOneOpenResultByDefault(bool on) {
    oneOpenResultByDefault = on;
}

QString Gateway::busyText() {
    return QStringLiteral("Connection is busy with results for another command");
}

template <typename Work> auto Gateway::recorded(const QString& tsql, Work&& work) {
    if (m_trace)
        m_log << tsql;
    if (m_beforeSend)
        m_beforeSend(tsql);
    if (!m_recording) {
        qint64 rows = -1;
        return work(rows);
    }
    StatementRecord record;
    record.sentAt = QDateTime::currentMSecsSinceEpoch();
    QElapsedTimer timer;
    timer.start();
    try {
        qint64 rows = -1;
        auto result = work(rows);
        record.microseconds = timer.nsecsElapsed() / 1000;
        record.rows = rows;
        record.statement = tsql;
        m_statements->record(std::move(record));
        return result;
    } catch (const DbError& e) {
        record.microseconds = timer.nsecsElapsed() / 1000;
        record.statement = tsql;
        record.error = e.description();
        m_statements->record(std::move(record));
        throw;
    }
}

// ---- Transaction ----

Gateway::Transaction::Transaction(Gateway& gateway)
    : m_gateway(gateway) {
    // An import's batch between two records commits first: its transaction is not this one's.
    m_gateway.beforeWrite();
    m_outer = !m_gateway.inTransaction();
    if (m_outer) {
        m_gateway.execute(QLatin1String(beginText));
        m_gateway.m_inTransaction = true;
    }
}

Gateway::Transaction::~Transaction() {
    if (!m_outer || !m_open)
        return;
    m_gateway.m_inTransaction = false;
    try {
        m_gateway.execute(QLatin1String(rollbackText));
    } catch (const DbError&) {
        // The server ended it already (a lost connection rolls back by itself).
    }
}

void Gateway::Transaction::commit() {
    if (m_outer) {
        m_gateway.execute(QLatin1String(commitText));
        m_gateway.m_inTransaction = false;
    }
    m_open = false;
}

bool Gateway::inTransaction() const {
    return m_inTransaction || (m_batch && m_batch->m_open && m_batch->m_inRecord);
}

Gateway::Gateway(std::unique_ptr<Backend> backend)
    : m_backend(std::move(backend))
    , m_recording(recordingByDefault)
    , m_oneOpenResult(oneOpenResultByDefault) {
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
    if (m_batch)
        m_batch->beforeOtherStatement();
    if (m_oneOpenResult && m_openResults->count > 0)
        throw DbError(busyText());
    PooledQuery q = send(statement, forwardOnly);
    if (m_oneOpenResult)
        q.countAsOpen(m_openResults);
    return q;
}

PooledQuery Gateway::send(const Native& statement, bool forwardOnly) {
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
    execute(sql, {});
}

void Gateway::execute(const QString& sql, const QList<QVariant>& values) {
    beforeWrite();
    recorded(sql, [&](qint64& rows) {
        PooledQuery q = run(sql, true, values);
        rows = changedRows(*q, sql);
        return 0;
    });
}

ValueTable Gateway::select(const QString& sql) {
    return recorded(sql, [&](qint64& rows) {
        PooledQuery pooled = run(sql, true);
        ValueTable table =
            readAll<ValueTable>(*pooled, [](const QVariant& value) { return value; });
        rows = table.rows.size();
        return table;
    });
}

TextTable Gateway::query(const QString& sql, Rowset mode) {
    return recorded(sql, [&](qint64& rows) {
        PooledQuery pooled = run(sql, mode != Rowset::DynamicOptimistic);
        TextTable table = readAll<TextTable>(*pooled, sql::displayText);
        rows = table.rows.size();
        return table;
    });
}

Lookup Gateway::lookup(const QString& sql, Rowset mode) {
    return recorded(sql, [&](qint64& rows) {
        Lookup found(run(sql, mode != Rowset::DynamicOptimistic));
        rows = found.atEnd() ? 0 : 1;
        return found;
    });
}

WriteCursor Gateway::openForWrite(const QString& sql) {
    const Native statement = native(sql, {});
    // A statement whose values stay in its text has a shape of its own: nothing to cache.
    const tsql::TableName name =
        statement.pooled ? tableOf(statement.shape) : tsql::selectTable(statement.shape);
    return recorded(sql, [&](qint64& rows) {
        PooledQuery q = run(statement, true);
        if (name.table.isEmpty())
            throw DbError(QStringLiteral("The query names no table to write to."));
        const QSqlRecord record = q->record();
        std::optional<QList<QVariant>> first = nextRow(*q);
        q.release();
        rows = first ? 1 : 0;
        return WriteCursor(*this, name, record, std::move(first), sql);
    });
}

void Gateway::insertRow(const QString& table, const QStringList& columns,
                        const QList<QVariant>& values) {
    beforeWrite();
    const ColumnList list = columnList(columns);
    const QList<QVariant> bind = bound(table, columns, values);
    const QString sql =
        columns.isEmpty()
            ? QStringLiteral("INSERT INTO ") + table + QStringLiteral(" DEFAULT VALUES")
            : QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + list.names +
                  QStringLiteral(") VALUES (") + list.marks + u')';
    recorded(sql, [&](qint64& rows) {
        PooledQuery q = run(sql, true, bind);
        rows = changedRows(*q, sql);
        return 0;
    });
}

Gateway::ColumnList Gateway::columnList(const QStringList& columns) {
    ColumnList list;
    for (int i = 0; i < columns.size(); ++i) {
        list.names += (i ? QStringLiteral(", ") : QString()) + sql::bracketed(columns[i]);
        list.marks += i ? QStringLiteral(", ?") : QStringLiteral("?");
    }
    return list;
}

std::optional<QList<QVariant>> Gateway::readRow(const QString& tsql,
                                                const QList<QVariant>& values) {
    return recorded(tsql, [&](qint64& rows) {
        PooledQuery q = run(tsql, true, values);
        std::optional<QList<QVariant>> row = nextRow(*q);
        rows = row ? 1 : 0;
        return row;
    });
}

qint64 Gateway::change(const QString& tsql, const QList<QVariant>& values) {
    return recorded(tsql, [&](qint64& rows) {
        PooledQuery q = run(tsql, true, values);
        rows = changedRows(*q, tsql);
        return rows;
    });
}

QString Gateway::withOutputId(const QString& insert) {
    // The ID goes into a table variable: an OUTPUT without INTO is refused on a table that has
    // a trigger. NOCOUNT keeps the row counts of the first statements from coming back as
    // results before the ID's.
    const tsql::Tokens t = tsql::tokenize(insert);
    qsizetype at = tsql::findTopLevel(t, u"VALUES");
    if (at >= t.size())
        at = tsql::findTopLevel(t, u"SELECT");
    if (at >= t.size())
        throw DbError(QStringLiteral("The statement adds no row: ") + insert);
    return QStringLiteral("SET NOCOUNT ON; DECLARE @added TABLE ([ID] bigint); ") +
           tsql::joined(t, 0, at) + QStringLiteral("OUTPUT INSERTED.[ID] INTO @added ") +
           tsql::joined(t, at, t.size()) +
           QStringLiteral("; SET NOCOUNT OFF; SELECT [ID] FROM @added");
}

std::optional<qint64> Gateway::insertForId(const QString& insert, const QList<QVariant>& values) {
    beforeWrite();
    const QString tsql = withOutputId(insert);
    std::optional<qint64> id;
    recorded(tsql, [&](qint64& rows) {
        // The embedded database takes the ID from RETURNING, which SQLite has since 3.35.
        PooledQuery q = m_pool
                            ? run(native(insert + QStringLiteral(" RETURNING [ID]"), values), true)
                            : run(Native{tsql, tsql, values, false}, true);
        if (q->next())
            id = q->value(0).toLongLong();
        if (q->lastError().isValid())
            throw DbError(driverText(q->lastError()));
        q.release();
        if (!id && m_pool) {
            // SQLite's ODBC driver runs RETURNING but gives no result: the connection tells.
            PooledQuery last = run(
                Native{
                    QString(), QStringLiteral("SELECT changes(), last_insert_rowid()"), {}, false},
                true);
            if (last->next() && last->value(0).toLongLong() > 0)
                id = last->value(1).toLongLong();
        }
        rows = id ? 1 : 0;
        return 0;
    });
    return id;
}

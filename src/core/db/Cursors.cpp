#include "Cursors.h"

#include "core/db/DbError.h"
#include "core/db/Gateway.h"
#include "core/db/ValueCompare.h"
#include "core/tsql/Lexer.h"
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

// The condition after the top-level WHERE of a SELECT (before an ORDER BY), or empty.
QString whereCondition(const QString& select) {
    const tsql::Tokens t = tsql::tokenize(select);
    const qsizetype where = tsql::findTopLevel(t, u"WHERE");
    if (where >= t.size())
        return {};
    const qsizetype order = tsql::findTopLevel(t, u"ORDER");
    return tsql::joined(t, where + 1, order > where ? order : t.size()).trimmed();
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
                         std::optional<QList<QVariant>> firstRow, QString select)
    : m_gateway(&gateway)
    , m_name(std::move(table))
    , m_table(m_name.text)
    , m_record(std::move(record))
    , m_original(std::move(firstRow))
    , m_select(std::move(select))
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
    if (columnIndex(m_record, QStringLiteral("ID")) < 0 || m_setColumns.isEmpty()) {
        m_gateway->insertRow(m_table, m_setColumns, m_setValues);
    } else {
        const Gateway::ColumnList list = Gateway::columnList(m_setColumns);
        QList<QVariant> values = m_gateway->bound(m_table, m_setColumns, m_setValues);
        QString insert = QStringLiteral("INSERT INTO ") + m_table + QStringLiteral(" (") +
                         list.names + QStringLiteral(") ");
        const QString condition = whereCondition(m_select);
        if (condition.isEmpty()) {
            insert += QStringLiteral("VALUES (") + list.marks + u')';
        } else {
            // Added only when the look-up's condition still finds no row.
            const tsql::Lifted where = tsql::literalsAsParameters(condition);
            insert += QStringLiteral("SELECT ") + list.marks +
                      QStringLiteral(" WHERE NOT EXISTS (SELECT 1 FROM ") + m_table +
                      QStringLiteral(" WITH (UPDLOCK, HOLDLOCK) WHERE ") + where.text + u')';
            for (const QString& v : where.values)
                values << v;
        }
        const std::optional<qint64> id = m_gateway->insertForId(insert, values);
        if (!id)
            throw AddedMeanwhile();
        m_addedId = *id;
    }
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
    QString sets;
    for (int i = 0; i < m_setColumns.size(); ++i)
        sets += (i ? QStringLiteral(", ") : QString()) + sql::bracketed(m_setColumns[i]) +
                QStringLiteral(" = ?");
    QList<QVariant> bound = m_gateway->bound(m_table, m_setColumns, m_setValues);
    bound << key;
    // The check and the write are one step: the row is read locked (UPDLOCK, held to the end
    // of the transaction by HOLDLOCK), so no other workstation changes it between the two.
    Gateway::Transaction transaction(*m_gateway);
    const std::optional<QList<QVariant>> current =
        m_gateway->readRow(QStringLiteral("SELECT * FROM ") + m_table +
                               QStringLiteral(" WITH (UPDLOCK, HOLDLOCK)") + where,
                           {key});
    bool unchanged = current.has_value();
    for (int i = 0; unchanged && i < m_record.count(); ++i)
        unchanged = sameAsRead(current->value(i), m_original->at(i));
    if (!unchanged)
        rowChangedSince();
    if (m_gateway->change(
            QStringLiteral("UPDATE ") + m_table + QStringLiteral(" SET ") + sets + where, bound) ==
        0)
        rowChangedSince();
    // Read back, so that a later update checks against what this one left.
    const std::optional<QList<QVariant>> reread =
        m_gateway->readRow(QStringLiteral("SELECT * FROM ") + m_table + where, {key});
    transaction.commit();
    if (reread)
        for (int i = 0; i < m_record.count() && i < reread->size(); ++i)
            (*m_original)[i] = reread->at(i);
    m_setColumns.clear();
    m_setValues.clear();
}

void WriteCursor::close() {
    requireOpen();
    m_open = false;
    m_adding = false;
    m_original.reset();
}

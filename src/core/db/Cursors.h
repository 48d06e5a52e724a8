#pragma once

#include "core/db/StatementPool.h"
#include "core/tsql/StatementShape.h"

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <optional>

class Gateway;

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

// Write through a query: the rows a SELECT found, the first of them current. Fields are set by
// column name, and a value the column cannot take (a text that is not an amount, for a money
// column) fails when it is set, leaving the field unset; update() adds the new row (a parameterised
// INSERT) or rewrites the found row by its ID.
//
// Both are safe with other workstations writing the same table. A row is added only when the
// SELECT's condition still finds none, checked in the INSERT itself with the rows read under
// UPDLOCK and HOLDLOCK; otherwise the update fails with AddedMeanwhile. A rewrite reads the row
// again under UPDLOCK and HOLDLOCK inside the write's transaction and fails, changing nothing, when
// it no longer reads as it did ("Row cannot be located for updating...").
//
// A cursor made by the default constructor is a result set not yet opened: like one that was
// closed, every operation on it fails with "Operation is not allowed when the object is closed.".
class WriteCursor {
public:
    WriteCursor() = default;
    WriteCursor(Gateway& gateway, tsql::TableName table, QSqlRecord record,
                std::optional<QList<QVariant>> firstRow, QString select);
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
    // The ID the database gave the row the last update() added (0 before any).
    qint64 addedId() const { return m_addedId; }

private:
    void requireOpen() const;
    // The row being added, by a parameterised INSERT.
    void insertNew();
    // The found row rewritten by its ID, after checking that it still reads as it did; then read
    // again, so that a later update checks against what this one left.
    void rewriteFound();

    Gateway* m_gateway = nullptr;
    tsql::TableName m_name;
    QString m_table;
    QSqlRecord m_record;
    std::optional<QList<QVariant>> m_original;
    QString m_select;
    qint64 m_addedId = 0;
    bool m_adding = false;
    QList<QString> m_setColumns;
    QList<QVariant> m_setValues;
    bool m_open = false;
};

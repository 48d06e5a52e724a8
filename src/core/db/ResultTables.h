#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// How a rowset is opened: forward only, or scrollable. The locking of the original record sets has
// no counterpart; writes go through WriteCursor.
enum class Rowset { ForwardReadOnly, DynamicOptimistic };

// A query result as text, ready for a grid: the column names and one list of texts per row.
struct TextTable {
    QStringList columns;
    QList<QStringList> rows;
};

// A query result as the database gave it: the column names and one list of values per row (NULL
// stays NULL).
struct ValueTable {
    QStringList columns;
    QList<QList<QVariant>> rows;
    // The position of a column by name, regardless of case; -1 when there is none.
    int column(const QString& name) const;
};

namespace sql {

// A database value as the lists show it: NULL as empty text, numbers without thousands
// separators or exponents (a fee read back from a box is the whole amount).
QString displayText(const QVariant& value);

} // namespace sql

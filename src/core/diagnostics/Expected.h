#pragma once

#include "core/db/Backend.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// The program's own tables as its CREATE statements make them: their columns with their types,
// and their indexes. Read from the statements themselves, so that the check expects what "a.
// Create Tables", the first save and the register's import really make.
namespace diagnostics {

struct ExpectedColumn {
    QString name;
    QString type;   // lower case: "varchar", "smallmoney", "bigint"
    int length = 0; // of a text type: its characters, -1 for "max"; 0 for the other types
    bool nullable = true;
};

struct ExpectedIndex {
    QString name;
    bool clustered = false;
    QStringList columns;
};

struct ExpectedTable {
    QString name; // "ESOA_ITEM_LINK"
    QList<ExpectedColumn> columns;
    QList<ExpectedIndex> indexes;
    // What the program does while the table is missing, for a table it makes when first needed;
    // empty for a table the clerks' work needs.
    QString whenMissing;
    // The columns the program adds to a table made before them, and what it does while one is
    // missing.
    QHash<QString, QString> addedWhenMissing;
};

// "varchar(50)", "varchar(max)", "smallmoney".
QString typeText(const QString& type, int length);
// A declared type read back: "VARCHAR(50)" is varchar of 50, "datetime" datetime.
ExpectedColumn columnOfType(const QString& name, const QString& declaredType, bool nullable);

// The columns of a CREATE TABLE, in their order (constraints are not columns).
QList<ExpectedColumn> columnsOf(const QString& createTable);
// The table (its name alone) and the index that a CREATE [NON]CLUSTERED INDEX makes.
std::optional<std::pair<QString, ExpectedIndex>> indexOf(const QString& createIndex);

// The tables ESOA_ITEM, ESOA_ER, ESOA_ITEM_LINK, ESOA_ER_LINK, ESOA_LINK_HISTORY and
// ESOA_DRUG_REGISTER, all in Build_FIle. On the embedded database the columns are typed as the
// rewriting to SQLite declares them.
QList<ExpectedTable> expectedTables(Dialect dialect);

} // namespace diagnostics

#pragma once

#include "core/db/ResultTables.h"
#include "core/diagnostics/Expected.h"
#include "core/diagnostics/Findings.h"

#include <QString>
#include <QStringList>

// What the server's answers to the check's questions mean for the program, each read from a
// result as SQL Server returns it (the columns named as the check's statements name them).
namespace diagnostics {

// The version and edition (ProductVersion, ProductLevel, Edition): failed before SQL Server 2005
// (9.0), which the adds' OUTPUT ... INTO needs.
Finding serverFinding(const ValueTable& answer);
// The login and the database user (Login, UserName, CurrentDatabase).
Finding loginFinding(const ValueTable& answer);

// Whether a collation compares case: a case-sensitive (_CS) or binary (_BIN, _BIN2) one does.
bool comparesCase(const QString& collation);
// Each database's collation (a column per database): a warning where it compares case, failed
// where the server gave none (no such database, or the login cannot reach it).
Findings collationFindings(const ValueTable& answer);

// The program's tables and their columns against the columns the server lists (TABLE_NAME,
// COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, IS_NULLABLE, COLLATION_NAME): a table the
// clerks' work needs that is missing, or a missing column, fails; a table the program makes
// when first needed, another type or length, a column that refuses NULL or compares case is a
// warning; a table as the program makes it is ok.
Findings tableFindings(const QList<ExpectedTable>& expected, const ValueTable& columns);
// The tables the answer lists columns of.
QStringList presentTables(const ValueTable& columns);
// The indexes of the present tables against the server's (TableName, IndexName, IndexType,
// ColumnName, the key columns of each index in their order; IndexType may be empty where the
// database has no clustered indexes): a missing or different index is a warning.
Findings indexFindings(const QList<ExpectedTable>& expected, const QStringList& present,
                       const ValueTable& indexes);
// The triggers (TableName, TriggerName, IsDisabled, IsInsteadOf): a warning naming each one, or
// one ok finding when there are none on `tables`.
Findings triggerFindings(const QStringList& tables, const ValueTable& triggers);

// What an operation needs of a table: the rights the clerks' work needs, and those only the
// maintenance commands need.
struct TableRights {
    QString database;
    QString table;
    QStringList needed;
    QStringList maintenance;
};
// The rights the program's work needs, table by table; `examTables` are the exam tables the
// revenue catalogue names, each as the catalogue gives it ("tbcoLabExam",
// "Inventory..InvMaster").
QList<TableRights> neededRights(const QStringList& examTables);
// The answer to statements::rights for one table (a row with a column per right, 1 or 0; no row
// when the table is not there or not visible): failed where a right the clerks need is missing,
// a warning where only a maintenance right is.
Finding rightsFinding(const TableRights& rights, const ValueTable& answer);
// The answer to statements::createTableRight(): a warning without it.
Finding createTableFinding(const ValueTable& answer);

// encrypt_option: ok when "TRUE", a warning when "FALSE", failed when the server did not say.
Finding encryptionFinding(const ValueTable& answer);

} // namespace diagnostics

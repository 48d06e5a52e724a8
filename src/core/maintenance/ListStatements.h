#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The T-SQL of taking a new edition of a PhilHealth list, "c. Update from new list...". Three
// tables of Build_FIle record the editions:
//   ESOA_LIST_VERSION  one row per list applied: the table, the files and their SHA-256, what the
//                      update found and did, when, by whom, from which workstation;
//   ESOA_LIST_RETIRED  the last values of every code an update removed, with the version that
//                      removed it;
//   ESOA_LIST_CHANGE   every code an update added or changed, one row per field, with its value
//                      before and after, so that what an edition changed can be read later.
// On the embedded database these run through the rewriter like every other statement.
namespace listupdate {

inline constexpr char versionTable[] = "ESOA_LIST_VERSION";
inline constexpr char retiredTable[] = "ESOA_LIST_RETIRED";
inline constexpr char changeTable[] = "ESOA_LIST_CHANGE";

// The three tables and their indexes. Each is run on its own, and one that fails (the table or
// index is there already) is skipped: nothing here drops or empties a table.
QStringList createStatements();

// The reference table's rows as the comparison reads them, by ID: ID, Code, Category,
// Description, FixedFee, ChargingUnit. `locked`: read inside the update's transaction under an
// exclusive lock of the whole table held to its end, so that a second workstation's update waits
// for the first, and nothing changes the table between this read and the writes.
QString referenceRowsStatement(const QString& table, bool locked);
// Every link of the table's link table: ID, RevenueID, ItemID and the columns the history keeps.
// `locked`: read inside the update's transaction, each row under an update lock held to its end.
QString linkRowsStatement(const QString& table, bool locked);

// The version row: TableName, Files, Sha256, LinesRead, NewCodes, ChangedCodes, RetiredCodes and
// LinksRefreshed as ? parameters; the time, login and workstation from the server.
QString insertVersionStatement();

// Adds `rows` rows of these columns to a table of Build_FIle in one statement, the values as ?
// parameters row after row; `tail` is added to each row's values as written ("GETDATE()").
QString insertRowsStatement(const QString& table, const QStringList& columns, int rows,
                            const QString& tail = QString());
// (sql::statementRows says how many rows each such INSERT takes.)

// The columns of a reference row that a list line fills, after its code: Category and
// Description, and for ESOA_ER FixedFee and ChargingUnit.
QStringList listedColumns(const QString& table);
// The columns of a link that copy the reference item and a list update refreshes: Description,
// and for ESOA_ER FixedFee and ChargingUnit. The link's Category stays the one it was saved under.
QStringList copiedColumns(const QString& table);

// Sets the given columns of a row of a Build_FIle table by its ID: the values, then the ID, as ?
// parameters.
QString updateByIdStatement(const QString& table, const QStringList& columns);
// Removes a row of a Build_FIle table by its ID (?).
QString deleteByIdStatement(const QString& table);

// The columns of ESOA_LIST_RETIRED a retired code fills, and of ESOA_LIST_CHANGE a change.
QStringList retiredColumns();
QStringList changeColumns();

// The versions applied, newest first, as "List versions..." lists them.
QString versionsStatement();

} // namespace listupdate

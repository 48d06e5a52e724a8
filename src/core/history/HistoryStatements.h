#pragma once

#include <QString>
#include <QStringList>

// The T-SQL of the history of links: the table ESOA_LINK_HISTORY in Build_FIle, one row per
// change of a link (added, rewritten, deleted, or put back by an undo), with who made it, when and
// where, and the link's values before and after. The rows of one "Map ALL Listed" share a batch
// number: the ID of the batch's first row. On the embedded database these run through the
// rewriter like every other statement.
namespace history {

inline constexpr char tableName[] = "ESOA_LINK_HISTORY";

// The link columns a save writes and an undo puts back, in the order the history keeps them:
// each has an Old and a New column ("OldCode", "NewCode").
const QStringList& linkColumns();

// Makes the table and its indexes; each is run on its own, and one that fails (the table or index
// is there already) is skipped. Nothing here drops or empties the table.
QStringList createStatements();

// Gives a table made before its column How (what made each change) that column.
QString addHowStatement();

// Reads nothing but fails when the table is missing or cannot be read.
QString probeStatement();
// The same for the column How.
QString probeHowStatement();

// Adds one history row. The time, login and workstation come from the server; the ? parameters
// are, in order: LinkTable, LinkID, Action, RevenueID, ItemID, the eight Old values, the eight New
// values (in the order of linkColumns()), BatchNo, and How unless the table lacks that column.
QString insertStatement(bool withHow = true);

// Adds `rows` history rows in one statement, each with the ? parameters of insertStatement().
QString insertRowsStatement(int rows, bool withHow = true);
// History rows go in statements of at most this many rows (23 parameters a row; SQL Server takes
// 2,100 a statement).
inline constexpr int rowsPerInsert = 50;

// Sets the batch number (first ?) of the history row of the given ID (second ?).
QString setBatchStatement();

// The history of one hospital item (revenue code and item id) in a link table, newest first, as
// the history dialog lists it, with each row's ID last.
QString itemHistoryStatement(const QString& linkTable, const QString& revenueId,
                             const QString& itemId);

// The newest batch of a link table that no undo has been written for: BatchNo, Links (how many
// links it added, rewrote or refreshed), Code (the PhilHealth code it linked them to), Codes (how
// many codes) and Refresh (1 for the links a list update refreshed). No row when there is none.
QString newestBatchStatement(const QString& linkTable);

// The rows a batch added, rewrote or refreshed, oldest first: ID, LinkID, Action, RevenueID, ItemID
// and the Old and New values.
QString batchRowsStatement(const QString& linkTable, qint64 batch);

// For each link, the newest history row from `fromId` on that neither belongs to the batch nor to
// a batch that has been undone: LinkID, LastID. A link with such a row was changed since.
QString laterChangesStatement(const QString& linkTable, qint64 batch, qint64 fromId);

// One link row by its ID (as text), locked for the change that follows within the transaction
// (UPDLOCK, and HOLDLOCK so that a row that is missing stays missing).
QString linkRowStatement(const QString& linkTable, const QString& id);

// Puts the link columns back (? parameters in the order of linkColumns(), then the ID).
QString restoreStatement(const QString& linkTable);

// Removes a link row by its ID (?).
QString removeStatement(const QString& linkTable);

} // namespace history

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The T-SQL of the review of links: the table ESOA_LINK_REVIEW in Build_FIle, one row per review
// action (an approval or a flag) of a link, with who made it, when and where, and its note. The
// newest row of a link is its state, unless the link changed since: each row keeps the ID of the
// newest history row of the link when it was reviewed, and a later history row (a save, a
// rewrite, a refresh, an undo) makes the link "to review" again without a row of its own.
namespace review {

inline constexpr char tableName[] = "ESOA_LINK_REVIEW";

// The states, as the table keeps them.
inline constexpr char toReview[] = "to review";
inline constexpr char approved[] = "approved";
inline constexpr char flagged[] = "flagged";

// Makes the table and its indexes, each on its own; nothing here drops or empties the table.
QStringList createStatements();

// Reads nothing but fails when the table is missing or cannot be read.
QString probeStatement();

// The login the connection works as: one column, Login.
QString loginStatement();

// Every link of a link table ("ESOA_ER_LINK") with its newest history row and its newest review
// row: the link's ID, RevenueID, ItemID and the columns of history::linkColumns(); HistoryID,
// SavedBy, SavedAt, Action, BatchNo and How (NULL when the history lacks that column) of the
// history row; State, ReviewedBy, ReviewedAt, Note and ReviewedHistoryID of the review row.
// Ordered by category, code and hospital item.
QString linksStatement(const QString& linkTable, bool historyHasHow);

// The SQL of the review state of the link L of a link table, for a statement that joins
// reviewJoins(): 'to review', 'approved' or 'flagged'.
QString stateExpression();
// The joins that give a statement over the link table as L (L.[ID]) its newest history row's ID
// (HL.[LastID]) and its newest review row (RV).
QString reviewJoins(const QString& linkTable);

// The link rows of the given IDs, locked until the transaction ends (UPDLOCK, and HOLDLOCK so that
// a row that is missing stays missing): ID, RevenueID, ItemID and the columns of linkColumns().
QString lockedLinksStatement(const QString& linkTable, const QList<qint64>& ids);
// The newest history row of each of the given links: LinkID, ID and ChangedBy.
QString lastChangesStatement(const QString& linkTable, const QList<qint64>& ids);
// IDs go into a statement's IN list this many at most; a shorter list is filled up to the next of
// a few sizes by repeating its last ID, so that a handful of statement shapes serve any number.
inline constexpr int idsPerStatement = 500;
QList<QList<qint64>> idLists(const QList<qint64>& ids);

// Adds `rows` review rows in one statement. The login, time and workstation come from the server;
// each row's ? parameters are TableName, LinkID, State, Note, HistoryID.
QString insertRowsStatement(int rows);
inline constexpr int rowsPerInsert = 25;

// The review rows of the links a hospital item (revenue code and item id) has had in a link table,
// newest first: When, Who, Workstation, State, Note and HistoryID.
QString itemReviewsStatement(const QString& linkTable, const QString& revenueId,
                             const QString& itemId);

} // namespace review

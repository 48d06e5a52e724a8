#pragma once

#include <QStringList>

// The statements that create a reference table and its link table, in the order they run:
// drop the old ESOA_Code columns of four hospital tables, drop and create the reference
// table with its two indexes, create the link table with its three indexes. Each is run on
// its own; a failing one is skipped (the link table and its rows survive a second run).
namespace tables {

QStringList referenceTableStatements(const QString& table);

// The indexes by Code of the reference table and of its link table, which the look-ups of the
// import, the checks and the mapping list use. Run after the statements above, each on its own;
// one that fails (the index is there already) is skipped, so a link table that survives gets its
// index when it lacks it.
QStringList codeIndexStatements(const QString& table);

// The positions, in that list, of the statements that create the tables themselves.
inline constexpr int createReferenceTable = 5;
inline constexpr int createLinkTable = 8;

} // namespace tables

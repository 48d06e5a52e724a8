#pragma once

#include <QStringList>

// The statements that create a reference table and its link table, in the order they run:
// drop the old ESOA_Code columns of four hospital tables, drop and create the reference
// table with its two indexes, create the link table with its three indexes. Each is run on
// its own; a failing one is skipped (the link table and its rows survive a second run).
namespace tables {

QStringList referenceTableStatements(const QString& table);

// The positions, in that list, of the statements that create the tables themselves.
inline constexpr int createReferenceTable = 5;
inline constexpr int createLinkTable = 8;

} // namespace tables

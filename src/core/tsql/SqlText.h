#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <array>

// Pieces of the program's SQL text: quoted values and names, and the names of the hospital's
// databases.
namespace sql {

// The value as an SQL string literal: between single quotes, every single quote in it doubled,
// so that no value can end its literal and add SQL of its own. % and _ are left alone: in a LIKE
// pattern they keep acting as wildcards.
QString quoted(const QString& value);
// A name between brackets, every closing bracket in it doubled: "[Code]".
QString bracketed(const QString& name);

// The hospital's databases that the statements name, as the embedded default names their files:
// Build_FIle (the revenue catalogue, the exam tables and the program's own tables) and Inventory
// (the inventory master).
inline constexpr std::array<const char*, 2> databases = {"Build_FIle", "Inventory"};
// Whether a name is one of them, in any case (SQL Server's names ignore it).
bool isDatabase(QStringView name);

// A table of Build_FIle as the statements name it: "[Build_FIle].[dbo].[ESOA_ER]".
QString buildFileTable(const QString& table);
// The same with the table's name as given, not bracketed: "[Build_FIle].[dbo].ESOA_ER".
QString buildFileName(const QString& table);
// A table of Build_FIle as the index statements name it, spelt "Build_File":
// "[Build_File].[dbo].[ESOA_ER]".
QString indexedTable(const QString& table);

// The rows of each INSERT that adds `count` rows, `perStatement` at most: full statements, then the
// rest one by one, so that two statement shapes serve any number of rows.
QList<int> statementRows(int count, int perStatement);

} // namespace sql

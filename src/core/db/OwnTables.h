#pragma once

#include <QString>
#include <QStringList>

class Gateway;

// The program's own tables beside the specified ones (the history, the register, the editions of
// the lists, the reviews): told present by reading nothing from them, and made on first need.
namespace owntables {

// Reads nothing but fails when the Build_FIle table is missing or cannot be read:
// "SELECT TOP 1 1 FROM [Build_FIle].[dbo].[<table>] WITH (NOLOCK)".
QString probeStatement(const QString& table);

// Whether every one of the tables is there.
bool present(Gateway& db, const QStringList& tables);

// Runs the statements that make the tables (each on its own, one that fails skipped) when any of
// them is missing. Raises DbError when they are still missing: `missing` (which names them),
// ": ", and the database's reason the first CREATE TABLE failed.
void make(Gateway& db, const QStringList& tables, const QStringList& statements,
          const QString& missing);

} // namespace owntables

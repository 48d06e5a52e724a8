#pragma once

#include "core/db/Gateway.h"
#include "core/diagnostics/Catalogue.h"
#include "core/diagnostics/Findings.h"

#include <QList>
#include <QString>
#include <QStringList>

// The database check, for hospital IT: what the program needs of the database, asked of the
// connection of the current login, every step whatever the one before found. It changes nothing:
// it reads, has the server compile the statement file without running it, and writes one test
// link inside a transaction that is always rolled back. A step that cannot run is a failed
// finding with the database's text. Every result is read whole before the next statement.
namespace diagnostics {

// The hospital item of the round trip's test link.
inline constexpr char testRevenueId[] = "CHECK";
inline constexpr char testItemId[] = "BREVANT-DATABASE-CHECK";

// The check for the connection's dialect.
Findings checkDatabase(Gateway& db);

// On SQL Server: the server, the login, the collations, the program's tables, their indexes and
// the triggers on them, the rights, the statement file compiled, the round trip on both link
// tables, and whether the connection is encrypted.
Findings checkSqlServer(Gateway& db);
// On the embedded database: the integrity of each database file, the program's tables, their
// columns and indexes, and the round trip on both link tables.
Findings checkEmbedded(Gateway& db);

// Has the server compile every entry of the statement file with NOEXEC on (set off again
// whatever happens): one finding for the whole, and one for each entry refused or not compiled.
// A refusal is a warning for a statement that may fail by design (table statements, which "a.
// Create Tables" skips when they fail; one marked "-- may be refused:" on file; one that names a
// table in `missingTables` the program makes when first needed), else it fails.
Findings compileCatalogue(Gateway& db, const QList<CatalogueEntry>& entries,
                          const QList<ExamNames>& exams, const QStringList& missingTables);

// A link of the test item added to the link table through the save's own write (its look-up and
// write cursor), rewritten, read back, given its history row (unless `historyPresent` is false),
// deleted, all in one transaction that is rolled back, then looked for again: one finding a step.
Findings roundTrip(Gateway& db, const QString& linkTable, bool historyPresent);

} // namespace diagnostics

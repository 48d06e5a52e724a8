#pragma once

#include "support/Bench.h"

#include <QString>

// The benchmark's scenarios, each in the folder of the part of the program it times. Each runs
// the program's operation and its floor and reports their figures.
namespace bench {

// "b. Scan && Import" of the ER list into an empty table, then again (ui/maintenance).
void importScenario(Run& run);
// "Import drug register..." of a 25,000-row register, and the reading of its file alone
// (ui/maintenance).
void registerImportScenario(Run& run);
// The two "Check Listed if Mapped" over the imported list and 30,000 hospital items (ui/mapping).
void checkScenarios(Run& run);
// "Map ALL Listed" over 500 items, with the history and without it, in turns (ui/mapping).
void mapAllScenario(Run& run);
// Lists the 500 items and chooses the PhilHealth item for a map all that adds every link.
void prepareMapAll(Run& run);
// The undo of a map all of 500 new links, and the undo offer at a right-click (ui/history).
void undoScenario(Run& run);
// A query of 30,000 rows x 12 columns into a grid that is shown (ui/widgets).
void gridBindScenario(Run& run);
// The coverage by category and the export of every mapping (core/reports).
void reportsScenario(Run& run);
// "c. Update from new list..." of the imported ER list: the comparison through the screen, the
// apply of 2,000 changes with the links, and the whole Apply click (ui/maintenance).
void listUpdateScenario(Run& run);
// "Review links": the list of every link with its state, and "Approve checked" of 1,000 rows,
// on a history and reviews generated for the links (ui/review).
void reviewScenarios(Run& run);
// "Check this database..." on the generated database (ui/diagnostics).
void databaseCheckScenario(Run& run);
// The inventory search with a two-letter name filter (ui/hospital).
void searchScenario(Run& run);
// Start-up to the screen and the memory after the hospital check, each in a process of its own
// (app).
void startupScenarios(Run& run);
// The suggestions on the generated database: the index of the inventory, one list, the codes
// for 500 listed items, and the index's memory (core/suggest).
void suggestScenarios(Run& run);
// The suggestions' quality on the evaluation set, on a database of its own; `misses` prints what
// they got wrong (core/suggest).
int qualityScenario(bool misses);
// The evaluation set's hospital items for a PhilHealth description, and its codes for a hospital
// item's name, each with its score and why, with the set's register imported.
int qualityExplained(const QString& text);
// What such a process does: --startup FOLDER, --empty-window or --memory FOLDER.
int child(const QString& mode, const QString& folder);

} // namespace bench

#pragma once

#include <QString>

class Gateway;

namespace history {
class LinkHistory;
}

namespace listupdate {

struct Comparison;

// What an update applied: its version (the ID of its ESOA_LIST_VERSION row), the codes it added,
// changed and removed, the links whose copies it refreshed and their history batch (0: none).
struct Applied {
    qint64 version = 0;
    int newCodes = 0, changedCodes = 0, retiredCodes = 0, linksRefreshed = 0;
    qint64 batch = 0;
};

// Whether the tables of the lists' editions are there.
bool tablesPresent(Gateway& db);
// Makes those of them that are missing (a database from before the list update has none). Raises
// DbError, saying so, when they are still missing after it (no rights to make tables).
void makeTables(Gateway& db);

// The refusal of an update whose comparison was made against a table that changed since.
QString changedSinceText(const QString& table);

// Applies a comparison, all of it in one transaction (the tables of the editions made first
// where they are missing):
// - the table is read again under an exclusive lock held to the end, and must be as it was
//   compared (else changedSinceText, nothing changed): a second workstation's update waits for
//   the first and then finds the table changed;
// - the version row, then the new codes, the changed fields (each row keeps its ID), the codes no
//   longer listed (their last values into ESOA_LIST_RETIRED, then removed) and a row per new or
//   changed field in ESOA_LIST_CHANGE;
// - every link of a changed code whose copies differ from the new list gets the new Description
//   (and for ESOA_ER FixedFee and ChargingUnit), with a history row; those rows form one batch.
// Raises DbError, with nothing changed, when a step fails.
Applied apply(Gateway& db, history::LinkHistory& history, const Comparison& comparison);

} // namespace listupdate

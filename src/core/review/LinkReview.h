#pragma once

#include "core/db/Gateway.h"

#include <QList>
#include <QString>
#include <QVariant>

// The review of links: each link's state ("to review", "approved", "flagged"), who saved it last
// and how, and the approvals and flags a second person records. No login reviews a link it saved
// last; an approval is of the link as the reviewer saw it, so a link changed since its list was
// read is not approved.
namespace review {

// A link as the review lists it.
struct LinkState {
    qint64 linkId = 0;
    QString revenueId, itemId;
    // The link's values in the order of history::linkColumns(), as read: what the reviewer saw.
    QList<QVariant> values;
    QString code, category, description, item;
    // Its newest history row (0: none), who made it, when, and what made it ("map all").
    qint64 historyId = 0;
    QString savedBy, savedAt, how;
    // The state, and the newest approval or flag with its note (empty while "to review" after a
    // change, and for a link never reviewed).
    QString state = QLatin1String("to review");
    QString reviewedBy, reviewedAt, note;
};

// The table is there (it is read by the reports without being made).
bool present(Gateway& db);
// Makes the table when it is missing; raises DbError when it cannot.
void makeTable(Gateway& db);

// The login of the connection (SUSER_SNAME()).
QString login(Gateway& db);

// Every link of the link table with its state, in the order of linksStatement(). The history
// table is there; `historyHasHow` tells whether it has its column How.
QList<LinkState> readLinks(Gateway& db, const QString& linkTable, bool historyHasHow);

// What made a change, from its history row: its How when the row has one, else told by its action
// ("refresh": "list update"; "undo") and batch (a batch is a "map all"), else "save".
QString howOf(const QString& how, const QString& action, bool inBatch);

inline constexpr char selfReviewText[] =
    "A link is reviewed by someone other than the one who saved it.";
inline constexpr char changedText[] =
    "The link was changed since the list was read: read the list again to review it as it is now.";
inline constexpr char removedText[] = "The link was removed since the list was read.";

// The history of a hospital item's link as the history dialog lists it (itemHistoryStatement's
// rows, their ID last) with the review rows of its links (itemReviewsStatement's) among them,
// newest first: When, Who, Workstation, Action ("approved" and "flagged" for a review), Old code,
// Old description, New code, New description, Map ALL, Note. A review made in the same second as
// a change stands after the change it reviewed and before any later one.
TextTable withReviews(const TextTable& changes, const TextTable& reviews);

// The outcome of a review of several links: for each link given, in their order, the reason it was
// not reviewed (empty: it was).
struct Outcome {
    QStringList refused;
    int reviewed() const;
};

// Records `state` ("approved" or "flagged") with `note` for the links, as `login` (the
// connection's), in one transaction: each link is locked, and one that changed since it was read
// (its values, or a newer history row), was removed, or was saved last by `login` is left out with
// its reason; the others are recorded. The links that were recorded get their new state, reviewer
// and note. Raises DbError, with nothing recorded, when a statement fails.
Outcome record(Gateway& db, const QString& linkTable, QList<LinkState*> links, const QString& state,
               const QString& note, const QString& login);

} // namespace review

#pragma once

#include "core/db/Gateway.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>

namespace history {

// A "Map ALL Listed" that can be undone: its batch number, how many links it added or rewrote,
// the PhilHealth code it linked them to, and the link table.
struct BatchOffer {
    qint64 batch = 0;
    int links = 0;
    QString code;
    QString linkTable;
    // How many codes: more than one after a "Save checked" of the proposed codes.
    int codes = 1;
    // The links a list update refreshed, rather than a Map ALL's.
    bool listUpdate = false;
};

// A link whose copies of its reference item a list update refreshed: its ID and hospital item,
// and its values before and after, in the order of linkColumns().
struct Refreshed {
    QVariant linkId, revenueId, itemId;
    QList<QVariant> before, after;
};

// What an undo did: how many links it put back (removed or restored), and the links it left
// alone because they were changed since, each as "item description (item id)".
struct UndoOutcome {
    int restored = 0;
    QStringList leftAlone;
};

// The history of the links of one run of the program: every save, rewrite and delete of a link
// writes its history row in the same transaction as the link change, so a failure between the
// two leaves neither. The table is made on first need when it is missing; when it cannot be made
// (no rights), the link changes go on exactly as without a history, and the notice says so once
// in the run.
class LinkHistory {
public:
    using Notice = std::function<void(const QString& text)>;
    void setNotice(Notice tell) { m_tell = std::move(tell); }

    // Whether history rows are written: the table is there, or was made now.
    bool available(Gateway& db);
    // Whether the table is there, without making it (for what only reads the history).
    bool present(Gateway& db);
    // Whether the table has its column How (known once present() or available() said it is there).
    bool keepsHow() const { return m_withHow; }
    // Asks the database again at the next need ("a. Create Tables" may have made the table).
    void recheck();
    // A number that grows with every change of a link this program makes (a save, a delete, an
    // undo), whether or not a history row is written: what keeps the links in memory tells by it
    // that they changed.
    quint64 changes() const { return m_changes; }
    // Told after each change of a link this program made: the link table and the hospital item
    // (revenue code and item id) of the link; both empty after an undo, which changes several.
    using Changed = std::function<void(const QString& linkTable, const QString& revenueId,
                                       const QString& itemId)>;
    void setChanged(Changed tell) { m_changed = std::move(tell); }
    // Writes no history until it is turned on again (to measure the program without it).
    void setRecording(bool on) { m_state = on ? State::Unknown : State::Off; }

    // The save's write: the cursor's update (a row added or rewritten), and its history row.
    void saveRow(Gateway& db, WriteCursor& row);
    // The delete of a link row by its ID (as text): `remove` runs the delete itself, and the
    // row's values as they were go into its history row. No row of that ID, no history row.
    void deleteRow(Gateway& db, const QString& linkTable, const QString& id,
                   const std::function<void()>& remove);

    // The history rows of links a list update refreshed, written as one batch inside the caller's
    // transaction (the refreshed rows were written there before). Returns the batch number; 0
    // when no history is kept, or there was nothing to record.
    qint64 recordRefreshes(Gateway& db, const QString& linkTable, const QList<Refreshed>& links);

    // The saves made while a Batch lives share one batch number: a "Map ALL Listed". `how` is
    // what their history rows say made them ("map all", "re-map").
    class Batch {
    public:
        Batch(LinkHistory& history, const QString& how);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        LinkHistory& m_history;
        QString m_how;
    };
    // What made the saves from now on, within a batch ("proposal, score 87"); a save outside a
    // batch is a "save".
    void setHow(const QString& how) { m_how = how; }

    // The newest "Map ALL Listed" of the link table that has not been undone.
    std::optional<BatchOffer> newestBatch(Gateway& db, const QString& linkTable);
    // Puts back every link of the batch that nobody changed since, in one transaction, and writes
    // an undo row for each. Raises DbError, with nothing changed, when a step fails.
    UndoOutcome undo(Gateway& db, const BatchOffer& offer);
    // The history of one hospital item in a link table, newest first.
    TextTable itemHistory(Gateway& db, const QString& linkTable, const QString& revenueId,
                          const QString& itemId);

private:
    enum class State { Unknown, Present, Unavailable, Off };
    struct Change {
        QString linkTable;
        QVariant linkId;
        QString action;
        QVariant revenueId, itemId;
        QList<QVariant> before, after; // in the order of linkColumns(); empty: all NULL
        QVariant batch;
        QString how; // "save", "map all", "proposal, score 87", "re-map", "list update", "undo"
    };
    // The ? parameters of the history row of a change.
    QList<QVariant> parametersOf(const Change& change) const;
    // Whether the table has its column How.
    static bool probeHow(Gateway& db);
    // Adds the history row. The first row of a batch gives the batch its number (the row's own
    // ID), which is returned.
    qint64 write(Gateway& db, const Change& change, bool givesBatchNumber);

    // The undo's three steps. A link the batch added or rewrote, with what it was before the batch
    // and what the batch left.
    struct BatchLink;
    static QList<BatchLink> batchLinks(Gateway& db, const BatchOffer& offer);
    // The link's current values when nobody changed it since the batch: no later change in
    // `lastChanges` (the newest history row of each link that no undone batch wrote), and its row
    // still as the batch left it. Nothing when it was changed or removed.
    static std::optional<QList<QVariant>> unchangedSince(Gateway& db, const QString& linkTable,
                                                         const BatchLink& link,
                                                         const QHash<QString, qint64>& lastChanges);
    // Removes a link the batch added, or gives a rewritten one its old values, with its undo row.
    void putBack(Gateway& db, const BatchOffer& offer, const BatchLink& link,
                 const QList<QVariant>& current);

    State m_state = State::Unknown;
    bool m_told = false;
    Notice m_tell;
    quint64 m_changes = 0;
    Changed m_changed;
    bool m_inBatch = false;
    QVariant m_batch;
    QString m_how;
    bool m_withHow = false;
    bool m_howTried = false;
};

} // namespace history

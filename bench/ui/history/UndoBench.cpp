#include "Scenarios.h"

#include "ui/exports/ListExports.h"
#include "ui/history/HistoryScreen.h"

#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>

#include <optional>

namespace bench {

namespace {

// The undo of the newest map all as plain prepared statements in one transaction: the batch's
// rows, the links changed since, and for each link its row read, its removal and its undo row;
// then the list of the code reloaded.
class UndoFloor {
public:
    explicit UndoFloor(QSqlDatabase db)
        : m_db(db)
        , m_batch(db)
        , m_rows(db)
        , m_later(db)
        , m_link(db)
        , m_remove(db)
        , m_history(db)
        , m_list(db) {
        require(m_batch.prepare(QStringLiteral(
                    "SELECT MAX(BatchNo) FROM Build_FIle.ESOA_LINK_HISTORY WHERE LinkTable = ?")),
                m_batch);
        require(m_rows.prepare(QStringLiteral(
                    "SELECT ID, LinkID, Action, RevenueID, ItemID, OldCode, OldCategory, "
                    "OldDescription, OldFixedFee, OldChargingUnit, OldItemDesc, OldInvOrProc, "
                    "OldSectionID, NewCode, NewCategory, NewDescription, NewFixedFee, "
                    "NewChargingUnit, NewItemDesc, NewInvOrProc, NewSectionID FROM "
                    "Build_FIle.ESOA_LINK_HISTORY WHERE LinkTable = ? AND BatchNo = ? AND Action "
                    "IN ('add', 'rewrite') ORDER BY ID")),
                m_rows);
        require(m_later.prepare(QStringLiteral(
                    "SELECT LinkID, MAX(ID) FROM Build_FIle.ESOA_LINK_HISTORY WHERE LinkTable = ? "
                    "AND ID > ? AND (BatchNo IS NULL OR (BatchNo <> ? AND BatchNo NOT IN (SELECT "
                    "BatchNo FROM Build_FIle.ESOA_LINK_HISTORY WHERE Action = 'undo' AND BatchNo "
                    "IS NOT NULL))) GROUP BY LinkID")),
                m_later);
        require(
            m_link.prepare(QStringLiteral("SELECT * FROM Build_FIle.ESOA_ER_LINK WHERE ID = ?")),
            m_link);
        require(
            m_remove.prepare(QStringLiteral("DELETE FROM Build_FIle.ESOA_ER_LINK WHERE ID = ?")),
            m_remove);
        require(
            m_history.prepare(QStringLiteral(
                "INSERT INTO Build_FIle.ESOA_LINK_HISTORY (ChangedAt, ChangedBy, Workstation, "
                "LinkTable, LinkID, Action, RevenueID, ItemID, OldCode, OldCategory, "
                "OldDescription, OldFixedFee, OldChargingUnit, OldItemDesc, OldInvOrProc, "
                "OldSectionID, BatchNo) VALUES (DATETIME('now', 'localtime'), 'bench', 'bench', "
                "?, ?, 'undo', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
            m_history);
        require(m_list.prepare(QStringLiteral("SELECT * FROM Build_FIle.ESOA_ER_LINK WHERE Code = "
                                              "? LIMIT 1000")),
                m_list);
    }

    void run() {
        const QString table = QStringLiteral("ESOA_ER_LINK");
        m_batch.bindValue(0, table);
        require(m_batch.exec() && m_batch.next(), m_batch);
        const qlonglong batch = m_batch.value(0).toLongLong();
        m_batch.finish();
        require(m_db.transaction(), m_rows);
        m_rows.bindValue(0, table);
        m_rows.bindValue(1, batch);
        require(m_rows.exec(), m_rows);
        QList<QList<QVariant>> rows;
        while (m_rows.next()) {
            QList<QVariant> row;
            for (int i = 0; i < 21; ++i)
                row << m_rows.value(i);
            rows << row;
        }
        m_rows.finish();
        m_later.bindValue(0, table);
        m_later.bindValue(1, rows.value(0).value(0));
        m_later.bindValue(2, batch);
        require(m_later.exec(), m_later);
        while (m_later.next()) {
        }
        m_later.finish();
        for (const QList<QVariant>& row : rows) {
            m_link.bindValue(0, row[1]);
            require(m_link.exec() && m_link.next(), m_link);
            m_link.finish();
            m_remove.bindValue(0, row[1]);
            require(m_remove.exec(), m_remove);
            const QList<QVariant> values{table,   row[1],  row[3],  row[4],  row[13],
                                         row[14], row[15], row[16], row[17], row[18],
                                         row[19], row[20], batch};
            for (int i = 0; i < values.size(); ++i)
                m_history.bindValue(i, values[i]);
            require(m_history.exec(), m_history);
        }
        require(m_db.commit(), m_rows);
        m_list.bindValue(0, QStringLiteral("ERB100002"));
        require(m_list.exec(), m_list);
        while (m_list.next()) {
        }
        m_list.finish();
    }

private:
    QSqlDatabase m_db;
    QSqlQuery m_batch, m_rows, m_later, m_link, m_remove, m_history, m_list;
};

} // namespace

void undoScenario(Run& run) {
    MainScreen& screen = run.program.screen();
    const auto mapAllAgain = [&] {
        prepareMapAll(run);
        run.c().cmdMapAll->click();
    };
    UndoFloor undoFloor(run.db());
    const double floor = bestOf3(mapAllAgain, [&] { undoFloor.run(); });
    std::optional<history::BatchOffer> offer;
    const double undo = bestOf3(
        [&] {
            mapAllAgain();
            offer = screen.linkHistory().newestBatch(run.gw(), QStringLiteral("ESOA_ER_LINK"));
        },
        [&] { screen.historyScreen().undoMapAll(*offer); });
    report({"undo map all", QStringLiteral("%1 links").arg(offer->links), undo, floor, 3});

    // What a right-click on the mapping list asks the history: the map all to offer.
    const QString historyRows =
        run.gw()
            .query(QStringLiteral("SELECT COUNT(*) FROM Build_FIle..ESOA_LINK_HISTORY"))
            .rows[0][0];
    const double offerTime =
        bestOf3({}, [&] { delete screen.listExports().menuFor(run.c().GridMap); });
    note("undo offer", QStringLiteral("%1 hist. rows").arg(historyRows), offerTime);
}

} // namespace bench

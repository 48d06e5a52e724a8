#include "Scenarios.h"
#include "support/RawSqlite.h"

#include "ui/widgets/FlexGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>

namespace bench {

namespace {

// The floor: per row, a look-up, an insert committed on its own and a select of the code's links.
class MapAllFloor {
public:
    explicit MapAllFloor(QSqlDatabase db)
        : m_find(db)
        , m_add(db)
        , m_list(db) {
        require(m_find.prepare(QStringLiteral("SELECT * FROM Build_FIle.ESOA_ER_LINK WHERE "
                                              "RevenueID = ? AND ItemID = ?")),
                m_find);
        require(m_add.prepare(QStringLiteral(
                    "INSERT INTO Build_FIle.ESOA_ER_LINK (Code, Category, Description, FixedFee, "
                    "ChargingUnit, ItemID, ItemDesc, InvOrProc, RevenueID) VALUES (?, ?, ?, ?, "
                    "?, ?, ?, 'INV', ?)")),
                m_add);
        require(
            m_list.prepare(QStringLiteral("SELECT * FROM Build_FIle.ESOA_ER_LINK WHERE Code = ?")),
            m_list);
    }

    void run(const TextTable& items, const QString& revenue) {
        for (const QStringList& row : items.rows) {
            m_find.bindValue(0, revenue);
            m_find.bindValue(1, row[0]);
            require(m_find.exec(), m_find);
            m_find.next();
            m_find.finish();
            const QList<QVariant> values{"ERB100001", "Category 1", "Procedure or item number 1",
                                         95.0,        "per unit",   row[0],
                                         row[1],      revenue};
            for (int i = 0; i < values.size(); ++i)
                m_add.bindValue(i, values[i]);
            require(m_add.exec(), m_add); // committed on its own, as the program commits it
            m_list.bindValue(0, QStringLiteral("ERB100001"));
            require(m_list.exec(), m_list);
            while (m_list.next()) {
            }
            m_list.finish();
        }
    }

private:
    QSqlQuery m_find, m_add, m_list;
};

// The same floor through SQLite's own C interface, on a connection of its own.
double rawMapAllFloor(Run& run, const TextTable& items) {
    raw::Connection db(run.databaseFolder);
    raw::Statement find(db.handle(), "SELECT * FROM Build_FIle.ESOA_ER_LINK WHERE RevenueID = ? "
                                     "AND ItemID = ?");
    raw::Statement add(db.handle(),
                       "INSERT INTO Build_FIle.ESOA_ER_LINK (Code, Category, Description, "
                       "FixedFee, ChargingUnit, ItemID, ItemDesc, InvOrProc, RevenueID) VALUES "
                       "(?, ?, ?, ?, ?, ?, ?, 'INV', ?)");
    raw::Statement list(db.handle(), "SELECT * FROM Build_FIle.ESOA_ER_LINK WHERE Code = ?");
    return bestOf3({}, [&] {
        const QString revenue = QStringLiteral("MR%1").arg(run.mapAllRuns++);
        for (const QStringList& row : items.rows) {
            find.bind(1, revenue);
            find.bind(2, row[0]);
            find.run();
            add.bind(1, QStringLiteral("ERB100001"));
            add.bind(2, QStringLiteral("Category 1"));
            add.bind(3, QStringLiteral("Procedure or item number 1"));
            add.bind(4, 95.0);
            add.bind(5, QStringLiteral("per unit"));
            add.bind(6, row[0]);
            add.bind(7, row[1]);
            add.bind(8, revenue);
            add.run(); // committed on its own, as the program commits it
            list.bind(1, QStringLiteral("ERB100001"));
            list.run();
        }
    });
}

} // namespace

void prepareMapAll(Run& run) {
    // Each run starts with no link to the code, so that every run reloads the same lists.
    QSqlQuery q(run.db());
    require(q.exec(QStringLiteral("DELETE FROM Build_FIle.ESOA_ER_LINK WHERE Code = 'ERB100002'")),
            q);
    Controls& c = run.c();
    c.Grid2->bind(generated::hospitalItems(run.gw(), generated::mapAllItems));
    c.txtESOACode->setText(QStringLiteral("ERB100002"));
    c.txtESOADesc->setText(QStringLiteral("Procedure or item number 2"));
    c.txtFixedFee->setText(QStringLiteral("95.00"));
    c.txtType->setText(QStringLiteral("INV"));
    c.txtRevID->setText(QStringLiteral("MA%1").arg(run.mapAllRuns++));
}

void mapAllScenario(Run& run) {
    const TextTable items = generated::hospitalItems(run.gw(), generated::mapAllItems);
    MapAllFloor floor(run.db());
    const double floorTime =
        bestOf3({}, [&] { floor.run(items, QStringLiteral("MF%1").arg(run.mapAllRuns++)); });
    // With the history and without it, in turns, so that both meet the same machine.
    history::LinkHistory& linkHistory = run.program.screen().linkHistory();
    double withHistory = 1e300, without = 1e300;
    for (int i = 0; i < 3; ++i)
        for (const bool recording : {true, false}) {
            linkHistory.setRecording(recording);
            const double t =
                timeOnce([&] { prepareMapAll(run); }, [&] { run.c().cmdMapAll->click(); });
            (recording ? withHistory : without) = std::min(recording ? withHistory : without, t);
        }
    linkHistory.setRecording(true);
    const double rawFloor = raw::available() ? rawMapAllFloor(run, items) : 0;
    const QString rows = QStringLiteral("%1 rows").arg(generated::mapAllItems);
    Figure mapped{"map all", rows, withHistory, floorTime, 3};
    mapped.raw = rawFloor;
    report(mapped);
    // What the history costs.
    Figure unrecorded{"map all, no hist.", rows, without, floorTime, 3};
    unrecorded.raw = rawFloor;
    report(unrecorded);
}

} // namespace bench

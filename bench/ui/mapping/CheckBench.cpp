#include "Scenarios.h"
#include "support/RawSqlite.h"

#include "ui/reference/ReferenceSide.h"
#include "ui/widgets/FlexGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>

#include <algorithm>

namespace bench {

namespace {

// The PhilHealth check over the imported list, listed whole; its floor is a prepared indexed
// look-up per code.
void phCheck(Run& run) {
    Controls& c = run.c();
    c.txtSOADesc->clear();
    c.txtAreaCat->clear();
    run.program.screen().reference().LoadReferenceItems();
    QSqlQuery linked(run.db());
    require(linked.prepare(
                QStringLiteral("SELECT 1 FROM Build_FIle.ESOA_ER_LINK WHERE Code = ? LIMIT 1")),
            linked);
    const double floor = bestOf3({}, [&] {
        for (const ErRecord& r : run.records) {
            linked.bindValue(0, r.code);
            require(linked.exec(), linked);
            linked.next();
            linked.finish();
        }
    });
    double rawFloor = 0;
    if (raw::available()) {
        raw::Connection db(run.databaseFolder);
        raw::Statement rawLinked(db.handle(),
                                 "SELECT 1 FROM Build_FIle.ESOA_ER_LINK WHERE Code = ? LIMIT 1");
        rawFloor = bestOf3({}, [&] {
            for (const ErRecord& r : run.records) {
                rawLinked.bind(1, r.code);
                rawLinked.run();
            }
        });
    }
    const int referenceRows = c.Grid1->rows() - 1;
    const double check = bestOf3({}, [&] { c.cmdCheckIfMapped->click(); });
    Figure checked{"PhilHealth check", QStringLiteral("%1 rows").arg(referenceRows), check, floor,
                   5};
    checked.raw = rawFloor;
    report(checked);
    // What the statement log costs, where it costs most (a look-up per row): the same check
    // with the log, against it without, in turns.
    double with = 1e300, without = 1e300;
    for (int i = 0; i < 3; ++i) {
        run.gw().setRecording(false);
        without = std::min(without, timeOnce({}, [&] { c.cmdCheckIfMapped->click(); }));
        run.gw().setRecording(true);
        with = std::min(with, timeOnce({}, [&] { c.cmdCheckIfMapped->click(); }));
    }
    report({"statement log", QStringLiteral("check, %1").arg(referenceRows), with, without, 1.05});
}

// The hospital check over the listed hospital items; its floor is a prepared indexed look-up
// per item.
void hospitalCheck(Run& run) {
    Controls& c = run.c();
    const TextTable listed = generated::hospitalItems(run.gw(), generated::listedItems);
    c.txtRevID->setText(QStringLiteral("PH"));
    QSqlQuery byItem(run.db());
    require(byItem.prepare(QStringLiteral("SELECT Code FROM Build_FIle.ESOA_ER_LINK WHERE "
                                          "RevenueID = ? AND ItemID = ? LIMIT 1")),
            byItem);
    const double floor = bestOf3({}, [&] {
        for (const QStringList& row : listed.rows) {
            byItem.bindValue(0, QStringLiteral("PH"));
            byItem.bindValue(1, row[0]);
            require(byItem.exec(), byItem);
            byItem.next();
            byItem.finish();
        }
    });
    double rawFloor = 0;
    if (raw::available()) {
        raw::Connection db(run.databaseFolder);
        raw::Statement rawByItem(db.handle(), "SELECT Code FROM Build_FIle.ESOA_ER_LINK WHERE "
                                              "RevenueID = ? AND ItemID = ? LIMIT 1");
        rawFloor = bestOf3({}, [&] {
            for (const QStringList& row : listed.rows) {
                rawByItem.bind(1, QStringLiteral("PH"));
                rawByItem.bind(2, row[0]);
                rawByItem.run();
            }
        });
    }
    const double check =
        bestOf3([&] { c.Grid2->bind(listed); }, [&] { c.cmdCheckIfMapped2->click(); });
    Figure checked{"hospital check", QStringLiteral("%1 rows").arg(listed.rows.size()), check,
                   floor, 5};
    checked.raw = rawFloor;
    report(checked);
}

} // namespace

void checkScenarios(Run& run) {
    phCheck(run);
    hospitalCheck(run);
}

} // namespace bench

#include "Scenarios.h"

#include "core/suggest/Suggestions.h"
#include "ui/suggest/SuggestScreen.h"
#include "ui/widgets/FlexGrid.h"

#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlQuery>

namespace bench {

namespace {

// Reads every row of a statement directly, the floor of what reads it.
double readAll(Run& run, const QString& statement, int columns) {
    return bestOf3({}, [&] {
        QSqlQuery q(run.db());
        q.setForwardOnly(true);
        require(q.exec(run.gw().backend().native(statement)), q);
        while (q.next())
            for (int i = 0; i < columns; ++i)
                (void)q.value(i);
    });
}

// A third of the inventory named by a brand of the register alone, its generic name left out, as
// an inventory of brands is: the index then reads each of them through the register.
int nameByBrands(Run& run) {
    QSqlQuery q(run.db());
    q.setForwardOnly(true);
    require(q.exec(QStringLiteral("SELECT DISTINCT BrandName FROM Build_FIle.ESOA_DRUG_REGISTER "
                                  "WHERE BrandName <> ''")),
            q);
    QStringList brands;
    while (q.next())
        brands << q.value(0).toString();
    if (brands.isEmpty())
        return 0;
    run.db().transaction();
    QSqlQuery update(run.db());
    require(update.prepare(QStringLiteral("UPDATE Inventory.tbInvMaster SET ItemName = ?, "
                                          "GenericID = NULL WHERE ItemID = ?")),
            update);
    int named = 0;
    for (int i = 3; i <= generated::inventoryItems; i += 3) {
        update.bindValue(0, brands[(i / 3) % brands.size()] + QStringLiteral(" TAB"));
        update.bindValue(1, 100000 + i);
        require(update.exec(), update);
        ++named;
    }
    run.db().commit();
    return named;
}

} // namespace

void suggestScenarios(Run& run) {
    Controls& c = run.c();
    SuggestScreen& screen = run.program.screen().suggestions();
    suggest::Suggestions& engine = screen.engine();
    c.optTable[1]->setChecked(true);
    c.txtType->setText(QStringLiteral("INV"));
    c.txtRevID->setText(QStringLiteral("PH"));
    const ErRecord& item = run.records[run.records.size() / 2];
    c.txtESOACode->setText(item.code);
    c.txtESOADesc->setText(item.description);

    // The index of the inventory, built again each time (its memory: startupScenarios).
    const double first = timeOnce({}, [&] { screen.showSuggestions(); });
    const double build =
        std::min(first, bestOf3([&] { engine.forgetHospitalItems(); }, [&] { screen.Refresh(); }));
    const double read = readAll(run, suggest::Suggestions::inventoryStatement(), 4);
    report({"suggest index", QStringLiteral("%1 items").arg(generated::inventoryItems), build, read,
            0, "ms", 1000});
    // The same with a third of the items named by a brand of the imported register alone.
    const int named = nameByBrands(run);
    const double withRegister = bestOf3([&] { engine.forget(); }, [&] { screen.Refresh(); });
    const double registerRead = readAll(run, suggest::Suggestions::registerStatement(), 4);
    report({"suggest index reg", QStringLiteral("%1 by brand").arg(named), withRegister,
            read + registerRead, 0, "ms", 1500});

    // One list of the window, the index built: within the recheck interval, and with every source
    // asked again (the interval passed).
    const double list = bestOf3({}, [&] { screen.Refresh(); });
    engine.setRecheckInterval(0);
    const double asked = bestOf3({}, [&] { screen.Refresh(); });
    engine.setRecheckInterval(10000);
    // The floor: the look-up of each listed item's link ("Mapped to"), prepared.
    QSqlQuery mapped(run.db());
    require(mapped.prepare(QStringLiteral("SELECT Code FROM Build_FIle.ESOA_ER_LINK WHERE "
                                          "RevenueID = ? AND ItemID = ? LIMIT 1")),
            mapped);
    const double oneLookup = bestOf3({}, [&] {
        for (int r = 1; r < screen.grid()->rows(); ++r) {
            mapped.bindValue(0, QStringLiteral("PH"));
            mapped.bindValue(1, screen.grid()->textMatrix(r, 1));
            require(mapped.exec(), mapped);
            mapped.next();
        }
    });
    report(
        {"suggest list",
         QStringLiteral("%1 of %2").arg(screen.grid()->rows() - 1).arg(generated::inventoryItems),
         list, oneLookup, 0, "ms", 50});
    note("suggest list, asked", QStringLiteral("sources asked"), asked);
    screen.closeWindow();

    // The codes for 500 listed items against the ER list, its index built afresh each time.
    c.Grid2->bind(generated::hospitalItems(run.gw(), generated::mapAllItems));
    c.txtAreaCat->clear();
    const double codes = bestOf3([&] { engine.forget(); },
                                 [&] {
                                     screen.codes().open();
                                     screen.codes().close();
                                 });
    const double references =
        readAll(run, suggest::Suggestions::referenceStatement(QStringLiteral("ESOA_ER")), 5);
    report({"suggest codes",
            QStringLiteral("%1 x %2").arg(generated::mapAllItems).arg(generated::erLines), codes,
            references, 0, "ms", 2000});
}

} // namespace bench

#include "Scenarios.h"

#include "core/diagnostics/DatabaseCheck.h"

#include <QPushButton>
#include <QSqlQuery>

#include <cstdlib>

namespace bench {

// "Check this database..." on the generated database, through the screen's button (the window
// listed); its floor is the integrity check of the two files alone, which it runs among its steps.
void databaseCheckScenario(Run& run) {
    QSqlQuery q(run.db());
    const double floor = bestOf3({}, [&] {
        for (const char* name : {"Build_FIle", "Inventory"}) {
            require(q.exec(QStringLiteral("PRAGMA [%1].integrity_check").arg(QLatin1String(name))),
                    q);
            while (q.next()) {
            }
            q.finish();
        }
    });
    QPushButton* button =
        run.program.screen().findChild<QPushButton*>(QStringLiteral("cmdCheckDatabase"));
    if (!button)
        std::exit(2);
    const double check = bestOf3({}, [&] { button->click(); });
    Figure f{"database check", QStringLiteral("generated db"), check, floor, 0};
    f.limit = 5000;
    report(f);
}

} // namespace bench

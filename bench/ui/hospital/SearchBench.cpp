#include "Scenarios.h"

#include "ui/hospital/HospitalSide.h"
#include "ui/widgets/FlexGrid.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSqlQuery>

namespace bench {

void searchScenario(Run& run) {
    Controls& c = run.c();
    c.optTable[0]->setChecked(true);
    c.txtDesc->setText(QStringLiteral("OL"));
    c.txtGeneric->clear();
    // The floor: the search's own statement, run directly.
    const QString search =
        HospitalSide::inventoryStatement(c.txtDesc->text(), c.txtGeneric->text());
    const double floor = bestOf3({}, [&] {
        QSqlQuery s(run.db());
        require(s.exec(run.gw().backend().native(search)), s);
        while (s.next())
            for (int i = 0; i < 4; ++i)
                (void)s.value(i);
    });
    const double time = bestOf3({}, [&] { run.program.screen().hospital().SearchInventory(); });
    report({"inventory search",
            QStringLiteral("%1 of %2").arg(c.Grid2->rows() - 1).arg(generated::inventoryItems),
            time, floor, 1.5});
}

} // namespace bench

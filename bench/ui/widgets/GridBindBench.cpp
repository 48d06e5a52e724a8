#include "Scenarios.h"

#include "ui/widgets/FlexGrid.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>

namespace bench {

void gridBindScenario(Run& run) {
    Gateway& gw = run.gw();
    const QString allLinks = QStringLiteral("SELECT TOP 30000 * FROM Build_FIle..ESOA_ER_LINK");
    // The floor: the same rows copied into a vector-backed model on a shown table view.
    QTableView floorView;
    floorView.resize(800, 600);
    processUntilExposed(floorView);
    const double floor = bestOf3({}, [&] {
        auto* model = new VectorModel;
        QSqlQuery all(run.db());
        all.setForwardOnly(true);
        require(all.exec(gw.backend().native(allLinks)), all);
        model->columns = all.record().count();
        while (all.next()) {
            std::vector<QString> row;
            row.reserve(size_t(model->columns));
            for (int i = 0; i < model->columns; ++i)
                row.push_back(all.value(i).toString());
            model->rows.push_back(std::move(row));
        }
        QAbstractItemModel* old = floorView.model();
        floorView.setModel(model);
        delete old;
        QCoreApplication::processEvents();
    });
    FlexGrid* grid = run.c().GridMap;
    int bound = 0;
    const double bind = bestOf3({}, [&] {
        grid->bind(gw.query(allLinks));
        QCoreApplication::processEvents();
        bound = grid->rows() - 1;
    });
    report({"grid bind", QStringLiteral("%1 x %2").arg(bound).arg(grid->cols()), bind, floor, 2});
}

} // namespace bench

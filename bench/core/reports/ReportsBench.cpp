#include "Scenarios.h"

#include "core/reports/MappingReports.h"
#include "core/text/Csv.h"

#include <QDir>

#include <cstdlib>

namespace bench {

void reportsScenario(Run& run) {
    Gateway& gw = run.gw();
    const QString links =
        QStringLiteral("%1 links")
            .arg(gw.query(QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK")).rows.size());
    const double coverage =
        bestOf3({}, [&] { (void)reports::coverage(gw, QStringLiteral("ESOA_ER")); });
    const QString exported = QDir(run.filesFolder).filePath(QStringLiteral("all.csv"));
    const double exportTime = bestOf3({}, [&] {
        const TextTable t = gw.query(reports::allMappingsStatement(QStringLiteral("ESOA_ER")));
        if (!csv::writeFile(exported, t.columns, t.rows).isEmpty())
            std::exit(2);
    });
    note("coverage", links, coverage);
    note("export mappings", links, exportTime);
}

} // namespace bench

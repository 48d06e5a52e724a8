#include "Scenarios.h"

#include "core/history/LinkHistory.h"
#include "core/reports/MappingReports.h"
#include "core/review/LinkReview.h"
#include "core/text/Csv.h"

#include <QDir>

#include <cstdlib>

namespace bench {

void reportsScenario(Run& run) {
    Gateway& gw = run.gw();
    const QString links =
        QStringLiteral("%1 links")
            .arg(gw.query(QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK")).rows.size());
    // The reports with the review states of the links, as the program runs them.
    history::LinkHistory history;
    const bool withReview = history.available(gw) && (review::makeTable(gw), true);
    const double coverage =
        bestOf3({}, [&] { (void)reports::coverage(gw, QStringLiteral("ESOA_ER"), withReview); });
    const QString exported = QDir(run.filesFolder).filePath(QStringLiteral("all.csv"));
    const double exportTime = bestOf3({}, [&] {
        const TextTable t =
            gw.query(reports::allMappingsStatement(QStringLiteral("ESOA_ER"), withReview));
        if (!csv::writeFile(exported, t.columns, t.rows).isEmpty())
            std::exit(2);
    });
    note("coverage", links, coverage);
    note("export mappings", links, exportTime);
}

} // namespace bench

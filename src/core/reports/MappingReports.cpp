#include "MappingReports.h"

#include "core/db/Gateway.h"
#include "core/review/ReviewStatements.h"
#include "core/text/Percent.h"
#include "core/tsql/SqlText.h"

#include <algorithm>

namespace reports {

QString allMappingsStatement(const QString& table, bool withReview) {
    const QString ref = sql::buildFileTable(table);
    const QString linkTable = table + QStringLiteral("_LINK");
    const QString link = sql::buildFileTable(linkTable);
    // The review of each link: its state, and who approved or flagged it when, while that stands.
    const QString reviewed = QStringLiteral("CASE WHEN ") + review::stateExpression() +
                             QStringLiteral(" = 'to review' THEN NULL ELSE ");
    const QString review =
        withReview ? review::stateExpression() + QStringLiteral(" AS [Review], ") + reviewed +
                         QStringLiteral("RV.[ReviewedBy] END AS [Reviewed by], ") + reviewed +
                         QStringLiteral("CONVERT(varchar(19), RV.[ReviewedAt], 120) END AS "
                                        "[Reviewed at] ")
                   : QStringLiteral("'to review' AS [Review], NULL AS [Reviewed by], "
                                    "NULL AS [Reviewed at] ");
    // A code listed twice in the reference table is joined once, with its first row. The
    // descriptions compare as SQL Server compares them (case and trailing blanks aside) on the
    // embedded database too, where a column's collation would not survive ISNULL.
    return QStringLiteral(
               "SELECT ISNULL(R.Category, L.Category) AS Category, L.Code, R.Description, "
               "R.FixedFee, R.ChargingUnit, L.Description AS LinkDescription, L.RevenueID, "
               "L.ItemID, L.ItemDesc, L.InvOrProc, L.SectionID, "
               "CASE WHEN R.ID IS NULL THEN 'code not in the list' "
               "WHEN UPPER(RTRIM(ISNULL(L.Description, ''))) <> "
               "UPPER(RTRIM(ISNULL(R.Description, ''))) "
               "THEN 'description changed' ELSE 'ok' END AS Status, ") +
           review + QStringLiteral("FROM ") + link +
           QStringLiteral(
               " L WITH (NOLOCK) LEFT OUTER JOIN (SELECT Code, MIN(ID) AS FirstID FROM ") +
           ref +
           QStringLiteral(" WITH (NOLOCK) GROUP BY Code) F ON F.Code = L.Code LEFT OUTER JOIN ") +
           ref + QStringLiteral(" R WITH (NOLOCK) ON R.ID = F.FirstID") +
           (withReview ? review::reviewJoins(linkTable) : QString()) +
           QStringLiteral(" ORDER BY ISNULL(R.Category, L.Category), L.Code, L.RevenueID, "
                          "L.ItemID, L.ItemDesc");
}

QString linkedCodeStatement(const QString& linkTable, const QString& revenueId,
                            const QString& itemId) {
    return QStringLiteral("SELECT TOP 1 Code FROM ") + linkTable +
           QStringLiteral(" WITH (NOLOCK) WHERE RevenueID = ") + sql::quoted(revenueId) +
           QStringLiteral(" AND ItemID=") + sql::quoted(itemId) + QStringLiteral(" ");
}

QString coverageStatement(const QString& table, bool withReview) {
    const QString ref = sql::buildFileTable(table);
    const QString linkTable = table + QStringLiteral("_LINK");
    const QString link = sql::buildFileTable(linkTable);
    // A code's links, and whether every one of them is approved.
    const QString codes =
        withReview ? QStringLiteral("SELECT L.Code, MIN(CASE WHEN ") + review::stateExpression() +
                         QStringLiteral(" = 'approved' THEN 1 ELSE 0 END) AS Approved FROM ") +
                         link + QStringLiteral(" L WITH (NOLOCK)") +
                         review::reviewJoins(linkTable) + QStringLiteral(" GROUP BY L.Code")
                   : QStringLiteral("SELECT DISTINCT Code, 0 AS Approved FROM ") + link +
                         QStringLiteral(" WITH (NOLOCK)");
    // Categories that differ only in case or trailing blanks are one, as SQL Server compares
    // them; UPPER and RTRIM make the embedded database, which would keep them apart, do the same.
    return QStringLiteral("SELECT MIN(Category) AS Category, SUM(Items) AS Items, "
                          "SUM(Mapped) AS Mapped, "
                          "SUM(Orphans) AS Orphans, SUM(Approved) AS Approved FROM ("
                          "SELECT ISNULL(R.Category, '') AS Category, 1 AS Items, "
                          "CASE WHEN M.Code IS NULL THEN 0 ELSE 1 END AS Mapped, 0 AS Orphans, "
                          "ISNULL(M.Approved, 0) AS Approved "
                          "FROM ") +
           ref + QStringLiteral(" R WITH (NOLOCK) LEFT OUTER JOIN (") + codes +
           QStringLiteral(") M ON M.Code = R.Code "
                          "UNION ALL "
                          "SELECT ISNULL(L.Category, ''), 0, 0, 1, 0 FROM ") +
           link + QStringLiteral(" L WITH (NOLOCK) WHERE NOT EXISTS (SELECT 1 FROM ") + ref +
           QStringLiteral(" R2 WITH (NOLOCK) WHERE R2.Code = L.Code)"
                          ") C GROUP BY UPPER(RTRIM(Category))");
}

QList<CoverageRow> coverage(Gateway& gateway, const QString& table, bool withReview) {
    const TextTable result = gateway.query(coverageStatement(table, withReview));
    QList<CoverageRow> rows;
    CoverageRow total{QStringLiteral("Total"), 0, 0, 0, 0};
    for (const QStringList& r : result.rows) {
        CoverageRow row{r.value(0).isEmpty() ? QStringLiteral("-") : r.value(0),
                        r.value(1).toLongLong(), r.value(2).toLongLong(), r.value(3).toLongLong(),
                        r.value(4).toLongLong()};
        total.items += row.items;
        total.mapped += row.mapped;
        total.orphanLinks += row.orphanLinks;
        total.approved += row.approved;
        rows << row;
    }
    std::stable_sort(rows.begin(), rows.end(), [](const CoverageRow& a, const CoverageRow& b) {
        if ((a.items == 0) != (b.items == 0))
            return b.items == 0;
        if (a.items == 0)
            return a.category < b.category;
        const double ra = double(a.mapped) / double(a.items);
        const double rb = double(b.mapped) / double(b.items);
        if (ra != rb)
            return ra < rb;
        return a.category < b.category;
    });
    rows << total;
    return rows;
}

TextTable coverageTable(const QList<CoverageRow>& rows) {
    TextTable t;
    t.columns = QStringList{"Category",          "Items",    "Mapped",    "Per cent",
                            "Links not in list", "Approved", "% approved"};
    for (const CoverageRow& r : rows)
        t.rows << QStringList{r.category,
                              QString::number(r.items),
                              QString::number(r.mapped),
                              text::percent(r.mapped, r.items),
                              QString::number(r.orphanLinks),
                              QString::number(r.approved),
                              text::percent(r.approved, r.items)};
    return t;
}

} // namespace reports

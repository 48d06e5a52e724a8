// The set-based reports over a reference table and its links, on a real embedded database: links
// to a code that is gone and to a code whose description changed, items without a category, a
// category without links. The T-SQL is asserted as text too.
#include "TestDatabase.h"

#include "core/reports/MappingReports.h"

#include <QTest>

class TestReports : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_db.reset(); }
    void allMappingsCarryTheirStatus();
    void coverageByCategoryWorstFirst();
    void caseAndTrailingBlanksCompareAsOnSqlServer();
    void theStatementsAreTsql();

private:
    Gateway& gw() { return m_db->gateway(); }
    void item(const QString& code, const QString& category, const QString& description) {
        gw().execute(QStringLiteral("INSERT INTO Build_FIle..ESOA_ER (Code, Category, Description, "
                                    "FixedFee, ChargingUnit) VALUES ('%1', %2, '%3', 10, 'unit')")
                         .arg(code,
                              category.isNull() ? QStringLiteral("NULL") : u'\'' + category + u'\'',
                              description));
    }
    void link(const QString& code, const QString& category, const QString& description,
              const QString& item) {
        gw().execute(QStringLiteral("INSERT INTO Build_FIle..ESOA_ER_LINK (Code, Category, "
                                    "Description, ItemID, ItemDesc, InvOrProc, RevenueID) VALUES "
                                    "('%1', '%2', '%3', '%4', 'Item %4', 'INV', 'PH')")
                         .arg(code, category, description, item));
    }
    std::unique_ptr<TestDatabase> m_db;
};

void TestReports::init() {
    m_db = std::make_unique<TestDatabase>();
    gw().execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_ER"));
    gw().execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_ER_LINK"));
    item("A1", "Anesthesia", "Spinal block");
    item("A2", "Anesthesia", "General anesthesia");
    item("B1", "Blood", "Packed RBC");
    item("C1", "Cardiology", "ECG");
    item("N1", QString(), "No category");
    item("N2", "", "Empty category");
    link("A1", "Anesthesia", "Spinal block", "2");
    link("A1", "Anesthesia", "Spinal block", "1");
    link("B1", "Blood", "Whole blood", "3");     // renamed in the list since
    link("GONE", "Anesthesia", "Old item", "4"); // no longer in the list
    link("C1", "Cardiology", "ECG", "5");
    link("N2", "", "Empty category", "6");
}

void TestReports::allMappingsCarryTheirStatus() {
    const TextTable t = gw().query(reports::allMappingsStatement(QStringLiteral("ESOA_ER"), false));
    QCOMPARE(t.columns,
             (QStringList{"Category", "Code", "Description", "FixedFee", "ChargingUnit",
                          "LinkDescription", "RevenueID", "ItemID", "ItemDesc", "InvOrProc",
                          "SectionID", "Status", "Review", "Reviewed by", "Reviewed at"}));
    QStringList got;
    for (const QStringList& r : t.rows)
        got << r[0] + u'|' + r[1] + u'|' + r[2] + u'|' + r[7] + u'|' + r[11];
    QCOMPARE(got, (QStringList{
                      "|N2|Empty category|6|ok",
                      "Anesthesia|A1|Spinal block|1|ok",
                      "Anesthesia|A1|Spinal block|2|ok",
                      "Anesthesia|GONE||4|code not in the list",
                      "Blood|B1|Packed RBC|3|description changed",
                      "Cardiology|C1|ECG|5|ok",
                  }));
    QCOMPARE(t.rows[1][3], QStringLiteral("10"));
    // A code listed twice in the reference table still gives each link once.
    item("C1", "Cardiology", "ECG again");
    QCOMPARE(
        gw().query(reports::allMappingsStatement(QStringLiteral("ESOA_ER"), false)).rows.size(), 6);
}

void TestReports::coverageByCategoryWorstFirst() {
    const QList<reports::CoverageRow> rows =
        reports::coverage(gw(), QStringLiteral("ESOA_ER"), false);
    const TextTable t = reports::coverageTable(rows);
    QCOMPARE(t.columns, (QStringList{"Category", "Items", "Mapped", "Per cent", "Links not in list",
                                     "Approved", "% approved"}));
    QCOMPARE(t.rows,
             (QList<QStringList>{
                 {"-", "2", "1", "50%", "0", "0", "0%"},          // NULL and empty, one mapped
                 {"Anesthesia", "2", "1", "50%", "1", "0", "0%"}, // and the link to a gone code
                 {"Blood", "1", "1", "100%", "0", "0", "0%"},
                 {"Cardiology", "1", "1", "100%", "0", "0", "0%"},
                 {"Total", "6", "4", "67%", "1", "0", "0%"},
             }));
    // A category with items and no links comes first; links only under a category the list
    // lacks come last.
    item("D1", "Dialysis", "Hemodialysis");
    link("X9", "Old category", "Gone", "7");
    const TextTable again =
        reports::coverageTable(reports::coverage(gw(), QStringLiteral("ESOA_ER"), false));
    QCOMPARE(again.rows.first(), (QStringList{"Dialysis", "1", "0", "0%", "0", "0", "0%"}));
    QCOMPARE(again.rows[again.rows.size() - 2],
             (QStringList{"Old category", "0", "0", "-", "1", "0", "-"}));
    QCOMPARE(again.rows.last(), (QStringList{"Total", "7", "4", "57%", "2", "0", "0%"}));
    // An empty table: only the total.
    gw().execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_ER"));
    gw().execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_ER_LINK"));
    QCOMPARE(reports::coverageTable(reports::coverage(gw(), QStringLiteral("ESOA_ER"), false)).rows,
             (QList<QStringList>{{"Total", "0", "0", "-", "0", "0", "-"}}));
}

void TestReports::caseAndTrailingBlanksCompareAsOnSqlServer() {
    gw().execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_ER"));
    gw().execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_ER_LINK"));
    item("S1", "Lab", "Syringe");
    item("S2", "lab", "Gauze");
    item("S3", "Lab ", "Cotton");
    link("S1", "Lab", "SYRINGE", "1");
    link("S2", "lab", "Gauze ", "2");
    link("S3", "Lab", "Cotton ball", "3");
    QStringList status;
    for (const QStringList& r :
         gw().query(reports::allMappingsStatement(QStringLiteral("ESOA_ER"), false)).rows)
        status << r[1] + u'|' + r[11];
    status.sort();
    QCOMPARE(status, (QStringList{"S1|ok", "S2|ok", "S3|description changed"}));
    // One category, not three.
    QCOMPARE(reports::coverageTable(reports::coverage(gw(), QStringLiteral("ESOA_ER"), false)).rows,
             (QList<QStringList>{{"Lab", "3", "3", "100%", "0", "0", "0%"},
                                 {"Total", "3", "3", "100%", "0", "0", "0%"}}));
}

void TestReports::theStatementsAreTsql() {
    QCOMPARE(
        reports::coverageStatement(QStringLiteral("ESOA_ITEM"), false),
        QStringLiteral(
            "SELECT MIN(Category) AS Category, SUM(Items) AS Items, SUM(Mapped) AS Mapped, "
            "SUM(Orphans) AS Orphans, SUM(Approved) AS Approved "
            "FROM (SELECT ISNULL(R.Category, '') AS Category, 1 AS Items, CASE WHEN M.Code IS "
            "NULL THEN 0 ELSE 1 END AS Mapped, 0 AS Orphans, ISNULL(M.Approved, 0) AS Approved "
            "FROM [Build_FIle].[dbo].[ESOA_ITEM] R "
            "WITH (NOLOCK) LEFT OUTER JOIN (SELECT DISTINCT Code, 0 AS Approved FROM "
            "[Build_FIle].[dbo].[ESOA_ITEM_LINK] WITH (NOLOCK)) M ON M.Code = R.Code UNION ALL "
            "SELECT ISNULL(L.Category, ''), 0, 0, 1, 0 FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] L "
            "WITH (NOLOCK) WHERE NOT EXISTS (SELECT 1 FROM [Build_FIle].[dbo].[ESOA_ITEM] R2 WITH "
            "(NOLOCK) WHERE R2.Code = L.Code)) C GROUP BY UPPER(RTRIM(Category))"));
    QCOMPARE(
        reports::allMappingsStatement(QStringLiteral("ESOA_ITEM"), false),
        QStringLiteral(
            "SELECT ISNULL(R.Category, L.Category) AS Category, L.Code, R.Description, "
            "R.FixedFee, R.ChargingUnit, L.Description AS LinkDescription, L.RevenueID, L.ItemID, "
            "L.ItemDesc, L.InvOrProc, L.SectionID, CASE WHEN R.ID IS NULL THEN 'code not in the "
            "list' WHEN UPPER(RTRIM(ISNULL(L.Description, ''))) <> "
            "UPPER(RTRIM(ISNULL(R.Description, ''))) THEN 'description changed' ELSE 'ok' END AS "
            "Status, 'to review' AS [Review], NULL AS [Reviewed by], NULL AS [Reviewed at] "
            "FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] L WITH "
            "(NOLOCK) LEFT OUTER JOIN (SELECT Code, MIN(ID) AS FirstID FROM "
            "[Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK) GROUP BY Code) F ON F.Code = L.Code LEFT "
            "OUTER JOIN [Build_FIle].[dbo].[ESOA_ITEM] R WITH (NOLOCK) ON R.ID = F.FirstID ORDER "
            "BY ISNULL(R.Category, L.Category), L.Code, L.RevenueID, L.ItemID, L.ItemDesc"));
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"

// Every statement form the program sends, with its exact blanks, run through the gateway on the
// embedded sample database: the rows, writes and errors SQL Server would give.
#include "TestDatabase.h"

#include "core/maintenance/TableStatements.h"
#include "core/tsql/SqlText.h"

#include <QTest>

class TestStatements : public QObject {
    Q_OBJECT
private slots:
    // A fresh copy of the sample database for each test, declared as every database test declares
    // it (alike on purpose).
    void init() { m_db = std::make_unique<TestDatabase>(); }
    void cleanup() { m_db.reset(); }

    void categoriesAreDistinct();
    void referenceItemsFilterWithoutRegardToCase();
    void aDashListsOnlyTheEmptyCategory();
    void revenuesListTheirSixColumns();
    void revenueCodesFollowTheLocationRule();
    void inventorySearchListsTheFirst500ByName();
    void inventorySearchFiltersByNameAndGeneric();
    void procedureSearchReadsTheRoutedTable();
    void procedureSearchOnAMissingTableFails();
    void mappingListShowsTwelveColumns();
    void checksFindLinks();
    void deleteByQuotedId();
    void createTablesRunsOnAnExistingDatabase();
    void createTablesOnAnEmptyDatabase();
    void moneyAndSmallintRefuseWhatSqlServerRefuses();
    void textLongerThanItsColumnIsRefused();

private:
    Gateway& gw() { return m_db->gateway(); }
    std::unique_ptr<TestDatabase> m_db;
};

void TestStatements::categoriesAreDistinct() {
    const TextTable t = gw().query(QStringLiteral(
        "SELECT DISTINCT(Category) FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1 "));
    QCOMPARE(t.columns, QStringList{QStringLiteral("Category")});
    QStringList names;
    for (const QStringList& row : t.rows)
        names << row[0];
    names.sort();
    QCOMPARE(names, (QStringList{"ED Consultation", "ED Service", "Imaging", "Laboratory",
                                 "Supplies", "Therapeutics"}));
}

void TestStatements::referenceItemsFilterWithoutRegardToCase() {
    const TextTable t = gw().query(QStringLiteral(
        "SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1  AND Description like "
        "'%AMPULE%'   AND Category='therapeutics'  "));
    QCOMPARE(t.columns,
             (QStringList{"ID", "Code", "Category", "Description", "FixedFee", "ChargingUnit"}));
    QVERIFY(t.rows.size() >= 10);
    for (const QStringList& row : t.rows) {
        QCOMPARE(row[2], QStringLiteral("Therapeutics"));
        QVERIFY(row[3].contains(QStringLiteral("ampule")));
    }
    // A fee shows as the database holds it: no thousands separator, no trailing zeros.
    const TextTable fee = gw().query(QStringLiteral(
        "SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1  AND Code='ER0001'  "));
    QCOMPARE(fee.rows.size(), 1);
    QCOMPARE(fee.rows[0][4], QStringLiteral("25")); // "25.00" in the import file
    // A quote in a typed text is a character of the pattern, not the end of the literal.
    const TextTable quote = gw().query(
        QStringLiteral("SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1  AND "
                       "Description like ") +
        sql::quoted(QStringLiteral("%gram's%")) + QStringLiteral("  "));
    QCOMPARE(quote.rows.size(), 1);
    QCOMPARE(quote.rows[0][3], QStringLiteral("Gram's Stain"));
    const TextTable injected = gw().query(
        QStringLiteral("SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1  AND "
                       "Category=") +
        sql::quoted(QStringLiteral("x' OR '1'='1")) + QStringLiteral("  "));
    QCOMPARE(injected.rows.size(), 0);
}

void TestStatements::aDashListsOnlyTheEmptyCategory() {
    gw().execute(
        QStringLiteral("INSERT INTO Build_FIle..ESOA_ER (Code, Category) VALUES ('E1', '')"));
    gw().execute(
        QStringLiteral("INSERT INTO Build_FIle..ESOA_ER (Code, Category) VALUES ('E2', NULL)"));
    const TextTable t = gw().query(QStringLiteral(
        "SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1  AND Category=''  "));
    QCOMPARE(t.rows.size(), 1);
    QCOMPARE(t.rows[0][1], QStringLiteral("E1"));
}

void TestStatements::revenuesListTheirSixColumns() {
    const TextTable t = gw().query(QStringLiteral(
        "SELECT [RevenueID],[ExamTableName],[IDFieldName],[ExamFieldName],[SectionIDFieldName],"
        "LocationID  FROM [Build_FIle].[dbo].[tbRevenues] WITH (NOLOCK) WHERE 1=1 "));
    QCOMPARE(t.columns, (QStringList{"RevenueID", "ExamTableName", "IDFieldName", "ExamFieldName",
                                     "SectionIDFieldName", "LocationID"}));
    QVERIFY(t.rows.size() >= 10);
    QCOMPARE(t.rows[0], (QStringList{"LB", "tbcoLabExam", "LabExamID", "LabExam", "", ""}));
}

void TestStatements::revenueCodesFollowTheLocationRule() {
    const QString base =
        QStringLiteral("select RevenueID,itemname from Build_FIle..tbcorevenuecode "
                       "WITH (NOLOCK)  where Recordstatus='A' ");
    const TextTable inv = gw().query(
        base +
            QStringLiteral(" AND (LocationID IS NOT NULL AND LocationID <> '')ORDER BY itemname"),
        Rowset::ForwardReadOnly);
    QStringList codes;
    for (const QStringList& row : inv.rows)
        codes << row[0];
    QCOMPARE(codes, (QStringList{"CS", "ERS", "ORS", "PH"}));
    const TextTable proc = gw().query(
        base + QStringLiteral(" AND (LocationID IS NULL OR LocationID = '')ORDER BY itemname"),
        Rowset::ForwardReadOnly);
    codes.clear();
    for (const QStringList& row : proc.rows)
        codes << row[0];
    QVERIFY(codes.contains(QStringLiteral("US")));  // a NULL location
    QVERIFY(codes.contains(QStringLiteral("LB")));  // an empty location
    QVERIFY(!codes.contains(QStringLiteral("BB"))); // inactive
    QVERIFY(!codes.contains(QStringLiteral("PH")));
    QCOMPARE(proc.rows.first()[1], QStringLiteral("CT SCAN"));
}

static const char* const inventoryBase =
    " SELECT TOP 500 A.ItemID , A.ItemName + ' - ' + A.ItemDesc AS Description,B.GenericName,   "
    "CONVERT(DECIMAL(15,2),ListCost) AS ListCost     FROM Inventory..tbInvMaster A  WITH (NOLOCK)  "
    " "
    " LEFT OUTER JOIN inventory..tbForGeneric B ON a.GenericID=b.GenericID  WHERE  a.itemstatus = "
    "0 ";

void TestStatements::inventorySearchListsTheFirst500ByName() {
    const TextTable t =
        gw().query(QLatin1String(inventoryBase) + QStringLiteral(" order by a.ItemName"),
                   Rowset::DynamicOptimistic);
    QCOMPARE(t.columns, (QStringList{"ItemID", "Description", "GenericName", "ListCost"}));
    QCOMPARE(t.rows.size(), 500);
    const int active = countRows(gw(), QStringLiteral("SELECT ItemID FROM Inventory..tbInvMaster "
                                                      "WHERE itemstatus = 0"));
    QVERIFY(active > 500);
    for (int i = 1; i < t.rows.size(); ++i) {
        const QString before = t.rows[i - 1][1].section(QStringLiteral(" - "), 0, 0);
        const QString after = t.rows[i][1].section(QStringLiteral(" - "), 0, 0);
        QVERIFY2(before.compare(after, Qt::CaseInsensitive) <= 0,
                 qPrintable(before + " > " + after));
    }
    for (const QStringList& row : t.rows)
        QVERIFY2(row[3].isEmpty() ||
                     QRegularExpression(QStringLiteral("^\\d+\\.\\d\\d$")).match(row[3]).hasMatch(),
                 qPrintable(row[3]));
    QVERIFY(t.rows[0][1].contains(QStringLiteral(" - ")));
}

void TestStatements::inventorySearchFiltersByNameAndGeneric() {
    const TextTable t = gw().query(
        QLatin1String(inventoryBase) +
            QStringLiteral(" AND GenericName like '%paracetamol%'   order by a.ItemName"),
        Rowset::DynamicOptimistic);
    QVERIFY(t.rows.size() >= 7);
    for (const QStringList& row : t.rows)
        QCOMPARE(row[2], QStringLiteral("PARACETAMOL"));
    // A supply without a generic row is listed with an empty generic name, and the filter by
    // generic name passes it over.
    const TextTable supplies =
        gw().query(QLatin1String(inventoryBase) +
                       QStringLiteral(" AND ItemName like '%bandage%'   order by a.ItemName"),
                   Rowset::DynamicOptimistic);
    QVERIFY(!supplies.rows.isEmpty());
    const TextTable none = gw().query(
        QLatin1String(inventoryBase) +
            QStringLiteral(" AND ItemName like '%bandage%'   AND GenericName like '%a%'   order by "
                           "a.ItemName"),
        Rowset::DynamicOptimistic);
    QVERIFY(none.rows.size() < supplies.rows.size());
}

void TestStatements::procedureSearchReadsTheRoutedTable() {
    const TextTable lab = gw().query(
        QStringLiteral("SELECT LabExamID,LabExam FROM  BUILD_FILE..tbcoLabExam WITH (NOLOCK) WHERE "
                       "Status='A'  AND LabExam  like '%BLOOD%'  "),
        Rowset::DynamicOptimistic);
    QCOMPARE(lab.columns, (QStringList{"LabExamID", "LabExam"}));
    QVERIFY(lab.rows.size() >= 3);
    const TextTable er = gw().query(
        QStringLiteral("SELECT OtherRevenueID,OtherRevenue FROM  BUILD_FILE..tbcoOtherRevenue WITH "
                       "(NOLOCK) WHERE Status='A'  AND OtherSectionID  = 'ER'  "),
        Rowset::DynamicOptimistic);
    QVERIFY(er.rows.size() >= 15);
    const int all =
        countRows(gw(), QStringLiteral("SELECT OtherRevenueID,OtherRevenue FROM  "
                                       "BUILD_FILE..tbcoOtherRevenue WITH (NOLOCK) WHERE "
                                       "Status='A' "));
    QVERIFY(all > er.rows.size());
}

void TestStatements::procedureSearchOnAMissingTableFails() {
    try {
        gw().query(
            QStringLiteral("SELECT OtherRevenueID,OtherRevenue FROM  Inventory..InvMaster WITH "
                           "(NOLOCK) WHERE Status='A' "),
            Rowset::DynamicOptimistic);
        QFAIL("the search of a missing table succeeded");
    } catch (const DbError& e) {
        QCOMPARE(e.description(), QStringLiteral("no such table: Inventory.InvMaster"));
    }
}

void TestStatements::mappingListShowsTwelveColumns() {
    const TextTable t =
        gw().query(QStringLiteral(" SELECT TOP 1000 [ID]       ,[Code]       ,[Category]       "
                                  ",[Description]       ,[RevenueID]"
                                  "       ,[SectionID]       ,[ItemID]       ,[ItemDesc]       "
                                  ",[FixedFee]       ,[ChargingUnit]"
                                  "       ,[InvOrProc]       ,[SortOrder]   FROM "
                                  "[Build_FIle].[dbo].[ESOA_ER_LINK] WITH (NOLOCK) "
                                  "WHERE Code='er0001' "));
    QCOMPARE(t.columns, (QStringList{"ID", "Code", "Category", "Description", "RevenueID",
                                     "SectionID", "ItemID", "ItemDesc", "FixedFee", "ChargingUnit",
                                     "InvOrProc", "SortOrder"}));
    QCOMPARE(t.rows.size(), 1);
    QCOMPARE(t.rows[0][1], QStringLiteral("ER0001"));
    QCOMPARE(t.rows[0][10], QStringLiteral("INV"));
    QCOMPARE(t.rows[0][11], QString());
}

void TestStatements::checksFindLinks() {
    Lookup mapped =
        gw().lookup(QStringLiteral("SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH "
                                   "(NOLOCK) WHERE Code='ER0001' "));
    QVERIFY(!mapped.atEnd());
    mapped.close();
    Lookup unmapped =
        gw().lookup(QStringLiteral("SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH "
                                   "(NOLOCK) WHERE Code='ER0002' "));
    QVERIFY(unmapped.atEnd());
    unmapped.close();
    Lookup code =
        gw().lookup(QStringLiteral("SELECT TOP 1 Code FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH "
                                   "(NOLOCK) WHERE RevenueID = 'PH' "
                                   "AND ItemID='10018' "));
    QVERIFY(!code.atEnd());
    QCOMPARE(code.field(0).toString(), QStringLiteral("ER0001"));
}

void TestStatements::deleteByQuotedId() {
    const QString count = QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK");
    const int before = countRows(gw(), count);
    gw().execute(QStringLiteral("DELETE FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WHERE ID='' "));
    QCOMPARE(countRows(gw(), count), before);
    gw().execute(QStringLiteral("DELETE FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WHERE ID='1' "));
    QCOMPARE(countRows(gw(), count), before - 1);
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK WHERE ID=1")),
             0);
}

void TestStatements::createTablesRunsOnAnExistingDatabase() {
    const QStringList statements = tables::referenceTableStatements(QStringLiteral("ESOA_ER"));
    QCOMPARE(statements.size(), 12);
    const int links = countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK"));
    const int items = countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ITEM"));
    QList<bool> failed;
    for (const QString& s : statements) {
        try {
            gw().execute(s);
            failed << false;
        } catch (const DbError&) {
            failed << true;
        }
    }
    // The first run drops ESOA_Code, recreates the reference table and keeps the link table.
    QCOMPARE(failed, (QList<bool>{false, false, false, false, false, false, false, false, true,
                                  true, true, true}));
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER")), 0);
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK")), links);
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ITEM")), items);
    // The identity starts again at 1.
    gw().execute(QStringLiteral("INSERT INTO Build_FIle..ESOA_ER (Code) VALUES ('N1')"));
    QCOMPARE(gw().query(QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER")).rows[0][0],
             QStringLiteral("1"));
    // A second run: the ESOA_Code columns are gone, so the first four fail as well.
    failed.clear();
    for (const QString& s : statements) {
        try {
            gw().execute(s);
            failed << false;
        } catch (const DbError& e) {
            failed << true;
            if (failed.size() == 1)
                QCOMPARE(e.description(), QStringLiteral("no such column: \"ESOA_Code\""));
        }
    }
    QCOMPARE(failed, (QList<bool>{true, true, true, true, false, false, false, false, true, true,
                                  true, true}));
}

void TestStatements::createTablesOnAnEmptyDatabase() {
    for (const QString& t : {QStringLiteral("ESOA_ER_LINK"), QStringLiteral("ESOA_ER")})
        gw().execute(QStringLiteral("DROP TABLE [Build_FIle].[dbo].[") + t + u']');
    QStringList errors;
    for (const QString& s : tables::referenceTableStatements(QStringLiteral("ESOA_ER"))) {
        try {
            gw().execute(s);
        } catch (const DbError& e) {
            errors << e.description();
        }
    }
    QCOMPARE(errors, QStringList{QStringLiteral("no such table: Build_FIle.ESOA_ER")});
    QStringList indexes;
    for (const QStringList& row :
         gw().query(
                 QStringLiteral("SELECT name FROM Build_FIle.sqlite_master WHERE type='index' AND "
                                "tbl_name LIKE 'ESOA_ER%' ORDER BY name"))
             .rows)
        if (row[0].contains(QStringLiteral("__")))
            indexes << row[0];
    QCOMPARE(indexes, (QStringList{"ESOA_ER_LINK__by_Category_Description", "ESOA_ER_LINK__by_ID",
                                   "ESOA_ER_LINK__by_ItemID", "ESOA_ER__by_Category_Description",
                                   "ESOA_ER__by_ID"}));
}

void TestStatements::moneyAndSmallintRefuseWhatSqlServerRefuses() {
    auto insert = [&](const QVariant& fee) {
        gw().insertRow(QStringLiteral("[Build_FIle].[dbo].ESOA_ER"), {"Code", "FixedFee"},
                       {QStringLiteral("M"), fee});
        return gw()
            .query(QStringLiteral("SELECT FixedFee FROM Build_FIle..ESOA_ER WHERE Code='M'"))
            .rows.last()[0];
    };
    QCOMPARE(insert(QStringLiteral("1250.50")), QStringLiteral("1250.5"));
    QCOMPARE(insert(QStringLiteral("")), QStringLiteral("0"));
    QCOMPARE(insert(QVariant()), QString());
    try {
        insert(QStringLiteral("abc"));
        QFAIL("a fee that is not an amount was taken");
    } catch (const DbError& e) {
        QCOMPARE(e.description(),
                 QStringLiteral("Cannot convert a char value to money. The char value "
                                "has incorrect syntax."));
    }
    QVERIFY_THROWS_EXCEPTION(
        DbError,
        gw().execute(QStringLiteral("INSERT INTO Build_FIle..ESOA_ER (FixedFee) VALUES ('abc')")));
    QVERIFY_THROWS_EXCEPTION(
        DbError,
        gw().execute(QStringLiteral("INSERT INTO Build_FIle..ESOA_ER (FixedFee) VALUES (300000)")));
    QVERIFY_THROWS_EXCEPTION(
        DbError, gw().execute(QStringLiteral(
                     "INSERT INTO Build_FIle..ESOA_ER_LINK (SortOrder) VALUES (40000)")));
    gw().execute(
        QStringLiteral("INSERT INTO Build_FIle..ESOA_ER_LINK (SortOrder) VALUES (-32768)"));
}

void TestStatements::textLongerThanItsColumnIsRefused() {
    QVERIFY_THROWS_EXCEPTION(DbError, gw().insertRow(QStringLiteral("Build_FIle..ESOA_ER"),
                                                     {"Code"}, {QString(51, u'x')}));
    gw().insertRow(QStringLiteral("Build_FIle..ESOA_ER"), {"Code"}, {QString(50, u'x')});
}

QTEST_MAIN(TestStatements)
#include "tst_statements.moc"

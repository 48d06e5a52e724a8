// The table and category choice with its routing, the start-up loads, the mapping list and the
// reference item click, on the real screen and an embedded database.
#include "ScreenFixture.h"

#include "ui/screen/MainScreen.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/Twips.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TestReferenceSelection : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startUpOpensOnTheErTableWithItsFirstCategory();
    void routing_data();
    void routing();
    void anEmptyCategoryListsTheWholeTable();
    void aFailureInACategoryClickIsShown();
    void switchingTablesAppliesTheFirstCategory();
    void switchingToAMissingTableShowsThreePairsOfMessages();
    void mappingListStatementAndClick();
    void itemClickInProcedureModeWithAutoSearch();
    void itemClickInInventoryModeWithAutoSearch();
    void itemClickWithoutAutoSearch();
    void itemClickOnListsWithoutItsColumns();
    void itemClickOnTheEmptyRowOfAFailedLoad();

private:
    // The part under test and the scenes the tests set, declared as every screen test declares
    // them (alike on purpose).
    ReferenceSide& reference() { return m_screen->reference(); }
    void showCategory(const QString& table, const QString& category) {
        c().lblESOATableName->setText(table);
        TextTable t;
        t.columns << QStringLiteral("Category");
        t.rows << QStringList{category};
        c().GridCat->bind(t);
    }
    // Loads the reference items of a table and makes the row with `code` current.
    void selectItem(const QString& table, const QString& code) {
        c().lblESOATableName->setText(table);
        reference().LoadReferenceItems();
        for (int r = 1; r < c().Grid1->rows(); ++r)
            if (c().Grid1->textMatrix(r, 1) == code)
                c().Grid1->setRow(r);
        QCOMPARE(c().Grid1->textMatrix(c().Grid1->row(), 1), code);
    }
};

void TestReferenceSelection::init() {
    openScreen();
}

void TestReferenceSelection::cleanup() {
    m_screen.reset();
}

void TestReferenceSelection::startUpOpensOnTheErTableWithItsFirstCategory() {
    m_screen->Form_Load();
    QVERIFY(m_prompter.shown.isEmpty());
    const QStringList log = gw().log();
    QCOMPARE(
        log.mid(0, 5),
        (QStringList{
            "SELECT DISTINCT(Category) FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK) WHERE "
            "1=1 ",
            "SELECT * FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK) WHERE 1=1 ",
            "SELECT [RevenueID],[ExamTableName],[IDFieldName],[ExamFieldName],[SectionIDFieldName],"
            "LocationID  FROM [Build_FIle].[dbo].[tbRevenues] WITH (NOLOCK) WHERE 1=1 ",
            "select RevenueID,itemname from Build_FIle..tbcorevenuecode WITH (NOLOCK)  where "
            "Recordstatus='A'  AND (LocationID IS NOT NULL AND LocationID <> '')ORDER BY itemname",
            "SELECT DISTINCT(Category) FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE "
            "1=1 "}));
    QCOMPARE(log[6],
             QStringLiteral("SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1 "));
    QVERIFY(c().optTable[1]->isChecked());
    QVERIFY(!c().optTable[0]->isChecked());
    QCOMPARE(c().lblESOATableName->text(), QStringLiteral("ESOA_ER"));
    QCOMPARE(c().GridCat->rows(), 7);
    const QString first = c().GridCat->textMatrix(1, 0);
    QCOMPARE(c().txtAreaCat->text(), first);
    QVERIFY(c().Grid1->rows() > 2);
    for (int r = 1; r < c().Grid1->rows(); ++r)
        QCOMPARE(c().Grid1->textMatrix(r, 2), first);
    QVERIFY(c().GridRev->rows() > 10);
    QVERIFY(c().GridRevCode->rows() > 2);
    QCOMPARE(c().GridMap->textMatrix(0, 0), QString()); // no links listed yet
    QCOMPARE(c().cmdInst->text(), QStringLiteral("<-Click Category."));
    QCOMPARE(QPoint(twips::left(c().cmdInst), twips::top(c().cmdInst)), QPoint(6240, 1080));
}

void TestReferenceSelection::routing_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("revenue");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("examField"); // "kept": the earlier route stays
    const char* const kept = "kept";
    struct Row {
        const char *table, *category, *type, *revenue, *section, *exam;
    };
    const Row rows[] = {
        {"ESOA_ITEM", "Medicine", "INV", "PH", "", kept},
        {"ESOA_ITEM", "LaboratoryAndDiagnostic", "PROC", "LB", "", "LabExam"},
        {"ESOA_ITEM", "MedicalSupplies", "INV", "PH", "", kept},
        {"ESOA_ITEM", "OperatingRoomFees", "PROC", "", "OR", "OtherRevenue"},
        {"ESOA_ITEM", "RoomAndBoard", "PROC", "", "RA", "OtherRevenue"},
        {"ESOA_ITEM", "ProfessionalFee", "PROC", "", "", kept},
        {"ESOA_ITEM", "", "PROC", "", "", kept},
        {"ESOA_ITEM", "Therapeutics", "PROC", "", "", kept},
        {"ESOA_ER", "Therapeutics", "INV", "PH", "", kept},
        {"ESOA_ER", "Imaging", "PROC", "XR", "", "XRayExam"},
        {"ESOA_ER", "Laboratory", "PROC", "LB", "", "LabExam"},
        {"ESOA_ER", "ED Service", "PROC", "", "ER", "OtherRevenue"},
        {"ESOA_ER", "ED Consultation", "PROC", "", "ER", "OtherRevenue"},
        {"ESOA_ER", "laboratory", "PROC", "", "", "OtherRevenue"},
        {"ESOA_ER", "Medicine", "PROC", "", "", "OtherRevenue"},
        {"ESOA_ER", "CHILDREN'S", "PROC", "", "", "OtherRevenue"},
    };
    for (const Row& r : rows)
        QTest::addRow("%s %s", r.table, r.category)
            << r.table << r.category << r.type << r.revenue << r.section << r.exam;
}

void TestReferenceSelection::routing() {
    QFETCH(QString, table);
    QFETCH(QString, category);
    QFETCH(QString, type);
    QFETCH(QString, revenue);
    QFETCH(QString, section);
    QFETCH(QString, examField);
    // An earlier route that a category may keep.
    c().lblExamFieldName->setText(QStringLiteral("LabExam"));
    c().lblTable->setText(QStringLiteral("BUILD_FILE..tbcoLabExam"));
    c().lblIDFieldName->setText(QStringLiteral("LabExamID"));
    c().txtSOADesc->setText(QString());
    showCategory(table, category);
    c().GridCat->setRow(1);
    gw().clearLog();
    m_screen->reference().GridCat_Click();
    QCOMPARE(c().txtAreaCat->text(), category);
    QCOMPARE(c().txtType->text(), type);
    QCOMPARE(c().txtRevID->text(), revenue);
    QCOMPARE(c().txtSectionID->text(), section);
    QCOMPARE(c().optInventory[0]->isChecked(), type == u"INV");
    const QString exam = examField == u"kept" ? QStringLiteral("LabExam") : examField;
    QCOMPARE(c().lblExamFieldName->text(), exam);
    QCOMPARE(c().lblIDFieldName->text(), exam + QStringLiteral("ID"));
    const QString expectedTable = type == u"INV" ? QStringLiteral("Inventory..InvMaster")
                                                 : QStringLiteral("BUILD_FILE..tbco") + exam;
    QCOMPARE(c().lblTable->text(), expectedTable);
    // The items of the category, then the hospital search of the new route.
    const QString items = QStringLiteral("SELECT * FROM [Build_FIle].[dbo].[") + table +
                          QStringLiteral("] WITH (NOLOCK) WHERE 1=1 ");
    const QString filtered =
        category.isEmpty()
            ? items
            : items + QStringLiteral(" AND Category='") +
                  QString(category).replace(QStringLiteral("'"), QStringLiteral("''")) +
                  QStringLiteral("'  ");
    QVERIFY2(gw().log().contains(filtered), qPrintable(gw().log().join(u'\n')));
    QString search;
    if (type == u"INV")
        search = QStringLiteral(" SELECT TOP 500 A.ItemID ");
    else
        search = QStringLiteral(
                     "SELECT %1ID,%1 FROM  BUILD_FILE..tbco%1 WITH (NOLOCK) WHERE Status='A' %2")
                     .arg(exam, section.isEmpty()
                                    ? QString()
                                    : QStringLiteral(" AND OtherSectionID  = '%1'  ").arg(section));
    QVERIFY2(gw().log().last().startsWith(search), qPrintable(gw().log().last()));
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(c().cmdInst->text(), QStringLiteral("<-Search and Select PhilHealth Item."));
}

void TestReferenceSelection::anEmptyCategoryListsTheWholeTable() {
    gw().execute(
        QStringLiteral("INSERT INTO Build_FIle..ESOA_ER (Code, Category) VALUES ('N1', NULL)"));
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    reference().LoadCategories();
    int empty = 0;
    for (int r = 1; r < c().GridCat->rows(); ++r)
        if (c().GridCat->textMatrix(r, 0).isEmpty())
            empty = r;
    QVERIFY(empty > 0);
    c().GridCat->setRow(empty);
    reference().GridCat_Click();
    QCOMPARE(c().txtAreaCat->text(), QString());
    QCOMPARE(c().Grid1->rows() - 1,
             countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER")));
}

void TestReferenceSelection::aFailureInACategoryClickIsShown() {
    c().GridCat->setCols(0);
    c().cmdInst->setText(QStringLiteral("before"));
    reference().GridCat_Click();
    QCOMPARE(m_prompter.texts(), QStringList{"Subscript out of range"});
    QCOMPARE(c().cmdInst->text(), QStringLiteral("before"));
}

void TestReferenceSelection::switchingTablesAppliesTheFirstCategory() {
    m_screen->Form_Load();
    QTest::mouseClick(c().optTable[0], Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(c().lblESOATableName->text(), QStringLiteral("ESOA_ITEM"));
    const QString first = c().GridCat->textMatrix(1, 0);
    QCOMPARE(c().txtAreaCat->text(), first);
    for (int r = 1; r < c().Grid1->rows(); ++r)
        QCOMPARE(c().Grid1->textMatrix(r, 2), first);
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestReferenceSelection::switchingToAMissingTableShowsThreePairsOfMessages() {
    gw().execute(QStringLiteral("DROP TABLE Build_FIle..ESOA_ITEM"));
    c().optTable[1]->setChecked(true);
    m_prompter.shown.clear();
    c().optTable[0]->setChecked(true);
    const QStringList pair = {"no such table: Build_FIle.ESOA_ITEM",
                              "Create tables under Maintenance tab."};
    QCOMPARE(m_prompter.texts().mid(0, 6), pair + pair + pair);
    QCOMPARE(c().lblESOATableName->text(), QStringLiteral("ESOA_ITEM"));
}

void TestReferenceSelection::mappingListStatementAndClick() {
    m_screen->Form_Load();
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    c().txtESOACode->setText(QStringLiteral("ER0001"));
    gw().clearLog();
    m_screen->mappings().LoadMappings();
    QCOMPARE(
        gw().log(),
        QStringList{
            " SELECT TOP 1000 [ID]       ,[Code]       ,[Category]       ,[Description]       "
            ",[RevenueID]       ,[SectionID]       ,[ItemID]       ,[ItemDesc]       ,[FixedFee]  "
            "     ,[ChargingUnit]       ,[InvOrProc]       ,[SortOrder]   FROM "
            "[Build_FIle].[dbo].[ESOA_ER_LINK] WITH (NOLOCK) WHERE Code='ER0001' "});
    QCOMPARE(c().GridMap->rows(), 2);
    QStringList header;
    for (int col = 0; col < c().GridMap->cols(); ++col)
        header << c().GridMap->textMatrix(0, col);
    QCOMPARE(header, (QStringList{"ID", "Code", "Category", "Description", "RevenueID", "SectionID",
                                  "ItemID", "ItemDesc", "FixedFee", "ChargingUnit", "InvOrProc",
                                  "SortOrder"}));
    QVERIFY(c().GridMap->isColumnHidden(0));
    QCOMPARE(c().GridMap->columnWidth(7), twips::toPixels(3000));
    QCOMPARE(c().GridMap->row(), 1);
    // A missing link table: the two messages and an empty list.
    c().lblESOATableName->setText(QStringLiteral("ESOA_NONE"));
    m_screen->mappings().LoadMappings();
    QCOMPARE(m_prompter.texts(), (QStringList{"no such table: Build_FIle.ESOA_NONE_LINK",
                                              "Create tables under Maintenance tab."}));
    QCOMPARE(c().GridMap->rows(), 2);
    // A click on the list hides the pointer and changes nothing else.
    const int logged = gw().log().size();
    c().GridMap->setRow(1);
    m_screen->mappings().GridMap_Click();
    QVERIFY(c().cmdInst->isHidden());
    QCOMPARE(gw().log().size(), logged);
}

void TestReferenceSelection::itemClickInProcedureModeWithAutoSearch() {
    m_screen->hospital().SetItemMode(false);
    c().lblExamFieldName->setText(QStringLiteral("LabExam"));
    c().lblIDFieldName->setText(QStringLiteral("LabExamID"));
    c().lblTable->setText(QStringLiteral("BUILD_FILE..tbcoLabExam"));
    c().txtGeneric->setText(QStringLiteral("kept"));
    c().txtVALTORItemID->setText(QStringLiteral("old"));
    selectItem(QStringLiteral("ESOA_ER"), QStringLiteral("ER0001"));
    gw().clearLog();
    reference().Grid1_Click();
    QCOMPARE(c().txtESOACode->text(), QStringLiteral("ER0001"));
    QCOMPARE(c().txtESOADesc->text(), QStringLiteral("Paracetamol 150 mg/mL ampule"));
    QCOMPARE(c().txtFixedFee->text(), QStringLiteral("25"));
    QCOMPARE(c().txtChargingUnit->text(), QStringLiteral("per ampule"));
    QCOMPARE(c().txtVALTORItemID->text(), QString());
    QCOMPARE(c().txtDesc->text(), QStringLiteral("Paracetamol 150 mg/mL ampule"));
    QCOMPARE(c().txtGeneric->text(), QStringLiteral("kept"));
    QCOMPARE(c().Grid1->toolTip(), QStringLiteral("Paracetamol 150 mg/mL ampule"));
    QCOMPARE(gw().log().size(), 2);
    QVERIFY(gw().log()[0].endsWith(QStringLiteral("_LINK] WITH (NOLOCK) WHERE Code='ER0001' ")));
    QCOMPARE(gw().log()[1],
             QStringLiteral("SELECT LabExamID,LabExam FROM  BUILD_FILE..tbcoLabExam WITH "
                            "(NOLOCK) WHERE Status='A'  AND LabExam  like '%Paracetamol 150 "
                            "mg/mL ampule%'  "));
    QCOMPARE(c().GridMap->rows(), 2); // the sample's link of ER0001
    QCOMPARE(c().cmdInst->text(), QStringLiteral("Select Revenue->"));
}

void TestReferenceSelection::itemClickInInventoryModeWithAutoSearch() {
    m_screen->hospital().SetItemMode(true);
    c().txtDesc->setText(QStringLiteral("kept"));
    selectItem(QStringLiteral("ESOA_ER"), QStringLiteral("ER0004"));
    reference().Grid1_Click();
    QCOMPARE(c().txtGeneric->text(), QStringLiteral("Ceftriaxone"));
    QCOMPARE(c().txtDesc->text(), QStringLiteral("kept"));
    QVERIFY(gw().log().last().contains(QStringLiteral(" AND GenericName like '%Ceftriaxone%'  ")));
    // A description that starts with a blank has an empty first word.
    c().Grid1->setTextMatrix(c().Grid1->row(), 3, QStringLiteral(" Ceftriaxone 1 g"));
    reference().Grid1_Click();
    QCOMPARE(c().txtGeneric->text(), QString());
}

// Each of the item clicks sets its scene and asserts in full, so that a test reads on its own: they
// are alike on purpose.
void TestReferenceSelection::itemClickWithoutAutoSearch() {
    m_screen->hospital().SetItemMode(true);
    c().chkAutoSearch->setChecked(false);
    c().txtGeneric->setText(QStringLiteral("amox"));
    c().txtDesc->setText(QStringLiteral("x"));
    selectItem(QStringLiteral("ESOA_ER"), QStringLiteral("ER0004"));
    gw().clearLog();
    reference().Grid1_Click();
    QCOMPARE(c().txtGeneric->text(), QStringLiteral("amox"));
    QCOMPARE(c().txtDesc->text(), QStringLiteral("x"));
    QCOMPARE(gw().log().size(), 2); // the links, then the search all the same
    QVERIFY(gw().log()[1].contains(QStringLiteral("GenericName like '%amox%'")));
    m_screen->hospital().SetItemMode(false);
    c().lblExamFieldName->setText(QStringLiteral("LabExam"));
    c().lblIDFieldName->setText(QStringLiteral("LabExamID"));
    c().lblTable->setText(QStringLiteral("BUILD_FILE..tbcoLabExam"));
    reference().Grid1_Click();
    QCOMPARE(c().txtDesc->text(), QStringLiteral("x"));
}

void TestReferenceSelection::itemClickOnListsWithoutItsColumns() {
    c().txtESOACode->setText(QStringLiteral("kept"));
    reference().Grid1_Click(); // the grid as designed: two columns
    QCOMPARE(c().txtESOACode->text(), QStringLiteral("kept"));
    QVERIFY(gw().log().isEmpty());
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestReferenceSelection::itemClickOnTheEmptyRowOfAFailedLoad() {
    m_screen->hospital().SetItemMode(true);
    selectItem(QStringLiteral("ESOA_ER"), QStringLiteral("ER0004"));
    c().lblESOATableName->setText(QStringLiteral("ESOA_NONE"));
    reference().LoadReferenceItems();
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    m_prompter.shown.clear();
    c().txtESOACode->setText(QStringLiteral("old"));
    c().Grid1->setRow(1);
    gw().clearLog();
    reference().Grid1_Click();
    QCOMPARE(c().txtESOACode->text(), QString());
    QCOMPARE(c().txtESOADesc->text(), QString());
    QVERIFY(gw().log()[0].endsWith(QStringLiteral("WHERE Code='' ")));
    QCOMPARE(gw().log().size(), 2);
    QVERIFY(m_prompter.shown.isEmpty());
}

QTEST_MAIN(TestReferenceSelection)
#include "tst_referenceselection.moc"

// The hospital side on the real screen and an embedded database: the searches with their exact
// statements and messages, the revenue lists and the routing their clicks set, the item mode and
// taking over a hospital item.
#include "ScreenFixture.h"

#include "ui/screen/MainScreen.h"
#include "ui/widgets/FlexGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TestHospitalSide : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void inventorySearchStatementAndLimit();
    void inventorySearchFiltersQuotedWithWildcards();
    void inventorySearchFailureSaysLoadInventory();
    void procedureSearchNeedsARoute();
    void procedureSearchStatementWithNameAndSection();
    void procedureSearchFailureShowsTheStatement();
    void otherItemModesSendNothing();
    void aRefillKeepsTheUsersPlace();
    void enterInTheNameBoxSearchesAndPointsOn();

    void revenueListsAndTheirStatements();
    void revenueCodesFollowTheItemMode();
    void aMissingRevenueTableShowsTwoMessages();
    void revenueClickRoutesTheProcedureSearch();
    void revenueCodeClickByItemMode();
    void clicksOnListsWithoutTheirColumnsDoNothing();

    void itemModeShowsItsFields();
    void resetEmptiesTheWorkArea();
    void takingOverAHospitalItem();
    void useCopiesTheDescription();

private:
    // The part under test and the scenes the tests set, declared as every screen test declares
    // them (alike on purpose).
    HospitalSide& hospital() { return m_screen->hospital(); }
    void procedureRoute(const QString& idField, const QString& nameField, const QString& table) {
        c().txtType->setText(QStringLiteral("PROC"));
        c().lblIDFieldName->setText(idField);
        c().lblExamFieldName->setText(nameField);
        c().lblTable->setText(table);
    }
};

void TestHospitalSide::init() {
    openScreen();
}

void TestHospitalSide::cleanup() {
    m_screen.reset();
}

static const char* const inventoryStatement =
    " SELECT TOP 500 A.ItemID , A.ItemName + ' - ' + A.ItemDesc AS Description,B.GenericName,   "
    "CONVERT(DECIMAL(15,2),ListCost) AS ListCost     FROM Inventory..tbInvMaster A  WITH (NOLOCK)  "
    " "
    " LEFT OUTER JOIN inventory..tbForGeneric B ON a.GenericID=b.GenericID  WHERE  a.itemstatus = "
    "0 ";

void TestHospitalSide::inventorySearchStatementAndLimit() {
    c().txtType->setText(QStringLiteral("INV"));
    hospital().SearchHospitalItems();
    QCOMPARE(gw().log(), QStringList{QLatin1String(inventoryStatement) + " order by a.ItemName"});
    QCOMPARE(c().Grid2->rows(), 501);
    QCOMPARE(c().Grid2->textMatrix(0, 1), QStringLiteral("Description"));
    QCOMPARE(c().lblTable->text(), QStringLiteral("Inventory..InvMaster"));
    // The 501st item by name is never listed.
    const TextTable all = gw().query(QStringLiteral(
        "SELECT ItemID FROM Inventory..tbInvMaster WHERE itemstatus = 0 ORDER BY ItemName"));
    QVERIFY(all.rows.size() > 500);
    QCOMPARE(c().Grid2->textMatrix(500, 0), all.rows[499][0]);
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestHospitalSide::inventorySearchFiltersQuotedWithWildcards() {
    c().txtType->setText(QStringLiteral("INV"));
    c().txtDesc->setText(QStringLiteral("o'brien%"));
    c().txtGeneric->setText(QStringLiteral("para_etamol"));
    hospital().SearchHospitalItems();
    QCOMPARE(gw().log().last(), QLatin1String(inventoryStatement) +
                                    " AND ItemName like '%o''brien%%'   AND GenericName like "
                                    "'%para_etamol%'   order by a.ItemName");
    QCOMPARE(c().Grid2->rows(), 1);
    c().txtDesc->setText(QStringLiteral("biogesic"));
    hospital().SearchHospitalItems();
    QVERIFY(c().Grid2->rows() > 2);
    for (int r = 1; r < c().Grid2->rows(); ++r)
        QCOMPARE(c().Grid2->textMatrix(r, 2), QStringLiteral("PARACETAMOL"));
}

void TestHospitalSide::inventorySearchFailureSaysLoadInventory() {
    gw().execute(QStringLiteral("DROP TABLE Inventory..tbForGeneric"));
    c().txtType->setText(QStringLiteral("INV"));
    c().lblTable->setText(QStringLiteral("BUILD_FILE..tbcoLabExam"));
    hospital().SearchHospitalItems();
    QCOMPARE(m_prompter.texts(),
             QStringList{"LoadInventory no such table: inventory.tbForGeneric"});
    QCOMPARE(m_prompter.shown[0].icon, Prompter::Icon::None);
    QCOMPARE(c().Grid2->rows(), 2);
    QCOMPARE(c().lblTable->text(), QStringLiteral("Inventory..InvMaster"));
}

void TestHospitalSide::procedureSearchNeedsARoute() {
    c().txtType->setText(QStringLiteral("PROC"));
    hospital().SearchHospitalItems();
    QCOMPARE(m_prompter.texts(), QStringList{"Search & Select VALTOR Item."});
    QVERIFY(gw().log().isEmpty());
    QCOMPARE(c().Grid2->rows(), 2);
}

void TestHospitalSide::procedureSearchStatementWithNameAndSection() {
    procedureRoute(QStringLiteral("OtherRevenueID"), QStringLiteral("OtherRevenue"),
                   QStringLiteral("BUILD_FILE..tbcoOtherRevenue"));
    c().txtSectionID->setText(QStringLiteral("ER"));
    hospital().SearchHospitalItems();
    QCOMPARE(
        gw().log().last(),
        QStringLiteral("SELECT OtherRevenueID,OtherRevenue FROM  BUILD_FILE..tbcoOtherRevenue WITH "
                       "(NOLOCK) WHERE Status='A'  AND OtherSectionID  = 'ER'  "));
    const int section = c().Grid2->rows();
    QVERIFY(section > 10);
    QCOMPARE(c().Grid2->textMatrix(0, 0), QStringLiteral("OtherRevenueID"));
    // The same search by name instead, asserted in full again (alike on purpose).
    c().txtSectionID->clear();
    c().txtDesc->setText(QStringLiteral("fee"));
    hospital().SearchHospitalItems();
    QCOMPARE(
        gw().log().last(),
        QStringLiteral("SELECT OtherRevenueID,OtherRevenue FROM  BUILD_FILE..tbcoOtherRevenue WITH "
                       "(NOLOCK) WHERE Status='A'  AND OtherRevenue  like '%fee%'  "));
    for (int r = 1; r < c().Grid2->rows(); ++r)
        QVERIFY(c().Grid2->textMatrix(r, 1).contains(QStringLiteral("fee"), Qt::CaseInsensitive));
}

void TestHospitalSide::procedureSearchFailureShowsTheStatement() {
    procedureRoute(QStringLiteral("LabExamID"), QStringLiteral("LabExam"),
                   QStringLiteral("Inventory..InvMaster"));
    hospital().SearchHospitalItems();
    QCOMPARE(m_prompter.texts(),
             QStringList{"no such table: Inventory.InvMaster SELECT LabExamID,LabExam FROM  "
                         "Inventory..InvMaster WITH (NOLOCK) WHERE Status='A' "});
    QCOMPARE(c().Grid2->rows(), 2);
}

void TestHospitalSide::otherItemModesSendNothing() {
    c().lblTable->setText(QStringLiteral("x"));
    for (const char* type : {"", "inv", "Proc"}) {
        c().txtType->setText(QLatin1String(type));
        hospital().SearchHospitalItems();
    }
    QVERIFY(gw().log().isEmpty());
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(c().lblTable->text(), QStringLiteral("x"));
    QCOMPARE(c().Grid2->rows(), 2);
}

void TestHospitalSide::aRefillKeepsTheUsersPlace() {
    c().txtType->setText(QStringLiteral("INV"));
    hospital().SearchHospitalItems();
    c().Grid2->setRow(120);
    c().Grid2->setTopRow(100);
    hospital().SearchHospitalItems();
    QCOMPARE(c().Grid2->row(), 120);
    QCOMPARE(c().Grid2->topRow(), 100);
    // A shorter result keeps the grid's own place.
    c().txtDesc->setText(QStringLiteral("ceftriaxone"));
    hospital().SearchHospitalItems();
    QVERIFY(c().Grid2->rows() < 120);
    QVERIFY(c().Grid2->row() < c().Grid2->rows());
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestHospitalSide::enterInTheNameBoxSearchesAndPointsOn() {
    c().txtType->setText(QStringLiteral("INV"));
    c().txtDesc->setFocus();
    QTest::keyClicks(c().txtDesc, QStringLiteral("syringe"));
    QVERIFY(gw().log().isEmpty());
    QTest::keyClick(c().txtDesc, Qt::Key_Return);
    QCOMPARE(gw().log().size(), 1);
    QVERIFY(gw().log()[0].contains(QStringLiteral(" AND ItemName like '%syringe%'  ")));
    QCOMPARE(c().cmdInst->text(), QStringLiteral("<-Select VALTOR Item"));
    c().cmdPreview->click();
    QCOMPARE(gw().log().size(), 2);
}

void TestHospitalSide::revenueListsAndTheirStatements() {
    hospital().LoadRevenues();
    QCOMPARE(gw().log(),
             QStringList{"SELECT [RevenueID],[ExamTableName],[IDFieldName],[ExamFieldName],"
                         "[SectionIDFieldName],LocationID  FROM [Build_FIle].[dbo].[tbRevenues] "
                         "WITH (NOLOCK) WHERE 1=1 "});
    QCOMPARE(c().GridRev->cols(), 6);
    QCOMPARE(c().GridRev->textMatrix(1, 0), QStringLiteral("LB"));
}

void TestHospitalSide::revenueCodesFollowTheItemMode() {
    hospital().SetItemMode(true);
    QCOMPARE(gw().log().last(),
             QStringLiteral(
                 "select RevenueID,itemname from Build_FIle..tbcorevenuecode WITH (NOLOCK)  "
                 "where Recordstatus='A'  AND (LocationID IS NOT NULL AND LocationID <> '')ORDER "
                 "BY itemname"));
    QCOMPARE(c().GridRevCode->rows(), 5);
    QCOMPARE(c().GridRevCode->textMatrix(1, 1), QStringLiteral("CENTRAL SUPPLY ROOM"));
    hospital().SetItemMode(false);
    QCOMPARE(gw().log().last(),
             QStringLiteral(
                 "select RevenueID,itemname from Build_FIle..tbcorevenuecode WITH (NOLOCK)  "
                 "where Recordstatus='A'  AND (LocationID IS NULL OR LocationID = '')ORDER BY "
                 "itemname"));
    QVERIFY(c().GridRevCode->rows() > 10);
    // A type that differs only in case is procedure mode for the location rule.
    c().txtType->setText(QStringLiteral("inv"));
    hospital().LoadRevenueCodes();
    QVERIFY(gw().log().last().contains(QStringLiteral("LocationID IS NULL")));
}

void TestHospitalSide::aMissingRevenueTableShowsTwoMessages() {
    gw().execute(QStringLiteral("DROP TABLE Build_FIle..tbRevenues"));
    gw().execute(QStringLiteral("DROP TABLE Build_FIle..tbcorevenuecode"));
    c().GridRev->setCols(5); // as the load step sets it
    hospital().LoadRevenues();
    hospital().LoadRevenueCodes();
    QCOMPARE(m_prompter.texts(), (QStringList{"no such table: Build_FIle.tbRevenues",
                                              "Create tables under Maintenance tab.",
                                              "no such table: Build_FIle.tbcorevenuecode",
                                              "Create tables under Maintenance tab."}));
    QCOMPARE(c().GridRev->rows(), 2);
    // A click on the empty row left behind routes to nothing, and the search says so.
    c().txtType->setText(QStringLiteral("PROC"));
    c().GridRev->setRow(1);
    m_prompter.shown.clear();
    hospital().GridRev_Click();
    QCOMPARE(c().txtRevID->text(), QString());
    QCOMPARE(c().lblTable->text(), QStringLiteral("BUILD_FILE.."));
    QCOMPARE(c().lblIDFieldName->text(), QString());
    QCOMPARE(m_prompter.texts(), QStringList{"Search & Select VALTOR Item."});
}

// The routing of a click is asserted in full here as in the reference side's tests, so that each
// reads on its own (alike on purpose).
void TestHospitalSide::revenueClickRoutesTheProcedureSearch() {
    hospital().LoadRevenues();
    c().txtType->setText(QStringLiteral("PROC"));
    c().txtSectionID->setText(QStringLiteral("ER"));
    c().GridRev->setRow(2); // XR
    hospital().GridRev_Click();
    QCOMPARE(c().txtRevID->text(), QStringLiteral("XR"));
    QCOMPARE(c().lblTable->text(), QStringLiteral("BUILD_FILE..tbcoXRayExam"));
    QCOMPARE(c().lblIDFieldName->text(), QStringLiteral("XRayExamID"));
    QCOMPARE(c().lblExamFieldName->text(), QStringLiteral("XRayExam"));
    QCOMPARE(c().txtSectionID->text(), QString());
    QCOMPARE(gw().log().last(),
             QStringLiteral("SELECT XRayExamID,XRayExam FROM  BUILD_FILE..tbcoXRayExam "
                            "WITH (NOLOCK) WHERE Status='A' "));
    QCOMPARE(c().cmdInst->text(), QStringLiteral("<-Search VALTOR Item"));
}

void TestHospitalSide::revenueCodeClickByItemMode() {
    hospital().SetItemMode(false);
    c().lblTable->setText(QStringLiteral("BUILD_FILE..tbcoLabExam"));
    int er = 0;
    for (int r = 1; r < c().GridRevCode->rows(); ++r)
        if (c().GridRevCode->textMatrix(r, 0) == u"ER")
            er = r;
    QVERIFY(er > 0);
    c().GridRevCode->setRow(er);
    hospital().GridRevCode_Click();
    QCOMPARE(c().txtRevID->text(), QStringLiteral("ER"));
    QCOMPARE(c().txtSectionID->text(), QStringLiteral("ER"));
    QCOMPARE(c().lblTable->text(), QStringLiteral("BUILD_FILE..tbcoOtherRevenue"));
    QCOMPARE(c().lblIDFieldName->text(), QStringLiteral("OtherRevenueID"));
    QCOMPARE(c().lblExamFieldName->text(), QStringLiteral("OtherRevenue"));
    QCOMPARE(
        gw().log().last(),
        QStringLiteral("SELECT OtherRevenueID,OtherRevenue FROM  BUILD_FILE..tbcoOtherRevenue WITH "
                       "(NOLOCK) WHERE Status='A'  AND OtherSectionID  = 'ER'  "));
    // In inventory mode only the revenue ID changes.
    hospital().SetItemMode(true);
    c().txtSectionID->setText(QStringLiteral("keep"));
    c().GridRevCode->setRow(1);
    hospital().GridRevCode_Click();
    QCOMPARE(c().txtRevID->text(), QStringLiteral("CS"));
    QCOMPARE(c().txtSectionID->text(), QStringLiteral("keep"));
    QVERIFY(gw().log().last().contains(QStringLiteral("tbInvMaster")));
}

void TestHospitalSide::clicksOnListsWithoutTheirColumnsDoNothing() {
    TextTable one;
    one.columns << QStringLiteral("RevenueID");
    one.rows << QStringList{QStringLiteral("LB")};
    c().GridRev->bind(one);
    c().txtRevID->setText(QStringLiteral("PH"));
    hospital().GridRev_Click();
    QCOMPARE(c().txtRevID->text(), QStringLiteral("PH"));
    c().Grid2->bind(one);
    c().Grid2->setRow(1);
    emit c().Grid2->gridClicked();
    QVERIFY_THROWS_EXCEPTION(GridError, hospital().Grid2_Click());
    QCOMPARE(c().txtVALTORItemID->text(), QString());
    c().GridRevCode->setCols(0);
    hospital().GridRevCode_Click();
    QVERIFY(gw().log().isEmpty());
}

void TestHospitalSide::itemModeShowsItsFields() {
    c().txtRevID->setText(QStringLiteral("LB"));
    hospital().SetItemMode(false);
    QCOMPARE(c().txtType->text(), QStringLiteral("PROC"));
    QVERIFY(c().txtGeneric->isHidden() && c().lblG->isHidden());
    QVERIFY(c().txtSectionID->isVisible() && c().lblS->isVisible());
    QVERIFY(c().optInventory[1]->isChecked() && !c().optInventory[0]->isChecked());
    QCOMPARE(c().txtRevID->text(), QStringLiteral("LB"));
    c().txtGeneric->setText(QStringLiteral("kept"));
    QTest::mouseClick(c().optInventory[0], Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(c().txtType->text(), QStringLiteral("INV"));
    QVERIFY(c().txtGeneric->isVisible() && c().lblG->isVisible());
    QVERIFY(c().txtSectionID->isHidden() && c().lblS->isHidden());
    QCOMPARE(c().txtRevID->text(), QStringLiteral("PH"));
    QCOMPARE(c().txtGeneric->text(), QStringLiteral("kept"));
    QVERIFY(gw().log().last().contains(QStringLiteral("LocationID IS NOT NULL")));
    // The mode switch does not search.
    for (const QString& s : gw().log())
        QVERIFY(!s.contains(QStringLiteral("tbInvMaster")));
}

void TestHospitalSide::resetEmptiesTheWorkArea() {
    hospital().SetItemMode(false);
    c().Grid1->bind(gw().query(QStringLiteral("SELECT * FROM Build_FIle..ESOA_ER")));
    for (QLineEdit* box :
         {c().txtESOACode, c().txtESOADesc, c().txtVALTORItemID, c().txtVALTORitemDesc,
          c().txtAreaCat, c().txtSectionID, c().txtGeneric, c().txtDesc, c().txtRevID})
        box->setText(QStringLiteral("x"));
    c().lblTable->setText(QStringLiteral("BUILD_FILE..tbcoLabExam"));
    const int logged = gw().log().size();
    hospital().ResetWorkArea();
    QCOMPARE(c().Grid1->rows(), 1);
    QCOMPARE(c().Grid1->textMatrix(0, 1), QString());
    QCOMPARE(c().Grid2->rows(), 1);
    for (QLineEdit* box :
         {c().txtESOACode, c().txtESOADesc, c().txtVALTORItemID, c().txtVALTORitemDesc,
          c().txtAreaCat, c().txtSectionID, c().txtGeneric, c().txtDesc, c().txtRevID})
        QCOMPARE(box->text(), QString());
    QCOMPARE(c().txtType->text(), QStringLiteral("INV"));
    QCOMPARE(c().lblTableName->text(), QString());
    QCOMPARE(c().lblTable->text(), QStringLiteral("BUILD_FILE..tbcoLabExam"));
    // The options and fields still show procedure mode; nothing is reloaded.
    QVERIFY(c().optInventory[1]->isChecked());
    QVERIFY(c().txtSectionID->isVisible());
    QCOMPARE(gw().log().size(), logged);
}

void TestHospitalSide::takingOverAHospitalItem() {
    procedureRoute(QStringLiteral("OtherRevenueID"), QStringLiteral("OtherRevenue"),
                   QStringLiteral("BUILD_FILE..tbcoOtherRevenue"));
    hospital().SearchHospitalItems();
    const QRect cell = c().Grid2->visualRect(c().Grid2->model()->index(1, 1));
    QTest::mouseClick(c().Grid2->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(c().txtVALTORItemID->text(), c().Grid2->textMatrix(2, 0));
    QCOMPARE(c().txtVALTORitemDesc->text(), c().Grid2->textMatrix(2, 1));
    QCOMPARE(c().cmdInst->text(), QStringLiteral("<-Verify and Save Mapping"));
    // The header row, and a row whose first cell is "OtherRevenueID", are passed over.
    c().txtVALTORItemID->setText(QStringLiteral("kept"));
    c().Grid2->setRow(0);
    hospital().Grid2_Click();
    c().Grid2->setTextMatrix(3, 0, QStringLiteral("OtherRevenueID"));
    c().Grid2->setRow(3);
    hospital().Grid2_Click();
    QCOMPARE(c().txtVALTORItemID->text(), QStringLiteral("kept"));
    // The empty row a reset leaves fills both fields with empty text and still points on.
    c().cmdInst->setText(QString());
    c().Grid2->resetForLoad();
    c().Grid2->setRow(1);
    hospital().Grid2_Click();
    QCOMPARE(c().txtVALTORItemID->text(), QString());
    QCOMPARE(c().txtVALTORitemDesc->text(), QString());
    QCOMPARE(c().cmdInst->text(), QStringLiteral("<-Verify and Save Mapping"));
}

void TestHospitalSide::useCopiesTheDescription() {
    c().txtESOADesc->setText(QStringLiteral("Chest PA"));
    c().cmdUse->click();
    QCOMPARE(c().txtDesc->text(), QStringLiteral("Chest PA"));
    QVERIFY(gw().log().isEmpty());
}

QTEST_MAIN(TestHospitalSide)
#include "tst_hospitalside.moc"

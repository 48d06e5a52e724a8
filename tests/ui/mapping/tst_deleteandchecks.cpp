// Deleting a link and the two mapped-or-not checks, on the real screen and an embedded
// database: exact statements, marks and codes, failures, and what the user may do while a check
// lets the screen handle its events.
#include "ScreenFixture.h"

#include "core/tsql/SqlText.h"
#include "ui/screen/MainScreen.h"
#include "ui/widgets/FlexGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

const QColor green(0, 255, 0);
const QColor yellow(255, 255, 0);

QString itemId(int i) {
    return QStringLiteral("B%1").arg(i, 7, 10, QChar(u'0'));
}

TextTable hospitalList(int count, int columns = 4) {
    TextTable t;
    t.columns = QStringList{"ItemID", "Description", "GenericName", "ListCost"}.mid(0, columns);
    for (int i = 1; i <= count; ++i)
        t.rows << QStringList{itemId(i), QStringLiteral("ITEM %1").arg(i), "GENERIC", "1.00"}.mid(
            0, columns);
    return t;
}

} // namespace

class TestDeleteAndChecks : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void deleteRemovesTheClickedLink();
    void deleteOnAnEmptyListRemovesNothing();
    void deleteAfterATableSwitchLeavesTheNewTableAlone();
    void aFailingDeleteIsReported();

    void philHealthCheckMarksEachRow();
    void philHealthCheckOnAMissingLinkTable();
    void philHealthCheckFailingMidwayKeepsItsMarks();
    void hospitalCheckMarksAndWritesCodes();
    void hospitalCheckOnAnInventorySearch();
    void hospitalCheckOnProceduresAndHeaderOnly();
    void hospitalCheckOnAMissingLinkTable();
    void apostrophesInCheckedValues();

    void aSecondClickDuringACheckStartsNothing();
    void aListChangedUnderACheckEndsIt_data();
    void aListChangedUnderACheckEndsIt();
    void closingTheScreenEndsACheck();
    void checksGoBeyond32767Rows();

private:
    Mappings& mappings() { return m_screen->mappings(); }
    int links(const QString& table, const QString& where = QStringLiteral("1=1")) {
        return countRows(
            gw(), QStringLiteral("SELECT ID FROM Build_FIle..%1_LINK WHERE %2").arg(table, where));
    }
    // Lists the links of a code, as a click on the PhilHealth item does.
    void listLinks(const QString& table, const QString& code) {
        c().lblESOATableName->setText(table);
        c().txtESOACode->setText(code);
        mappings().LoadMappings();
        gw().clearLog();
    }
    void addLink(const QString& code, const QString& item, const QString& revenue = "PH") {
        gw().execute(QStringLiteral("INSERT INTO Build_FIle..ESOA_ER_LINK (Code, ItemID, "
                                    "RevenueID) VALUES (%1, %2, %3)")
                         .arg(sql::quoted(code), sql::quoted(item), sql::quoted(revenue)));
    }
    int statementsLike(const QString& start) {
        int n = 0;
        for (const QString& s : builtStatements(gw().log()))
            n += s.startsWith(start) ? 1 : 0;
        return n;
    }
};

void TestDeleteAndChecks::init() {
    openScreen();
}

void TestDeleteAndChecks::cleanup() {
    m_screen.reset();
}

void TestDeleteAndChecks::deleteRemovesTheClickedLink() {
    addLink(QStringLiteral("ER0001"), QStringLiteral("10020"));
    listLinks(QStringLiteral("ESOA_ER"), QStringLiteral("ER0001"));
    QCOMPARE(c().GridMap->rows(), 3);
    const QString kept = c().GridMap->textMatrix(1, 0);
    const QString removed = c().GridMap->textMatrix(2, 0);
    c().GridMap->setRow(2);
    emit c().GridMap->gridClicked();
    const int before = links(QStringLiteral("ESOA_ER"));
    gw().clearLog();
    c().cmdDelete->click();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(builtStatements(gw().log())[0],
             QStringLiteral("DELETE FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WHERE ID='") + removed +
                 QStringLiteral("' "));
    QVERIFY(builtStatements(gw().log())[1].startsWith(QStringLiteral(" SELECT TOP 1000 [ID]")));
    QCOMPARE(links(QStringLiteral("ESOA_ER")), before - 1);
    QCOMPARE(links(QStringLiteral("ESOA_ER"), QStringLiteral("ID=") + removed), 0);
    QCOMPARE(c().GridMap->rows(), 2);
    QCOMPARE(c().GridMap->textMatrix(1, 0), kept);
    // Without a click after the load the first link goes.
    c().cmdDelete->click();
    QCOMPARE(links(QStringLiteral("ESOA_ER"), QStringLiteral("ID=") + kept), 0);
}

void TestDeleteAndChecks::deleteOnAnEmptyListRemovesNothing() {
    listLinks(QStringLiteral("ESOA_ER"), QString());
    const int before = links(QStringLiteral("ESOA_ER"));
    gw().clearLog();
    c().cmdDelete->click();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(builtStatements(gw().log())[0],
             QStringLiteral("DELETE FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WHERE ID='' "));
    QCOMPARE(builtStatements(gw().log()).size(), 2);
    QCOMPARE(links(QStringLiteral("ESOA_ER")), before);
}

void TestDeleteAndChecks::deleteAfterATableSwitchLeavesTheNewTableAlone() {
    m_screen->Form_Load(); // opens on ESOA_ER
    listLinks(QStringLiteral("ESOA_ER"), QStringLiteral("ER0001"));
    const QString id = c().GridMap->textMatrix(1, 0);
    QCOMPARE(links(QStringLiteral("ESOA_ITEM"), QStringLiteral("ID=") + id), 1); // same ID there
    const int items = links(QStringLiteral("ESOA_ITEM"));
    c().optTable[0]->click();
    QCOMPARE(c().lblESOATableName->text(), QStringLiteral("ESOA_ITEM"));
    QCOMPARE(c().GridMap->textMatrix(1, 1), QStringLiteral("ER0001")); // the list stays
    gw().clearLog();
    c().cmdDelete->click();
    // The link the user saw is the one removed; the newly chosen link table keeps every row.
    QCOMPARE(builtStatements(gw().log())[0],
             QStringLiteral("DELETE FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WHERE ID='") + id +
                 QStringLiteral("' "));
    QCOMPARE(links(QStringLiteral("ESOA_ITEM")), items);
    QCOMPARE(links(QStringLiteral("ESOA_ER"), QStringLiteral("ID=") + id), 0);
    // The list is reloaded from the table chosen now, and a delete then goes there.
    QVERIFY(builtStatements(gw().log())[1].contains(QStringLiteral("[ESOA_ITEM_LINK]")));
    gw().clearLog();
    c().cmdDelete->click();
    QVERIFY(builtStatements(gw().log())[0].startsWith(
        QStringLiteral("DELETE FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WHERE ID=")));
    QCOMPARE(links(QStringLiteral("ESOA_ITEM")), items);
}

void TestDeleteAndChecks::aFailingDeleteIsReported() {
    listLinks(QStringLiteral("ESOA_ER"), QStringLiteral("ER0001"));
    gw().execute(QStringLiteral("DROP TABLE Build_FIle..ESOA_ER_LINK"));
    c().cmdDelete->click();
    const QString missing = QStringLiteral("no such table: Build_FIle.ESOA_ER_LINK");
    QCOMPARE(m_prompter.texts(),
             (QStringList{missing, missing, "Create tables under Maintenance tab."}));
    QCOMPARE(m_prompter.shown[0].icon, Prompter::Icon::None);
    QCOMPARE(m_prompter.shown[0].title, QStringLiteral("Brevant"));
    QCOMPARE(c().GridMap->rows(), 2);
    QCOMPARE(c().GridMap->textMatrix(1, 0), QString());
}

void TestDeleteAndChecks::philHealthCheckMarksEachRow() {
    addLink(QStringLiteral("ER0001"), QStringLiteral("10020")); // two links: one mark
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    c().txtAreaCat->setText(QStringLiteral("Therapeutics"));
    m_screen->reference().LoadReferenceItems();
    FlexGrid* grid = c().Grid1;
    QVERIFY(grid->rows() > 5);
    gw().clearLog();
    c().cmdCheckIfMapped->click();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(builtStatements(gw().log()).size(), grid->rows() - 1);
    QCOMPARE(builtStatements(gw().log())[0],
             QStringLiteral("SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_ER_LINK] "
                            "WITH (NOLOCK) WHERE Code='") +
                 grid->textMatrix(1, 1) + QStringLiteral("' "));
    for (int r = 1; r < grid->rows(); ++r) {
        const QString code = grid->textMatrix(r, 1);
        const bool mapped = code == u"ER0001" || code == u"ER0004";
        QCOMPARE(grid->cellBackColor(r, 3), mapped ? green : yellow);
        QVERIFY(!grid->cellBackColor(r, 2).isValid());
    }
    // Against the other link table every row is marked anew.
    c().lblESOATableName->setText(QStringLiteral("ESOA_ITEM"));
    c().cmdCheckIfMapped->click();
    for (int r = 1; r < grid->rows(); ++r)
        QCOMPARE(grid->cellBackColor(r, 3), yellow);
    // A list with only its header row asks nothing.
    grid->setRows(1);
    gw().clearLog();
    c().cmdCheckIfMapped->click();
    QVERIFY(builtStatements(gw().log()).isEmpty());
}

void TestDeleteAndChecks::philHealthCheckOnAMissingLinkTable() {
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    m_screen->reference().LoadReferenceItems();
    gw().execute(QStringLiteral("DROP TABLE Build_FIle..ESOA_ER_LINK"));
    gw().clearLog();
    c().cmdCheckIfMapped->click();
    QCOMPARE(m_prompter.texts(), QStringList{"no such table: Build_FIle.ESOA_ER_LINK"});
    QCOMPARE(m_prompter.shown[0].icon, Prompter::Icon::None);
    QCOMPARE(builtStatements(gw().log()).size(), 1); // the check ends at the failure
    QVERIFY(!c().Grid1->cellBackColor(1, 3).isValid());
}

void TestDeleteAndChecks::philHealthCheckFailingMidwayKeepsItsMarks() {
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    m_screen->reference().LoadReferenceItems();
    // Another workstation removes the link table while the first row's mark is shown.
    QTimer::singleShot(
        0, this, [this] { gw().execute(QStringLiteral("DROP TABLE Build_FIle..ESOA_ER_LINK")); });
    c().cmdCheckIfMapped->click();
    QCOMPARE(m_prompter.texts(), QStringList{"no such table: Build_FIle.ESOA_ER_LINK"});
    QCOMPARE(c().Grid1->cellBackColor(1, 3), green); // ER0001
    QVERIFY(!c().Grid1->cellBackColor(2, 3).isValid());
    QVERIFY(!c().Grid1->cellBackColor(3, 3).isValid());
}

void TestDeleteAndChecks::hospitalCheckMarksAndWritesCodes() {
    addLink(QStringLiteral("ER0002"), itemId(1));
    addLink(QStringLiteral("ER0003"), itemId(3), QStringLiteral("CS")); // another revenue code
    gw().execute(QStringLiteral("INSERT INTO Build_FIle..ESOA_ER_LINK (ItemID, RevenueID) VALUES "
                                "('%1', 'PH')")
                     .arg(itemId(4))); // a link without a code
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    c().txtRevID->setText(QStringLiteral("PH"));
    c().Grid2->bind(hospitalList(4));
    gw().clearLog();
    c().cmdCheckIfMapped2->click();
    QVERIFY(m_prompter.shown.isEmpty());
    FlexGrid* grid = c().Grid2;
    QCOMPARE(grid->cols(), 3);
    QCOMPARE(builtStatements(gw().log()).size(), 4);
    QCOMPARE(builtStatements(gw().log())[0],
             QStringLiteral("SELECT TOP 1 Code FROM [Build_FIle].[dbo].[ESOA_ER_LINK]"
                            " WITH (NOLOCK) WHERE RevenueID = 'PH' AND ItemID='") +
                 itemId(1) + QStringLiteral("' "));
    const QColor marks[] = {green, yellow, yellow, green};
    const char* const third[] = {"ER0002", "GENERIC", "GENERIC", ""};
    for (int r = 1; r <= 4; ++r) {
        QCOMPARE(grid->cellBackColor(r, 1), marks[r - 1]);
        QCOMPARE(grid->textMatrix(r, 2), QLatin1String(third[r - 1]));
        QVERIFY(!grid->cellBackColor(r, 0).isValid());
    }
}

void TestDeleteAndChecks::hospitalCheckOnAnInventorySearch() {
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    c().txtType->setText(QStringLiteral("INV"));
    c().txtRevID->setText(QStringLiteral("PH"));
    c().txtDesc->setText(QStringLiteral("PARACETAMOL"));
    m_screen->hospital().SearchHospitalItems();
    FlexGrid* grid = c().Grid2;
    QCOMPARE(grid->cols(), 4);
    QVERIFY(grid->rows() > 3);
    QStringList generics;
    for (int r = 1; r < grid->rows(); ++r)
        generics << grid->textMatrix(r, 2);
    c().cmdCheckIfMapped2->click();
    QCOMPARE(grid->cols(), 3);
    int mapped = 0;
    for (int r = 1; r < grid->rows(); ++r) {
        // 10018 is linked in ESOA_ER_LINK; 10001 only in ESOA_ITEM_LINK.
        const bool linked = grid->textMatrix(r, 0) == u"10018";
        mapped += linked ? 1 : 0;
        QCOMPARE(grid->cellBackColor(r, 1), linked ? green : yellow);
        QCOMPARE(grid->textMatrix(r, 2), linked ? QStringLiteral("ER0001") : generics[r - 1]);
    }
    QCOMPARE(mapped, 1);
}

void TestDeleteAndChecks::hospitalCheckOnProceduresAndHeaderOnly() {
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    c().txtRevID->setText(QStringLiteral("LB"));
    TextTable procedures = hospitalList(0, 2);
    procedures.rows << QStringList{"2001", "Complete Blood Count (CBC)"}
                    << QStringList{"2002", "Urinalysis"};
    c().Grid2->bind(procedures);
    c().cmdCheckIfMapped2->click();
    QCOMPARE(c().Grid2->cols(), 3);
    QCOMPARE(c().Grid2->textMatrix(1, 2), QStringLiteral("ER0042"));
    QCOMPARE(c().Grid2->textMatrix(2, 2), QString());
    QCOMPARE(c().Grid2->cellBackColor(2, 1), yellow);
    c().Grid2->bind(hospitalList(0));
    gw().clearLog();
    c().cmdCheckIfMapped2->click();
    QVERIFY(builtStatements(gw().log()).isEmpty());
    QCOMPARE(c().Grid2->cols(), 3);
}

void TestDeleteAndChecks::hospitalCheckOnAMissingLinkTable() {
    c().lblESOATableName->setText(QStringLiteral("ESOA_ITEM"));
    c().Grid2->bind(hospitalList(3));
    gw().execute(QStringLiteral("DROP TABLE Build_FIle..ESOA_ITEM_LINK"));
    gw().clearLog();
    c().cmdCheckIfMapped2->click();
    QCOMPARE(m_prompter.texts(), QStringList{"no such table: Build_FIle.ESOA_ITEM_LINK"});
    QCOMPARE(builtStatements(gw().log()).size(), 1);
    QCOMPARE(c().Grid2->cols(), 3);
    QVERIFY(!c().Grid2->cellBackColor(1, 1).isValid());
}

void TestDeleteAndChecks::apostrophesInCheckedValues() {
    addLink(QStringLiteral("ER'9"), QStringLiteral("O'Brien"), QStringLiteral("P'H"));
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    c().txtRevID->setText(QStringLiteral("P'H"));
    TextTable items = hospitalList(0);
    items.rows << QStringList{"O'Brien", "x", "g", "1"}
               << QStringList{"x' OR '1'='1", "y", "g", "1"};
    c().Grid2->bind(items);
    gw().clearLog();
    c().cmdCheckIfMapped2->click();
    QVERIFY(m_prompter.shown.isEmpty());
    QVERIFY(builtStatements(gw().log())[0].endsWith(
        QStringLiteral("WHERE RevenueID = 'P''H' AND ItemID='O''Brien' ")));
    QCOMPARE(c().Grid2->textMatrix(1, 2), QStringLiteral("ER'9"));
    QCOMPARE(c().Grid2->cellBackColor(2, 1), yellow);
    TextTable codes;
    codes.columns = QStringList{"ID", "Code", "Category", "Description"};
    codes.rows << QStringList{"1", "ER'9", "", ""} << QStringList{"2", "x' OR '1'='1", "", ""};
    c().Grid1->bind(codes);
    gw().clearLog();
    c().cmdCheckIfMapped->click();
    QVERIFY(builtStatements(gw().log())[0].endsWith(QStringLiteral("WHERE Code='ER''9' ")));
    QCOMPARE(c().Grid1->cellBackColor(1, 3), green);
    QCOMPARE(c().Grid1->cellBackColor(2, 3), yellow);
}

void TestDeleteAndChecks::aSecondClickDuringACheckStartsNothing() {
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    m_screen->reference().LoadReferenceItems();
    c().Grid2->bind(hospitalList(20));
    int clicks = 0;
    QTimer::singleShot(0, this, [&] {
        // While the first rows are marked the user presses both check buttons.
        c().cmdCheckIfMapped2->click();
        c().cmdCheckIfMapped->click();
        ++clicks;
    });
    gw().clearLog();
    c().cmdCheckIfMapped2->click();
    QCOMPARE(clicks, 1);
    QCOMPARE(statementsLike(QStringLiteral("SELECT TOP 1 Code")), 20);
    QCOMPARE(statementsLike(QStringLiteral("SELECT TOP 1 1")), 0);
    for (int r = 1; r <= 20; ++r)
        QCOMPARE(c().Grid2->cellBackColor(r, 1), yellow);
    // Once the check has ended a click starts a new one.
    gw().clearLog();
    c().cmdCheckIfMapped->click();
    QCOMPARE(statementsLike(QStringLiteral("SELECT TOP 1 1")), c().Grid1->rows() - 1);
}

void TestDeleteAndChecks::aListChangedUnderACheckEndsIt_data() {
    QTest::addColumn<int>("change");
    QTest::newRow("reloaded") << 0;
    QTest::newRow("emptied by a category click") << 1;
    QTest::newRow("shortened") << 2;
    QTest::newRow("reference table switched") << 3;
}

void TestDeleteAndChecks::aListChangedUnderACheckEndsIt() {
    QFETCH(int, change);
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    c().txtRevID->setText(QStringLiteral("PH"));
    c().Grid2->bind(hospitalList(50));
    QTimer::singleShot(0, this, [&] {
        switch (change) {
        case 0:
            c().Grid2->bind(hospitalList(60));
            break;
        case 1:
            m_screen->hospital().ResetWorkArea();
            break;
        case 2:
            c().Grid2->setRows(2);
            break;
        case 3:
            c().lblESOATableName->setText(QStringLiteral("ESOA_ITEM"));
            break;
        }
    });
    gw().clearLog();
    c().cmdCheckIfMapped2->click();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(statementsLike(QStringLiteral("SELECT TOP 1 Code")), 1);
    FlexGrid* grid = c().Grid2;
    for (int r = 2; r < grid->rows(); ++r)
        QVERIFY2(!grid->cellBackColor(r, 1).isValid(), qPrintable(QString::number(r)));
    if (change == 0)
        QVERIFY(!grid->cellBackColor(1, 1).isValid()); // the new list carries no mark
}

void TestDeleteAndChecks::closingTheScreenEndsACheck() {
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    c().Grid2->bind(hospitalList(50));
    QTimer::singleShot(0, this, [this] { m_screen->close(); });
    gw().clearLog();
    c().cmdCheckIfMapped2->click();
    QCOMPARE(statementsLike(QStringLiteral("SELECT TOP 1 Code")), 1);
}

void TestDeleteAndChecks::checksGoBeyond32767Rows() {
    const int count = 40000;
    for (int i : {1, 32767, 32768, count})
        addLink(QStringLiteral("ER0%1").arg(i % 1000, 3, 10, QChar(u'0')), itemId(i));
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    c().txtRevID->setText(QStringLiteral("PH"));
    c().Grid2->bind(hospitalList(count));
    c().cmdCheckIfMapped2->click();
    FlexGrid* grid = c().Grid2;
    for (int i : {1, 32767, 32768, count}) {
        QCOMPARE(grid->cellBackColor(i, 1), green);
        QCOMPARE(grid->textMatrix(i, 2), QStringLiteral("ER0%1").arg(i % 1000, 3, 10, QChar(u'0')));
    }
    for (int i : {2, 32766, 32769, count - 1})
        QCOMPARE(grid->cellBackColor(i, 1), yellow);

    TextTable codes;
    codes.columns = QStringList{"ID", "Code", "Category", "Description"};
    for (int i = 1; i <= count; ++i)
        codes.rows << QStringList{QString::number(i), i == count ? "ER0001" : "none", "", ""};
    c().Grid1->bind(codes);
    c().cmdCheckIfMapped->click();
    QCOMPARE(c().Grid1->cellBackColor(count, 3), green);
    QCOMPARE(c().Grid1->cellBackColor(count - 1, 3), yellow);
    QVERIFY(m_prompter.shown.isEmpty());
}

QTEST_MAIN(TestDeleteAndChecks)
#include "tst_deleteandchecks.moc"

// The lists' right-click menus on the real screen: copy, a list saved as CSV, every mapping of
// the table with its status, the coverage dialog, and the checks' result in their tooltips.
// Files are read back by the tests' own CSV reader (and Python's csv module where it is installed).
#include "CsvReadBack.h"
#include "ScreenFixture.h"

#include "ui/widgets/FlexGrid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestListExports : public QObject, public ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void eachListHasItsMenu();
    void copyGivesTheSelectedCellsAsTabs();
    void aListIsSavedAsShown();
    void allMappingsWithTheirStatus();
    void aFileThatCannotBeWrittenIsReported();
    void coverageDialog();
    void checksTellTheirResultInTheTooltip();

private:
    QString path(const QString& name) { return QDir(m_files.path()).filePath(name); }
    static QStringList actionTexts(QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                out << a->text();
        delete menu;
        return out;
    }
    QTemporaryDir m_files;
};

void TestListExports::init() {
    openScreen();
    m_screen->Form_Load();
    m_prompter.shown.clear();
}

void TestListExports::eachListHasItsMenu() {
    ListExports& e = m_screen->listExports();
    const QStringList common{"Copy", "Export list to CSV..."};
    for (FlexGrid* g : {c().GridRev, c().GridRevCode}) {
        QCOMPARE(g->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(actionTexts(e.menuFor(g)), common);
    }
    QCOMPARE(actionTexts(e.menuFor(c().Grid1)), common + QStringList{"Suggest hospital items..."});
    QCOMPARE(actionTexts(e.menuFor(c().Grid2)),
             common + QStringList{"Suggest PhilHealth codes for the listed items..."});
    QCOMPARE(actionTexts(e.menuFor(c().GridMap)),
             common +
                 QStringList({"Export all mappings...", "Links to codes no longer listed...",
                              "List versions...", "Review links...", "History of this link..."}));
    QCOMPARE(actionTexts(e.menuFor(c().GridCat)), common + QStringList{"Coverage by category..."});
}

void TestListExports::copyGivesTheSelectedCellsAsTabs() {
    FlexGrid* g = c().Grid2;
    g->bind(TextTable{{"ItemID", "Description", "GenericName"},
                      {{"007", "GAUZE 4\"x4\"", "-"}, {"10018", "PARACETAMOL\tAMPULE", "X"}}});
    g->setColWidth(1, 0); // hidden: left out
    g->selectAll();
    c().Grid2->setFocus();
    m_screen->listExports().copySelection(g);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("007\t-\r\n10018\tX\r\n"));
    g->setColWidth(1, 2000);
    g->selectionModel()->select(g->model()->index(0, 1), QItemSelectionModel::ClearAndSelect);
    QApplication::setActiveWindow(m_screen.get());
    g->setFocus();
    QTest::keySequence(g, QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("\"GAUZE 4\"\"x4\"\"\"\r\n"));
}

void TestListExports::aListIsSavedAsShown() {
    FlexGrid* g = c().GridMap; // its first column (the ID) is hidden
    c().txtESOACode->setText(QStringLiteral("ER0001"));
    m_screen->mappings().LoadMappings();
    QVERIFY(g->rows() > 1);
    m_prompter.savePaths << path(QStringLiteral("map.csv"));
    m_screen->listExports().exportList(g);
    QCOMPARE(m_prompter.saveDialogs, QStringList{"Export list to CSV: GridMap.csv"});
    const QList<QStringList> read = readCsvBack(path(QStringLiteral("map.csv")));
    const TextTable shown = g->shownTable();
    QCOMPARE(read.size(), g->rows());
    QCOMPARE(read.first(), shown.columns);
    QVERIFY(!read.first().contains(QStringLiteral("ID")));
    for (int r = 1; r < read.size(); ++r)
        QCOMPARE(read[r], shown.rows[r - 1]);
    // A dialog cancelled writes nothing.
    m_screen->listExports().exportList(g);
    QCOMPARE(QDir(m_files.path()).entryList(QDir::Files), QStringList{"map.csv"});
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestListExports::allMappingsWithTheirStatus() {
    gw().execute(QStringLiteral("UPDATE Build_FIle..ESOA_ER SET Description = 'Renamed, \"new\"' "
                                "WHERE Code = 'ER0001'"));
    gw().execute(
        QStringLiteral("INSERT INTO Build_FIle..ESOA_ER_LINK (Code, Category, Description, "
                       "ItemID, ItemDesc, RevenueID) VALUES ('GONE', 'Therapeutics', "
                       "'Old', '007', 'PARAÑAQUE ITEM', 'PH')"));
    const int links =
        int(gw().query(QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK")).rows.size());
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    m_prompter.savePaths << path(QStringLiteral("all.csv"));
    m_screen->listExports().exportAllMappings();
    QVERIFY(m_prompter.shown.isEmpty());
    const QList<QStringList> read = readCsvBack(path(QStringLiteral("all.csv")));
    QCOMPARE(read.size(), links + 1);
    const QStringList header = read.first();
    QCOMPARE(header.mid(header.size() - 4),
             (QStringList{"Status", "Review", "Reviewed by", "Reviewed at"}));
    const int code = int(header.indexOf(QStringLiteral("Code")));
    const int item = int(header.indexOf(QStringLiteral("ItemID")));
    const int desc = int(header.indexOf(QStringLiteral("Description")));
    const int itemDesc = int(header.indexOf(QStringLiteral("ItemDesc")));
    const int status = int(header.indexOf(QStringLiteral("Status")));
    QStringList statuses;
    for (int r = 1; r < read.size(); ++r) {
        const QStringList& row = read[r];
        if (row[code] == u"GONE") {
            QCOMPARE(row[status], QStringLiteral("code not in the list"));
            QCOMPARE(row[item], QStringLiteral("007"));
            QCOMPARE(row[itemDesc], QStringLiteral("PARAÑAQUE ITEM"));
        } else if (row[code] == u"ER0001") {
            QCOMPARE(row[status], QStringLiteral("description changed"));
            QCOMPARE(row[desc], QStringLiteral("Renamed, \"new\""));
        } else {
            statuses << row[status];
            // No link of the sample is reviewed.
            QCOMPARE(row.mid(status + 1), (QStringList{"to review", "", ""}));
        }
    }
    QVERIFY(!statuses.isEmpty());
    QCOMPARE(statuses.count(QStringLiteral("ok")), statuses.size());
}

void TestListExports::aFileThatCannotBeWrittenIsReported() {
    const QString missing = path(QStringLiteral("no/such/folder/all.csv"));
    m_prompter.savePaths << missing;
    m_screen->listExports().exportAllMappings();
    QCOMPARE(m_prompter.shown.size(), 1);
    QVERIFY(m_prompter.texts().first().startsWith(
        QStringLiteral("The file %1 was not written: ").arg(missing)));
    QVERIFY(!QFile::exists(missing));
    // A database failure shows the database's text and writes no file.
    c().lblESOATableName->setText(QStringLiteral("ESOA_NONE"));
    m_prompter.savePaths << path(QStringLiteral("none.csv"));
    m_screen->listExports().exportAllMappings();
    QCOMPARE(m_prompter.texts().last(), QStringLiteral("no such table: Build_FIle.ESOA_NONE_LINK"));
    QVERIFY(!QFile::exists(path(QStringLiteral("none.csv"))));
}

void TestListExports::coverageDialog() {
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    m_prompter.savePaths << path(QStringLiteral("coverage.csv"));
    TextTable seen;
    connect(&m_screen->listExports(), &ListExports::coverageShown, this, [&](QDialog* dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("dlgCoverage"));
        auto* grid = dialog->findChild<FlexGrid*>(QStringLiteral("GridCoverage"));
        QVERIFY(grid);
        seen = grid->shownTable();
        dialog->findChild<QPushButton*>(QStringLiteral("cmdCoverageExport"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("cmdCoverageClose"))->click();
    });
    m_screen->listExports().showCoverage();
    QCOMPARE(seen.columns, (QStringList{"Category", "Items", "Mapped", "Per cent",
                                        "Links not in list", "Approved", "% approved"}));
    QVERIFY(seen.rows.size() >= 2);
    QCOMPARE(seen.rows.last().first(), QStringLiteral("Total"));
    const int items =
        int(gw().query(QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER")).rows.size());
    QCOMPARE(seen.rows.last()[1].toInt(), items);
    QList<QStringList> expected{seen.columns};
    expected << seen.rows;
    QCOMPARE(readCsvBack(path(QStringLiteral("coverage.csv"))), expected);
}

void TestListExports::checksTellTheirResultInTheTooltip() {
    FlexGrid* g = c().Grid2;
    g->bind(TextTable{{"ItemID", "Description", "GenericName", "ListCost"},
                      {{"10018", "a", "", ""}, {"10079", "b", "", ""}, {"NOPE", "c", "", ""}}});
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    c().txtRevID->setText(QStringLiteral("PH"));
    c().cmdCheckIfMapped2->click();
    QCOMPARE(c().cmdCheckIfMapped2->toolTip(), QStringLiteral("2 of 3 listed items mapped (67%)"));
}

QTEST_MAIN(TestListExports)
#include "tst_listexports.moc"

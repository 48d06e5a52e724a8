// The suggestions' windows beside the work on the real screen: where they first open, that they
// keep the place the clerk gives them, "Mapped to" following the links at once, and "Why" in both
// lists, a brand of the imported drug register among them.
#include "ScreenFixture.h"

#include "ui/maintenance/RegisterImport.h"
#include "ui/statementlog/StatementLogScreen.h"
#include "ui/suggest/SuggestCodes.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/WindowPlacement.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestSuggestWindows : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_screen.reset(); }

    void theFirstPlaceIsBesideTheScreenWhereTheDesktopHasRoom();
    void theWindowsCoverNoStepAndNoMappingList();
    void theWindowsKeepThePlaceTheClerkGivesThem();
    void mappedToFollowsASaveADeleteAndAnUndo();
    void aBrandOfTheRegisterSaysWhyInBothLists();

private:
    QDialog* window(const char* name) { return m_screen->findChild<QDialog*>(QLatin1String(name)); }
    FlexGrid* suggestions() {
        return window("dlgSuggest")->findChild<FlexGrid*>(QStringLiteral("GridSuggest"));
    }
    int rowOf(FlexGrid* grid, int col, const QString& text) {
        for (int r = grid->fixedRows(); r < grid->rows(); ++r)
            if (grid->textMatrix(r, col) == text)
                return r;
        return -1;
    }
    void click(FlexGrid* grid, int row, const std::function<void()>& handler) {
        grid->setRow(row);
        handler();
    }
    // The ER table's Therapeutics, one of its items chosen, and the window Suggestions open.
    void suggestFor(const QString& code) {
        c().optTable[1]->click();
        click(c().GridCat, rowOf(c().GridCat, 0, QStringLiteral("Therapeutics")),
              [&] { screen().reference().GridCat_Click(); });
        click(c().Grid1, rowOf(c().Grid1, 1, code), [&] { screen().reference().Grid1_Click(); });
        QCOMPARE(c().txtESOACode->text(), code);
        QTest::keyClick(c().Grid1, Qt::Key_F3);
        QVERIFY(window("dlgSuggest")->isVisible());
    }
    // What a window must leave in view: steps 2 to 5 and the mapping list.
    QList<QWidget*> workedWith() {
        Controls& k = c();
        return {k.Label4,
                k.GridCat,
                k.Label7,
                k.txtSOADesc,
                k.txtAreaCat,
                k.cmdSearchSOAItem,
                k.cmdCheckIfMapped,
                k.chkAutoSearch,
                k.Grid1,
                k.Frame2,
                k.cmdEdit,
                k.Label12,
                k.txtDesc,
                k.txtGeneric,
                k.cmdPreview,
                k.cmdCheckIfMapped2,
                k.cmdMapAll,
                k.Grid2,
                k.fraMap,
                k.GridMap};
    }
    void coversNothingWorkedWith(QWidget* w) {
        const QRect frame = w->frameGeometry();
        for (QWidget* control : workedWith()) {
            const QRect at(control->mapToGlobal(QPoint(0, 0)), control->size());
            QVERIFY2(
                !frame.intersects(at),
                qPrintable(w->objectName() + QStringLiteral(" covers ") + control->objectName()));
        }
    }
};

void TestSuggestWindows::init() {
    // Every test begins as the program's first run: no window kept anywhere.
    QSettings().remove(QStringLiteral("windows"));
    openScreen(true);
    QVERIFY(QTest::qWaitForWindowActive(&screen()));
    m_prompter.shown.clear();
}

void TestSuggestWindows::theFirstPlaceIsBesideTheScreenWhereTheDesktopHasRoom() {
    const QRect over(1500, 30, 280, 500); // the revenue lists
    const QSize frame(900, 500);
    // Room at the right of the screen: there, at the screen's top.
    QCOMPARE(
        placement::firstPlace(QRect(0, 20, 1400, 760), QRect(0, 0, 2560, 1400), frame, over, 480),
        QRect(1400, 20, 900, 500));
    // Room for part of it at the right: narrower there, rather than over the screen.
    QCOMPARE(
        placement::firstPlace(QRect(0, 20, 1400, 760), QRect(0, 0, 1920, 1040), frame, over, 480),
        QRect(1400, 20, 520, 500));
    // Room at the left only.
    QCOMPARE(
        placement::firstPlace(QRect(1200, 0, 1360, 760), QRect(0, 0, 2560, 1400), frame, over, 480),
        QRect(300, 0, 900, 500));
    // A screen that fills the desktop: over the revenue lists, within the desktop.
    QCOMPARE(placement::firstPlace(QRect(0, 0, 1366, 728), QRect(0, 0, 1366, 728), frame,
                                   QRect(1000, 100, 400, 700), 480),
             QRect(1000, 100, 366, 628));
    // A screen in the middle of a wide desktop, with too little room either side: over the
    // revenue lists and on past the screen's right edge.
    QCOMPARE(placement::firstPlace(QRect(288, 180, 1346, 750), QRect(0, 0, 1920, 1080), frame,
                                   QRect(1330, 200, 289, 460), 480),
             QRect(1330, 200, 590, 460));
    // A frame taller than the desktop is cut to it, and kept on it.
    QCOMPARE(placement::firstPlace(QRect(0, 300, 800, 600), QRect(0, 0, 2000, 800), QSize(600, 900),
                                   over, 480),
             QRect(800, 0, 600, 800));
}

void TestSuggestWindows::theWindowsCoverNoStepAndNoMappingList() {
    suggestFor(QStringLiteral("ER0003"));
    coversNothingWorkedWith(window("dlgSuggest"));
    screen().statementLog().cmdStatementLog_Click();
    QVERIFY(window("dlgStatementLog")->isVisible());
    coversNothingWorkedWith(window("dlgStatementLog"));
    screen().databaseCheck().cmdCheckDatabase_Click();
    QVERIFY(window("dlgDatabaseCheck")->isVisible());
    coversNothingWorkedWith(window("dlgDatabaseCheck"));
    // The proposals for the hospital list.
    c().optInventory[0]->click();
    c().txtGeneric->clear();
    c().txtDesc->setText(QStringLiteral("a"));
    screen().hospital().SearchHospitalItems();
    screen().suggestions().codes().open();
    QVERIFY(window("dlgSuggestCodes")->isVisible());
    coversNothingWorkedWith(window("dlgSuggestCodes"));
}

void TestSuggestWindows::theWindowsKeepThePlaceTheClerkGivesThem() {
    suggestFor(QStringLiteral("ER0003"));
    QDialog* w = window("dlgSuggest");
    const QRect given(40, 30, 700, 420);
    w->setGeometry(given);
    QTRY_COMPARE(w->geometry(), given);
    QTest::keyClick(suggestions(), Qt::Key_Escape);
    QVERIFY(!w->isVisible());
    // The next run of the program opens it where the clerk left it.
    closeScreen();
    openScreen(true);
    QVERIFY(QTest::qWaitForWindowActive(&screen()));
    suggestFor(QStringLiteral("ER0003"));
    QCOMPARE(window("dlgSuggest")->geometry(), given);
}

void TestSuggestWindows::mappedToFollowsASaveADeleteAndAnUndo() {
    suggestFor(QStringLiteral("ER0003"));
    FlexGrid* g = suggestions();
    const int row = rowOf(g, 1, QStringLiteral("10045"));
    QVERIFY(row > 0);
    QCOMPARE(g->textMatrix(row, 5), QString());
    // Taken over and saved: mapped at once, no click needed.
    g->setRow(row);
    screen().suggestions().takeOver(row);
    c().cmdEdit->click();
    QCOMPARE(g->textMatrix(row, 5), QStringLiteral("ER0003"));
    // Deleted: unmapped at once.
    const int link = rowOf(c().GridMap, 6, QStringLiteral("10045"));
    QVERIFY2(link > 0, "the new link in the mapping list");
    click(c().GridMap, link, [&] { screen().mappings().GridMap_Click(); });
    c().cmdDelete->click();
    QCOMPARE(g->textMatrix(row, 5), QString());
    // A map all of the hospital list, then its undo.
    c().txtGeneric->clear();
    c().txtDesc->setText(QStringLiteral("TRAMADOL"));
    screen().hospital().SearchHospitalItems();
    QVERIFY(rowOf(c().Grid2, 0, QStringLiteral("10045")) > 0);
    m_prompter.answers << Prompter::Answer::Yes;
    c().cmdMapAll->click();
    QCOMPARE(g->textMatrix(row, 5), QStringLiteral("ER0003"));
    const auto offer = screen().linkHistory().newestBatch(gw(), QStringLiteral("ESOA_ER_LINK"));
    QVERIFY(offer);
    screen().linkHistory().undo(gw(), *offer);
    QCOMPARE(g->textMatrix(row, 5), QString());
}

void TestSuggestWindows::aBrandOfTheRegisterSaysWhyInBothLists() {
    // A brand the program's dictionary does not know, and the register that does.
    gw().insertRow(QStringLiteral("Inventory..tbInvMaster"),
                   {"ItemID", "ItemName", "ItemDesc", "GenericID", "itemstatus"},
                   {QStringLiteral("77001"), QStringLiteral("NORVASTIN 5MG"), QStringLiteral("TAB"),
                    QVariant(), 0});
    QTemporaryDir files;
    const QString path = QDir(files.path()).filePath(QStringLiteral("register.csv"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Registration Number,Generic Name,Brand Name,Dosage Strength,Dosage Form\r\n"
                "DRP-1001,Amlodipine (as besilate),Norvastin,5 mg,Tablet\r\n"
                "DRP-1002,Amlodipine (as besilate),Norvastin,10 mg,Tablet\r\n");
    }
    m_prompter.openPaths << path;
    screen().registerImport().cmdImportRegister_Click();
    QCOMPARE(m_prompter.texts().value(0), QStringLiteral("2 products, 1 brand names imported."));
    c().optTable[0]->click();
    const int category = rowOf(c().GridCat, 0, QStringLiteral("Medicine"));
    QVERIFY(category > 0);
    click(c().GridCat, category, [&] { screen().reference().GridCat_Click(); });
    click(c().Grid1, rowOf(c().Grid1, 1, QStringLiteral("MED00052")),
          [&] { screen().reference().Grid1_Click(); });
    QTest::keyClick(c().Grid1, Qt::Key_F3);
    FlexGrid* g = suggestions();
    QCOMPARE(g->textMatrix(0, 6), QStringLiteral("Why"));
    const int row = rowOf(g, 1, QStringLiteral("77001"));
    // Beside the sample's amlodipine, which its generic name names.
    // After the sample's amlodipine and its brand, which their generic names name.
    QCOMPARE(row, 3);
    QCOMPARE(g->textMatrix(1, 6), QStringLiteral("generic AMLODIPINE; 5 mg and tablet agree"));
    QCOMPARE(g->textMatrix(row, 6),
             QStringLiteral("brand NORVASTIN = amlodipine (as besilate) (drug register); 5 mg and "
                            "tablet agree"));
    // The proposals for the hospital list that holds it.
    c().optInventory[0]->click();
    c().txtGeneric->clear();
    c().txtDesc->setText(QStringLiteral("NORVASTIN"));
    screen().hospital().SearchHospitalItems();
    SuggestCodes& codes = screen().suggestions().codes();
    codes.open();
    QVERIFY2(codes.grid(), qPrintable(m_prompter.texts().join(u'|')));
    QCOMPARE(codes.grid()->textMatrix(0, SuggestCodes::Why), QStringLiteral("Why"));
    QCOMPARE(codes.grid()->textMatrix(1, SuggestCodes::Code), QStringLiteral("MED00052"));
    QCOMPARE(codes.grid()->textMatrix(1, SuggestCodes::Why),
             QStringLiteral("brand NORVASTIN = amlodipine (as besilate) (drug register); 5 mg and "
                            "tablet agree"));
    // Another code chosen: its own why.
    codes.choose(1, 1);
    QVERIFY(codes.grid()->textMatrix(1, SuggestCodes::Why) != codes.choices(1).value(0).why);
    codes.close();
}

QTEST_MAIN(TestSuggestWindows)
#include "tst_suggestwindows.moc"

// The window "Suggestions" and the keyboard on the real screen and the sample database: the menu
// entry and F3, the window following Grid1 and the categories, taking a row over and saving it in
// both item modes and from another exam table than the routed one, a whole mapping without the
// mouse, a database without the hospital tables, and odd descriptions.
#include "ScreenFixture.h"

#include "ui/widgets/FlexGrid.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TestSuggestScreen : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_screen.reset(); }

    void theMenuEntryAndF3OpenTheWindow();
    void theWindowFollowsGrid1AndTheCategories();
    void takeOverAndSaveAnInventoryItem();
    void takeOverAProcedureOfAnotherExamTable();
    void aWholeMappingWithTheKeyboardAlone();
    void enterAndSpaceOnEveryListAreAClick();
    void withoutTheHospitalTablesTheMessageSaysWhy();
    void oddDescriptions();

private:
    QDialog* window() { return m_screen->findChild<QDialog*>(QStringLiteral("dlgSuggest")); }
    FlexGrid* suggestions() {
        return window() ? window()->findChild<FlexGrid*>(QStringLiteral("GridSuggest")) : nullptr;
    }
    // A real click on a row of a list, in its first column that shows.
    void clickRow(FlexGrid* grid, int row) {
        int col = 0;
        while (grid->colWidth(col) == 0)
            ++col;
        const QModelIndex index = grid->model()->index(row - grid->fixedRows(), col);
        grid->scrollTo(index);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    }
    int rowOf(FlexGrid* grid, int col, const QString& text) {
        for (int r = grid->fixedRows(); r < grid->rows(); ++r)
            if (grid->textMatrix(r, col) == text)
                return r;
        return -1;
    }
    void chooseTable(int index) { QTest::mouseClick(c().optTable[index], Qt::LeftButton); }
    void chooseCategory(const QString& category) {
        clickRow(c().GridCat, rowOf(c().GridCat, 0, category));
        QCOMPARE(c().txtAreaCat->text(), category);
    }
    void chooseItem(const QString& code) {
        clickRow(c().Grid1, rowOf(c().Grid1, 1, code));
        QCOMPARE(c().txtESOACode->text(), code);
    }
    QStringList rowTexts(FlexGrid* grid, int row) {
        QStringList out;
        for (int col = 0; col < grid->cols(); ++col)
            out << grid->textMatrix(row, col);
        return out;
    }
    QList<QStringList> links(const QString& table, const QString& code) {
        return gw()
            .query(QStringLiteral("SELECT RevenueID, ItemID, ItemDesc, InvOrProc, SectionID, "
                                  "Category FROM Build_FIle..%1_LINK WHERE Code='%2'")
                       .arg(table, code))
            .rows;
    }
};

void TestSuggestScreen::init() {
    openScreen(true);
    QVERIFY(QTest::qWaitForWindowActive(&screen()));
    m_prompter.shown.clear();
}

void TestSuggestScreen::theMenuEntryAndF3OpenTheWindow() {
    chooseTable(1);
    chooseCategory(QStringLiteral("Therapeutics"));
    chooseItem(QStringLiteral("ER0003"));
    QVERIFY(!window());
    std::unique_ptr<QMenu> menu(m_screen->listExports().menuFor(c().Grid1));
    QAction* entry = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == u"Suggest hospital items...")
            entry = a;
    QVERIFY(entry);
    QCOMPARE(entry->shortcut(), QKeySequence(Qt::Key_F3));
    entry->trigger();
    QVERIFY(window() && window()->isVisible());
    QCOMPARE(window()->windowTitle(), QStringLiteral("Suggestions"));
    QVERIFY(!window()->isModal());
    FlexGrid* g = suggestions();
    QCOMPARE(rowTexts(g, 0),
             QStringList({"Score", "ItemID", "Item", "Generic", "Revenue", "Mapped to", "Why"}));
    QCOMPARE(window()->findChild<QLabel*>(QStringLiteral("lblSuggestFor"))->text(),
             QStringLiteral("ER0003 - Tramadol 50 mg/mL ampule"));
    // The ampules first (the generic's and a brand's), the capsules of the strength below them.
    QCOMPARE(rowTexts(g, 1),
             QStringList({g->textMatrix(1, 0), "10045", "TRAMADOL 50mg/mL - AMPULE 2mL", "TRAMADOL",
                          "PH", "", "generic TRAMADOL; 50 mg/mL and ampule agree"}));
    QCOMPARE(g->textMatrix(2, 1), QStringLiteral("10046")); // DOLOTRAM 50mg/mL, AMPULE
    QVERIFY(rowOf(g, 1, QStringLiteral("10043")) > 2);
    QVERIFY(g->textMatrix(1, 0).toInt() >
            g->textMatrix(rowOf(g, 1, QStringLiteral("10043")), 0).toInt());
    QVERIFY(g->rows() - 1 <= 20);
    // BREVANT_SCREENSHOTS=<folder> keeps a picture of the window for the README.
    if (const QString folder = qEnvironmentVariable("BREVANT_SCREENSHOTS"); !folder.isEmpty()) {
        window()->resize(1180, 440); // wide enough for every column, as beside a screen
        QVERIFY(window()->grab().save(folder + QStringLiteral("/suggest.png")));
    }
    // Esc and Close close it; F3 anywhere on the screen opens it again.
    QVERIFY(QTest::qWaitForWindowActive(window()));
    QTest::keyClick(g, Qt::Key_Escape);
    QVERIFY(!window()->isVisible());
    // Esc closed the window, not the screen behind it.
    QVERIFY(screen().isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&screen()));
    QTest::keyClick(c().txtDesc, Qt::Key_F3);
    QVERIFY(window()->isVisible());
    window()->findChild<QPushButton*>(QStringLiteral("cmdSuggestClose"))->click();
    QVERIFY(!window()->isVisible());
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestSuggestScreen::theWindowFollowsGrid1AndTheCategories() {
    chooseTable(1);
    chooseCategory(QStringLiteral("Therapeutics"));
    chooseItem(QStringLiteral("ER0004"));
    QTest::keyClick(c().Grid1, Qt::Key_F3);
    QLabel* label = window()->findChild<QLabel*>(QStringLiteral("lblSuggestFor"));
    // Linked to this code already: first, scored 100, mapped to it.
    QCOMPARE(rowTexts(suggestions(), 1),
             QStringList({"100", "10079", "CEFTRIAXONE 1g - VIAL", "CEFTRIAXONE", "PH", "ER0004",
                          "linked to this code already"}));
    chooseItem(QStringLiteral("ER0005"));
    QCOMPARE(label->text(), QStringLiteral("ER0005 - Ampicillin 500 mg vial"));
    // The generic's vial and a brand's, then the 1 g vial.
    QStringList firstTwo{suggestions()->textMatrix(1, 1), suggestions()->textMatrix(2, 1)};
    firstTwo.sort();
    QCOMPARE(firstTwo, QStringList({"10132", "10133"}));
    QCOMPARE(suggestions()->textMatrix(3, 1), QStringLiteral("10134"));
    chooseCategory(QStringLiteral("Laboratory"));
    QCOMPARE(label->text(), QStringLiteral("Choose a PhilHealth item in the list."));
    QCOMPARE(suggestions()->rows(), 1);
    // Procedures now: CBC from the laboratory.
    chooseItem(QStringLiteral("ER0042"));
    QCOMPARE(suggestions()->textMatrix(1, 2), QStringLiteral("Complete Blood Count (CBC)"));
    QCOMPARE(suggestions()->textMatrix(1, 3), QString());
    QCOMPARE(suggestions()->textMatrix(1, 4), QStringLiteral("LB"));
    // A closed window follows nothing.
    window()->close();
    gw().keepTrace(true);
    gw().clearLog();
    chooseItem(QStringLiteral("ER0043"));
    QVERIFY(gw().log().filter(QStringLiteral("tbInvMaster")).isEmpty());
    QVERIFY(gw().log().filter(QStringLiteral("SUM(LEN(")).isEmpty());
}

void TestSuggestScreen::takeOverAndSaveAnInventoryItem() {
    chooseTable(1);
    chooseCategory(QStringLiteral("Therapeutics"));
    chooseItem(QStringLiteral("ER0003"));
    QTest::keyClick(c().Grid1, Qt::Key_F3);
    FlexGrid* g = suggestions();
    QCOMPARE(window()->focusWidget(), g);
    QCOMPARE(g->row(), 1);
    // A double click takes the row over as a click in Grid2 would.
    QVERIFY(QTest::qWaitForWindowExposed(window()));
    const QModelIndex first = g->model()->index(0, 2);
    const QPoint at = g->visualRect(first).center();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(c().txtVALTORItemID->text(), QString()); // a single click takes nothing
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(c().txtVALTORItemID->text(), QStringLiteral("10045"));
    QCOMPARE(c().txtVALTORitemDesc->text(), QStringLiteral("TRAMADOL 50mg/mL - AMPULE 2mL"));
    QCOMPARE(c().txtRevID->text(), QStringLiteral("PH"));
    QCOMPARE(c().cmdInst->text().isEmpty(), false);
    c().cmdEdit->click();
    QCOMPARE(links(QStringLiteral("ESOA_ER"), QStringLiteral("ER0003")),
             QList<QStringList>(
                 {{"PH", "10045", "TRAMADOL 50mg/mL - AMPULE 2mL", "INV", "", "Therapeutics"}}));
    // The next list counts the new link: mapped, and first.
    QTest::keyClick(c().Grid1, Qt::Key_F3);
    QCOMPARE(rowTexts(suggestions(), 1).mid(0, 2), QStringList({"100", "10045"}));
    QCOMPARE(suggestions()->textMatrix(1, 5), QStringLiteral("ER0003"));
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestSuggestScreen::takeOverAProcedureOfAnotherExamTable() {
    chooseTable(0);
    chooseCategory(QStringLiteral("LaboratoryAndDiagnostic"));
    QCOMPARE(c().lblTable->text(), QStringLiteral("BUILD_FILE..tbcoLabExam"));
    // An X-ray exam among the laboratory's PhilHealth items.
    chooseItem(QStringLiteral("LD00079"));
    QTest::keyClick(c().Grid1, Qt::Key_F3);
    FlexGrid* g = suggestions();
    QCOMPARE(g->textMatrix(1, 1), QStringLiteral("3001"));
    QCOMPARE(g->textMatrix(1, 2), QStringLiteral("Chest PA"));
    QCOMPARE(g->textMatrix(1, 4), QStringLiteral("XR"));
    QTest::keyClick(g, Qt::Key_Return);
    QCOMPARE(c().txtRevID->text(), QStringLiteral("XR"));
    QCOMPARE(c().lblTable->text(), QStringLiteral("BUILD_FILE..tbcoXRayExam"));
    QCOMPARE(c().lblIDFieldName->text(), QStringLiteral("XRayExamID"));
    QCOMPARE(c().lblExamFieldName->text(), QStringLiteral("XRayExam"));
    QCOMPARE(c().txtSectionID->text(), QString());
    QCOMPARE(c().txtVALTORItemID->text(), QStringLiteral("3001"));
    QCOMPARE(c().txtVALTORitemDesc->text(), QStringLiteral("Chest PA"));
    // The hospital list shows the X-ray table, its row current.
    QCOMPARE(c().Grid2->textMatrix(c().Grid2->row(), 0), QStringLiteral("3001"));
    QCOMPARE(QApplication::focusWidget(), c().cmdEdit);
    c().cmdEdit->click();
    QCOMPARE(
        links(QStringLiteral("ESOA_ITEM"), QStringLiteral("LD00079")),
        QList<QStringList>({{"XR", "3001", "Chest PA", "PROC", "", "LaboratoryAndDiagnostic"}}));
    // An exam of the routed table keeps the routing.
    chooseItem(QStringLiteral("LD00001"));
    QCOMPARE(c().txtRevID->text(), QStringLiteral("XR")); // the routing stays as the user left it
    chooseCategory(QStringLiteral("LaboratoryAndDiagnostic"));
    chooseItem(QStringLiteral("LD00001"));
    QTest::keyClick(c().Grid1, Qt::Key_F3);
    QCOMPARE(suggestions()->textMatrix(1, 2), QStringLiteral("Complete Blood Count (CBC)"));
    QTest::keyClick(suggestions(), Qt::Key_Enter);
    QCOMPARE(c().txtRevID->text(), QStringLiteral("LB"));
    QCOMPARE(c().lblTable->text(), QStringLiteral("BUILD_FILE..tbcoLabExam"));
    c().cmdEdit->click();
    QCOMPARE(links(QStringLiteral("ESOA_ITEM"), QStringLiteral("LD00001")).value(0).mid(0, 2),
             QStringList({"LB", "2001"}));
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestSuggestScreen::aWholeMappingWithTheKeyboardAlone() {
    // The ER table is chosen at start-up; its categories are listed.
    QWidget* screenWidget = &screen();
    auto focusOn = [&](QWidget* w) {
        // Tab until the control has the focus, as the user would.
        for (int i = 0; i < 40 && QApplication::focusWidget() != w; ++i)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                        : screenWidget,
                            Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w);
    };
    focusOn(c().GridCat);
    const int therapeutics = rowOf(c().GridCat, 0, QStringLiteral("Therapeutics"));
    QTest::keyClick(c().GridCat, Qt::Key_Home);
    for (int r = 1; r < therapeutics; ++r)
        QTest::keyClick(c().GridCat, Qt::Key_Down);
    QTest::keyClick(c().GridCat, Qt::Key_Return);
    QCOMPARE(c().txtAreaCat->text(), QStringLiteral("Therapeutics"));
    focusOn(c().Grid1);
    const int tramadol = rowOf(c().Grid1, 1, QStringLiteral("ER0003"));
    QTest::keyClick(c().Grid1, Qt::Key_Home);
    for (int r = 1; r < tramadol; ++r)
        QTest::keyClick(c().Grid1, Qt::Key_Down);
    QTest::keyClick(c().Grid1, Qt::Key_Space);
    QCOMPARE(c().txtESOACode->text(), QStringLiteral("ER0003"));
    QTest::keyClick(c().Grid1, Qt::Key_F3);
    QCOMPARE(window()->focusWidget(), suggestions());
    QTest::keyClick(window()->focusWidget(), Qt::Key_Return);
    QCOMPARE(c().txtVALTORItemID->text(), QStringLiteral("10045"));
    // The screen is active again, its save button focused: Alt+V saves.
    QVERIFY(QTest::qWaitForWindowActive(screenWidget));
    QCOMPARE(screenWidget->focusWidget(), c().cmdEdit);
    QTest::keyClick(screenWidget->focusWidget(), Qt::Key_V, Qt::AltModifier);
    // The access key clicks the button as a user sees it pressed, a moment later.
    QTRY_COMPARE(links(QStringLiteral("ESOA_ER"), QStringLiteral("ER0003")).value(0).mid(0, 2),
                 QStringList({"PH", "10045"}));
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestSuggestScreen::enterAndSpaceOnEveryListAreAClick() {
    chooseTable(1);
    // The category list.
    c().GridCat->setFocus();
    c().GridCat->setRow(rowOf(c().GridCat, 0, QStringLiteral("Laboratory")));
    QTest::keyClick(c().GridCat, Qt::Key_Return);
    QCOMPARE(c().txtAreaCat->text(), QStringLiteral("Laboratory"));
    // The PhilHealth items.
    c().Grid1->setRow(rowOf(c().Grid1, 1, QStringLiteral("ER0043")));
    QTest::keyClick(c().Grid1, Qt::Key_Enter);
    QCOMPARE(c().txtESOACode->text(), QStringLiteral("ER0043"));
    // The hospital items.
    c().Grid2->setRow(1);
    QTest::keyClick(c().Grid2, Qt::Key_Space);
    QCOMPARE(c().txtVALTORItemID->text(), c().Grid2->textMatrix(1, 0));
    // The revenue lists.
    const int xray = rowOf(c().GridRev, 0, QStringLiteral("XR"));
    c().GridRev->setRow(xray);
    QTest::keyClick(c().GridRev, Qt::Key_Return);
    QCOMPARE(c().txtRevID->text(), QStringLiteral("XR"));
    QCOMPARE(c().lblTable->text(), QStringLiteral("BUILD_FILE..tbcoXRayExam"));
    c().GridRevCode->setRow(1);
    QTest::keyClick(c().GridRevCode, Qt::Key_Return);
    QCOMPARE(c().txtRevID->text(), c().GridRevCode->textMatrix(1, 0));
    // The mapping list: its click moves the step pointer to the delete.
    chooseItem(QStringLiteral("ER0042"));
    QVERIFY(c().GridMap->rows() > 1);
    c().GridMap->setRow(1);
    QVERIFY(c().cmdInst->isVisible());
    QTest::keyClick(c().GridMap, Qt::Key_Return);
    QVERIFY(!c().cmdInst->isVisible()); // the last step: the pointer goes
    // Enter in the generic name filter searches, as in the name filter.
    chooseTable(1);
    chooseCategory(QStringLiteral("Therapeutics"));
    c().txtDesc->clear();
    c().txtGeneric->setText(QStringLiteral("TRAMADOL"));
    QTest::keyClick(c().txtGeneric, Qt::Key_Return);
    QVERIFY(c().Grid2->rows() > 2);
    for (int r = 1; r < c().Grid2->rows(); ++r)
        QCOMPARE(c().Grid2->textMatrix(r, 2), QStringLiteral("TRAMADOL"));
    // Tab leaves a list for the next control.
    c().Grid2->setFocus();
    QTest::keyClick(c().Grid2, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != c().Grid2);
}

void TestSuggestScreen::withoutTheHospitalTablesTheMessageSaysWhy() {
    chooseTable(1);
    chooseCategory(QStringLiteral("Therapeutics"));
    chooseItem(QStringLiteral("ER0003"));
    gw().execute(QStringLiteral("DROP TABLE Inventory..tbInvMaster"));
    QTest::keyClick(c().Grid1, Qt::Key_F3);
    QCOMPARE(m_prompter.shown.size(), 1);
    QVERIFY2(m_prompter.shown[0].text.contains(u"tbInvMaster"),
             qPrintable(m_prompter.shown[0].text));
    QCOMPARE(suggestions()->rows(), 1);
    QCOMPARE(c().txtVALTORItemID->text(), QString());
    QCOMPARE(c().txtESOACode->text(), QStringLiteral("ER0003"));
}

void TestSuggestScreen::oddDescriptions() {
    chooseTable(1);
    chooseCategory(QStringLiteral("Therapeutics"));
    gw().keepTrace(true);
    for (const QString& description :
         {QStringLiteral("Tramadol 50 mg/mL ampule (O'Brien's)"),
          QStringLiteral("Tramadol 100% 50 mg/mL' OR 1=1 --"),
          QStringLiteral("Tramadol 50 mg/mL ampule ") + QString(10240, u'x')}) {
        c().txtESOACode->setText(QStringLiteral("ER0003"));
        c().txtESOADesc->setText(description);
        gw().clearLog();
        QTest::keyClick(c().Grid1, Qt::Key_F3);
        QVERIFY(m_prompter.shown.isEmpty());
        QCOMPARE(suggestions()->textMatrix(1, 1), QStringLiteral("10045"));
        // The description never reaches a statement.
        for (const QString& sql : gw().log())
            QVERIFY2(!sql.contains(u"Tramadol"), qPrintable(sql));
    }
    QVERIFY(window()->findChild<QLabel*>(QStringLiteral("lblSuggestFor"))->text().contains(u"xxx"));
}

QTEST_MAIN(TestSuggestScreen)
#include "tst_suggestscreen.moc"

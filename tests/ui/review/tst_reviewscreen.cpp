// The review window on the real screens of two logins on one embedded database: a clerk's, who
// saves, and a reviewer's. What makes a link "to review" and how the window says so, its keys and
// buttons, the refusal of a review of one's own link, an approval of a link the clerk changed
// since the list was read, the filters, a link shown on the screen, and the states in the
// coverage, the export and the history of a link.
#include "CsvReadBack.h"
#include "ScreenFixture.h"

#include "core/review/LinkReview.h"
#include "ui/exports/ListExports.h"
#include "ui/history/HistoryScreen.h"
#include "ui/review/ReviewScreen.h"
#include "ui/suggest/SuggestCodes.h"
#include "ui/widgets/FlexGrid.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

class TestReviewScreen : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void eachPathMakesALinkToReviewAndTellsHow();
    void theKeysApproveFlagAndTick();
    void aLinkIsNotReviewedByWhoSavedIt();
    void aRewriteAfterAnApprovalAndAChangeSinceTheListWasRead();
    void theFiltersAndTheLinkOnTheScreen();
    void coverageExportAndHistoryShowTheReview();

private:
    // The clerk's save of a hospital item to the chosen PhilHealth item.
    void save(const QString& item, const QString& description, const QString& code = "ER0002") {
        choosePhilHealthItem(code, code == u"ER0002" ? QStringLiteral("Ketorolac 30 mg/mL ampule")
                                                     : QStringLiteral("Another item"));
        c().txtVALTORItemID->setText(item);
        c().txtVALTORitemDesc->setText(description);
        c().cmdEdit->click();
    }
    // The reviewer's window, opened with F4 on the reviewer's screen.
    ReviewScreen& review() { return m_boss.screen().review(); }
    FlexGrid* grid() {
        return review().window()->findChild<FlexGrid*>(QStringLiteral("GridReview"));
    }
    QComboBox* box(const char* name) {
        return review().window()->findChild<QComboBox*>(QLatin1String(name));
    }
    QPushButton* button(const char* name) {
        return review().window()->findChild<QPushButton*>(QLatin1String(name));
    }
    void openReview() {
        m_boss.c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
        // F4 anywhere on the reviewer's screen, once it is the active window.
        m_boss.screen().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_boss.screen()));
        QTest::keyClick(m_boss.c().Grid1, Qt::Key_F4);
        QVERIFY(review().window() && review().window()->isVisible());
    }
    // The listed row of a hospital item (0: none).
    int rowOf(const QString& item) {
        for (int r = 1; r < grid()->rows(); ++r)
            if (grid()->textMatrix(r, 3) == item)
                return r;
        return 0;
    }
    QString cell(const QString& item, const char* column) {
        const int col = int(grid()->shownTable().columns.indexOf(QLatin1String(column)));
        return grid()->textMatrix(rowOf(item), col);
    }
    // Only the links saved in the test (the sample's have no history and are anyone's).
    void onlySaved() {
        gw().execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_ER_LINK WHERE ID NOT IN (SELECT "
                                    "LinkID FROM Build_FIle..ESOA_LINK_HISTORY WHERE LinkID IS NOT "
                                    "NULL)"));
    }

    class Reviewer : public ScreenFixture {
    public:
        void open(const QString& folder) {
            const QByteArray before = qgetenv("USER");
            qputenv("USER", "reviewer");
            openScreenOn(folder, true, true);
            qputenv("USER", before);
        }
    };
    Reviewer m_boss;
};

void TestReviewScreen::init() {
    openScreen(true);
    m_boss.open(m_db->folder());
    m_boss.prompter().shown.clear();
}

void TestReviewScreen::cleanup() {
    m_boss.closeScreen();
    m_screen.reset();
}

void TestReviewScreen::eachPathMakesALinkToReviewAndTellsHow() {
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC"));
    c().Grid2->bind(itemList({{"20001", "MAPPED ONE", "", "1"}, {"20002", "MAPPED TWO", "", "1"}}));
    m_prompter.answers = {Prompter::Answer::Yes};
    c().cmdMapAll->click();
    // The proposals' "Save checked", each link with its score.
    QTest::mouseClick(c().optTable[1], Qt::LeftButton);
    for (int r = 1; r < c().GridCat->rows(); ++r)
        if (c().GridCat->textMatrix(r, 0) == u"Therapeutics") {
            c().GridCat->setRow(r);
            emit c().GridCat->gridClicked();
        }
    c().Grid2->bind(itemList({{"10045", "TRAMADOL 50mg/mL - AMPULE 2mL", "TRAMADOL", "299.45"}}));
    std::unique_ptr<QMenu> menu(m_screen->listExports().menuFor(c().Grid2));
    for (QAction* a : menu->actions())
        if (a->text() == u"Suggest PhilHealth codes for the listed items...")
            a->trigger();
    auto* proposals = m_screen->findChild<FlexGrid*>(QStringLiteral("GridSuggestCodes"));
    QVERIFY(proposals && proposals->isChecked(1));
    const QString score =
        proposals->textMatrix(1, int(proposals->shownTable().columns.indexOf(u"Score")));
    m_screen->suggestions().codes().cmdSuggestSave_Click();
    m_screen->suggestions().codes().close();

    openReview();
    QCOMPARE(review().window()->objectName(), QStringLiteral("dlgReview"));
    QCOMPARE(review().window()->windowTitle(), QStringLiteral("Review links"));
    QVERIFY(!review().window()->isModal());
    QCOMPARE(grid()->shownTable().columns,
             (QStringList{"State", "Code", "Description", "ItemID", "Item", "Revenue", "Saved by",
                          "Saved at", "How", "Note"}));
    QCOMPARE(box("cboReviewState")->currentText(), QStringLiteral("To review"));
    QStringList states;
    for (int i = 0; i < box("cboReviewState")->count(); ++i)
        states << box("cboReviewState")->itemText(i);
    QCOMPARE(states, (QStringList{"To review", "Flagged", "Approved", "All"}));
    for (const char* name : {"cmdReviewApprove", "cmdReviewFlag", "cmdReviewClose"})
        QVERIFY(button(name));
    QCOMPARE(button("cmdReviewApprove")->text(), QStringLiteral("Approve checked"));
    QCOMPARE(button("cmdReviewFlag")->text(), QStringLiteral("Flag..."));
    QCOMPARE(button("cmdReviewClose")->text(), QStringLiteral("Close"));
    const QString clerk = gw().query(QStringLiteral("SELECT SUSER_SNAME()")).rows[0][0];
    QCOMPARE(cell("10020", "How"), QStringLiteral("save"));
    QCOMPARE(cell("10020", "Saved by"), clerk);
    QCOMPARE(cell("10020", "State"), QStringLiteral("to review"));
    QCOMPARE(cell("10020", "Code"), QStringLiteral("ER0002"));
    QCOMPARE(cell("10020", "Item"), QStringLiteral("KETOROLAC"));
    QCOMPARE(cell("10020", "Revenue"), QStringLiteral("PH"));
    QCOMPARE(cell("20001", "How"), QStringLiteral("map all"));
    QCOMPARE(cell("20002", "How"), QStringLiteral("map all"));
    QCOMPARE(cell("10045", "How"), QStringLiteral("proposal, score ") + score);
    QCOMPARE(cell("10045", "Saved at").size(), 19);
    // The mapping list's menu opens the same window.
    button("cmdReviewClose")->click();
    QVERIFY(!review().window()->isVisible());
    m_boss.pickMappingMenu(QStringLiteral("Review links..."));
    QVERIFY(review().window()->isVisible());
}

void TestReviewScreen::theKeysApproveFlagAndTick() {
    for (const char* item : {"10020", "10021", "10022", "10023"})
        save(QLatin1String(item), QStringLiteral("ITEM ") + QLatin1String(item));
    onlySaved();
    openReview();
    QCOMPARE(grid()->rows(), 5);
    const QString first = grid()->textMatrix(1, 3);
    // Enter approves the current row and moves to the next; the row stays listed.
    grid()->setRow(1);
    QTest::keyClick(grid(), Qt::Key_Return);
    QCOMPARE(grid()->textMatrix(1, 0), QStringLiteral("approved"));
    QCOMPARE(grid()->row(), 2);
    QVERIFY(m_boss.prompter().shown.isEmpty());
    // F asks for a note; Cancel flags nothing.
    QTest::keyClick(grid(), Qt::Key_F);
    QCOMPARE(m_boss.prompter().textBoxes, QStringList{"Flag link: Why is this link flagged?"});
    QCOMPARE(grid()->textMatrix(2, 0), QStringLiteral("to review"));
    m_boss.prompter().textAnswers << QStringLiteral("  wrong strength ");
    button("cmdReviewFlag")->click();
    QCOMPARE(grid()->textMatrix(2, 0), QStringLiteral("flagged"));
    QCOMPARE(grid()->textMatrix(2, 9), QStringLiteral("wrong strength"));
    // Space ticks; "Approve checked" approves the ticked rows.
    button("cmdReviewApprove")->click();
    QCOMPARE(m_boss.prompter().texts(), QStringList{"Tick the rows to approve first."});
    grid()->setRow(3);
    QTest::keyClick(grid(), Qt::Key_Space);
    grid()->setRow(4);
    QTest::keyClick(grid(), Qt::Key_Space);
    QVERIFY(grid()->isChecked(3) && grid()->isChecked(4));
    QTest::keyClick(grid(), Qt::Key_Space);
    QVERIFY(!grid()->isChecked(4));
    QTest::keyClick(grid(), Qt::Key_Space);
    button("cmdReviewApprove")->click();
    QCOMPARE(m_boss.prompter().texts().last(), QStringLiteral("2 links approved."));
    QCOMPARE(grid()->textMatrix(3, 0), QStringLiteral("approved"));
    QVERIFY(!grid()->isChecked(3));
    QCOMPARE(review().window()->findChild<QLabel*>(QStringLiteral("lblReviewSummary"))->text(),
             QStringLiteral("ESOA_ER: 4 links listed: 0 to review, 1 flagged, 3 approved."));
    QCOMPARE(gw().query(QStringLiteral("SELECT State, ReviewedBy, Note FROM "
                                       "Build_FIle..ESOA_LINK_REVIEW ORDER BY ID"))
                 .rows,
             (QList<QStringList>{{"approved", "reviewer", ""},
                                 {"flagged", "reviewer", "wrong strength"},
                                 {"approved", "reviewer", ""},
                                 {"approved", "reviewer", ""}}));
    // Read again, "To review" lists none of them.
    button("cmdReviewRefresh")->click();
    QCOMPARE(grid()->rows(), 1);
    box("cboReviewState")->setCurrentText(QStringLiteral("Approved"));
    QCOMPARE(grid()->rows(), 4);
    QVERIFY(rowOf(first) > 0);
    // One ticked row is reported too.
    box("cboReviewState")->setCurrentText(QStringLiteral("Flagged"));
    QCOMPARE(grid()->rows(), 2);
    grid()->setChecked(1, true);
    button("cmdReviewApprove")->click();
    QCOMPARE(m_boss.prompter().texts().last(), QStringLiteral("1 links approved."));
}

void TestReviewScreen::aLinkIsNotReviewedByWhoSavedIt() {
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC"));
    onlySaved();
    // The clerk's own window.
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    m_screen->review().open();
    auto* own = m_screen->review().window()->findChild<FlexGrid*>(QStringLiteral("GridReview"));
    QCOMPARE(own->rows(), 2);
    own->setRow(1);
    QTest::keyClick(own, Qt::Key_Return);
    QCOMPARE(m_prompter.texts(),
             QStringList{"A link is reviewed by someone other than the one who saved it."});
    QCOMPARE(own->textMatrix(1, 0), QStringLiteral("to review"));
    QCOMPARE(own->row(), 1);
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_LINK_REVIEW")), 0);
}

void TestReviewScreen::aRewriteAfterAnApprovalAndAChangeSinceTheListWasRead() {
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC"));
    save(QStringLiteral("10021"), QStringLiteral("KETOROLAC TAB"));
    onlySaved();
    openReview();
    grid()->setRow(rowOf(QStringLiteral("10020")));
    QTest::keyClick(grid(), Qt::Key_Return);
    QCOMPARE(cell("10020", "State"), QStringLiteral("approved"));
    // The clerk rewrites the approved link: it is "to review" again.
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC"), QStringLiteral("ER0001"));
    button("cmdReviewRefresh")->click();
    QCOMPARE(cell("10020", "State"), QStringLiteral("to review"));
    QCOMPARE(cell("10020", "Code"), QStringLiteral("ER0001"));
    QCOMPARE(cell("10020", "How"), QStringLiteral("save"));
    // Both ticked; the clerk rewrites one of them before the approval: that one fails, the
    // other is approved.
    grid()->setChecked(rowOf(QStringLiteral("10020")), true);
    grid()->setChecked(rowOf(QStringLiteral("10021")), true);
    save(QStringLiteral("10021"), QStringLiteral("KETOROLAC TAB"), QStringLiteral("ER0001"));
    button("cmdReviewApprove")->click();
    QCOMPARE(m_boss.prompter().texts().last(),
             QStringLiteral("1 links approved.\r\n1 were not:\r\nKETOROLAC TAB (10021), ER0002: "
                            "The link was changed since the list was read: read the list again "
                            "to review it as it is now."));
    QCOMPARE(cell("10020", "State"), QStringLiteral("approved"));
    QCOMPARE(cell("10021", "State"), QStringLiteral("to review"));
    QVERIFY(grid()->isChecked(rowOf(QStringLiteral("10021"))));
}

void TestReviewScreen::theFiltersAndTheLinkOnTheScreen() {
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC"));
    choosePhilHealthItem(QStringLiteral("ER0001"), QStringLiteral("Paracetamol"));
    c().txtAreaCat->setText(QStringLiteral("Laboratory"));
    c().txtVALTORItemID->setText(QStringLiteral("10021"));
    c().txtVALTORitemDesc->setText(QStringLiteral("PARACETAMOL"));
    c().cmdEdit->click();
    // Another spelling of the category is the same category, as SQL Server compares them.
    save(QStringLiteral("10022"), QStringLiteral("ANOTHER"));
    gw().execute(QStringLiteral("UPDATE Build_FIle..ESOA_ER_LINK SET Category = 'LABORATORY' "
                                "WHERE ItemID = '10022'"));
    openReview();
    const int all = grid()->rows();
    QVERIFY(all > 3); // the sample's links besides, saved by nobody the history knows
    QStringList categories;
    for (int i = 0; i < box("cboReviewCategory")->count(); ++i)
        categories << box("cboReviewCategory")->itemText(i);
    QCOMPARE(categories.first(), QStringLiteral("All"));
    QVERIFY(categories.contains(QStringLiteral("Laboratory")));
    box("cboReviewCategory")->setCurrentText(QStringLiteral("Laboratory"));
    QVERIFY(rowOf(QStringLiteral("10021")) > 0);
    QVERIFY(rowOf(QStringLiteral("10022")) > 0);
    QCOMPARE(categories.filter(QStringLiteral("laboratory"), Qt::CaseInsensitive).size(), 1);
    QCOMPARE(rowOf(QStringLiteral("10020")), 0);
    box("cboReviewCategory")->setCurrentIndex(0);
    const QString clerk = gw().query(QStringLiteral("SELECT SUSER_SNAME()")).rows[0][0];
    QCOMPARE(box("cboReviewBy")->itemText(1), clerk);
    QCOMPARE(box("cboReviewBy")->count(), 2);
    box("cboReviewBy")->setCurrentIndex(1);
    QCOMPARE(grid()->rows(), 4);
    box("cboReviewState")->setCurrentText(QStringLiteral("Flagged"));
    QCOMPARE(grid()->rows(), 1);
    box("cboReviewState")->setCurrentText(QStringLiteral("All"));
    box("cboReviewBy")->setCurrentIndex(0);
    QCOMPARE(grid()->rows(), all);
    // A double click shows the link on the reviewer's screen: its PhilHealth item selected in
    // Grid1, its links in GridMap with the link current.
    m_boss.c().txtSOADesc->setText(QStringLiteral("nothing like it"));
    const int row = rowOf(QStringLiteral("10020"));
    const QModelIndex index = grid()->model()->index(row - 1, 1);
    grid()->scrollTo(index);
    QVERIFY(QTest::qWaitForWindowExposed(review().window()));
    const QPoint at = grid()->visualRect(index).center();
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(m_boss.c().txtESOACode->text().isEmpty()); // a single click shows nothing
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(index).center());
    Controls& b = m_boss.c();
    QCOMPARE(b.txtESOACode->text(), QStringLiteral("ER0002"));
    QCOMPARE(b.Grid1->textMatrix(b.Grid1->row(), 1), QStringLiteral("ER0002"));
    QCOMPARE(b.txtAreaCat->text(), QStringLiteral("Therapeutics"));
    QCOMPARE(b.GridMap->textMatrix(b.GridMap->row(), 6), QStringLiteral("10020"));
    QVERIFY(b.txtSOADesc->text().isEmpty());
}

void TestReviewScreen::coverageExportAndHistoryShowTheReview() {
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC"));
    onlySaved();
    openReview();
    m_boss.prompter().textAnswers << QStringLiteral("check the strength");
    grid()->setRow(1);
    QTest::keyClick(grid(), Qt::Key_F);
    grid()->setRow(1);
    QTest::keyClick(grid(), Qt::Key_Return);
    // The history of the link lists the two review actions, newest first.
    choosePhilHealthItem();
    m_screen->LoadMappings();
    c().GridMap->setRow(1);
    QList<QStringList> shown;
    connect(&m_screen->historyScreen(), &HistoryScreen::historyShown, this, [&](QDialog* dialog) {
        auto* list = dialog->findChild<FlexGrid*>(QStringLiteral("GridLinkHistory"));
        for (int r = 0; r < list->rows(); ++r)
            shown << QStringList{list->textMatrix(r, 1), list->textMatrix(r, 3),
                                 list->textMatrix(r, 9)};
        dialog->findChild<QPushButton*>(QStringLiteral("cmdLinkHistoryClose"))->click();
    });
    pickMappingMenu(QStringLiteral("History of this link..."));
    const QString clerk = gw().query(QStringLiteral("SELECT SUSER_SNAME()")).rows[0][0];
    QCOMPARE(shown, (QList<QStringList>{{"Who", "Action", "Note"},
                                        {"reviewer", "approved", ""},
                                        {"reviewer", "flagged", "check the strength"},
                                        {clerk, "add", ""}}));
    // The export: the state and who reviewed it when.
    QTemporaryDir dir;
    m_prompter.savePaths << dir.filePath(QStringLiteral("all.csv"));
    m_screen->listExports().exportAllMappings();
    const QList<QStringList> read = readCsvBack(dir.filePath(QStringLiteral("all.csv")));
    QCOMPARE(read.size(), 2);
    QCOMPARE(read[1].mid(read[1].size() - 3, 2), (QStringList{"approved", "reviewer"}));
    // The coverage: Therapeutics has one item whose links are all approved.
    TextTable seen;
    connect(&m_screen->listExports(), &ListExports::coverageShown, this, [&](QDialog* dialog) {
        seen = dialog->findChild<FlexGrid*>(QStringLiteral("GridCoverage"))->shownTable();
        dialog->findChild<QPushButton*>(QStringLiteral("cmdCoverageClose"))->click();
    });
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    m_screen->listExports().showCoverage();
    QCOMPARE(seen.columns.mid(5), (QStringList{"Approved", "% approved"}));
    for (const QStringList& r : seen.rows)
        if (r[0] == u"Therapeutics") {
            QCOMPARE(r[5], QStringLiteral("1"));
            QCOMPARE(r[6], QStringLiteral("%1%").arg(qRound(100.0 / r[1].toDouble())));
        }
}

QTEST_MAIN(TestReviewScreen)
#include "tst_reviewscreen.moc"

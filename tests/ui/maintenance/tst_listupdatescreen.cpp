// "c. Update from new list..." on the real screen and an embedded database: the button beside the
// maintenance frame, the window of the comparison, Close, the question for a list that looks cut
// short, Apply and its message, the re-mapping of links to dropped codes with its ticks and save,
// both undos from the mapping list's menu, the versions, and "a. Create Tables" keeping the record
// of the editions.
#include "NewList.h"
#include "ScreenFixture.h"

#include "ui/maintenance/ListUpdate.h"
#include "ui/suggest/ProposalGrid.h"
#include "ui/suggest/RetiredLinks.h"
#include "ui/suggest/SuggestCodes.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/Twips.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

class TestListUpdateScreen : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { closeScreen(); }

    void theButtonStandsBesideTheFrameOverNothing();
    void theWindowShowsWhatTheNewListChanges();
    void closeChangesNothing();
    void applyThenReMapTheDroppedCodesLinksAndUndoBoth();
    void aListThatLooksCutShortIsAppliedOnlyWhenTheClerkSaysSo();
    void aFileThatCannotBeReadOpensNothing();
    void createTablesMakesTheRecordOfEditionsAndKeepsIt();

private:
    ListUpdate& update() { return m_screen->listUpdate(); }
    QPushButton* button(const char* name) {
        return m_screen->window()->findChild<QPushButton*>(QLatin1String(name));
    }
    QPushButton* dialogButton(QDialog* dialog, const char* name) {
        return dialog->findChild<QPushButton*>(QLatin1String(name));
    }
    // "Maintenance...", then "c. Update from new list..." on the ER list in the folder.
    void openUpdate() {
        m_screen->referenceImport().setFolder(m_files.path());
        if (c().fraMaint->isHidden())
            QTest::mouseClick(c().lblMaint, Qt::LeftButton);
        m_prompter.shown.clear();
        QTest::mouseClick(button("cmdListUpdate"), Qt::LeftButton);
    }
    QStringList gridRows(FlexGrid* grid, int cols) {
        QStringList out;
        for (int r = 0; r < grid->rows(); ++r) {
            QStringList cells;
            for (int col = 0; col < cols; ++col)
                cells << grid->textMatrix(r, col);
            out << cells.join(QStringLiteral(" | "));
        }
        return out;
    }
    QString linkOf(const QString& item) {
        return gw()
            .query(QStringLiteral("SELECT Code, Description, Category, RevenueID, InvOrProc FROM "
                                  "Build_FIle..ESOA_ER_LINK WHERE ItemID='%1'")
                       .arg(item))
            .rows.value(0)
            .join(QStringLiteral(" | "));
    }

    QTemporaryDir m_files;
};

void TestListUpdateScreen::init() {
    openScreen(true);
    // The sample's ER list with ER0001's fee and ER0004's description changed, ER0042's category,
    // ER0027 dropped (a procedure links to it) and ER9001 new.
    QVERIFY(newlist::write(
        m_files.path(), QStringLiteral("ESOA_ER"),
        newlist::edited(newlist::sampleLines(QStringLiteral("ESOA_ER")),
                        {{"ER0001", 3, "30.00"},
                         {"ER0004", 2, "Ceftriaxone 1 g vial (IV)"},
                         {"ER0042", 1, "Diagnostics"}},
                        {QStringLiteral("ER0027")},
                        {QStringLiteral("ER9001|Imaging|Chest PA and lateral|450.00|per exam")})));
    QCOMPARE(c().lblESOATableName->text(), QStringLiteral("ESOA_ER"));
}

void TestListUpdateScreen::theButtonStandsBesideTheFrameOverNothing() {
    m_screen->resize(1344, 729); // the design size
    QTRY_COMPARE(m_screen->size(), QSize(1344, 729));
    QPushButton* b = button("cmdListUpdate");
    QVERIFY(b);
    QVERIFY(b->isHidden());
    QTest::mouseClick(c().lblMaint, Qt::LeftButton);
    QVERIFY(b->isVisible());
    QCOMPARE(b->text(), QStringLiteral("c. Update from new list..."));
    QCOMPARE(QRect(twips::left(b), twips::top(b), twips::width(b), twips::height(b)),
             QRect(13920, 480, 975, 1095));
    // Level with the two buttons in the frame, from the top of the first to the bottom of the
    // second.
    const QPoint first = c().cmdCreateTable->mapTo(m_screen.get(), QPoint(0, 0));
    const QPoint second = c().cmdScan->mapTo(m_screen.get(), QPoint(0, c().cmdScan->height()));
    QVERIFY(qAbs(b->y() - first.y()) <= 1 + c().fraMaint->contentsRect().top());
    QVERIFY(second.y() > b->y());
    // It covers none of the screen's controls, and its caption fits, wrapped.
    for (QWidget* w : m_screen->findChildren<QWidget*>()) {
        if (w == b || !w->isVisible() || w->parentWidget() != m_screen.get() ||
            w->objectName().isEmpty())
            continue;
        QVERIFY2(!w->geometry().intersects(b->geometry()), qPrintable(w->objectName()));
    }
    const QRect needed = b->fontMetrics().boundingRect(
        QRect(0, 0, b->width() - 8, 1000), Qt::TextWordWrap | Qt::AlignCenter, b->text());
    QVERIFY2(needed.height() <= b->height() - 6 && needed.width() <= b->width() - 8,
             qPrintable(QStringLiteral("%1x%2").arg(needed.width()).arg(needed.height())));
    QCOMPARE(m_screen->childAt(b->geometry().center()), b);
    // The Tab key reaches it after "Check this database...".
    QCOMPARE(button("cmdCheckDatabase")->nextInFocusChain(), b);
    QTest::mouseClick(c().lblMaint, Qt::LeftButton);
    QVERIFY(b->isHidden());
}

void TestListUpdateScreen::theWindowShowsWhatTheNewListChanges() {
    gw().clearLog();
    openUpdate();
    QDialog* d = update().dialog();
    QVERIFY(d && d->isVisible());
    QCOMPARE(d->objectName(), QStringLiteral("dlgListUpdate"));
    QCOMPARE(d->windowTitle(), QStringLiteral("Update ESOA_ER from the new list"));
    QCOMPARE(d->findChild<QLabel*>(QStringLiteral("lblListUpdateSummary"))->text(),
             QStringLiteral("1 new, 3 changed, 1 no longer listed, 85 unchanged; 4 links to "
                            "changed or dropped codes."));
    QCOMPARE(gridRows(d->findChild<FlexGrid*>(QStringLiteral("GridListUpdate")), 6),
             (QStringList{"Change | Code | Field | Now | New list | Links",
                          "new | ER9001 |  |  | Chest PA and lateral | 0",
                          "changed | ER0001 | FixedFee | 25.00 | 30.00 | 1",
                          "changed | ER0004 | Description | Ceftriaxone 1 g vial | Ceftriaxone 1 g "
                          "vial (IV) | 1",
                          "changed | ER0042 | Category | Laboratory | Diagnostics | 1",
                          "no longer listed | ER0027 |  | Chest PA |  | 1"}));
    for (const char* name : {"cmdListUpdateApply", "cmdListUpdateClose", "cmdListVersions"})
        QVERIFY2(dialogButton(d, name), name);
    QCOMPARE(dialogButton(d, "cmdListUpdateApply")->text(), QStringLiteral("Apply"));
    QCOMPARE(dialogButton(d, "cmdListUpdateClose")->text(), QStringLiteral("Close"));
    // The list has the menu every list has.
    QCOMPARE(update().grid()->contextMenuPolicy(), Qt::CustomContextMenu);
    // Comparing wrote nothing.
    for (const QString& statement : gw().log())
        QVERIFY2(statement.startsWith(u"SELECT"), qPrintable(statement));
}

void TestListUpdateScreen::closeChangesNothing() {
    const TextTable before = gw().query(QStringLiteral("SELECT * FROM Build_FIle..ESOA_ER"));
    openUpdate();
    QTest::mouseClick(dialogButton(update().dialog(), "cmdListUpdateClose"), Qt::LeftButton);
    QVERIFY(!update().dialog()->isVisible());
    QCOMPARE(gw().query(QStringLiteral("SELECT * FROM Build_FIle..ESOA_ER")).rows, before.rows);
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestListUpdateScreen::applyThenReMapTheDroppedCodesLinksAndUndoBoth() {
    openUpdate();
    QTest::mouseClick(dialogButton(update().dialog(), "cmdListUpdateApply"), Qt::LeftButton);
    QCOMPARE(m_prompter.texts(), QStringList{"ESOA_ER is updated (version 1): 1 new, 3 changed, 1 "
                                             "no longer listed; 2 links refreshed."});
    QVERIFY(!update().dialog()->isVisible());
    // The lists show the new edition.
    QCOMPARE(linkOf(QStringLiteral("10079")),
             QStringLiteral("ER0004 | Ceftriaxone 1 g vial (IV) | Therapeutics | PH | INV"));

    // The link to the dropped code is offered for re-mapping at once.
    RetiredLinks& retired = m_screen->suggestions().retiredLinks();
    QDialog* d = retired.dialog();
    QVERIFY(d && d->isVisible());
    QCOMPARE(d->objectName(), QStringLiteral("dlgRetiredLinks"));
    QCOMPARE(d->windowTitle(), QStringLiteral("Links to codes no longer listed"));
    QCOMPARE(retired.minimum()->objectName(), QStringLiteral("spnRetiredMin"));
    QCOMPARE(retired.minimum()->value(), SuggestCodes::defaultMinimum);
    FlexGrid* grid = retired.list()->grid();
    QCOMPARE(grid->objectName(), QStringLiteral("GridRetiredLinks"));
    QCOMPARE(gridRows(grid, 9).first(),
             QStringLiteral("Save | ItemID | Item | Old code | Old description | Code | "
                            "Description | Score | Why"));
    QCOMPARE(grid->rows(), 2);
    QCOMPARE(gridRows(grid, 5)[1], QStringLiteral(" | 3001 | Chest PA | ER0027 | Chest PA"));
    // The best of its proposals is a chest PA of the new list ("Chest PA and Lateral", and the
    // new "Chest PA and lateral").
    const QString code = grid->textMatrix(1, RetiredLinks::Code);
    const QString description = grid->textMatrix(1, RetiredLinks::Description);
    QVERIFY2(code == u"ER0028" || code == u"ER9001", qPrintable(code));
    QStringList proposed;
    for (const suggest::CodeProposal& p : retired.list()->choices(1))
        proposed << p.item.code;
    QVERIFY2(proposed.contains(QStringLiteral("ER0028")) &&
                 proposed.contains(QStringLiteral("ER9001")),
             qPrintable(proposed.join(u' ')));
    const int score = grid->textMatrix(1, RetiredLinks::Score).toInt();
    QVERIFY(!grid->textMatrix(1, RetiredLinks::Why).isEmpty());
    QCOMPARE(grid->isChecked(1), score >= SuggestCodes::defaultMinimum);
    retired.minimum()->setValue(score + 1);
    QVERIFY(!grid->isChecked(1));
    retired.minimum()->setValue(score);
    QVERIFY(grid->isChecked(1));
    QVERIFY(retired.list()->choices(1).size() <= 5);

    m_prompter.shown.clear();
    QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cmdRetiredSave")), Qt::LeftButton);
    QCOMPARE(m_prompter.texts(), QStringList{"1 links saved."});
    // Rewritten through the save, under its own revenue code, item mode and category.
    QCOMPARE(linkOf(QStringLiteral("3001")),
             code + QStringLiteral(" | ") + description + QStringLiteral(" | Imaging | XR | PROC"));
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT * FROM Build_FIle..ESOA_ER_LINK")), 5);
    QVERIFY(!grid->isChecked(1));
    // The history says what made each change, as the review lists it.
    const auto lastHow = [&](const char* item) {
        return gw()
            .query(QStringLiteral("SELECT TOP 1 Action, How FROM Build_FIle..ESOA_LINK_HISTORY "
                                  "WHERE ItemID = '%1' ORDER BY ID DESC")
                       .arg(QLatin1String(item)))
            .rows.value(0);
    };
    QCOMPARE(lastHow("10079"), (QStringList{"refresh", "list update"}));
    QCOMPARE(lastHow("3001"), (QStringList{"rewrite", "re-map"}));
    QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cmdRetiredClose")),
                      Qt::LeftButton);
    QVERIFY(!d->isVisible());
    // From the mapping list's menu it is reached again; now nothing is left to re-map.
    m_prompter.shown.clear();
    pickMappingMenu(QStringLiteral("Links to codes no longer listed..."));
    QCOMPARE(m_prompter.texts(),
             QStringList{"Every link of ESOA_ER points at a code the list holds."});

    // Each run is undone on its own, the newest first.
    QCOMPARE(mappingMenuTexts().last(), QStringLiteral("Undo last Map ALL (1 link)"));
    pickMappingMenu(QStringLiteral("Undo last Map ALL (1 link)"));
    QCOMPARE(linkOf(QStringLiteral("3001")),
             QStringLiteral("ER0027 | Chest PA | Imaging | XR | PROC"));
    QCOMPARE(mappingMenuTexts().last(), QStringLiteral("Undo last list update (2 links)"));
    m_prompter.shown.clear();
    pickMappingMenu(QStringLiteral("Undo last list update (2 links)"));
    QCOMPARE(m_prompter.shown.first().text,
             QStringLiteral("Undo the last list update's refresh of 2 links?\r\nThe links get "
                            "their old copies back; the list itself stays as updated."));
    QCOMPARE(linkOf(QStringLiteral("10079")),
             QStringLiteral("ER0004 | Ceftriaxone 1 g vial | Therapeutics | PH | INV"));
    QVERIFY(mappingMenuTexts().filter(QStringLiteral("Undo")).isEmpty());

    // The version, from the menu.
    pickMappingMenu(QStringLiteral("List versions..."));
    QDialog* versions = update().versionsWindow();
    QVERIFY(versions && versions->isVisible());
    QCOMPARE(versions->objectName(), QStringLiteral("dlgListVersions"));
    FlexGrid* list = update().versionsGrid();
    QCOMPARE(list->objectName(), QStringLiteral("GridListVersions"));
    QCOMPARE(gridRows(list, 2), (QStringList{"Version | Table", "1 | ESOA_ER"}));
    QCOMPARE(list->textMatrix(1, 7), QStringLiteral("1"));  // new
    QCOMPARE(list->textMatrix(1, 10), QStringLiteral("2")); // links refreshed
}

void TestListUpdateScreen::aListThatLooksCutShortIsAppliedOnlyWhenTheClerkSaysSo() {
    const QStringList all = newlist::sampleLines(QStringLiteral("ESOA_ER"));
    QVERIFY(newlist::write(m_files.path(), QStringLiteral("ESOA_ER"), all.mid(0, 10)));
    const int before = countRows(gw(), QStringLiteral("SELECT * FROM Build_FIle..ESOA_ER"));
    openUpdate();
    m_prompter.answers = {Prompter::Answer::No};
    QTest::mouseClick(dialogButton(update().dialog(), "cmdListUpdateApply"), Qt::LeftButton);
    QCOMPARE(m_prompter.shown.size(), 1);
    QCOMPARE(m_prompter.shown[0].text, QStringLiteral("The new list lacks 79 of the 89 codes "
                                                      "listed now. Apply it all the same?"));
    QCOMPARE(m_prompter.shown[0].buttons, Prompter::Buttons::YesNoDefaultNo);
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT * FROM Build_FIle..ESOA_ER")), before);
    QVERIFY(update().dialog()->isVisible());
    // Told yes, it applies.
    m_prompter.answers = {Prompter::Answer::Yes};
    QTest::mouseClick(dialogButton(update().dialog(), "cmdListUpdateApply"), Qt::LeftButton);
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT * FROM Build_FIle..ESOA_ER")), 10);
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT * FROM Build_FIle..ESOA_LIST_RETIRED")), 79);
    // A fifth exactly is no cut: nothing is asked.
    QStringList fewer = all.mid(0, 8);
    QVERIFY(newlist::write(m_files.path(), QStringLiteral("ESOA_ER"), fewer));
    m_prompter.shown.clear();
    openUpdate();
    QCOMPARE(update().comparison().retiredCodes, 2);
    QVERIFY(!update().comparison().looksCutShort());
}

void TestListUpdateScreen::aFileThatCannotBeReadOpensNothing() {
    QTemporaryDir empty;
    m_screen->referenceImport().setFolder(empty.path());
    QTest::mouseClick(c().lblMaint, Qt::LeftButton);
    QTest::mouseClick(button("cmdListUpdate"), Qt::LeftButton);
    QCOMPARE(m_prompter.texts(),
             QStringList{QStringLiteral("File not found: ") +
                         QDir::toNativeSeparators(empty.filePath(QStringLiteral("ESOA_ER.csv")))});
    QVERIFY(!update().dialog());
}

void TestListUpdateScreen::createTablesMakesTheRecordOfEditionsAndKeepsIt() {
    openUpdate();
    QTest::mouseClick(dialogButton(update().dialog(), "cmdListUpdateApply"), Qt::LeftButton);
    m_screen->suggestions().retiredLinks().close();
    m_screen->tables().cmdCreateTable_Click();
    for (const char* table : {"ESOA_LIST_VERSION", "ESOA_LIST_RETIRED", "ESOA_LIST_CHANGE"})
        QVERIFY2(countRows(gw(),
                           QStringLiteral("SELECT * FROM Build_FIle..") + QLatin1String(table)) > 0,
                 table);
}

QTEST_MAIN(TestListUpdateScreen)
#include "tst_listupdatescreen.moc"

// The history of the links on the real screen and an embedded database: one row per save,
// rewrite and delete, written together with the link change or not at all; the undo of a map all;
// a database without the history table; the history dialog.
#include "ScreenFixture.h"

#include "core/history/HistoryStatements.h"
#include "ui/screen/MainScreen.h"
#include "ui/widgets/FlexGrid.h"

#include <QAction>
#include <QDateTime>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTest>

namespace {

const char* const historyColumns = "Action, LinkTable, LinkID, RevenueID, ItemID, OldCode, "
                                   "OldDescription, NewCode, NewDescription, BatchNo";

} // namespace

class TestLinkHistory : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_screen.reset(); }

    void eachChangeWritesOneRow();
    void aFailedHistoryWriteLeavesTheLinkAsItWas();
    void undoOfAMapAll();
    void undoLeavesLinksChangedSinceAndThenOffersTheBatchBefore();
    void withoutTheHistoryTableSavingGoesOn();
    void theHistoryDialog();

private:
    void save(const QString& item, const QString& description) {
        c().txtVALTORItemID->setText(item);
        c().txtVALTORitemDesc->setText(description);
        c().cmdEdit->click();
    }
    void mapAll(const QList<QStringList>& items) {
        c().Grid2->bind(itemList(items));
        m_prompter.answers = {Prompter::Answer::Yes};
        c().cmdMapAll->click();
    }
    QList<QStringList> history(const QString& where = QStringLiteral("1=1")) {
        return gw()
            .query(QStringLiteral("SELECT %1 FROM Build_FIle..ESOA_LINK_HISTORY WHERE %2 ORDER BY "
                                  "ID")
                       .arg(QLatin1String(historyColumns), where))
            .rows;
    }
    QList<QStringList> linksOf(const QString& item) {
        return gw()
            .query(QStringLiteral("SELECT ID, Code, Description, Category, FixedFee, ChargingUnit, "
                                  "ItemDesc FROM Build_FIle..ESOA_ER_LINK WHERE RevenueID='PH' AND "
                                  "ItemID='%1'")
                       .arg(item))
            .rows;
    }
    void exec(const QString& sql) {
        QSqlQuery q(gw().backend().database());
        QVERIFY2(q.exec(sql), qPrintable(sql));
    }
};

void TestLinkHistory::init() {
    openScreen();
}

void TestLinkHistory::eachChangeWritesOneRow() {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
    choosePhilHealthItem(QStringLiteral("ER0002"), QStringLiteral("Ketorolac 30 mg/mL ampule"));
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC"));
    // The look-up stands before the transaction, which holds only the two writes: the link's
    // gives its new key itself (no @@IDENTITY, which a trigger's insert would change).
    const QStringList log = gw().log();
    QCOMPARE(log.size(), 8);
    QVERIFY(log[0].startsWith(QStringLiteral("SELECT * FROM [Build_FIle].[dbo].ESOA_ER_LINK ")));
    QCOMPARE(log.mid(1, 3), (QStringList{history::probeStatement(), history::probeHowStatement(),
                                         "BEGIN TRANSACTION"}));
    QVERIFY(log[4].startsWith(QStringLiteral("SET NOCOUNT ON; DECLARE @added TABLE ([ID] bigint); "
                                             "INSERT INTO [Build_FIle].[dbo].ESOA_ER_LINK (")));
    QVERIFY(log[4].contains(QStringLiteral(" OUTPUT INSERTED.[ID] INTO @added SELECT ")));
    QCOMPARE(log.mid(5, 2), (QStringList{history::insertStatement(), "COMMIT TRANSACTION"}));
    QVERIFY(!log.join(u'\n').contains(QStringLiteral("@@IDENTITY")));
    const QString id = linksOf(QStringLiteral("10020")).value(0).value(0);
    QVERIFY(!id.isEmpty());
    QCOMPARE(history(), (QList<QStringList>{{"add", "ESOA_ER_LINK", id, "PH", "10020", "", "",
                                             "ER0002", "Ketorolac 30 mg/mL ampule", ""}}));
    // Who, where and when, from the session.
    const QStringList who =
        gw().query(QStringLiteral("SELECT ChangedBy, Workstation, ChangedAt, OldFixedFee, "
                                  "NewFixedFee, NewCategory, NewItemDesc FROM "
                                  "Build_FIle..ESOA_LINK_HISTORY"))
            .rows[0];
    QVERIFY(!who[0].isEmpty());
    const QString user = qEnvironmentVariable("USER");
    if (!user.isEmpty())
        QCOMPARE(who[0], user);
    QCOMPARE(who[1], QSysInfo::machineHostName());
    const QDateTime at = QDateTime::fromString(who[2], QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QVERIFY2(at >= before.addSecs(-1) && at <= QDateTime::currentDateTime().addSecs(2),
             qPrintable(who[2]));
    QCOMPARE(who.mid(3), (QStringList{"", "95", "Therapeutics", "KETOROLAC"}));

    // A rewrite keeps what the link was.
    choosePhilHealthItem(QStringLiteral("ER0001"),
                         QStringLiteral("Paracetamol 300 mg/2 mL ampule"));
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC"));
    QCOMPARE(history().size(), 2);
    QCOMPARE(history().last(), (QStringList{"rewrite", "ESOA_ER_LINK", id, "PH", "10020", "ER0002",
                                            "Ketorolac 30 mg/mL ampule", "ER0001",
                                            "Paracetamol 300 mg/2 mL ampule", ""}));

    // A delete keeps what the link was, and nothing after.
    m_screen->mappings().LoadMappings();
    for (int r = 1; r < c().GridMap->rows(); ++r)
        if (c().GridMap->textMatrix(r, 0) == id)
            c().GridMap->setRow(r);
    c().cmdDelete->click();
    QVERIFY(linksOf(QStringLiteral("10020")).isEmpty());
    QCOMPARE(history().size(), 3);
    QCOMPARE(history().last(), (QStringList{"delete", "ESOA_ER_LINK", id, "PH", "10020", "ER0001",
                                            "Paracetamol 300 mg/2 mL ampule", "", "", ""}));
    // A delete of no link writes nothing.
    c().txtESOACode->setText(QStringLiteral("NONE"));
    m_screen->mappings().LoadMappings();
    c().cmdDelete->click();
    QCOMPARE(history().size(), 3);
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestLinkHistory::aFailedHistoryWriteLeavesTheLinkAsItWas() {
    choosePhilHealthItem(QStringLiteral("ER0002"), QStringLiteral("Ketorolac 30 mg/mL ampule"));
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC"));
    const QList<QStringList> linked = linksOf(QStringLiteral("10020"));
    const int links = countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK"));
    exec(QStringLiteral("CREATE TRIGGER Build_FIle.refuse BEFORE INSERT ON ESOA_LINK_HISTORY "
                        "BEGIN SELECT RAISE(ABORT, 'history refused'); END"));
    // A new link, a rewrite, a delete, a map all: each fails whole.
    save(QStringLiteral("10021"), QStringLiteral("TRAMADOL"));
    choosePhilHealthItem(QStringLiteral("ER0001"),
                         QStringLiteral("Paracetamol 300 mg/2 mL ampule"));
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC"));
    QCOMPARE(m_prompter.texts(),
             QStringList(2, QStringLiteral("history refused\r\nin Brevant.frmESOA_Items."
                                           "cmdEdit_Click at line 144")));
    c().txtESOACode->setText(QStringLiteral("ER0002"));
    m_screen->mappings().LoadMappings();
    c().GridMap->setRow(1);
    m_prompter.shown.clear();
    c().cmdDelete->click();
    QCOMPARE(m_prompter.texts(), QStringList{"history refused"});
    mapAll({{"10022", "B", "", ""}, {"10020", "A", "", ""}});
    QCOMPARE(linksOf(QStringLiteral("10020")), linked);
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK")), links);
    QCOMPARE(history().size(), 1);
    // The connection is left outside any transaction: the next save stands on its own.
    exec(QStringLiteral("DROP TRIGGER Build_FIle.refuse"));
    save(QStringLiteral("10021"), QStringLiteral("TRAMADOL"));
    QCOMPARE(history().size(), 2);
    QCOMPARE(linksOf(QStringLiteral("10021")).size(), 1);
}

void TestLinkHistory::undoOfAMapAll() {
    const QList<QStringList> paracetamol = linksOf(QStringLiteral("10018")); // linked to ER0001
    QCOMPARE(paracetamol.size(), 1);
    QCOMPARE(mappingMenuTexts().filter(QStringLiteral("Undo")), QStringList());
    choosePhilHealthItem(QStringLiteral("ER0002"), QStringLiteral("Ketorolac 30 mg/mL ampule"));
    mapAll({{"10018", "PARACETAMOL", "", ""},
            {"10020", "KETOROLAC", "", ""},
            {"10021", "TRAMADOL", "", ""}});
    // One batch, numbered by its first row.
    const QList<QStringList> rows = history();
    QCOMPARE(rows.size(), 3);
    const QString first = gw().query(QStringLiteral("SELECT MIN(ID) FROM "
                                                    "Build_FIle..ESOA_LINK_HISTORY"))
                              .rows[0][0];
    QCOMPARE(history(QStringLiteral("BatchNo=") + first).size(), 3);
    QCOMPARE(rows[0][0], QStringLiteral("rewrite"));
    QCOMPARE(rows[1][0], QStringLiteral("add"));
    QCOMPARE(mappingMenuTexts().last(), QStringLiteral("Undo last Map ALL (3 links)"));

    // No changes nothing.
    m_prompter.shown.clear();
    m_prompter.answers = {Prompter::Answer::No};
    pickMappingMenu(QStringLiteral("Undo last Map ALL (3 links)"));
    QCOMPARE(m_prompter.texts(),
             QStringList{"Undo the last Map ALL Listed to ER0002 (3 links)?\r\nLinks it added are "
                         "removed; links it rewrote get their old values back."});
    QCOMPARE(m_prompter.shown[0].buttons, Prompter::Buttons::YesNo);
    QCOMPARE(history().size(), 3);

    // A step that fails undoes nothing: the rewrite put back before it is rolled back too.
    exec(QStringLiteral("CREATE TRIGGER Build_FIle.keep BEFORE DELETE ON ESOA_ER_LINK BEGIN "
                        "SELECT RAISE(ABORT, 'kept'); END"));
    m_prompter.shown.clear();
    m_prompter.answers = {Prompter::Answer::Yes};
    pickMappingMenu(QStringLiteral("Undo last Map ALL (3 links)"));
    QCOMPARE(m_prompter.texts().last(),
             QStringLiteral("The Map ALL was not undone; nothing was changed.\r\nkept"));
    QCOMPARE(linksOf(QStringLiteral("10018")).value(0).value(1), QStringLiteral("ER0002"));
    QCOMPARE(history().size(), 3);
    exec(QStringLiteral("DROP TRIGGER Build_FIle.keep"));

    m_prompter.shown.clear();
    m_prompter.answers = {Prompter::Answer::Yes};
    pickMappingMenu(QStringLiteral("Undo last Map ALL (3 links)"));
    QCOMPARE(m_prompter.texts().last(), QStringLiteral("3 restored."));
    QCOMPARE(linksOf(QStringLiteral("10018")), paracetamol);
    QVERIFY(linksOf(QStringLiteral("10020")).isEmpty());
    QVERIFY(linksOf(QStringLiteral("10021")).isEmpty());
    QCOMPARE(c().GridMap->rows(), 1); // the list of ER0002, reloaded: empty
    const QList<QStringList> undone = history(QStringLiteral("Action='undo'"));
    QCOMPARE(undone.size(), 3);
    QCOMPARE(undone[0].mid(4), (QStringList{"10018", "ER0002", "Ketorolac 30 mg/mL ampule",
                                            "ER0001", paracetamol[0][2], first}));
    QCOMPARE(undone[1].mid(4),
             (QStringList{"10020", "ER0002", "Ketorolac 30 mg/mL ampule", "", "", first}));
    QCOMPARE(mappingMenuTexts().filter(QStringLiteral("Undo")), QStringList());
}

void TestLinkHistory::undoLeavesLinksChangedSinceAndThenOffersTheBatchBefore() {
    choosePhilHealthItem(QStringLiteral("ER0002"), QStringLiteral("Ketorolac 30 mg/mL ampule"));
    mapAll({{"10020", "KETOROLAC", "", ""}, {"10021", "TRAMADOL", "", ""}});
    choosePhilHealthItem(QStringLiteral("ER0003"), QStringLiteral("Tramadol 50 mg/mL ampule"));
    mapAll({{"10021", "TRAMADOL", "", ""},
            {"10022", "DICLOFENAC", "", ""},
            {"10023", "CEFUROXIME", "", ""}});
    // After it: 10022 saved again by hand, 10023 changed by someone without the history.
    choosePhilHealthItem(QStringLiteral("ER0001"),
                         QStringLiteral("Paracetamol 300 mg/2 mL ampule"));
    save(QStringLiteral("10022"), QStringLiteral("DICLOFENAC"));
    gw().execute(QStringLiteral("UPDATE Build_FIle..ESOA_ER_LINK SET ChargingUnit='per vial' "
                                "WHERE ItemID='10023'"));
    c().txtESOACode->setText(QStringLiteral("ER0003"));
    m_prompter.shown.clear();
    pickMappingMenu(QStringLiteral("Undo last Map ALL (3 links)"));
    QCOMPARE(m_prompter.texts().last(),
             QStringLiteral("1 restored, 2 left alone because they were changed since: "
                            "DICLOFENAC (10022), CEFUROXIME (10023)"));
    QCOMPARE(linksOf(QStringLiteral("10021")).value(0).value(1), QStringLiteral("ER0002"));
    QCOMPARE(linksOf(QStringLiteral("10022")).value(0).value(1), QStringLiteral("ER0001"));
    QCOMPARE(linksOf(QStringLiteral("10023")).value(0).value(5), QStringLiteral("per vial"));

    // The batch before is offered next, and its links come off whole: 10021 is as it left it.
    QCOMPARE(mappingMenuTexts().last(), QStringLiteral("Undo last Map ALL (2 links)"));
    m_prompter.shown.clear();
    pickMappingMenu(QStringLiteral("Undo last Map ALL (2 links)"));
    QCOMPARE(m_prompter.texts().first(),
             QStringLiteral("Undo the last Map ALL Listed to ER0002 (2 links)?\r\nLinks it added "
                            "are removed; links it rewrote get their old values back."));
    QCOMPARE(m_prompter.texts().last(), QStringLiteral("2 restored."));
    QVERIFY(linksOf(QStringLiteral("10020")).isEmpty());
    QVERIFY(linksOf(QStringLiteral("10021")).isEmpty());
    QCOMPARE(mappingMenuTexts().filter(QStringLiteral("Undo")), QStringList());

    // A batch whose links were all changed since is undone with none restored, and then not
    // offered again.
    choosePhilHealthItem(QStringLiteral("ER0002"), QStringLiteral("Ketorolac 30 mg/mL ampule"));
    mapAll({{"10020", "KETOROLAC", "", ""}});
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC AMPULE"));
    m_prompter.shown.clear();
    pickMappingMenu(QStringLiteral("Undo last Map ALL (1 link)"));
    QCOMPARE(m_prompter.texts().last(),
             QStringLiteral("0 restored, 1 left alone because they were changed since: "
                            "KETOROLAC (10020)"));
    QCOMPARE(mappingMenuTexts().filter(QStringLiteral("Undo")), QStringList());
}

void TestLinkHistory::withoutTheHistoryTableSavingGoesOn() {
    // Missing, and made on the first save without a word.
    exec(QStringLiteral("DROP TABLE Build_FIle.ESOA_LINK_HISTORY"));
    choosePhilHealthItem(QStringLiteral("ER0002"), QStringLiteral("Ketorolac 30 mg/mL ampule"));
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC"));
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(history().size(), 1);

    // Missing, and it cannot be made (its name is taken): one notice in the run, saves go on.
    closeScreen();
    m_screen = std::make_unique<MainScreen>(m_user, m_prompter);
    exec(QStringLiteral("DROP TABLE Build_FIle.ESOA_LINK_HISTORY"));
    exec(QStringLiteral("CREATE INDEX Build_FIle.ESOA_LINK_HISTORY ON ESOA_ER_LINK(ItemDesc)"));
    choosePhilHealthItem(QStringLiteral("ER0002"), QStringLiteral("Ketorolac 30 mg/mL ampule"));
    save(QStringLiteral("10021"), QStringLiteral("TRAMADOL"));
    save(QStringLiteral("10022"), QStringLiteral("DICLOFENAC"));
    m_screen->mappings().LoadMappings();
    c().GridMap->setRow(1);
    c().cmdDelete->click();
    QCOMPARE(m_prompter.shown.size(), 1);
    QVERIFY2(m_prompter.texts()[0].startsWith(
                 QStringLiteral("The history of the links cannot be kept: the table "
                                "ESOA_LINK_HISTORY is missing and could not be made.\r\n")),
             qPrintable(m_prompter.texts()[0]));
    QVERIFY(m_prompter.texts()[0].contains(QStringLiteral("already an index named")));
    QCOMPARE(m_prompter.shown[0].icon, Prompter::Icon::Warning);
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK WHERE "
                                            "Code='ER0002'")),
             2);
    QCOMPARE(mappingMenuTexts().filter(QStringLiteral("Undo")), QStringList());

    // "a. Create Tables" makes it, and the next save writes its row.
    exec(QStringLiteral("DROP INDEX Build_FIle.ESOA_LINK_HISTORY"));
    c().optTable[1]->setChecked(true);
    c().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    c().cmdCreateTable->click();
    QCOMPARE(m_prompter.texts().last(), QStringLiteral("Done."));
    QVERIFY(history().isEmpty());
    choosePhilHealthItem(QStringLiteral("ER0002"), QStringLiteral("Ketorolac 30 mg/mL ampule"));
    save(QStringLiteral("10023"), QStringLiteral("CEFUROXIME"));
    QCOMPARE(history().size(), 1);
    QCOMPARE(m_prompter.shown.size(), 2);
    // A second run of it keeps every row.
    c().cmdCreateTable->click();
    QCOMPARE(history().size(), 1);
}

void TestLinkHistory::theHistoryDialog() {
    choosePhilHealthItem(QStringLiteral("ER0002"), QStringLiteral("Ketorolac 30 mg/mL ampule"));
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC"));
    choosePhilHealthItem(QStringLiteral("ER0001"),
                         QStringLiteral("Paracetamol 300 mg/2 mL ampule"));
    save(QStringLiteral("10020"), QStringLiteral("KETOROLAC"));
    FlexGrid* map = c().GridMap;
    int row = 1;
    while (row < map->rows() && map->textMatrix(row, 6) != QStringLiteral("10020"))
        ++row;
    QVERIFY(row < map->rows());
    map->setRow(row);
    QList<QStringList> shown;
    QString caption;
    connect(&m_screen->historyScreen(), &HistoryScreen::historyShown, this, [&](QDialog* dialog) {
        auto* grid = dialog->findChild<FlexGrid*>(QStringLiteral("GridLinkHistory"));
        for (int r = 0; grid && r < grid->rows(); ++r) {
            QStringList cells;
            for (int col = 3; col < grid->cols(); ++col)
                cells << grid->textMatrix(r, col);
            shown << cells;
        }
        caption = dialog->findChild<QLabel*>(QStringLiteral("lblLinkHistory"))->text();
        dialog->findChild<QPushButton*>(QStringLiteral("cmdLinkHistoryClose"))->click();
    });
    pickMappingMenu(QStringLiteral("History of this link..."));
    QCOMPARE(shown,
             (QList<QStringList>{{"Action", "Old code", "Old description", "New code",
                                  "New description", "Map ALL", "Note"},
                                 {"rewrite", "ER0002", "Ketorolac 30 mg/mL ampule", "ER0001",
                                  "Paracetamol 300 mg/2 mL ampule", "", ""},
                                 {"add", "", "", "ER0002", "Ketorolac 30 mg/mL ampule", "", ""}}));
    QVERIFY(caption.startsWith(QStringLiteral("KETOROLAC (10020), revenue code PH")));
    // The header row has no link: nothing to show; the row right-clicked is the one shown.
    map->setRow(0);
    const auto historyItem = [&](int clicked) {
        std::unique_ptr<QMenu> menu(m_screen->listExports().menuFor(map, clicked));
        for (QAction* a : menu->actions())
            if (a->text() == QStringLiteral("History of this link..."))
                return a->isEnabled();
        return false;
    };
    QVERIFY(!historyItem(-1));
    QVERIFY(historyItem(row));
}

QTEST_MAIN(TestLinkHistory)
#include "tst_linkhistory.moc"

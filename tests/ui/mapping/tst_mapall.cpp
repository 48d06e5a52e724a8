// Mapping a whole list on the real screen and an embedded database: the question, one save per
// listed row, rows passed over, failures per row, and lists beyond 32,767 rows.
#include "ScreenFixture.h"

#include "core/db/EmbeddedDatabase.h"
#include "ui/screen/MainScreen.h"
#include "ui/widgets/FlexGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestMapAll : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void answeringNoChangesNothing();
    void everyListedItemIsSaved();
    void aHeaderOnlyListDoesNothingAfterTheQuestion();
    void passedOverAndEmptyRows();
    void withoutAPhilHealthItemEachRowSaysSo();
    void aRowGrid2ClickCannotReadIsReportedAndSkipped();
    void goesBeyond32767Rows();

private:
    QList<QStringList> linksOf(const QString& code) {
        return gw()
            .query(
                QStringLiteral("SELECT ItemID, ItemDesc, RevenueID FROM Build_FIle..ESOA_ER_LINK "
                               "WHERE Code='%1' ORDER BY ItemID")
                    .arg(code))
            .rows;
    }
    int linkCount() {
        return countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK"));
    }
    void mapAll(Prompter::Answer answer) {
        m_prompter.shown.clear();
        m_prompter.answers = {answer};
        gw().clearLog();
        c().cmdMapAll->click();
        m_log = builtStatements(gw().log());
    }
    QStringList m_log; // the statements of the last run
};

void TestMapAll::init() {
    openScreen();
}

void TestMapAll::cleanup() {
    m_screen.reset();
}

void TestMapAll::answeringNoChangesNothing() {
    choosePhilHealthItem();
    c().Grid2->bind(itemList({{"10020", "A", "", ""}, {"10021", "B", "", ""}}));
    const int before = linkCount();
    mapAll(Prompter::Answer::No);
    QCOMPARE(m_prompter.texts(), QStringList{"Are you sure to map all listed?"});
    QCOMPARE(m_prompter.shown[0].buttons, Prompter::Buttons::YesNo);
    QCOMPARE(m_prompter.shown[0].icon, Prompter::Icon::None);
    QCOMPARE(m_prompter.shown[0].title, QStringLiteral("Brevant"));
    QVERIFY(m_log.isEmpty());
    QCOMPARE(linkCount(), before);
    QCOMPARE(c().txtVALTORItemID->text(), QString());
}

void TestMapAll::everyListedItemIsSaved() {
    choosePhilHealthItem();
    // 10018 is linked to ER0001 already: it moves to ER0002.
    c().Grid2->bind(itemList({{"10018", "PARACETAMOL", "", ""},
                              {"10020", "KETOROLAC", "", ""},
                              {"10021", "TRAMADOL", "", ""}}));
    const int before = linkCount();
    mapAll(Prompter::Answer::Yes);
    QCOMPARE(m_prompter.texts(), QStringList{"Are you sure to map all listed?"});
    QCOMPARE(linkCount(), before + 2);
    QCOMPARE(linksOf(QStringLiteral("ER0002")), (QList<QStringList>{{"10018", "PARACETAMOL", "PH"},
                                                                    {"10020", "KETOROLAC", "PH"},
                                                                    {"10021", "TRAMADOL", "PH"}}));
    QCOMPARE(c().txtVALTORItemID->text(), QStringLiteral("10021"));
    QCOMPARE(c().txtVALTORitemDesc->text(), QStringLiteral("TRAMADOL"));
    QCOMPARE(c().GridMap->rows(), 4);
    QCOMPARE(c().GridMap->textMatrix(1, 1), QStringLiteral("ER0002"));
    QCOMPARE(c().cmdInst->text(), QStringLiteral("<-Done. Mapped items displayed here"));
    // One look-up and one reload per row, in row order.
    const QStringList log = m_log;
    QCOMPARE(log.size(), 6);
    QVERIFY(log[0].endsWith(QStringLiteral("ItemID    ='10018'")));
    QVERIFY(log[2].endsWith(QStringLiteral("ItemID    ='10020'")));
    QVERIFY(log[4].endsWith(QStringLiteral("ItemID    ='10021'")));
    // Each row is committed: another workstation sees all of them once the command returns.
    Gateway other(embedded::open(m_db->folder()));
    QCOMPARE(countRows(other, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK WHERE "
                                             "Code='ER0002'")),
             3);
}

void TestMapAll::aHeaderOnlyListDoesNothingAfterTheQuestion() {
    choosePhilHealthItem();
    c().Grid2->bind(itemList({}));
    mapAll(Prompter::Answer::Yes);
    QCOMPARE(m_prompter.shown.size(), 1);
    QVERIFY(m_log.isEmpty());
}

void TestMapAll::passedOverAndEmptyRows() {
    choosePhilHealthItem();
    c().Grid2->bind(itemList({{"10020", "KETOROLAC", "", ""},
                              {"OtherRevenueID", "header text", "", ""},
                              {"", "no id", "", ""},
                              {"10021", "TRAMADOL", "", ""}}));
    const int before = linkCount();
    mapAll(Prompter::Answer::Yes);
    // The passed-over row saves the previous item once more; the empty one is refused.
    QCOMPARE(m_prompter.texts(),
             (QStringList{"Are you sure to map all listed?", "Select VALTOR item."}));
    QCOMPARE(linkCount(), before + 2);
    QCOMPARE(linksOf(QStringLiteral("ER0002")),
             (QList<QStringList>{{"10020", "KETOROLAC", "PH"}, {"10021", "TRAMADOL", "PH"}}));
    int lookupsOf10020 = 0;
    for (const QString& s : m_log)
        lookupsOf10020 += s.endsWith(QStringLiteral("ItemID    ='10020'")) ? 1 : 0;
    QCOMPARE(lookupsOf10020, 2);
}

void TestMapAll::withoutAPhilHealthItemEachRowSaysSo() {
    choosePhilHealthItem();
    c().txtESOACode->setText(QString());
    c().Grid2->bind(itemList({{"10020", "A", "", ""}, {"10021", "B", "", ""}}));
    const int before = linkCount();
    mapAll(Prompter::Answer::Yes);
    QCOMPARE(m_prompter.texts(), (QStringList{"Are you sure to map all listed?",
                                              "Select ESOA item.", "Select ESOA item."}));
    QCOMPARE(linkCount(), before);
    QVERIFY(m_log.isEmpty());
}

void TestMapAll::aRowGrid2ClickCannotReadIsReportedAndSkipped() {
    choosePhilHealthItem();
    TextTable oneColumn;
    oneColumn.columns << QStringLiteral("ItemID");
    oneColumn.rows << QStringList{"10020"} << QStringList{"10021"};
    c().Grid2->bind(oneColumn);
    const int before = linkCount();
    mapAll(Prompter::Answer::Yes);
    QCOMPARE(m_prompter.texts(), (QStringList{"Are you sure to map all listed?",
                                              "Subscript out of range", "Subscript out of range"}));
    QCOMPARE(linkCount(), before);
}

void TestMapAll::goesBeyond32767Rows() {
    // With no PhilHealth item every row is refused at once: the run is quick, and the last row
    // taken shows how far it went.
    choosePhilHealthItem();
    c().txtESOACode->setText(QString());
    QList<QStringList> rows;
    for (int i = 1; i <= 40000; ++i)
        rows << QStringList{QString::number(i), QStringLiteral("ITEM %1").arg(i), "", ""};
    c().Grid2->bind(itemList(rows));
    mapAll(Prompter::Answer::Yes);
    QCOMPARE(m_prompter.shown.size(), 40001);
    QCOMPARE(c().txtVALTORItemID->text(), QStringLiteral("40000"));
}

QTEST_MAIN(TestMapAll)
#include "tst_mapall.moc"

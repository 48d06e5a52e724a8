// The reference item search on the real screen and an embedded database: the exact statement for
// each filter, the rows listed, and the two messages when the table is missing.
#include "ScreenFixture.h"

#include "ui/screen/MainScreen.h"
#include "ui/widgets/FlexGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestReferenceSearch : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { closeScreen(); }
    void statementForEachFilter_data();
    void statementForEachFilter();
    void enterInTheDescriptionBoxSearches();
    void aMissingTableShowsTwoMessagesAndLeavesAnEmptyRow();

private:
};

void TestReferenceSearch::init() {
    openScreen();
    m_screen->controls().lblESOATableName->setText(QStringLiteral("ESOA_ER"));
}

void TestReferenceSearch::statementForEachFilter_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("rows");
    QTest::newRow("no filter")
        << ""
        << ""
        << "SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1 " << 89;
    QTest::newRow("both")
        << "ampule"
        << "Therapeutics"
        << "SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1  AND "
           "Description like '%ampule%'   AND Category='Therapeutics'  "
        << 11;
    QTest::newRow("dash")
        << ""
        << "-"
        << "SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1  AND "
           "Category=''  "
        << 0;
    QTest::newRow("apostrophe")
        << "gram's"
        << ""
        << "SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1  "
           "AND Description like '%gram''s%'  "
        << 1;
    QTest::newRow("wildcards")
        << "ceftriaxone_1%vial"
        << ""
        << "SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1  "
           "AND Description like '%ceftriaxone_1%vial%'  "
        << 1;
}

void TestReferenceSearch::statementForEachFilter() {
    QFETCH(QString, description);
    QFETCH(QString, category);
    QFETCH(QString, statement);
    QFETCH(int, rows);
    Controls& c = m_screen->controls();
    c.txtSOADesc->setText(description);
    c.txtAreaCat->setText(category);
    c.cmdSearchSOAItem->click();
    QCOMPARE(gw().log(), QStringList{statement});
    QCOMPARE(c.Grid1->rows() - 1, rows);
    QCOMPARE(c.Grid1->textMatrix(0, 3), QStringLiteral("Description"));
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestReferenceSearch::enterInTheDescriptionBoxSearches() {
    m_screen->show();
    Controls& c = m_screen->controls();
    c.txtSOADesc->setFocus();
    QTest::keyClicks(c.txtSOADesc, QStringLiteral("chest"));
    QVERIFY(gw().log().isEmpty()); // typing alone does not search
    QTest::keyClick(c.txtSOADesc, Qt::Key_Return);
    QCOMPARE(gw().log().size(), 1);
    QVERIFY(c.Grid1->rows() > 2);
    QCOMPARE(c.txtSOADesc->text(), QStringLiteral("chest"));
}

void TestReferenceSearch::aMissingTableShowsTwoMessagesAndLeavesAnEmptyRow() {
    Controls& c = m_screen->controls();
    c.cmdSearchSOAItem->click();
    const int cols = c.Grid1->cols();
    c.lblESOATableName->setText(QStringLiteral("ESOA_NONE"));
    c.cmdSearchSOAItem->click();
    QCOMPARE(m_prompter.texts(), (QStringList{"no such table: Build_FIle.ESOA_NONE",
                                              "Create tables under Maintenance tab."}));
    for (const auto& shown : m_prompter.shown) {
        QCOMPARE(shown.icon, Prompter::Icon::None);
        QCOMPARE(shown.buttons, Prompter::Buttons::Ok);
    }
    QCOMPARE(c.Grid1->rows(), 2);
    QCOMPARE(c.Grid1->cols(), cols);
    QCOMPARE(c.Grid1->textMatrix(1, 1), QString());
}

QTEST_MAIN(TestReferenceSearch)
#include "tst_referencesearch.moc"

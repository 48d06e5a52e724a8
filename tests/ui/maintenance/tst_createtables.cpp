// "a. Create Tables" on the real screen: the twelve statements, what survives a second use, and
// "Done." only when both tables exist afterwards.
#include "ScreenFixture.h"

#include "core/maintenance/TableStatements.h"
#include "ui/screen/MainScreen.h"

#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTest>

class TestCreateTables : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { closeScreen(); }
    void runsTheTwelveStatementsAndKeepsTheLinks();
    void createsBothTablesOnADatabaseWithoutThem();
    void aReferenceTableThatCannotBeMadeIsReported();

private:
    // The ER tables that have an index on Code alone.
    QStringList codeIndexes() {
        QSqlQuery q(gw().backend().database());
        q.exec(QStringLiteral("SELECT tbl_name FROM Build_FIle.sqlite_master WHERE type = 'index' "
                              "AND sql LIKE '%(%Code] Asc)' AND tbl_name LIKE 'ESOA_ER%' "
                              "ORDER BY tbl_name"));
        QStringList out;
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
};

void TestCreateTables::init() {
    openScreen();
    Controls& c = m_screen->controls();
    c.optTable[1]->setChecked(true);
    c.lblESOATableName->setText(QStringLiteral("ESOA_ER"));
    gw().clearLog();
}

void TestCreateTables::runsTheTwelveStatementsAndKeepsTheLinks() {
    // The first-start database has the indexes by Code already.
    QCOMPARE(codeIndexes(), (QStringList{"ESOA_ER", "ESOA_ER_LINK"}));
    const int links = countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK"));
    const int items = countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ITEM"));
    gw().clearLog();
    m_screen->controls().cmdCreateTable->click();
    QCOMPARE(gw().log().mid(0, 12), tables::referenceTableStatements(QStringLiteral("ESOA_ER")));
    QCOMPARE(
        gw().log().mid(12, 2),
        (QStringList{"CREATE NONCLUSTERED INDEX [by_Code] ON [Build_File].[dbo].[ESOA_ER](    "
                     "[Code] Asc)",
                     "CREATE NONCLUSTERED INDEX [by_Code] ON [Build_File].[dbo].[ESOA_ER_LINK]("
                     "    [Code] Asc)"}));
    QCOMPARE(codeIndexes(), (QStringList{"ESOA_ER", "ESOA_ER_LINK"}));
    QCOMPARE(gw().log()[5].left(46),
             QStringLiteral("CREATE TABLE [Build_FIle].[dbo].[ESOA_ER](    "));
    QCOMPARE(m_prompter.texts(), QStringList{QStringLiteral("Done.")});
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER")), 0);
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK")), links);
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ITEM")), items);
    QVERIFY_THROWS_EXCEPTION(
        DbError, gw().query(QStringLiteral("SELECT ESOA_Code FROM Inventory..tbInvMaster")));
    // A second use: the old columns are gone and the links are still there.
    m_screen->controls().cmdCreateTable->click();
    QCOMPARE(m_prompter.texts(), (QStringList{"Done.", "Done."}));
    QCOMPARE(countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK")), links);
    // A link table that survived without its index by Code gets it.
    QSqlQuery(gw().backend().database())
        .exec(QStringLiteral("DROP INDEX Build_FIle.ESOA_ER_LINK__by_Code"));
    QCOMPARE(codeIndexes(), QStringList{"ESOA_ER"});
    m_screen->controls().cmdCreateTable->click();
    QCOMPARE(m_prompter.texts(), (QStringList{"Done.", "Done.", "Done."}));
    QCOMPARE(codeIndexes(), (QStringList{"ESOA_ER", "ESOA_ER_LINK"}));
}

void TestCreateTables::createsBothTablesOnADatabaseWithoutThem() {
    gw().execute(QStringLiteral("DROP TABLE Build_FIle..ESOA_ER_LINK"));
    gw().execute(QStringLiteral("DROP TABLE Build_FIle..ESOA_ER"));
    m_screen->controls().cmdCreateTable->click();
    QCOMPARE(m_prompter.texts(), QStringList{QStringLiteral("Done.")});
    gw().query(QStringLiteral("SELECT * FROM Build_FIle..ESOA_ER_LINK"));
    gw().query(QStringLiteral("SELECT * FROM Build_FIle..ESOA_ER"));
}

void TestCreateTables::aReferenceTableThatCannotBeMadeIsReported() {
    // A view of that name stands where the table should be: it can be neither dropped as a
    // table nor created over.
    gw().execute(QStringLiteral("CREATE VIEW Build_FIle.ESOA_X AS SELECT 1 AS x"));
    m_screen->controls().lblESOATableName->setText(QStringLiteral("ESOA_X"));
    m_screen->controls().cmdCreateTable->click();
    QCOMPARE(m_prompter.texts(), QStringList{QStringLiteral("view [ESOA_X] already exists")});
}

QTEST_MAIN(TestCreateTables)
#include "tst_createtables.moc"

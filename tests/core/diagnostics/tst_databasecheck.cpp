// The database check on real databases: the embedded one (the sample database, then damaged),
// whose round trip must leave every row as it was even when a step of it is refused; and the SQL
// Server check over the ODBC path the suite runs (QODBC with the SQLite ODBC driver) in the T-SQL
// dialect, where each of its steps fails with the driver's own text, every step is still reported
// and the connection is left with no transaction and NOEXEC set off again.
#include "TestDatabase.h"
#include "Wine.h"

#include "core/db/EmbeddedDatabase.h"
#include "core/db/SqlServer.h"
#include "core/diagnostics/DatabaseCheck.h"
#include "core/diagnostics/ServerAnswers.h"
#include "core/diagnostics/ServerStatements.h"
#include "core/history/HistoryStatements.h"

#include <QSqlQuery>
#include <QTest>

using namespace diagnostics;

namespace {

// "check | result" for each finding, for a compact comparison; the detail where asked.
QStringList outcomes(const Findings& findings) {
    QStringList out;
    for (const Finding& f : findings)
        out << f.check + QStringLiteral(" | ") + resultText(f.result);
    return out;
}

const Finding* findingOf(const Findings& findings, const QString& check) {
    for (const Finding& f : findings)
        if (f.check == check)
            return &f;
    return nullptr;
}

// Every row of the tables a round trip may touch, and the AUTOINCREMENT counters.
QStringList everyRow(Gateway& db) {
    QStringList out;
    for (const char* table : {"ESOA_ITEM_LINK", "ESOA_ER_LINK", "ESOA_LINK_HISTORY"})
        for (const QStringList& row :
             db.query(QStringLiteral("SELECT * FROM Build_FIle..%1 ORDER BY ID").arg(table)).rows)
            out << QLatin1String(table) + u':' + row.join(u'|');
    for (const QStringList& row :
         db.query(QStringLiteral("SELECT name, seq FROM Build_FIle.sqlite_sequence ORDER BY name"))
             .rows)
        out << row.join(u'=');
    return out;
}

void run(Gateway& db, const QString& sql) {
    QSqlQuery q(db.backend().database());
    if (!q.exec(sql))
        qFatal("%s", qPrintable(sql));
}

} // namespace

class TestDatabaseCheck : public QObject {
    Q_OBJECT
private slots:
    void theSampleDatabasePassesAndTheRegisterIsToCome();
    void aDamagedDatabaseShowsWhereAndTheOtherStepsStillRun();
    void theRoundTripLeavesEveryRowAsItWasEvenWhenRefused();
    void theRoundTripSendsTheSavesOwnStatements();
    void theSqlServerStepsOverOdbcEachReportTheDriversText();
};

void TestDatabaseCheck::theSampleDatabasePassesAndTheRegisterIsToCome() {
    TestDatabase database;
    const Findings findings = checkDatabase(database.gateway());
    QStringList notOk;
    for (const Finding& f : findings)
        if (f.result != Result::Ok)
            notOk << f.check + QStringLiteral(": ") + f.detail;
    QStringList toCome{QStringLiteral(
        "Table ESOA_DRUG_REGISTER: The table is missing from Build_FIle (or this login may not "
        "see it): the first \"Import drug register...\" makes it; until then the suggestions "
        "read no register.")};
    for (const char* table : {"ESOA_LIST_VERSION", "ESOA_LIST_RETIRED", "ESOA_LIST_CHANGE"})
        toCome << QStringLiteral("Table %1: The table is missing from Build_FIle (or this login "
                                 "may not see it): the first \"c. Update from new list...\" "
                                 "Apply makes it; until then no edition is on record.")
                      .arg(QLatin1String(table));
    toCome << QStringLiteral("Table ESOA_LINK_REVIEW: The table is missing from Build_FIle (or "
                             "this login may not see it): the first \"Review links...\" makes "
                             "it; until then every link is \"to review\".");
    QCOMPARE(notOk, toCome);
    const QStringList checks = outcomes(findings);
    for (const char* expected :
         {"Integrity of main | ok", "Integrity of Build_FIle | ok", "Integrity of Inventory | ok",
          "Table ESOA_ITEM | ok", "Table ESOA_ER_LINK | ok", "Table ESOA_LINK_HISTORY | ok",
          "Indexes of ESOA_ITEM_LINK | ok", "Indexes of ESOA_LINK_HISTORY | ok",
          "Round trip on ESOA_ITEM_LINK: add | ok", "Round trip on ESOA_ER_LINK: history row | ok",
          "Round trip on ESOA_ER_LINK: rollback | ok"})
        QVERIFY2(checks.contains(QLatin1String(expected)), expected);
    QCOMPARE(findingOf(findings, QStringLiteral("Table ESOA_ITEM_LINK"))->detail,
             QStringLiteral("12 columns as the program makes them."));
    QCOMPARE(findingOf(findings, QStringLiteral("Indexes of ESOA_ITEM_LINK"))->detail,
             QStringLiteral("by_ID, by_Category_Description, by_ItemID and by_Code as the program "
                            "makes them."));
    QVERIFY(!database.gateway().inTransaction());
}

void TestDatabaseCheck::aDamagedDatabaseShowsWhereAndTheOtherStepsStillRun() {
    TestDatabase database;
    Gateway& db = database.gateway();
    run(db, QStringLiteral("DROP TABLE Build_FIle.ESOA_ER"));
    run(db, QStringLiteral("ALTER TABLE Build_FIle.ESOA_ITEM_LINK DROP COLUMN SortOrder"));
    run(db, QStringLiteral("DROP INDEX Build_FIle.ESOA_ITEM__by_Code"));
    const Findings findings = checkDatabase(db);
    QCOMPARE(findingOf(findings, QStringLiteral("Table ESOA_ER"))->result, Result::Failed);
    QCOMPARE(findingOf(findings, QStringLiteral("Table ESOA_ER"))->detail,
             QStringLiteral("The table is missing from Build_FIle (or this login may not see "
                            "it): \"a. Create Tables\" makes it."));
    const Finding* link = findingOf(findings, QStringLiteral("Table ESOA_ITEM_LINK"));
    QCOMPARE(link->result, Result::Failed);
    QCOMPARE(link->detail, QStringLiteral("The column SortOrder is missing: every statement that "
                                          "names it fails."));
    const Finding* index = findingOf(findings, QStringLiteral("Indexes of ESOA_ITEM"));
    QCOMPARE(index->result, Result::Warning);
    QCOMPARE(index->detail, QStringLiteral("The index by_Code on (Code) is missing: what looks "
                                           "rows up by Code reads the whole table instead."));
    // No index finding for a table that is not there; every other step ran as before.
    QVERIFY(!findingOf(findings, QStringLiteral("Indexes of ESOA_ER")));
    const QStringList checks = outcomes(findings);
    for (const char* expected :
         {"Integrity of Build_FIle | ok", "Table ESOA_ER_LINK | ok", "Indexes of ESOA_ER_LINK | ok",
          "Round trip on ESOA_ITEM_LINK: read back | ok", "Round trip on ESOA_ER_LINK: delete | ok",
          "Round trip on ESOA_ITEM_LINK: rollback | ok"})
        QVERIFY2(checks.contains(QLatin1String(expected)), expected);
}

void TestDatabaseCheck::theRoundTripLeavesEveryRowAsItWasEvenWhenRefused() {
    TestDatabase database;
    Gateway& db = database.gateway();
    const QStringList before = everyRow(db);
    QVERIFY(before.size() > 10);
    QCOMPARE(everyRow(db), before);
    checkDatabase(db);
    QCOMPARE(everyRow(db), before);

    // A trigger of the DBA's refuses the history row: the link is still deleted and rolled back.
    run(db, QStringLiteral("CREATE TRIGGER Build_FIle.refuse BEFORE INSERT ON ESOA_LINK_HISTORY "
                           "BEGIN SELECT RAISE(ABORT, 'no history today'); END"));
    Findings findings = roundTrip(db, QStringLiteral("ESOA_ER_LINK"), true);
    QCOMPARE(outcomes(findings), (QStringList{"Round trip on ESOA_ER_LINK: add | ok",
                                              "Round trip on ESOA_ER_LINK: rewrite | ok",
                                              "Round trip on ESOA_ER_LINK: read back | ok",
                                              "Round trip on ESOA_ER_LINK: history row | failed",
                                              "Round trip on ESOA_ER_LINK: delete | ok",
                                              "Round trip on ESOA_ER_LINK: rollback | ok"}));
    QCOMPARE(findings[3].detail, QStringLiteral("no history today"));
    QCOMPARE(everyRow(db), before);
    QVERIFY(!db.inTransaction());

    // A trigger that refuses the add itself: nothing after it is tried, nothing is left.
    run(db, QStringLiteral("CREATE TRIGGER Build_FIle.noadd BEFORE INSERT ON ESOA_ITEM_LINK "
                           "BEGIN SELECT RAISE(ABORT, 'no links today'); END"));
    findings = roundTrip(db, QStringLiteral("ESOA_ITEM_LINK"), true);
    QCOMPARE(outcomes(findings), (QStringList{"Round trip on ESOA_ITEM_LINK: add | failed",
                                              "Round trip on ESOA_ITEM_LINK: rollback | ok"}));
    QCOMPARE(findings[0].detail, QStringLiteral("no links today"));
    QCOMPARE(everyRow(db), before);

    // A link of the test item already there (left by hand): the round trip writes nothing.
    run(db, QStringLiteral("DROP TRIGGER Build_FIle.noadd"));
    run(db, QStringLiteral("INSERT INTO Build_FIle.ESOA_ITEM_LINK (RevenueID, ItemID, Code) "
                           "VALUES ('CHECK', 'BREVANT-DATABASE-CHECK', 'X')"));
    const QStringList withLink = everyRow(db);
    findings = roundTrip(db, QStringLiteral("ESOA_ITEM_LINK"), false);
    QCOMPARE(findings[0].result, Result::Failed);
    QVERIFY2(findings[0].detail.contains(QStringLiteral("has a link already")),
             qPrintable(findings[0].detail));
    QCOMPARE(findings.last().result, Result::Failed); // the link is there after it, as before
    QCOMPARE(everyRow(db), withLink);
}

void TestDatabaseCheck::theRoundTripSendsTheSavesOwnStatements() {
    TestDatabase database;
    Gateway& db = database.gateway();
    db.clearLog();
    roundTrip(db, QStringLiteral("ESOA_ER_LINK"), true);
    const QString lookup = QStringLiteral("SELECT * FROM [Build_FIle].[dbo].ESOA_ER_LINK  WHERE  "
                                          "    RevenueID ='CHECK' AND ItemID    "
                                          "='BREVANT-DATABASE-CHECK'");
    const QString table = QStringLiteral("[Build_FIle].[dbo].ESOA_ER_LINK");
    QCOMPARE(
        db.log(),
        (QStringList{
            "BEGIN TRANSACTION",
            lookup,
            Gateway::withOutputId(
                "INSERT INTO " + table +
                " ([ItemID], [RevenueID], [ItemDesc], [InvOrProc], [Code], [SectionID], "
                "[Category], [Description], [FixedFee], [ChargingUnit]) SELECT ?, ?, ?, ?, "
                "?, ?, ?, ?, ?, ? WHERE NOT EXISTS (SELECT 1 FROM " +
                table + " WITH (UPDLOCK, HOLDLOCK) WHERE RevenueID =? AND ItemID    =?)"),
            lookup,
            "SELECT * FROM " + table + " WITH (UPDLOCK, HOLDLOCK) WHERE [ID] = ?",
            "UPDATE " + table +
                " SET [ItemDesc] = ?, [InvOrProc] = ?, [Code] = ?, [SectionID] = ?, "
                "[Category] = ?, [Description] = ?, [FixedFee] = ?, [ChargingUnit] = ? "
                "WHERE [ID] = ?",
            "SELECT * FROM " + table + " WHERE [ID] = ?",
            lookup,
            history::insertStatement(),
            history::removeStatement(QStringLiteral("ESOA_ER_LINK")),
            lookup,
            "ROLLBACK TRANSACTION",
            lookup,
            history::itemHistoryStatement(QStringLiteral("ESOA_ER_LINK"), QStringLiteral("CHECK"),
                                          QStringLiteral("BREVANT-DATABASE-CHECK")),
        }));
}

void TestDatabaseCheck::theSqlServerStepsOverOdbcEachReportTheDriversText() {
    QVERIFY2(odbc::installedDrivers().contains(QStringLiteral("SQLite3")),
             "the SQLite ODBC driver (libsqliteodbc) is not installed");
    TestDatabase database;
    QTemporaryDir scratch;
    std::unique_ptr<Backend> backend =
        odbc::open(QStringLiteral("DRIVER={SQLite3};Database=") +
                       wine::pathForDrivers(scratch.filePath(QStringLiteral("main.db"))),
                   Dialect::TSql, QStringLiteral("test"));
    embedded::attach(backend->database(), wine::pathForDrivers(database.folder()));
    Gateway db(std::move(backend));
    db.keepTrace(true);
    const QStringList before = everyRow(database.gateway());
    const Findings findings = checkDatabase(db);

    // Each step reported, each with SQLite's own refusal of the T-SQL it was sent.
    auto detailOf = [&](const char* check) {
        const Finding* f = findingOf(findings, QLatin1String(check));
        return f ? resultText(f->result) + QStringLiteral(": ") + f->detail : QString();
    };
    QCOMPARE(detailOf("Server version and edition"),
             QStringLiteral("failed: [SQLite]no such function: SERVERPROPERTY (1)"));
    QCOMPARE(detailOf("Login and database user"),
             QStringLiteral("failed: [SQLite]no such function: SUSER_SNAME (1)"));
    QCOMPARE(detailOf("Collations"),
             QStringLiteral("failed: [SQLite]no such function: DATABASEPROPERTYEX (1)"));
    QVERIFY2(detailOf("Tables").startsWith(QStringLiteral("failed: ")),
             qPrintable(detailOf("Tables")));
    QVERIFY(detailOf("Indexes").startsWith(QStringLiteral("failed: ")));
    QVERIFY(detailOf("Triggers").startsWith(QStringLiteral("failed: ")));
    QVERIFY(detailOf("Rights on ESOA_ITEM_LINK").startsWith(QStringLiteral("failed: ")));
    QVERIFY(detailOf("Rights on tbInvMaster").startsWith(QStringLiteral("failed: ")));
    QVERIFY(
        detailOf("Right to create tables in Build_FIle").startsWith(QStringLiteral("failed: ")));
    QVERIFY2(detailOf("Statements compiled")
                 .startsWith(QStringLiteral("failed: SET NOEXEC ON was refused, so no statement "
                                            "was compiled: ")),
             qPrintable(detailOf("Statements compiled")));
    QVERIFY(detailOf("Round trip on ESOA_ITEM_LINK: add").startsWith(QStringLiteral("failed: ")));
    QVERIFY(
        detailOf("Round trip on ESOA_ER_LINK: rollback").startsWith(QStringLiteral("failed: ")));
    // Both questions tried: the second where the first is refused.
    QCOMPARE(detailOf("Encrypted connection"),
             QStringLiteral("failed: [SQLite]unrecognized token: \"@\" (1)\r\n[SQLite]no such "
                            "function: CONNECTIONPROPERTY (1)"));
    for (const Finding& f : findings)
        QVERIFY2(f.result == Result::Failed && !f.detail.isEmpty(), qPrintable(f.check));

    // What was sent, in order: nothing compiled once NOEXEC was refused, OFF sent all the same,
    // each round trip begun and rolled back.
    const QString itemLookup = QStringLiteral(
        "SELECT * FROM [Build_FIle].[dbo].ESOA_ITEM_LINK  WHERE      RevenueID ='CHECK' AND "
        "ItemID    ='BREVANT-DATABASE-CHECK'");
    const QString erLookup =
        QString(itemLookup)
            .replace(QStringLiteral("ESOA_ITEM_LINK"), QStringLiteral("ESOA_ER_LINK"));
    QStringList expected = {statements::server(),       statements::login(),
                            statements::collations(),   statements::columns(),
                            statements::indexes(),      statements::triggers(),
                            statements::examCatalogue()};
    for (const TableRights& rights : neededRights({}))
        expected << statements::rights(rights.database, rights.table);
    expected << statements::createTableRight() << QStringLiteral("SET NOEXEC ON")
             << QStringLiteral("SET NOEXEC OFF") << QStringLiteral("BEGIN TRANSACTION")
             << itemLookup << QStringLiteral("ROLLBACK TRANSACTION") << itemLookup
             << QStringLiteral("BEGIN TRANSACTION") << erLookup
             << QStringLiteral("ROLLBACK TRANSACTION") << erLookup << statements::encryption()
             << statements::encryptionOfThisConnection();
    QCOMPARE(db.log(), expected);
    QVERIFY(!db.inTransaction());
    QCOMPARE(everyRow(database.gateway()), before);
}

QTEST_GUILESS_MAIN(TestDatabaseCheck)
#include "tst_databasecheck.moc"

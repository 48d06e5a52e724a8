// Two workstations on one database: two connections to one embedded database, interleaved by the
// test at a chosen statement (no sleeps). A rewrite never overwrites what the other wrote since
// it read the row, an item never gets two links, an import never adds a code twice, and the new
// link's key comes from its own INSERT. Every statement, the write cursor's too, is in the
// statement log.
#include "TestDatabase.h"

#include "core/db/EmbeddedDatabase.h"
#include "core/history/HistoryStatements.h"
#include "core/history/LinkHistory.h"
#include "core/maintenance/ImportFile.h"
#include "core/tsql/SqlText.h"

#include <QSqlQuery>
#include <QTest>

#include <functional>

class TestTwoWorkstations : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void aRewriteNeverOverwritesTheOtherWorkstationsChange();
    void aRewriteJoinsAnOpenTransaction();
    void anItemGetsOneLinkWhenTwoSaveItAtOnce();
    void theImportAddsACodeOnceWhenTwoImportAtOnce();
    void theNewLinksKeyComesFromItsInsertNotFromATrigger();
    void theStatementLogHoldsTheWriteCursorsStatements();

private:
    Gateway& a() { return m_db->gateway(); }
    // The second workstation, which gives up at once on a locked database rather than wait.
    Gateway& b() {
        if (!m_b) {
            m_b = std::make_unique<Gateway>(embedded::open(m_db->folder()));
            QSqlQuery(m_b->backend().database()).exec(QStringLiteral("PRAGMA busy_timeout=0"));
            m_b->keepTrace(true);
        }
        return *m_b;
    }
    static QString lookup(const QString& item) {
        return QStringLiteral(
                   "SELECT * FROM [Build_FIle].[dbo].ESOA_ER_LINK  WHERE      RevenueID =") +
               sql::quoted(QStringLiteral("PH")) + QStringLiteral(" AND ItemID    =") +
               sql::quoted(item);
    }
    static QString codeOf(Gateway& g, const QString& item) {
        return g
            .query(QStringLiteral("SELECT Code FROM Build_FIle..ESOA_ER_LINK WHERE ItemID=") +
                   sql::quoted(item))
            .rows.value(0)
            .value(0);
    }
    // The text a step fails with, or "(no failure)".
    static QString failureOf(const std::function<void()>& step) {
        try {
            step();
        } catch (const DbError& e) {
            return e.description();
        }
        return QStringLiteral("(no failure)");
    }
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Gateway> m_b;
};

void TestTwoWorkstations::init() {
    m_db = std::make_unique<TestDatabase>();
}

void TestTwoWorkstations::cleanup() {
    m_b.reset();
    m_db.reset();
}

void TestTwoWorkstations::aRewriteNeverOverwritesTheOtherWorkstationsChange() {
    // Both read the link of item 10018, then each sets another code.
    WriteCursor mine = a().openForWrite(lookup(QStringLiteral("10018")));
    WriteCursor theirs = b().openForWrite(lookup(QStringLiteral("10018")));
    QVERIFY(!mine.atEnd() && !theirs.atEnd());
    mine.setField(QStringLiteral("Code"), QStringLiteral("ER0009"));
    theirs.setField(QStringLiteral("Code"), QStringLiteral("ER0076"));
    // The other workstation saves just when this one's UPDATE is about to go.
    QString theirFailure;
    a().setBeforeSend([&](const QString& statement) {
        if (!statement.startsWith(QStringLiteral("UPDATE ")) || !theirFailure.isEmpty())
            return;
        try {
            theirs.update();
            theirFailure = QStringLiteral("(saved)");
        } catch (const DbError& e) {
            theirFailure = e.description();
        }
    });
    a().clearLog();
    mine.update();
    a().setBeforeSend(nullptr);
    // The row was locked from the check to the write: theirs waited its turn and failed...
    QCOMPARE(theirFailure, QStringLiteral("database is locked"));
    QCOMPARE(codeOf(b(), QStringLiteral("10018")), QStringLiteral("ER0009"));
    // ...and trying again finds the row changed since they read it: nothing is overwritten.
    QCOMPARE(failureOf([&] { theirs.update(); }),
             QStringLiteral("Row cannot be located for updating. Some values may have been "
                            "changed since it was last read."));
    QCOMPARE(codeOf(b(), QStringLiteral("10018")), QStringLiteral("ER0009"));
    // What SQL Server gets: the check reads the row under an update lock held to the commit.
    QCOMPARE(
        a().log(),
        (QStringList{"BEGIN TRANSACTION",
                     "SELECT * FROM [Build_FIle].[dbo].ESOA_ER_LINK WITH (UPDLOCK, HOLDLOCK) WHERE "
                     "[ID] = ?",
                     "UPDATE [Build_FIle].[dbo].ESOA_ER_LINK SET [Code] = ? WHERE [ID] = ?",
                     "SELECT * FROM [Build_FIle].[dbo].ESOA_ER_LINK WHERE [ID] = ?",
                     "COMMIT TRANSACTION"}));
    // A later rewrite of the same cursor checks against what this one left.
    mine.setField(QStringLiteral("Code"), QStringLiteral("ER0001"));
    mine.update();
    QCOMPARE(codeOf(b(), QStringLiteral("10018")), QStringLiteral("ER0001"));
}

void TestTwoWorkstations::aRewriteJoinsAnOpenTransaction() {
    WriteCursor row = a().openForWrite(lookup(QStringLiteral("10018")));
    row.setField(QStringLiteral("Code"), QStringLiteral("ER0009"));
    a().clearLog();
    {
        Gateway::Transaction outer(a());
        row.update();
        // Rolled back with the transaction it joined.
    }
    QCOMPARE(a().log().filter(QStringLiteral("TRANSACTION")),
             (QStringList{"BEGIN TRANSACTION", "ROLLBACK TRANSACTION"}));
    QCOMPARE(codeOf(a(), QStringLiteral("10018")), QStringLiteral("ER0001"));
    QVERIFY(!a().inTransaction());
}

void TestTwoWorkstations::anItemGetsOneLinkWhenTwoSaveItAtOnce() {
    // Both look the item up, find no link and add one.
    WriteCursor mine = a().openForWrite(lookup(QStringLiteral("20001")));
    WriteCursor theirs = b().openForWrite(lookup(QStringLiteral("20001")));
    QVERIFY(mine.atEnd() && theirs.atEnd());
    for (WriteCursor* row : {&mine, &theirs}) {
        row->addNew();
        row->setField(QStringLiteral("ItemID"), QStringLiteral("20001"));
        row->setField(QStringLiteral("RevenueID"), QStringLiteral("PH"));
        row->setField(QStringLiteral("Code"),
                      row == &mine ? QStringLiteral("ER0001") : QStringLiteral("ER0002"));
    }
    a().clearLog();
    mine.update();
    QVERIFY(mine.addedId() > 0);
    QVERIFY_THROWS_EXCEPTION(AddedMeanwhile, theirs.update());
    QCOMPARE(failureOf([&] { theirs.update(); }),
             QStringLiteral("Another workstation linked this item meanwhile; look at the list and "
                            "save again."));
    QCOMPARE(countRows(a(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK WHERE "
                                           "ItemID='20001'")),
             1);
    QCOMPARE(codeOf(a(), QStringLiteral("20001")), QStringLiteral("ER0001"));
    // What SQL Server gets: the add checks the look-up's condition under a key-range lock and
    // returns the new key through a table variable (a trigger on the table allows no bare
    // OUTPUT).
    QCOMPARE(a().log().first(),
             QStringLiteral(
                 "SET NOCOUNT ON; DECLARE @added TABLE ([ID] bigint); INSERT INTO "
                 "[Build_FIle].[dbo].ESOA_ER_LINK ([ItemID], [RevenueID], [Code]) OUTPUT "
                 "INSERTED.[ID] INTO @added SELECT ?, ?, ? WHERE NOT EXISTS (SELECT 1 FROM "
                 "[Build_FIle].[dbo].ESOA_ER_LINK WITH (UPDLOCK, HOLDLOCK) WHERE RevenueID =? AND "
                 "ItemID    =?); SET NOCOUNT OFF; SELECT [ID] FROM @added"));
}

void TestTwoWorkstations::theImportAddsACodeOnceWhenTwoImportAtOnce() {
    importfile::ReferenceRecord record;
    record.code = QStringLiteral("ER9000");
    record.category = QStringLiteral("ED Service");
    record.description = QStringLiteral("Nebulization");
    QStringList failures;
    auto failed = [&](const QString& text) { failures << text; };
    // The other workstation imports the same code between this one's look-up and its add.
    bool theirsRan = false;
    a().setBeforeSend([&](const QString& statement) {
        if (theirsRan || !statement.startsWith(QStringLiteral("SET NOCOUNT ON")))
            return;
        theirsRan = true;
        importfile::mergeRecord(b(), QStringLiteral("ESOA_ER"), record, failed);
    });
    importfile::mergeRecord(a(), QStringLiteral("ESOA_ER"), record, failed);
    a().setBeforeSend(nullptr);
    QVERIFY(theirsRan);
    // The code is there once, and neither import has a failure to report.
    QCOMPARE(failures, QStringList());
    QCOMPARE(countRows(a(), QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER WHERE "
                                           "Code='ER9000'")),
             1);
}

void TestTwoWorkstations::theNewLinksKeyComesFromItsInsertNotFromATrigger() {
    // A DBA's audit trigger adds a row of its own (with keys far from the links') on every add.
    for (const char* sql :
         {"CREATE TABLE Build_FIle.Audit (ID INTEGER PRIMARY KEY AUTOINCREMENT, What TEXT)",
          "INSERT INTO Build_FIle.Audit (ID, What) VALUES (90000, 'start')",
          "CREATE TRIGGER Build_FIle.audit_links AFTER INSERT ON ESOA_ER_LINK BEGIN INSERT INTO "
          "Audit (What) VALUES ('link ' || NEW.ID); END"}) {
        QSqlQuery q(a().backend().database());
        QVERIFY2(q.exec(QLatin1String(sql)), sql);
    }
    history::LinkHistory history;
    WriteCursor row = a().openForWrite(lookup(QStringLiteral("20002")));
    row.addNew();
    row.setField(QStringLiteral("ItemID"), QStringLiteral("20002"));
    row.setField(QStringLiteral("RevenueID"), QStringLiteral("PH"));
    row.setField(QStringLiteral("Code"), QStringLiteral("ER0002"));
    a().clearLog();
    history.saveRow(a(), row);
    const QString linkId =
        a().query(QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK WHERE ItemID='20002'"))
            .rows.value(0)
            .value(0);
    QVERIFY(!linkId.isEmpty());
    QCOMPARE(a().query(QStringLiteral("SELECT LinkID FROM Build_FIle..ESOA_LINK_HISTORY WHERE "
                                      "ItemID='20002'"))
                 .rows,
             QList<QStringList>{{linkId}});
    QCOMPARE(countRows(a(), QStringLiteral("SELECT ID FROM Build_FIle..Audit")), 2);
    QVERIFY(!a().log().join(u'\n').contains(QStringLiteral("@@IDENTITY")));
    // The history row that numbers a batch takes its key the same way.
    QCOMPARE(Gateway::withOutputId(history::insertStatement()),
             QStringLiteral("SET NOCOUNT ON; DECLARE @added TABLE ([ID] bigint); ") +
                 history::insertStatement().replace(
                     QStringLiteral(" VALUES ("),
                     QStringLiteral(" OUTPUT INSERTED.[ID] INTO @added VALUES (")) +
                 QStringLiteral("; SET NOCOUNT OFF; SELECT [ID] FROM @added"));
}

void TestTwoWorkstations::theStatementLogHoldsTheWriteCursorsStatements() {
    a().statements().clear();
    WriteCursor row = a().openForWrite(lookup(QStringLiteral("10018")));
    row.setField(QStringLiteral("Code"), QStringLiteral("ER0009"));
    row.update();
    WriteCursor added = a().openForWrite(lookup(QStringLiteral("20003")));
    added.addNew();
    added.setField(QStringLiteral("ItemID"), QStringLiteral("20003"));
    added.update();
    QVERIFY_THROWS_EXCEPTION(DbError, a().execute(QStringLiteral("SELECT * FROM NOPE")));
    const QList<StatementRecord> records = a().statements().newestFirst();
    QStringList texts;
    QList<qint64> rows;
    for (const StatementRecord& r : records) {
        texts << r.statement.left(30);
        rows << r.rows;
        QVERIFY(r.microseconds >= 0);
        QVERIFY(r.sentAt > 0);
    }
    // Newest first: the failure with its error text, the add, the look-up before it, then the
    // rewrite's five statements and its look-up.
    QCOMPARE(texts, (QStringList{"SELECT * FROM NOPE", "SET NOCOUNT ON; DECLARE @added",
                                 "SELECT * FROM [Build_FIle].[db", "COMMIT TRANSACTION",
                                 "SELECT * FROM [Build_FIle].[db", "UPDATE [Build_FIle].[dbo].ESOA",
                                 "SELECT * FROM [Build_FIle].[db", "BEGIN TRANSACTION",
                                 "SELECT * FROM [Build_FIle].[db"}));
    QCOMPARE(records[0].error, QStringLiteral("no such table: NOPE"));
    QCOMPARE(rows.mid(1), (QList<qint64>{1, 0, -1, 1, 1, 1, -1, 1}));
    QVERIFY(records[1].error.isEmpty());
}

QTEST_GUILESS_MAIN(TestTwoWorkstations)
#include "tst_twoworkstations.moc"

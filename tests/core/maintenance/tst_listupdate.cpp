// A new edition of a PhilHealth list: compared with the table by code as SQL Server compares codes,
// then applied in one transaction (the table, the links' copies and their history, the retired
// codes, the changes and the version), undone as a batch, refused when the table changed since
// the comparison, and left whole by a failure or by a second workstation, interleaved at a chosen
// statement (no sleeps).
#include "NewList.h"
#include "TestDatabase.h"

#include "core/db/EmbeddedDatabase.h"
#include "core/history/LinkHistory.h"
#include "core/maintenance/ListApply.h"
#include "core/maintenance/ListCompare.h"
#include "core/maintenance/ListStatements.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace listupdate;

namespace {

QString rowText(const Difference& d) {
    return QStringList{changeText(d.change),    d.code, d.field, d.now, d.next,
                       QString::number(d.links)}
        .join(QStringLiteral(" | "));
}

QStringList rowsOf(Gateway& db, const QString& sql) {
    QStringList out;
    for (const QStringList& row : db.query(sql).rows)
        out << row.join(QStringLiteral(" | "));
    return out;
}

} // namespace

class TestListUpdate : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void theComparisonFindsEachKindOfChange();
    void codesCompareAsSqlServerComparesThem();
    void theMedicineListAndACodeInBothFiles();
    void applyWritesTheTableTheLinksTheirHistoryAndTheVersion();
    void theRefreshIsUndoneAsABatch();
    void aFailureInTheMiddleLeavesEverythingAsItWas();
    void aSecondWorkstationWaitsOrFindsTheTableChanged();
    void missingAndEmptyFilesStopTheUpdate();

private:
    // The ER list of the sample as its next edition: ER0001's fee, ER0004's description, ER0005's
    // charging unit and ER0042's category changed; ER0027 dropped; ER9001 new; ER0007 twice;
    // ER0065 in lower case with trailing blanks and ER0006 with a trailing blank description.
    void writeErEdition();
    Comparison compareEr(Gateway& db) {
        QList<ListFile> files;
        const QString failure = readFiles(m_files.path(), QStringLiteral("ESOA_ER"), files);
        if (!failure.isEmpty())
            qFatal("%s", qPrintable(failure));
        return compare(db, QStringLiteral("ESOA_ER"), files);
    }
    Gateway& a() { return m_db->gateway(); }
    Gateway& b() {
        if (!m_b) {
            m_b = std::make_unique<Gateway>(embedded::open(m_db->folder()));
            QSqlQuery(m_b->backend().database()).exec(QStringLiteral("PRAGMA busy_timeout=0"));
        }
        return *m_b;
    }
    // Everything an update writes, as text: the table, the links, the history and the record of
    // the editions.
    QStringList everything(Gateway& db) {
        QStringList out;
        for (const char* sql : {"SELECT * FROM Build_FIle..ESOA_ER ORDER BY ID",
                                "SELECT * FROM Build_FIle..ESOA_ER_LINK ORDER BY ID",
                                "SELECT * FROM Build_FIle..ESOA_LINK_HISTORY ORDER BY ID",
                                "SELECT * FROM Build_FIle..ESOA_LIST_VERSION",
                                "SELECT * FROM Build_FIle..ESOA_LIST_RETIRED",
                                "SELECT * FROM Build_FIle..ESOA_LIST_CHANGE"})
            out << rowsOf(db, QLatin1String(sql));
        return out;
    }

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Gateway> m_b;
    QTemporaryDir m_files;
    history::LinkHistory m_history;
};

void TestListUpdate::init() {
    m_db = std::make_unique<TestDatabase>();
    m_history.recheck();
    writeErEdition();
}

void TestListUpdate::cleanup() {
    m_b.reset();
    m_db.reset();
}

void TestListUpdate::writeErEdition() {
    const QString metoclopramide = QStringLiteral("Metoclopramide 5 mg/mL ampule   ");
    QVERIFY(newlist::write(
        m_files.path(), QStringLiteral("ESOA_ER"),
        newlist::edited(newlist::sampleLines(QStringLiteral("ESOA_ER")),
                        {{"ER0001", 3, "30.00"},
                         {"ER0004", 2, "Ceftriaxone 1 g vial (IV)"},
                         {"ER0005", 4, "per 500 mg vial"},
                         {"ER0042", 1, "Diagnostics"},
                         {"ER0065", 0, "er0065  "},
                         {"ER0006", 2, metoclopramide}},
                        {QStringLiteral("ER0027")},
                        {QStringLiteral("ER9001|Therapeutics|Tenecteplase 50 mg vial|2500.00|per "
                                        "vial"),
                         QStringLiteral("ER0007|Therapeutics|Omeprazole 40 mg vial (second "
                                        "line)|435.00|per vial")})));
}

void TestListUpdate::theComparisonFindsEachKindOfChange() {
    const Comparison c = compareEr(a());
    QStringList rows;
    for (const Difference& d : c.rows)
        rows << rowText(d);
    QCOMPARE(
        rows,
        (QStringList{
            "new | ER9001 |  |  | Tenecteplase 50 mg vial | 0",
            "changed | ER0001 | FixedFee | 25.00 | 30.00 | 1",
            "changed | ER0004 | Description | Ceftriaxone 1 g vial | Ceftriaxone 1 g vial (IV) "
            "| 1",
            "changed | ER0005 | ChargingUnit | per vial | per 500 mg vial | 0",
            "changed | ER0042 | Category | Laboratory | Diagnostics | 1",
            "no longer listed | ER0027 |  | Chest PA |  | 1",
            "twice in the new list | ER0007 |  |  | Omeprazole 40 mg vial (second line) | 0",
        }));
    QCOMPARE(c.summary(), QStringLiteral("1 new, 4 changed, 1 no longer listed, 84 unchanged; 4 "
                                         "links to changed or dropped codes."));
    QCOMPARE(c.linesRead, 90);
    QCOMPARE(c.codesNow, 89);
    QVERIFY(!c.looksCutShort());
    QCOMPARE(c.files, QStringList{QStringLiteral("ESOA_ER.csv")});
    QFile f(m_files.filePath(QStringLiteral("ESOA_ER.csv")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(c.sha256,
             QStringList{QString::fromLatin1(
                 QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex())});
    // Comparing reads and writes nothing.
    QCOMPARE(countRows(a(), QStringLiteral("SELECT * FROM Build_FIle..ESOA_ER")), 89);
}

void TestListUpdate::codesCompareAsSqlServerComparesThem() {
    // "er0065  " is ER0065, a description that differs in its trailing blanks is the same, and a
    // leading blank is not a trailing one.
    const Comparison c = compareEr(a());
    for (const Difference& d : c.rows)
        QVERIFY2(d.code != u"ER0065" && !d.code.startsWith(u"er") && d.code != u"ER0006",
                 qPrintable(rowText(d)));
    QCOMPARE(importfile::codeKey(QStringLiteral("er0065  ")), importfile::codeKey("ER0065"));
    QVERIFY(importfile::codeKey(QStringLiteral(" ER0065")) != importfile::codeKey("ER0065"));
    QVERIFY(sameValue(QStringLiteral("Description"), QStringLiteral("Ampule "), "Ampule"));
    QVERIFY(!sameValue(QStringLiteral("Description"), QStringLiteral("ampule"), "Ampule"));
    QVERIFY(sameValue(QStringLiteral("Description"), QVariant(), QString()));
    // Fees by amount, as the money column keeps them.
    QVERIFY(sameValue(QStringLiteral("FixedFee"), 95.0, feeValue(QStringLiteral("95"))));
    QVERIFY(sameValue(QStringLiteral("FixedFee"), QStringLiteral("1500.0000"),
                      feeValue(QStringLiteral("1,500.00"))));
    QVERIFY(!sameValue(QStringLiteral("FixedFee"), 95.0, feeValue(QStringLiteral("95.01"))));
    QCOMPARE(feeValue(QString()), QVariant(0.0));
    QVERIFY(feeValue(QStringLiteral("N/A")).isNull());
    QCOMPARE(feeText(12.5), QStringLiteral("12.50"));
    QCOMPARE(feeText(0.1234), QStringLiteral("0.1234"));
}

void TestListUpdate::theMedicineListAndACodeInBothFiles() {
    QTemporaryDir dir;
    QStringList medicines = newlist::sampleLines(QStringLiteral("ESOA_MEDICINE"));
    // The medicine list's second field is never the category; a code of the other file is twice.
    medicines[0] = newlist::withField(medicines[0], 1, QStringLiteral("Antipyretics"));
    medicines[1] = newlist::withField(medicines[1], 2, QStringLiteral("Paracetamol 325 mg tablet"));
    medicines << QStringLiteral("LD00001|Medicine|Complete Blood Count, automated");
    QVERIFY(newlist::write(dir.path(), QStringLiteral("ESOA_MEDICINE"), medicines));
    QVERIFY(newlist::write(dir.path(), QStringLiteral("ESOA_ITEM"),
                           newlist::sampleLines(QStringLiteral("ESOA_ITEM"))));
    QList<ListFile> files;
    QCOMPARE(readFiles(dir.path(), QStringLiteral("ESOA_ITEM"), files), QString());
    const Comparison c = compare(a(), QStringLiteral("ESOA_ITEM"), files);
    QStringList rows;
    for (const Difference& d : c.rows)
        rows << rowText(d);
    // The sample's own item list names MS00001 twice.
    QCOMPARE(rows, (QStringList{"changed | MED00002 | Description | Paracetamol 325mg tablet | "
                                "Paracetamol 325 mg tablet | 0",
                                "twice in the new list | MS00001 |  |  | Syringe 1cc, disposable "
                                "with needle | 0",
                                "twice in the new list | LD00001 |  |  | Complete Blood Count, "
                                "automated | 1"}));
    QCOMPARE(c.files, (QStringList{"ESOA_ITEM.csv", "ESOA_MEDICINE.csv"}));
    QCOMPARE(c.sha256.size(), 2);
}

void TestListUpdate::applyWritesTheTableTheLinksTheirHistoryAndTheVersion() {
    const QString idOf1 =
        a().query(QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER WHERE Code='ER0001'"))
            .rows[0][0];
    const Comparison c = compareEr(a());
    const Applied applied = apply(a(), m_history, c);
    QCOMPARE(applied.newCodes, 1);
    QCOMPARE(applied.changedCodes, 4);
    QCOMPARE(applied.retiredCodes, 1);
    // ER0042 changed its category only: its link keeps the category it was saved under.
    QCOMPARE(applied.linksRefreshed, 2);
    QVERIFY(applied.batch > 0);

    // The table: each changed row keeps its ID.
    QCOMPARE(
        rowsOf(a(), "SELECT ID, Code, Category, Description, FixedFee, ChargingUnit FROM "
                    "Build_FIle..ESOA_ER WHERE Code IN ('ER0001', 'ER0004', 'ER0005', "
                    "'ER0042', 'ER0027', 'ER9001') ORDER BY Code"),
        (QStringList{idOf1 + " | ER0001 | Therapeutics | Paracetamol 150 mg/mL ampule | 30 | per "
                             "ampule",
                     "4 | ER0004 | Therapeutics | Ceftriaxone 1 g vial (IV) | 250 | per vial",
                     "5 | ER0005 | Therapeutics | Ampicillin 500 mg vial | 90 | per 500 mg vial",
                     "42 | ER0042 | Diagnostics | Complete Blood Count (CBC) | 200 | per test",
                     "90 | ER9001 | Therapeutics | Tenecteplase 50 mg vial | 2500 | per vial"}));
    // The links: the new copies, the category each was saved under.
    QCOMPARE(
        rowsOf(a(), "SELECT ItemID, Code, Category, Description, FixedFee, ChargingUnit FROM "
                    "Build_FIle..ESOA_ER_LINK ORDER BY ItemID"),
        (QStringList{"10018 | ER0001 | Therapeutics | Paracetamol 150 mg/mL ampule | 30 | per "
                     "ampule",
                     "10079 | ER0004 | Therapeutics | Ceftriaxone 1 g vial (IV) | 250 | per vial",
                     "2001 | ER0042 | Laboratory | Complete Blood Count (CBC) | 200 | per test",
                     "3001 | ER0027 | Imaging | Chest PA | 400 | per exam",
                     "6007 | ER0065 | ED Service | Nebulization | 155 | per session"}));
    // A history row a refreshed link, as a save writes one, in one batch.
    QCOMPARE(
        rowsOf(a(), "SELECT Action, ItemID, OldDescription, NewDescription, OldFixedFee, "
                    "NewFixedFee, NewCategory, BatchNo FROM Build_FIle..ESOA_LINK_HISTORY "
                    "ORDER BY ID"),
        (QStringList{QStringLiteral("refresh | 10018 | Paracetamol 150 mg/mL ampule | "
                                    "Paracetamol 150 mg/mL ampule | 25 | 30 | Therapeutics | ") +
                         QString::number(applied.batch),
                     QStringLiteral("refresh | 10079 | Ceftriaxone 1 g vial | Ceftriaxone 1 g "
                                    "vial (IV) | 250 | 250 | Therapeutics | ") +
                         QString::number(applied.batch)}));
    // The version, the code it retired and what it changed.
    const QString v = QString::number(applied.version);
    QCOMPARE(rowsOf(a(), "SELECT TableName, Files, Sha256, LinesRead, NewCodes, ChangedCodes, "
                         "RetiredCodes, LinksRefreshed FROM Build_FIle..ESOA_LIST_VERSION"),
             QStringList{"ESOA_ER | ESOA_ER.csv | " + c.sha256[0] + " | 90 | 1 | 4 | 1 | 2"});
    QCOMPARE(countRows(a(), "SELECT * FROM Build_FIle..ESOA_LIST_VERSION WHERE AppliedAt IS NOT "
                            "NULL AND AppliedBy <> '' AND Workstation <> ''"),
             1);
    QCOMPARE(rowsOf(a(), "SELECT TableName, Code, Category, Description, FixedFee, ChargingUnit, "
                         "VersionID FROM Build_FIle..ESOA_LIST_RETIRED"),
             QStringList{"ESOA_ER | ER0027 | Imaging | Chest PA | 400 | per exam | " + v});
    QCOMPARE(rowsOf(a(), "SELECT Change, Code, Field, OldValue, NewValue FROM "
                         "Build_FIle..ESOA_LIST_CHANGE WHERE VersionID = " +
                             v.toLatin1() + " ORDER BY ID"),
             (QStringList{"new | ER9001 | Category |  | Therapeutics",
                          "new | ER9001 | Description |  | Tenecteplase 50 mg vial",
                          "new | ER9001 | FixedFee |  | 2500.00",
                          "new | ER9001 | ChargingUnit |  | per vial",
                          "changed | ER0001 | FixedFee | 25.00 | 30.00",
                          "changed | ER0004 | Description | Ceftriaxone 1 g vial | Ceftriaxone 1 g "
                          "vial (IV)",
                          "changed | ER0005 | ChargingUnit | per vial | per 500 mg vial",
                          "changed | ER0042 | Category | Laboratory | Diagnostics"}));
    // The link to the dropped code is there to be re-mapped.
    const QList<LinkToMissingCode> orphans = linksToMissingCodes(a(), QStringLiteral("ESOA_ER"));
    QCOMPARE(orphans.size(), 1);
    QCOMPARE(orphans[0].itemId, QStringLiteral("3001"));
    QCOMPARE(orphans[0].description, QStringLiteral("Chest PA"));
    QCOMPARE(orphans[0].revenueId, QStringLiteral("XR"));
    // Compared again, the edition changes nothing more.
    const Comparison again = compareEr(a());
    QCOMPARE(again.summary(), QStringLiteral("0 new, 0 changed, 0 no longer listed, 89 "
                                             "unchanged; 0 links to changed or dropped codes."));
    QCOMPARE(again.rows.size(), 1); // the code twice is still twice
}

void TestListUpdate::theRefreshIsUndoneAsABatch() {
    apply(a(), m_history, compareEr(a()));
    const auto offer = m_history.newestBatch(a(), QStringLiteral("ESOA_ER_LINK"));
    QVERIFY(offer);
    QVERIFY(offer->listUpdate);
    QCOMPARE(offer->links, 2);
    const history::UndoOutcome outcome = m_history.undo(a(), *offer);
    QCOMPARE(outcome.restored, 2);
    QCOMPARE(rowsOf(a(), "SELECT ItemID, Description, FixedFee FROM Build_FIle..ESOA_ER_LINK "
                         "WHERE ItemID IN ('10018', '10079') ORDER BY ItemID"),
             (QStringList{"10018 | Paracetamol 150 mg/mL ampule | 25",
                          "10079 | Ceftriaxone 1 g vial | 250"}));
    // The list stays as updated, and the batch is offered no more.
    QCOMPARE(countRows(a(), "SELECT * FROM Build_FIle..ESOA_ER WHERE Code='ER9001'"), 1);
    QVERIFY(!m_history.newestBatch(a(), QStringLiteral("ESOA_ER_LINK")));
}

void TestListUpdate::aFailureInTheMiddleLeavesEverythingAsItWas() {
    const Comparison c = compareEr(a());
    makeTables(a());
    const QStringList before = everything(a());
    // The database refuses the removal of the dropped code, after the version, the new code and
    // the changed fields were written.
    a().setBeforeSend([](const QString& statement) {
        if (statement.startsWith(QStringLiteral("DELETE FROM [Build_FIle].[dbo].[ESOA_ER]")))
            throw DbError(QStringLiteral("The DELETE permission was denied."));
    });
    QString failure;
    try {
        apply(a(), m_history, c);
    } catch (const DbError& e) {
        failure = e.description();
    }
    a().setBeforeSend(nullptr);
    QCOMPARE(failure, QStringLiteral("The DELETE permission was denied."));
    QCOMPARE(everything(a()), before);
    QVERIFY(!a().inTransaction());
    // Nothing half applied: the same comparison applies whole afterwards.
    QCOMPARE(apply(a(), m_history, c).linksRefreshed, 2);
}

void TestListUpdate::aSecondWorkstationWaitsOrFindsTheTableChanged() {
    // Both compare; the first applies; the second's comparison was made against a table that
    // has changed since, and is refused.
    const Comparison mine = compareEr(a());
    const Comparison theirs = compareEr(b());
    apply(a(), m_history, mine);
    const QStringList applied = everything(a());
    QString failure;
    try {
        history::LinkHistory theirHistory;
        apply(b(), theirHistory, theirs);
    } catch (const DbError& e) {
        failure = e.description();
    }
    QCOMPARE(failure, changedSinceText(QStringLiteral("ESOA_ER")));
    QCOMPARE(failure, QStringLiteral("ESOA_ER was changed since the new list was compared with it "
                                     "(by another workstation, or another update): nothing was "
                                     "applied. Compare the new list again."));
    QCOMPARE(everything(a()), applied);

    // While one applies, the other cannot begin: its apply fails as the database says and leaves
    // the first's to finish.
    QVERIFY(newlist::write(m_files.path(), QStringLiteral("ESOA_ER"),
                           newlist::edited(newlist::sampleLines(QStringLiteral("ESOA_ER")),
                                           {{"ER0002", 3, "99.00"}})));
    const Comparison next = compareEr(a()), nextTheirs = compareEr(b());
    QString during;
    a().setBeforeSend([&](const QString& statement) {
        // The version row, the first write of the update's transaction.
        if (!during.isEmpty() || !statement.contains(QStringLiteral(
                                     "INSERT INTO [Build_FIle].[dbo].[ESOA_LIST_VERSION]")))
            return;
        try {
            history::LinkHistory theirHistory;
            apply(b(), theirHistory, nextTheirs);
            during = QStringLiteral("(applied)");
        } catch (const DbError& e) {
            during = e.description();
        }
    });
    apply(a(), m_history, next);
    a().setBeforeSend(nullptr);
    QCOMPARE(during, QStringLiteral("database is locked"));
    QCOMPARE(countRows(a(), "SELECT * FROM Build_FIle..ESOA_LIST_VERSION"), 2);
    QCOMPARE(a().query(QStringLiteral("SELECT FixedFee FROM Build_FIle..ESOA_ER WHERE "
                                      "Code='ER0002'"))
                 .rows[0][0],
             QStringLiteral("99"));
}

void TestListUpdate::missingAndEmptyFilesStopTheUpdate() {
    QTemporaryDir dir;
    QList<ListFile> files;
    QCOMPARE(readFiles(dir.path(), QStringLiteral("ESOA_ER"), files),
             QStringLiteral("File not found: ") +
                 QDir::toNativeSeparators(dir.filePath(QStringLiteral("ESOA_ER.csv"))));
    // The medicine list is read after the item list, and stops the update as well.
    QVERIFY(newlist::write(dir.path(), QStringLiteral("ESOA_ITEM"), {QStringLiteral("A|B|C")}));
    QVERIFY(newlist::write(dir.path(), QStringLiteral("ESOA_MEDICINE"), {}));
    QCOMPARE(readFiles(dir.path(), QStringLiteral("ESOA_ITEM"), files),
             QStringLiteral("File is empty: ") +
                 QDir::toNativeSeparators(dir.filePath(QStringLiteral("ESOA_MEDICINE.csv"))));
}

QTEST_GUILESS_MAIN(TestListUpdate)
#include "tst_listupdate.moc"

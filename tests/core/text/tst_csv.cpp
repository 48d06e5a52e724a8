// The CSV writer, read back by independent parsers (the tests' strict reader and, where Python is
// installed, Python's csv module), as a spreadsheet would read the file (UTF-8 with its
// byte-order mark, records ended by CR LF).
#include "CsvReadBack.h"

#include "core/text/Csv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestCsv : public QObject {
    Q_OBJECT
private slots:
    void fieldsAreQuotedOnlyWhenTheyMustBe();
    void anIndependentReaderReadsBackEveryCell();
    void aFailedWriteLeavesNoFileAndTheOldOneIntact();
};

void TestCsv::fieldsAreQuotedOnlyWhenTheyMustBe() {
    QCOMPARE(csv::field(QStringLiteral("plain")), QStringLiteral("plain"));
    QCOMPARE(csv::field(QStringLiteral("007")), QStringLiteral("007"));
    QCOMPARE(csv::field(QString()), QString());
    QCOMPARE(csv::field(QStringLiteral("a,b")), QStringLiteral("\"a,b\""));
    QCOMPARE(csv::field(QStringLiteral("5\" gauze")), QStringLiteral("\"5\"\" gauze\""));
    QCOMPARE(csv::field(QStringLiteral("two\nlines")), QStringLiteral("\"two\nlines\""));
    QCOMPARE(csv::field(QStringLiteral(" padded ")), QStringLiteral("\" padded \""));
    QCOMPARE(csv::record({"a", "b,c", ""}), QStringLiteral("a,\"b,c\",\r\n"));
    const QByteArray bytes = csv::document({QStringLiteral("Ñ")}, {});
    QCOMPARE(bytes, QByteArray("\xEF\xBB\xBF\xC3\x91\r\n"));
}

void TestCsv::anIndependentReaderReadsBackEveryCell() {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("list.csv"));
    const QStringList header{"Code", "Description", "Fee"};
    const QList<QStringList> rows{
        {"007", "PARAÑAQUE, SEÑOR", "1,250.00"},
        {"ER'01", "5\" gauze \"sterile\"", ""},
        {"", "first line\nsecond line\r\nthird", " 12 "},
        {"é", "tab\there", "-"},
    };
    QCOMPARE(csv::writeFile(path, header, rows), QString());
    QList<QStringList> expected{header};
    expected << rows;
    QCOMPARE(readCsvBack(path), expected);
}

void TestCsv::aFailedWriteLeavesNoFileAndTheOldOneIntact() {
    QTemporaryDir dir;
    const QString missingFolder = QDir(dir.path()).filePath(QStringLiteral("no/such/list.csv"));
    QVERIFY(!csv::writeFile(missingFolder, {"a"}, {}).isEmpty());
    QVERIFY(!QFile::exists(missingFolder));
    // A folder of that name is not replaced.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.csv")));
    QVERIFY(!csv::writeFile(QDir(dir.path()).filePath(QStringLiteral("folder.csv")), {"a"}, {})
                 .isEmpty());
    QVERIFY(QFileInfo(QDir(dir.path()).filePath(QStringLiteral("folder.csv"))).isDir());
    // A file that cannot be replaced keeps what it held.
    const QString path = QDir(dir.path()).filePath(QStringLiteral("kept.csv"));
    QCOMPARE(csv::writeFile(path, {"old"}, {}), QString());
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString failure = csv::writeFile(path, {"new"}, {{"row"}});
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (failure.isEmpty())
        QSKIP("this user may write into a read-only folder (root)");
    QCOMPARE(readCsvBack(path), (QList<QStringList>{{"old"}}));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.csv"});
}

QTEST_APPLESS_MAIN(TestCsv)
#include "tst_csv.moc"

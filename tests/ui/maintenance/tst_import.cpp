// "b. Scan && Import" on the real screen and an embedded database: each file into an empty and
// a filled table, the fields per file and table, failing steps, line ends and encodings, and
// what the user does while the import runs.
#include "ScreenFixture.h"

#include "core/db/EmbeddedDatabase.h"
#include "ui/screen/MainScreen.h"
#include "ui/widgets/FlexGrid.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

class TestImport : public QObject, protected ScreenFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void itemAndMedicineFilesIntoAnEmptyThenAFilledTable();
    void erFilesCarryFeeAndUnit();
    void anEmptyLineAddsOneEmptyRowOnce();
    void aCodeWithAnApostropheIsLookedUpAndAdded();
    void aFeeThatIsNoAmountIsReportedAndTheRowStillAdded();
    void aMissingFileIsReportedOnceAndTheNextFileRead();
    void aMissingTableReportsEveryStepOfEveryLine();
    void lineEnds_data();
    void lineEnds();
    void encodings_data();
    void encodings();
    void aTableSwitchAndASecondClickDuringTheImport();
    void aSaveBetweenTwoLinesIsCommittedOnItsOwn();
    void newCodesAreWrittenAHundredToAStatement();
    void closingTheScreenEndsTheImport();

private:
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(QDir(m_files.path()).filePath(name + QStringLiteral(".csv")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    void chooseTable(int index) {
        c().optTable[index]->setChecked(true);
        m_prompter.shown.clear();
        gw().clearLog();
    }
    void empty(const QString& table) {
        gw().execute(QStringLiteral("DELETE FROM Build_FIle..") + table);
    }
    void scan() {
        m_prompter.shown.clear();
        gw().clearLog();
        c().cmdScan->click();
    }
    QList<QStringList> rows(const QString& table, const QString& where = QStringLiteral("1=1")) {
        return gw()
            .query(QStringLiteral("SELECT Code, Category, Description, FixedFee, ChargingUnit "
                                  "FROM Build_FIle..") +
                   table + QStringLiteral(" WHERE ") + where + QStringLiteral(" ORDER BY ID"))
            .rows;
    }
    int count(const QString& table) {
        return countRows(gw(), QStringLiteral("SELECT ID FROM Build_FIle..") + table);
    }
    // The look-ups by code sent so far, in order.
    QStringList lookups() {
        QStringList found;
        for (const QString& statement : builtStatements(gw().log()))
            if (statement.startsWith(QStringLiteral("SELECT * FROM [Build_FIle].[dbo].")) &&
                statement.contains(QStringLiteral(" WHERE Code = '")))
                found << statement;
        return found;
    }
    QString lookup(const QString& table, const QString& quotedCode) {
        return QStringLiteral("SELECT * FROM [Build_FIle].[dbo].") + table +
               QStringLiteral(" WHERE Code = '") + quotedCode + QStringLiteral("'   ");
    }
    // An item list long enough to act during its import: `count` lines of supplies coded
    // prefix1, prefix2 ..., each described as "Item" (with its number when `numbered`); the
    // medicine list given; the item table chosen and emptied.
    void prepareItemImport(const char* prefix, int count, const QByteArray& medicine,
                           bool numbered = false) {
        QByteArray lines;
        for (int i = 1; i <= count; ++i)
            lines += prefix + QByteArray::number(i) + "|Supplies|Item" +
                     (numbered ? " " + QByteArray::number(i) : QByteArray()) + "\r\n";
        write(QStringLiteral("ESOA_ITEM"), lines);
        write(QStringLiteral("ESOA_MEDICINE"), medicine);
        chooseTable(0);
        empty(QStringLiteral("ESOA_ITEM"));
    }
    // Runs `work` at the given pass of the event loop while the import runs.
    void duringImport(int pass, std::function<void()> work) {
        auto* timer = new QTimer(m_screen.get());
        auto passes = std::make_shared<int>(0);
        timer->setInterval(0);
        connect(timer, &QTimer::timeout, timer, [=] {
            if (++*passes == pass) {
                timer->stop();
                work();
            }
        });
        timer->start();
    }

    QTemporaryDir m_files;
};

void TestImport::init() {
    openScreen();
    m_screen->referenceImport().setFolder(m_files.path());
    for (const QString& name : QDir(m_files.path()).entryList(QDir::Files))
        QFile::remove(QDir(m_files.path()).filePath(name));
}

void TestImport::cleanup() {
    m_screen.reset();
}

void TestImport::itemAndMedicineFilesIntoAnEmptyThenAFilledTable() {
    write(QStringLiteral("ESOA_ITEM"), "I1|Supplies|Syringe 5 mL\r\n"
                                       "I2|Supplies|Gauze pad|12.00|unit\r\n"
                                       "M1|Laboratory|Aspirin listed first\r\n");
    write(QStringLiteral("ESOA_MEDICINE"), "M1|Drugs|Aspirin 80 mg\r\n"
                                           "M2|Analgesics|Paracetamol 500 mg\r\n");
    chooseTable(0);
    empty(QStringLiteral("ESOA_ITEM"));
    scan();
    QCOMPARE(m_prompter.texts(), QStringList{"Done."});
    QCOMPARE(rows(QStringLiteral("ESOA_ITEM")),
             (QList<QStringList>{{"I1", "Supplies", "Syringe 5 mL", "", ""},
                                 {"I2", "Supplies", "Gauze pad", "", ""},
                                 {"M1", "Laboratory", "Aspirin listed first", "", ""},
                                 {"M2", "Medicine", "Paracetamol 500 mg", "", ""}}));
    QCOMPARE(lookups().mid(0, 5), (QStringList{lookup("ESOA_ITEM", "I1"), lookup("ESOA_ITEM", "I2"),
                                               lookup("ESOA_ITEM", "M1"), lookup("ESOA_ITEM", "M1"),
                                               lookup("ESOA_ITEM", "M2")}));
    // Then the lists are loaded again, the procedure mode set, and the pointer is back.
    QCOMPARE(c().txtType->text(), QStringLiteral("PROC"));
    QStringList categories;
    for (int r = 1; r < c().GridCat->rows(); ++r)
        categories << c().GridCat->textMatrix(r, 0);
    QVERIFY(categories.contains(QStringLiteral("Medicine")));
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QCOMPARE(m_screen->cursor().shape(), Qt::ArrowCursor);

    // A second run finds every code and adds nothing; a changed line changes nothing either.
    write(QStringLiteral("ESOA_ITEM"), "I1|Other|Renamed\r\nI2|Supplies|Gauze pad\r\n");
    scan();
    QCOMPARE(m_prompter.texts(), QStringList{"Done."});
    QCOMPARE(count(QStringLiteral("ESOA_ITEM")), 4);
    QCOMPARE(rows(QStringLiteral("ESOA_ITEM"), QStringLiteral("Code='I1'"))[0][2],
             QStringLiteral("Syringe 5 mL"));
}

void TestImport::erFilesCarryFeeAndUnit() {
    write(QStringLiteral("ESOA_ER"), "E1|Imaging|Chest PA|350.00|per exam|ignored\r\n"
                                     "E2|Imaging|Skull AP\r\n");
    // The ER option reads the ER file only: the item files are not read.
    write(QStringLiteral("ESOA_ITEM"), "NOT|Read|At all\r\n");
    chooseTable(1);
    empty(QStringLiteral("ESOA_ER"));
    const int items = count(QStringLiteral("ESOA_ITEM"));
    scan();
    QCOMPARE(m_prompter.texts(), QStringList{"Done."});
    // A line of three fields gives an empty fee (which the money column reads as 0) and unit.
    QCOMPARE(rows(QStringLiteral("ESOA_ER")),
             (QList<QStringList>{{"E1", "Imaging", "Chest PA", "350", "per exam"},
                                 {"E2", "Imaging", "Skull AP", "0", ""}}));
    QCOMPARE(count(QStringLiteral("ESOA_ITEM")), items);
    scan();
    QCOMPARE(count(QStringLiteral("ESOA_ER")), 2);
}

void TestImport::anEmptyLineAddsOneEmptyRowOnce() {
    write(QStringLiteral("ESOA_ITEM"), "\r\nA|B|C\r\n\r\n");
    write(QStringLiteral("ESOA_MEDICINE"), "\r\n");
    chooseTable(0);
    empty(QStringLiteral("ESOA_ITEM"));
    scan();
    QCOMPARE(rows(QStringLiteral("ESOA_ITEM")),
             (QList<QStringList>{{"", "", "", "", ""}, {"A", "B", "C", "", ""}}));
    // In the medicine file alone, the empty row takes the category "Medicine".
    empty(QStringLiteral("ESOA_ITEM"));
    write(QStringLiteral("ESOA_ITEM"), "");
    write(QStringLiteral("ESOA_MEDICINE"), "\r\n\r\n");
    scan();
    QCOMPARE(rows(QStringLiteral("ESOA_ITEM")), (QList<QStringList>{{"", "Medicine", "", "", ""}}));
    QCOMPARE(m_prompter.texts(), QStringList{"Done."});
}

void TestImport::aCodeWithAnApostropheIsLookedUpAndAdded() {
    write(QStringLiteral("ESOA_ITEM"), "O'NEIL|Supplies|Splint' OR '1'='1\r\n");
    write(QStringLiteral("ESOA_MEDICINE"), "");
    chooseTable(0);
    scan();
    QCOMPARE(m_prompter.texts(), QStringList{"Done."});
    QCOMPARE(gw().log().first(), lookup("ESOA_ITEM", "O''NEIL"));
    QCOMPARE(rows(QStringLiteral("ESOA_ITEM"), QStringLiteral("Code='O''NEIL'")),
             (QList<QStringList>{{"O'NEIL", "Supplies", "Splint' OR '1'='1", "", ""}}));
    scan();
    QCOMPARE(rows(QStringLiteral("ESOA_ITEM"), QStringLiteral("Code='O''NEIL'")).size(), 1);
}

void TestImport::aFeeThatIsNoAmountIsReportedAndTheRowStillAdded() {
    write(QStringLiteral("ESOA_ER"), "E1|Imaging|Chest PA|three hundred|per exam\r\n"
                                     "E2|Imaging|Skull AP|1,250.00|per exam\r\n"
                                     "E3|Imaging|Pelvis|99.50|per exam\r\n");
    chooseTable(1);
    empty(QStringLiteral("ESOA_ER"));
    scan();
    // A money column takes group separators, as SQL Server's does.
    const QString refused = QStringLiteral(
        "Cannot convert a char value to money. The char value has incorrect syntax.");
    QCOMPARE(m_prompter.texts(), (QStringList{refused, "Done."}));
    QCOMPARE(rows(QStringLiteral("ESOA_ER")),
             (QList<QStringList>{{"E1", "Imaging", "Chest PA", "", "per exam"},
                                 {"E2", "Imaging", "Skull AP", "1250", "per exam"},
                                 {"E3", "Imaging", "Pelvis", "99.5", "per exam"}}));
}

void TestImport::aMissingFileIsReportedOnceAndTheNextFileRead() {
    write(QStringLiteral("ESOA_MEDICINE"), "M9|Drugs|Cefalexin 500 mg\r\n");
    chooseTable(0);
    scan();
    const QString path =
        QDir::toNativeSeparators(QDir(m_files.path()).filePath(QStringLiteral("ESOA_ITEM.csv")));
    QCOMPARE(m_prompter.texts(), (QStringList{"File not found: " + path, "Done."}));
    QCOMPARE(rows(QStringLiteral("ESOA_ITEM"), QStringLiteral("Code='M9'")).size(), 1);
    // Only the medicine file's look-up ran before the reloads.
    QCOMPARE(gw().log().first(), lookup("ESOA_ITEM", "M9"));

    // A file that is there but cannot be read says why (not where the tests run as root).
    write(QStringLiteral("ESOA_ITEM"), "X1|A|B\r\n");
    const QString item = QDir(m_files.path()).filePath(QStringLiteral("ESOA_ITEM.csv"));
    QFile::setPermissions(item, QFileDevice::WriteOwner);
    QFile probe(item);
    if (!probe.open(QIODevice::ReadOnly)) {
        scan();
        QCOMPARE(m_prompter.texts().size(), 2);
        QVERIFY(
            m_prompter.texts()[0].endsWith(QStringLiteral(": ") + QDir::toNativeSeparators(item)));
        QVERIFY(!m_prompter.texts()[0].startsWith(QStringLiteral("File not found")));
        QCOMPARE(rows(QStringLiteral("ESOA_ITEM"), QStringLiteral("Code='X1'")).size(), 0);
    }
}

void TestImport::aMissingTableReportsEveryStepOfEveryLine() {
    write(QStringLiteral("ESOA_ER"), "E1|A|B|1|u\r\nE2|A|B|1|u\r\n");
    chooseTable(1);
    gw().execute(QStringLiteral("DROP TABLE Build_FIle..ESOA_ER"));
    m_prompter.shown.clear();
    c().cmdScan->click();
    const QString missing = QStringLiteral("no such table: Build_FIle.ESOA_ER");
    const QString closed = QStringLiteral("Operation is not allowed when the object is closed.");
    // Per line: the look-up, then the test, the new row, five fields, the write and the close.
    QStringList perLine{missing};
    for (int i = 0; i < 9; ++i)
        perLine << closed;
    QCOMPARE(m_prompter.texts().mid(0, 20), perLine + perLine);
    // The reloads report the missing table as always, and the import still ends with "Done.".
    QCOMPARE(m_prompter.texts().last(), QStringLiteral("Done."));
}

void TestImport::lineEnds_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF") << QByteArray("L1|A|One\r\nL2|A|Two\r\nL3|A|Three\r\n");
    QTest::newRow("CR") << QByteArray("L1|A|One\rL2|A|Two\rL3|A|Three\r");
    QTest::newRow("LF") << QByteArray("L1|A|One\nL2|A|Two\nL3|A|Three\n");
    QTest::newRow("LF, last line open") << QByteArray("L1|A|One\nL2|A|Two\nL3|A|Three");
}

void TestImport::lineEnds() {
    QFETCH(QByteArray, bytes);
    write(QStringLiteral("ESOA_ITEM"), bytes);
    write(QStringLiteral("ESOA_MEDICINE"), "");
    chooseTable(0);
    empty(QStringLiteral("ESOA_ITEM"));
    scan();
    QCOMPARE(rows(QStringLiteral("ESOA_ITEM")), (QList<QStringList>{{"L1", "A", "One", "", ""},
                                                                    {"L2", "A", "Two", "", ""},
                                                                    {"L3", "A", "Three", "", ""}}));
}

void TestImport::encodings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("UTF-8") << QByteArray("N1|Pe\xC3\xB1"
                                         "a|Caf\xC3\xA9 \xE2\x82\xAC\r\n");
    QTest::newRow("UTF-8, byte-order mark") << QByteArray("\xEF\xBB\xBFN1|Pe\xC3\xB1"
                                                          "a|Caf\xC3\xA9 \xE2\x82\xAC\r\n");
    QTest::newRow("Windows-1252") << QByteArray("N1|Pe\xF1"
                                                "a|Caf\xE9 \x80\r\n");
}

void TestImport::encodings() {
    QFETCH(QByteArray, bytes);
    write(QStringLiteral("ESOA_ER"), bytes);
    chooseTable(1);
    empty(QStringLiteral("ESOA_ER"));
    scan();
    QCOMPARE(rows(QStringLiteral("ESOA_ER")),
             (QList<QStringList>{{"N1", QStringLiteral(u"Pe\u00F1a"),
                                  QStringLiteral(u"Caf\u00E9 \u20AC"), "0", ""}}));
}

void TestImport::aTableSwitchAndASecondClickDuringTheImport() {
    write(QStringLiteral("ESOA_ER"), "SE|Imaging|Not read\r\n");
    prepareItemImport("S", 40, "SM|Drugs|Medicine line\r\n", true);
    const int er = count(QStringLiteral("ESOA_ER"));
    bool hourglass = false;
    // Halfway through the item file the clerk switches to the ER table and clicks again.
    duringImport(20, [&] {
        hourglass = QApplication::overrideCursor() &&
                    QApplication::overrideCursor()->shape() == Qt::WaitCursor &&
                    m_screen->cursor().shape() == Qt::WaitCursor;
        c().optTable[1]->setChecked(true);
        c().cmdScan->click();
    });
    scan();
    QVERIFY(hourglass);
    // Every line went into the table the import started with, with that table's fields; the
    // ER file was not read, and the second click ran nothing.
    QCOMPARE(count(QStringLiteral("ESOA_ITEM")), 41);
    QCOMPARE(rows(QStringLiteral("ESOA_ITEM"), QStringLiteral("Code='SM'"))[0][1],
             QStringLiteral("Medicine"));
    QCOMPARE(count(QStringLiteral("ESOA_ER")), er);
    QCOMPARE(builtStatements(gw().log()).filter(QStringLiteral("WHERE Code = ")).size(), 41);
    QCOMPARE(m_prompter.texts(), QStringList{"Done."});
    // The reloads at the end show the table the screen shows now.
    QCOMPARE(c().lblESOATableName->text(), QStringLiteral("ESOA_ER"));
    QVERIFY(gw().log().last().contains(QStringLiteral("ESOA_ER")));
}

void TestImport::aSaveBetweenTwoLinesIsCommittedOnItsOwn() {
    prepareItemImport("B", 30, "");
    Gateway other(embedded::open(m_db->folder()));
    int seenByOther = -1, linksSeen = -1;
    duringImport(10, [&] {
        gw().execute(QStringLiteral("DELETE FROM Build_FIle..ESOA_ITEM_LINK WHERE 1=1"));
        // Another connection sees the delete at once, and the lines imported before it.
        linksSeen = countRows(other, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ITEM_LINK"));
        seenByOther = countRows(other, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ITEM"));
    });
    scan();
    QCOMPARE(linksSeen, 0);
    QVERIFY(seenByOther >= 5 && seenByOther < 30);
    QCOMPARE(countRows(other, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ITEM")), 30);
}

// New codes wait to be written a hundred to a statement, the rest a row to a statement. A code
// that may equal one still waiting (the same in other letters) is looked up once that one is
// written, so the database finds it as it always did; a line the database refuses is told on
// its own and the other 99 rows of its statement are added; a list read between two lines
// shows every line read before it.
void TestImport::newCodesAreWrittenAHundredToAStatement() {
    QByteArray lines = "N1|Supplies|Item\r\nN2|Supplies|Item\r\nN3|Supplies|Item\r\n"
                       "n3|Other|Same code in small letters\r\n";
    for (int i = 4; i <= 400; ++i)
        lines += "N" + QByteArray::number(i) + "|" +
                 (i == 300 ? QByteArray(60, 'x') : QByteArray("Supplies")) + "|Item\r\n";
    write(QStringLiteral("ESOA_ITEM"), lines);
    write(QStringLiteral("ESOA_MEDICINE"), "");
    chooseTable(0);
    empty(QStringLiteral("ESOA_ITEM"));
    int seen = -1, read = -1;
    duringImport(160, [&] {
        read = int(lookups().size());
        seen = count(QStringLiteral("ESOA_ITEM"));
    });
    scan();
    QVERIFY(read > 160 - 5);
    QCOMPARE(seen, read - 1); // the code in small letters adds nothing
    QCOMPARE(m_prompter.texts().size(), 2);
    QVERIFY2(m_prompter.texts()[0].contains(QStringLiteral("CHECK constraint failed")),
             qPrintable(m_prompter.texts()[0]));
    QCOMPARE(m_prompter.texts()[1], QStringLiteral("Done."));
    QCOMPARE(count(QStringLiteral("ESOA_ITEM")), 399);
    QCOMPARE(rows(QStringLiteral("ESOA_ITEM"), QStringLiteral("Code IN ('N3', 'N300')")),
             (QList<QStringList>{{"N3", "Supplies", "Item", "", ""}}));
    QCOMPARE(lookups().size(), 401);
    // Lines 4 to 103, then after the read some 100 more, then the hundred with the refused line.
    const QStringList adds = builtStatements(gw().log()).filter(QStringLiteral("INSERT INTO"));
    QCOMPARE(adds.filter(QStringLiteral(" UNION ALL ")).size(), 3);
    QCOMPARE(adds.first(),
             QStringLiteral("INSERT INTO [Build_FIle].[dbo].ESOA_ITEM ([Code], [Category], "
                            "[Description]) SELECT [Code], [Category], [Description] FROM (SELECT "
                            "? AS [Code], ? AS [Category], ? AS [Description]) AS [adds] WHERE NOT "
                            "EXISTS (SELECT 1 FROM [Build_FIle].[dbo].ESOA_ITEM AS [known] WITH "
                            "(UPDLOCK, HOLDLOCK) WHERE [known].[Code] = [adds].[Code])"));
}

void TestImport::closingTheScreenEndsTheImport() {
    prepareItemImport("C", 50, "CM|Drugs|Not read\r\n");
    duringImport(10, [&] { m_screen->close(); });
    scan();
    QVERIFY(m_prompter.texts().isEmpty());
    Gateway other(embedded::open(m_db->folder()));
    const int kept = countRows(other, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ITEM"));
    QVERIFY(kept > 0 && kept < 50);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"

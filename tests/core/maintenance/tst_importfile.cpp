// Reading the reference lists: NextField, the line reader and the record decoder.
#include "core/maintenance/ImportFile.h"
#include "core/text/NextField.h"

#include <QTest>

using modBrevant::NextField;

class TestImportFile : public QObject {
    Q_OBJECT
private slots:
    void nextFieldCutsFieldsLeftToRight();
    void nextFieldEdgeCases();
    void linesEnd_data();
    void linesEnd();
    void ansiTextIsWindows1252();
    void textIsUtf8ElseWindows1252_data();
    void textIsUtf8ElseWindows1252();
    void utf8Validity_data();
    void utf8Validity();
    void recordsByFileAndTable();
    void lookupQuotesTheCode();
};

void TestImportFile::nextFieldCutsFieldsLeftToRight() {
    QString line = QStringLiteral("ER0001|Therapeutics|Paracetamol|25.00|per ampule");
    QStringList fields;
    for (int i = 0; i < 7; ++i)
        fields << NextField(line, QStringLiteral("|"));
    QCOMPARE(fields,
             (QStringList{"ER0001", "Therapeutics", "Paracetamol", "25.00", "per ampule", "", ""}));
    QVERIFY(line.isEmpty());
}

void TestImportFile::nextFieldEdgeCases() {
    QString none = QStringLiteral("no delimiter");
    QCOMPARE(NextField(none, QStringLiteral("|")), QStringLiteral("no delimiter"));
    QCOMPARE(none, QString());
    QString first = QStringLiteral("|a");
    QCOMPARE(NextField(first, QStringLiteral("|")), QString());
    QCOMPARE(first, QStringLiteral("a"));
    QString last = QStringLiteral("a|");
    QCOMPARE(NextField(last, QStringLiteral("|")), QStringLiteral("a"));
    QCOMPARE(last, QString());
    QCOMPARE(NextField(last, QStringLiteral("|")), QString());
    QString blank = QStringLiteral(" Paracetamol 500 mg");
    QCOMPARE(NextField(blank, QStringLiteral(" ")), QString());
    QString caseSensitive = QStringLiteral("aXbxc");
    QCOMPARE(NextField(caseSensitive, QStringLiteral("x")), QStringLiteral("aXb"));
    QString multi = QStringLiteral("a::b");
    QCOMPARE(NextField(multi, QStringLiteral("::")), QStringLiteral("a"));
    QCOMPARE(multi, QStringLiteral("b"));
    // No 16-bit limit on positions.
    QString longLine = QString(40000, u'x') + QStringLiteral("|tail");
    QCOMPARE(NextField(longLine, QStringLiteral("|")).size(), 40000);
    QCOMPARE(longLine, QStringLiteral("tail"));
}

void TestImportFile::linesEnd_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << "a|1\r\nb|2\r\n" << QStringList{"a|1", "b|2"};
    QTest::newRow("CR") << "a|1\rb|2\r" << QStringList{"a|1", "b|2"};
    QTest::newRow("LF") << "a|1\nb|2\n" << QStringList{"a|1", "b|2"};
    QTest::newRow("mixed, last line open") << "a\r\nb\rc\nd" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("empty lines") << "a\r\n\r\n\n\r" << QStringList{"a", "", "", ""};
    QTest::newRow("LF CR is two ends") << "a\n\rb" << QStringList{"a", "", "b"};
    QTest::newRow("empty text") << "" << QStringList{};
    QTest::newRow("one end only") << "\r\n" << QStringList{""};
}

void TestImportFile::linesEnd() {
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(importfile::splitLines(text), lines);
}

void TestImportFile::ansiTextIsWindows1252() {
    QCOMPARE(importfile::decodeAnsi(QByteArray("Se\xf1or \x93quoted\x94 \x80 5")),
             QStringLiteral(u"Se\u00F1or \u201Cquoted\u201D \u20AC 5"));
}

void TestImportFile::textIsUtf8ElseWindows1252_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString words = QStringLiteral(u"PE\u00D1A|Caf\u00E9");
    QTest::newRow("UTF-8") << QByteArray("PE\xC3\x91"
                                         "A|Caf\xC3\xA9")
                           << words;
    QTest::newRow("UTF-8 with byte-order mark") << QByteArray("\xEF\xBB\xBFPE\xC3\x91"
                                                              "A|Caf\xC3\xA9")
                                                << words;
    QTest::newRow("Windows-1252") << QByteArray("PE\xD1"
                                                "A|Caf\xE9")
                                  << words;
    // One byte that is no UTF-8 makes the whole file Windows-1252.
    QTest::newRow("mostly UTF-8") << QByteArray("\xC3\xA9|\xE9")
                                  << QStringLiteral(u"\u00C3\u00A9|\u00E9");
    QTest::newRow("a byte-order mark in Windows-1252")
        << QByteArray("\xEF\xBB\xBF\xE9") << QStringLiteral(u"\u00EF\u00BB\u00BF\u00E9");
    QTest::newRow("ASCII") << QByteArray("A|B") << QStringLiteral("A|B");
    QTest::newRow("only a byte-order mark") << QByteArray("\xEF\xBB\xBF") << QString();
}

void TestImportFile::textIsUtf8ElseWindows1252() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(importfile::decodeText(bytes), text);
}

void TestImportFile::utf8Validity_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("two bytes") << QByteArray("\xC3\xB1") << true;
    QTest::newRow("three bytes") << QByteArray("\xE2\x82\xAC") << true;
    QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x98\x80") << true;
    QTest::newRow("highest") << QByteArray("\xF4\x8F\xBF\xBF") << true;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << false;
    QTest::newRow("overlong three") << QByteArray("\xE0\x80\xAF") << false;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
    QTest::newRow("cut short") << QByteArray("ab\xE2\x82") << false;
    QTest::newRow("lone continuation") << QByteArray("\x80") << false;
    QTest::newRow("bad continuation") << QByteArray("\xC3\x28") << false;
}

void TestImportFile::utf8Validity() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QCOMPARE(importfile::isUtf8(bytes), valid);
}

void TestImportFile::recordsByFileAndTable() {
    const auto er =
        importfile::decodeLine(QStringLiteral("C|Imaging|Chest PA|350.00|per exam|extra"),
                               QStringLiteral("ESOA_ER"), QStringLiteral("ESOA_ER"));
    QCOMPARE((QStringList{er.code, er.category, er.description, er.fixedFee, er.chargingUnit}),
             (QStringList{"C", "Imaging", "Chest PA", "350.00", "per exam"}));
    const auto shortEr = importfile::decodeLine(
        QStringLiteral("C|Imaging|Chest PA"), QStringLiteral("ESOA_ER"), QStringLiteral("ESOA_ER"));
    QCOMPARE(shortEr.fixedFee, QString());
    QCOMPARE(shortEr.chargingUnit, QString());
    const auto item =
        importfile::decodeLine(QStringLiteral("M|Drugs|Paracetamol|9|x"),
                               QStringLiteral("ESOA_MEDICINE"), QStringLiteral("ESOA_ITEM"));
    QCOMPARE(item.category, QStringLiteral("Medicine"));
    QCOMPARE(item.fixedFee, QString()); // read only for the ER table
    const auto empty = importfile::decodeLine(QString(), QStringLiteral("ESOA_MEDICINE"),
                                              QStringLiteral("ESOA_ITEM"));
    QCOMPARE((QStringList{empty.code, empty.category, empty.description}),
             (QStringList{"", "Medicine", ""}));
    // The table name decides, exactly: "esoa_er" is not the ER table.
    QCOMPARE(importfile::decodeLine(QStringLiteral("C|X|D|1|u"), QStringLiteral("ESOA_ER"),
                                    QStringLiteral("esoa_er"))
                 .fixedFee,
             QString());
}

void TestImportFile::lookupQuotesTheCode() {
    QCOMPARE(importfile::lookupStatement(QStringLiteral("ESOA_ER"), QStringLiteral("ER0001")),
             QStringLiteral("SELECT * FROM [Build_FIle].[dbo].ESOA_ER WHERE Code = 'ER0001'   "));
    QCOMPARE(importfile::lookupStatement(QStringLiteral("ESOA_ITEM"), QStringLiteral("A'B")),
             QStringLiteral("SELECT * FROM [Build_FIle].[dbo].ESOA_ITEM WHERE Code = 'A''B'   "));
}

QTEST_APPLESS_MAIN(TestImportFile)
#include "tst_importfile.moc"

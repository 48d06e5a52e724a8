// Reading the reference lists: NextField, the line reader and the record decoder.
#include "app/ModBrevant.h"
#include "data/ImportFile.h"

#include <QTest>

using modBrevant::NextField;

class TestImportFile : public QObject {
    Q_OBJECT
private slots:
    void nextFieldCutsFieldsLeftToRight();
    void nextFieldEdgeCases();
    void linesEndAtCarriageReturns();
    void ansiTextIsWindows1252();
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

void TestImportFile::linesEndAtCarriageReturns() {
    QCOMPARE(importfile::splitLines(QStringLiteral("a\r\nb\rc")), (QStringList{"a", "b", "c"}));
    QCOMPARE(importfile::splitLines(QStringLiteral("a\r\n\r\n")), (QStringList{"a", ""}));
    QCOMPARE(importfile::splitLines(QString()), QStringList());
    // A file whose lines end in a line feed alone is one long line.
    QCOMPARE(importfile::splitLines(QStringLiteral("a|b\nc|d\n")), QStringList{"a|b\nc|d\n"});
}

void TestImportFile::ansiTextIsWindows1252() {
    QCOMPARE(importfile::decodeAnsi(QByteArray("Se\xf1or \x93quoted\x94 \x80 5")),
             QStringLiteral(u"Señor \u201Cquoted\u201D \u20AC 5"));
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

// Reading the FDA's register export: its header found by name, its CSV quoting and line ends, its
// HTML entities, the no-brand spellings, what is skipped, what is refused, the text's encoding,
// the cut to the columns' lengths, and the progress that cancels. Every file is written here, in
// the export's format, of products made up for the tests.
#include "core/register/RegisterFile.h"
#include "core/register/RegisterStatements.h"

#include <QTest>

using drugregister::Product;
using drugregister::readRegister;
using drugregister::Register;
using Outcome = drugregister::Register::Outcome;

namespace {

const QByteArray portalHeader =
    "Product Information,Registration Number,Generic Name,Brand Name,Dosage Strength,Dosage "
    "Form,Classification,Packaging,Pharmacologic Category,Manufacturer,Country of "
    "Origin,Trader,Importer,Distributor,Application Type,Issuance Date,Expiry Date";

// A row of the portal's seventeen columns: the five kept ones given, the others filled as the
// export fills them.
QByteArray portalRow(const QByteArray& registration, const QByteArray& generic,
                     const QByteArray& brand, const QByteArray& strength, const QByteArray& form) {
    const QByteArray information =
        QByteArray(brand + " " + strength + " " + form).replace("\"", "\"\"");
    return "\"" + information + "\"," + registration + "," + generic + "," + brand + "," +
           strength + "," + form +
           ",Prescription Drug (RX),\"Alu/PVC blister x 10's (Box of 100's)\",Analgesic,Halcyon "
           "Laboratories Inc.,Philippines,,,\"Halcyon Laboratories, Inc.\",Initial,"
           "04 March 2021,04 March 2026";
}

// The products as "registration | generic | brand | strength | form", for readable failures.
QStringList rowsOf(const Register& r) {
    QStringList out;
    for (const Product& p : r.products)
        out << QStringList{p.registrationNumber, p.genericName, p.brandName, p.dosageStrength,
                           p.dosageForm}
                   .join(QStringLiteral(" | "));
    return out;
}

Register readOk(const QByteArray& bytes) {
    const Register r = readRegister(bytes);
    if (r.outcome != Outcome::Read)
        qWarning("not read: outcome %d, missing %s", int(r.outcome),
                 qPrintable(r.missingColumns.join(u',')));
    return r;
}

} // namespace

class TestRegisterFile : public QObject {
    Q_OBJECT
private slots:
    void readsThePortalsExport();
    void findsTheColumnsByNameInAnyOrder();
    void noBrandSpellings_data();
    void noBrandSpellings();
    void skipsBlankLinesAndRowsWithoutNames();
    void lineEnds_data();
    void lineEnds();
    void decodesEntities_data();
    void decodesEntities();
    void anUnclosedQuoteTakesTheRestOfTheFile();
    void refusesWhatIsNotTheList();
    void decodesWindows1252AndUtf8();
    void countsBrandsAsSqlServerComparesThem();
    void cutsFieldsToTheirColumns();
    void reportsProgressAndCancels();
};

void TestRegisterFile::readsThePortalsExport() {
    // As the portal writes it: a byte-order mark, CR LF, quoted fields with commas, doubled
    // quotes and line breaks, "&amp;", "?" where the export had no character.
    const QByteArray file =
        "\xEF\xBB\xBF" + portalHeader + "\r\n" +
        portalRow("XR-00017-21", "Zorvafen", "Zorvex", "500 mg", "\"Tablet, film-coated\"") +
        "\r\n" +
        portalRow("XR-00018-21", "\"Cefalotrix (as sodium)\"", "\"Cefa\"\"Max\"\"\"", "1 g",
                  "\"Powder for\r\nsolution for\ninjection (IM/IV)\"") +
        "\r\n" +
        portalRow("XR-00019-22", "Lidorex &amp; Prilocan", "Ni?a Plus", "  2.5% ", "Cream") +
        "\r\n";
    const Register r = readOk(file);
    QCOMPARE(rowsOf(r),
             (QStringList{
                 "XR-00017-21 | Zorvafen | Zorvex | 500 mg | Tablet, film-coated",
                 "XR-00018-21 | Cefalotrix (as sodium) | Cefa\"Max\" | 1 g | Powder for solution "
                 "for injection (IM/IV)",
                 "XR-00019-22 | Lidorex & Prilocan | Ni?a Plus | 2.5% | Cream",
             }));
    QCOMPARE(r.brandNames, 3);
    QVERIFY(r.missingColumns.isEmpty());
}

void TestRegisterFile::findsTheColumnsByNameInAnyOrder() {
    // Case and blanks around the names aside; other columns ignored; of two columns with one
    // name the first counts.
    const Register r = readOk("  dosage FORM ,Notes,BRAND NAME,generic name,Dosage Strength,"
                              "Registration Number ,Brand Name\n"
                              "Capsule,\"a, b\",Amoxidel,Amoxiprin,250 mg,XR-1,Ignored\n");
    QCOMPARE(rowsOf(r), QStringList{"XR-1 | Amoxiprin | Amoxidel | 250 mg | Capsule"});
}

void TestRegisterFile::noBrandSpellings_data() {
    QTest::addColumn<QByteArray>("brand");
    QTest::addColumn<QString>("kept");
    for (const char* none : {"None", "NONE", "unbranded", "Unbranded", "N/A", "n/a", "NA", "na",
                             "-", "--", "", "  none  ", "\"N/A\""})
        QTest::newRow(none) << QByteArray(none) << QString();
    QTest::newRow("a brand that starts like one") << QByteArray("Nonesuch") << "Nonesuch";
    QTest::newRow("three dashes") << QByteArray("---") << "---";
    QTest::newRow("NAC") << QByteArray("NAC") << "NAC";
}

void TestRegisterFile::noBrandSpellings() {
    QFETCH(QByteArray, brand);
    QFETCH(QString, kept);
    const Register r = readOk(portalHeader + "\n" +
                              portalRow("XR-2", "Paraxetol", brand, "500 mg", "Tablet") + "\n");
    QCOMPARE(r.products.size(), 1);
    QCOMPARE(r.products[0].brandName, kept);
    // Stored as empty text, never as NULL.
    QVERIFY(!r.products[0].brandName.isNull());
    QCOMPARE(r.brandNames, kept.isEmpty() ? 0 : 1);
}

void TestRegisterFile::skipsBlankLinesAndRowsWithoutNames() {
    const Register r = readOk("\r\n  \r\n"
                              "Registration Number,Generic Name,Brand Name,Dosage Strength,Dosage "
                              "Form\r\n"
                              "\r\n"
                              "XR-1,,None,5 mg,Tablet\r\n" // neither a generic nor a brand
                              ",,,,\r\n"                   // nothing at all
                              "XR-2,,Brandonly,5 mg,Tablet\r\n"
                              "XR-3,Shortrow\r\n" // fewer fields: the rest empty
                              "XR-4,Longrow,Lng,1 mg,Tab,extra,\"fields, more\"\r\n"
                              "\n\n");
    QCOMPARE(rowsOf(r),
             (QStringList{"XR-2 |  | Brandonly | 5 mg | Tablet", "XR-3 | Shortrow |  |  | ",
                          "XR-4 | Longrow | Lng | 1 mg | Tab"}));
    for (const Product& p : r.products)
        QVERIFY(!p.dosageForm.isNull() && !p.brandName.isNull() && !p.genericName.isNull());
}

void TestRegisterFile::lineEnds_data() {
    QTest::addColumn<QByteArray>("separator");
    QTest::addColumn<bool>("lastEnded");
    for (const char* end : {"\r\n", "\n", "\r"}) {
        QTest::newRow(QByteArray(end).toHex() + " ended") << QByteArray(end) << true;
        QTest::newRow(QByteArray(end).toHex() + " last open") << QByteArray(end) << false;
    }
}

void TestRegisterFile::lineEnds() {
    QFETCH(QByteArray, separator);
    QFETCH(bool, lastEnded);
    const QByteArray file = "Registration Number,Generic Name,Brand Name,Dosage Strength,Dosage "
                            "Form" +
                            separator + "XR-1,\"Two" + separator + "lines\",B1,1 mg,Tab" +
                            separator + "XR-2,G2,B2,2 mg,Cap" + (lastEnded ? separator : "");
    QCOMPARE(rowsOf(readOk(file)),
             (QStringList{"XR-1 | Two lines | B1 | 1 mg | Tab", "XR-2 | G2 | B2 | 2 mg | Cap"}));
}

void TestRegisterFile::decodesEntities_data() {
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("amp") << QByteArray("A &amp; B") << "A & B";
    QTest::newRow("the five") << QByteArray("&lt;&gt;&quot;&#39;&amp;") << "<>\"'&";
    QTest::newRow("numeric") << QByteArray("Caf&#233; &#x26; &#X2122;") << u"Caf\u00E9 & \u2122"_qs;
    QTest::newRow("escaped twice") << QByteArray("A &amp;amp; B &amp;lt;") << "A & B <";
    QTest::newRow("a line break") << QByteArray("Two&#13;&#10;lines") << "Two lines";
    QTest::newRow("unknown kept") << QByteArray("&nbsp;&#0;&#xD800;&#-1;& amp;&amp")
                                  << "&nbsp;&#0;&#xD800;&#-1;& amp;&amp";
    QTest::newRow("beyond the plane") << QByteArray("&#128138;") << u"\U0001F48A"_qs;
}

void TestRegisterFile::decodesEntities() {
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    const Register r = readOk("Registration Number,Generic Name,Brand Name,Dosage Strength,Dosage "
                              "Form\n&amp;1,\"" +
                              field + "\",B&amp;B,1 mg,Tab\n");
    QCOMPARE(r.products.size(), 1);
    QCOMPARE(r.products[0].genericName, text);
    QCOMPARE(r.products[0].registrationNumber, QStringLiteral("&1"));
    QCOMPARE(r.products[0].brandName, QStringLiteral("B&B"));
}

void TestRegisterFile::anUnclosedQuoteTakesTheRestOfTheFile() {
    // In a kept column: the field runs to the end of the file, its line breaks made blanks.
    const QByteArray head = "Registration Number,Generic Name,Brand Name,Dosage Strength,Dosage "
                            "Form,Notes\r\n"
                            "XR-1,Before,B1,1 mg,Tab,\r\n";
    Register r = readOk(head + "XR-2,\"Never closed, so\r\nXR-3,G3,B3,3 mg,Cap,\r\n");
    QCOMPARE(rowsOf(r), (QStringList{"XR-1 | Before | B1 | 1 mg | Tab",
                                     "XR-2 | Never closed, so XR-3,G3,B3,3 mg,Cap, |  |  | "}));
    // In a column the import passes over: that row ends the file.
    r = readOk(head + "XR-2,G2,B2,2 mg,Tab,\"never closed\r\nXR-3,G3,B3,3 mg,Cap,\r\n");
    QCOMPARE(rowsOf(r),
             (QStringList{"XR-1 | Before | B1 | 1 mg | Tab", "XR-2 | G2 | B2 | 2 mg | Tab"}));
    // A quote alone at the very end.
    r = readOk(head + "\"");
    QCOMPARE(r.products.size(), 1);
    // A long unclosed field is cut to its column like any other.
    r = readOk(head + "XR-9,\"" + QByteArray(5000, 'x') + "\n" + QByteArray(5000, 'y'));
    QCOMPARE(r.products.size(), 2);
    QCOMPARE(r.products[1].genericName.size(), drugregister::genericNameLength);
}

void TestRegisterFile::refusesWhatIsNotTheList() {
    Register r = readRegister("Registration Number,Generic Name,Strength,Brand\nXR-1,G,1,B\n");
    QCOMPARE(r.outcome, Outcome::MissingColumns);
    QCOMPARE(r.missingColumns, (QStringList{"Brand Name", "Dosage Strength", "Dosage Form"}));
    QVERIFY(r.products.isEmpty());
    // A header further down is no header: the first line that is not blank is.
    r = readRegister("Exported 2026-01-05\n" + portalHeader + "\n");
    QCOMPARE(r.missingColumns, drugregister::neededColumns());
    QCOMPARE(readRegister("\r\n\r\n").missingColumns, drugregister::neededColumns());
    // NUL bytes: a spreadsheet, an archive, a file saved as UTF-16.
    r = readRegister(QByteArray("PK\x03\x04\x14\x00\x06\x00", 8) + portalHeader);
    QCOMPARE(r.outcome, Outcome::NotText);
    // The header alone is read: it lists no products.
    r = readRegister(portalHeader + "\r\n");
    QCOMPARE(r.outcome, Outcome::Read);
    QVERIFY(r.products.isEmpty());
}

void TestRegisterFile::decodesWindows1252AndUtf8() {
    const QByteArray head =
        "Registration Number,Generic Name,Brand Name,Dosage Strength,Dosage Form\n";
    // Not UTF-8: Windows-1252, where 0xF1 is "ñ" and 0x99 "™"; a byte-order mark before it
    // is no part of the header.
    Register r = readOk("\xEF\xBB\xBF" + head +
                        "XR-1,Pi\xF1"
                        "a extract,Sana\x99,1 mg,Tab\n");
    QCOMPARE(rowsOf(r), QStringList{u"XR-1 | Pi\u00F1a extract | Sana\u2122 | 1 mg | Tab"_qs});
    r = readOk(head + "XR-1,Pi\xC3\xB1"
                      "a extract,Sana\xE2\x84\xA2,1 mg,Tab\n");
    QCOMPARE(rowsOf(r), QStringList{u"XR-1 | Pi\u00F1a extract | Sana\u2122 | 1 mg | Tab"_qs});
}

void TestRegisterFile::countsBrandsAsSqlServerComparesThem() {
    const QByteArray head =
        "Registration Number,Generic Name,Brand Name,Dosage Strength,Dosage Form\n";
    const Register r = readOk(head + "1,G,Zorvex,1 mg,Tab\n2,G,ZORVEX,2 mg,Tab\n"
                                     "3,G,zorvex  ,3 mg,Tab\n4,G,Z\xC3\xB3rvex,1 mg,Tab\n"
                                     "5,G,\xC3\x91ova,1 mg,Tab\n6,G,\xC3\xB1OVA,1 mg,Tab\n"
                                     "7,G,None,1 mg,Tab\n8,G,,1 mg,Tab\n");
    QCOMPARE(r.products.size(), 8);
    QCOMPARE(r.brandNames, 3); // Zorvex, Zórvex (accents count), Ñova
}

void TestRegisterFile::cutsFieldsToTheirColumns() {
    // Never half a surrogate pair, no blank left at the cut (the table's own lengths are
    // checked on the screen's import).
    const Register r =
        readOk("Registration Number,Generic Name,Brand Name,Dosage Strength,Dosage Form\n,gen," +
               QByteArray(249, 'b') + "\xF0\x9F\x92\x8A," + QByteArray(248, 's') + "  ss,f\n");
    QCOMPARE(r.products.size(), 1);
    QCOMPARE(r.products[0].brandName, QString(249, u'b'));
    QCOMPARE(r.products[0].dosageStrength, QString(248, u's'));
}

void TestRegisterFile::reportsProgressAndCancels() {
    QByteArray file = portalHeader + "\r\n";
    for (int i = 0; i < 1000; ++i)
        file += portalRow("XR-" + QByteArray::number(i), "Generic",
                          "Brand" + QByteArray::number(i % 7), "1 mg", "Tab") +
                "\r\n";
    QList<qint64> done;
    qint64 total = -1;
    Register r = readRegister(file, [&](qint64 d, qint64 t) {
        done << d;
        total = t;
        return true;
    });
    QCOMPARE(r.products.size(), 1000);
    QCOMPARE(r.brandNames, 7);
    QVERIFY(done.size() >= 4);
    QCOMPARE(total, QString::fromUtf8(file).size());
    QCOMPARE(done.last(), total);
    QVERIFY(std::is_sorted(done.begin(), done.end()));
    QVERIFY(done.first() > 0 && done.first() < total);
    // Cancelled at the second step: nothing read.
    int steps = 0;
    r = readRegister(file, [&](qint64, qint64) { return ++steps < 2; });
    QCOMPARE(r.outcome, Outcome::Cancelled);
    QVERIFY(r.products.isEmpty());
    QCOMPARE(steps, 2);
    // A file too short for a step between its rows is told at its end, and cancels there.
    r = readRegister(portalHeader + "\n" + portalRow("XR-1", "G", "B", "1 mg", "Tab"),
                     [](qint64, qint64) { return false; });
    QCOMPARE(r.outcome, Outcome::Cancelled);
}

QTEST_APPLESS_MAIN(TestRegisterFile)
#include "tst_registerfile.moc"

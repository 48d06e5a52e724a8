// The sample database of the embedded default.
#include "TestDatabase.h"

#include "core/db/EmbeddedDatabase.h"
#include "core/maintenance/ImportFile.h"
#include "core/maintenance/SampleData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestSampleData : public QObject {
    Q_OBJECT
private slots:
    void hospitalTablesAreFilled();
    void referenceTablesHoldTheImportFiles();
    void aFewLinksAreSaved();
    void oldEsoaCodeColumnsAreThere();
    void importFilesLieBesideTheProgram();
    void aUsersFolderWithAccentsBlanksAndAnApostropheServes();

private:
    TestDatabase m_db;
};

void TestSampleData::hospitalTablesAreFilled() {
    Gateway& gw = m_db.gateway();
    QVERIFY(countRows(gw, QStringLiteral("SELECT ItemID FROM Inventory..tbInvMaster")) >= 600);
    QVERIFY(countRows(gw, QStringLiteral("SELECT ItemID FROM Inventory..tbInvMaster A JOIN "
                                         "Inventory..tbForGeneric B ON A.GenericID=B.GenericID")) >=
            400);
    for (const char* table : {"tbcoLabExam", "tbcoXRayExam", "tbcoUltraExam", "tbcoCTExam",
                              "tbcoOtherRevenue", "tbRevenues", "tbcorevenuecode"})
        QVERIFY2(
            countRows(
                gw, QStringLiteral("SELECT * FROM Build_FIle..%1").arg(QLatin1String(table))) >= 10,
            table);
    // Every section the routing saves under has procedures in the other-revenue table.
    for (const char* section : {"ER", "OR", "RA"})
        QVERIFY(countRows(gw, QStringLiteral("SELECT * FROM Build_FIle..tbcoOtherRevenue WHERE "
                                             "OtherSectionID='%1' AND Status='A'")
                                  .arg(QLatin1String(section))) > 3);
}

void TestSampleData::referenceTablesHoldTheImportFiles() {
    Gateway& gw = m_db.gateway();
    const int items = countRows(gw, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ITEM"));
    const int er = countRows(gw, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER"));
    QVERIFY(items + er >= 300);
    // Every line of the files is one code; a code listed twice keeps its first category.
    int lines = 0;
    for (const char* name : {"ESOA_ITEM", "ESOA_MEDICINE"}) {
        QFile f(sample::importFilePath(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::ReadOnly));
        lines += importfile::readLines(f.readAll()).size();
    }
    QCOMPARE(items, lines - 1);
    QCOMPARE(
        gw.query(QStringLiteral("SELECT Category FROM Build_FIle..ESOA_ITEM WHERE Code='MS00001'"))
            .rows[0][0],
        QStringLiteral("MedicalSupplies"));
    for (const char* category : {"Medicine", "LaboratoryAndDiagnostic", "MedicalSupplies",
                                 "OperatingRoomFees", "RoomAndBoard"})
        QVERIFY(
            countRows(gw, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ITEM WHERE Category='%1'")
                              .arg(QLatin1String(category))) > 0);
    for (const char* category :
         {"Therapeutics", "Imaging", "Laboratory", "ED Service", "ED Consultation"})
        QVERIFY(countRows(
                    gw, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER WHERE Category='%1' AND "
                                       "FixedFee > 0 AND ChargingUnit <> ''")
                            .arg(QLatin1String(category))) > 0);
    QCOMPARE(gw.query(QStringLiteral("SELECT MIN(ID) FROM Build_FIle..ESOA_ER")).rows[0][0],
             QStringLiteral("1"));
}

void TestSampleData::aFewLinksAreSaved() {
    Gateway& gw = m_db.gateway();
    QVERIFY(countRows(gw, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK")) >= 3);
    QVERIFY(countRows(gw, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ITEM_LINK")) >= 2);
    // A link copies its reference item's fields.
    const TextTable t = gw.query(QStringLiteral(
        "SELECT L.Description, L.FixedFee, L.ChargingUnit FROM Build_FIle..ESOA_ER_LINK L JOIN "
        "Build_FIle..ESOA_ER R ON R.Code = L.Code WHERE L.Description = R.Description AND "
        "L.FixedFee = "
        "R.FixedFee AND L.ChargingUnit = R.ChargingUnit"));
    QCOMPARE(t.rows.size(),
             countRows(gw, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK")));
}

void TestSampleData::oldEsoaCodeColumnsAreThere() {
    Gateway& gw = m_db.gateway();
    for (const char* table : {"INVENTORY..tbInvMaster", "BUILD_FILE..tbCoXrayExam",
                              "BUILD_FILE..tbcoUltraExam", "BUILD_FILE..tbcoCTExam"})
        gw.query(QStringLiteral("SELECT ESOA_Code FROM %1").arg(QLatin1String(table)));
}

void TestSampleData::importFilesLieBesideTheProgram() {
    for (const char* name : {"ESOA_ITEM", "ESOA_MEDICINE", "ESOA_ER"}) {
        QFile beside(QCoreApplication::applicationDirPath() + u'/' + QLatin1String(name) + ".csv");
        QFile resource(sample::importFilePath(QLatin1String(name)));
        QVERIFY(beside.open(QIODevice::ReadOnly));
        QVERIFY(resource.open(QIODevice::ReadOnly));
        QCOMPARE(beside.readAll(), resource.readAll());
    }
}

void TestSampleData::aUsersFolderWithAccentsBlanksAndAnApostropheServes() {
    // The data folder lies in the user's profile, whose name is the user's: C:\Users\Peña,
    // C:\Users\O'Brien.
    QTemporaryDir scratch;
    const QString folder =
        QDir(scratch.path()).filePath(QStringLiteral("Users/O'Brien Peña/AppData/Local/Brevant"));
    QVERIFY(embedded::isEmpty(folder));
    sample::create(folder);
    QVERIFY(!embedded::isEmpty(folder));
    Gateway gw(embedded::open(folder));
    QVERIFY(countRows(gw, QStringLiteral("SELECT Code FROM Build_FIle..ESOA_ITEM")) > 0);
    QVERIFY(countRows(gw, QStringLiteral("SELECT ItemID FROM Inventory..tbInvMaster")) > 0);
}

QTEST_MAIN(TestSampleData)
#include "tst_sampledata.moc"

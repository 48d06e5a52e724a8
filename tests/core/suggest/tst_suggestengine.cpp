// The suggestions' engine without a screen: what the analysis sees through, how the ranking
// orders alike and unalike items, what the links teach, and the statements it reads with.
#include "TestDatabase.h"

#include "core/db/DbError.h"
#include "core/suggest/Analysis.h"
#include "core/suggest/Ranker.h"
#include "core/suggest/Suggestions.h"

#include <QTest>

using namespace suggest;

namespace {

// The quantities of a text, as "M500" (mass in mg), "C50" (mass per mL), "V60" (pack volume),
// "P0.9" (per cent), "G23" (gauge), "F16" (French), "N250" (a ratio's numerator), "T625" (a
// combination's total).
QStringList quantities(const QString& text) {
    QStringList out;
    for (const Quantity& q : analyse(text).quantities) {
        QString kind = q.perMl                            ? QStringLiteral("C")
                       : q.role == Quantity::Numerator    ? QStringLiteral("N")
                       : q.role == Quantity::Total        ? QStringLiteral("T")
                       : q.dimension == Quantity::Volume  ? QStringLiteral("V")
                       : q.dimension == Quantity::Percent ? QStringLiteral("P")
                       : q.dimension == Quantity::Gauge   ? QStringLiteral("G")
                       : q.dimension == Quantity::French  ? QStringLiteral("F")
                       : q.dimension == Quantity::Units   ? QStringLiteral("U")
                                                          : QStringLiteral("M");
        out << kind + QString::number(q.value);
    }
    out.sort();
    return out;
}

ItemText item(const QString& text, const QString& generic = {}) {
    return {analyse(text), analyse(generic)};
}

// The texts of the ranked items, best first.
QStringList ranked(const QStringList& items, const QString& query,
                   const Learning* learning = nullptr, const QStringList& generics = {}) {
    std::vector<ItemText> texts;
    for (int i = 0; i < items.size(); ++i)
        texts.push_back(item(items[i], generics.value(i)));
    Ranker ranker;
    ranker.build(texts);
    QStringList out;
    for (const Ranker::Hit& hit : ranker.rank(item(query), 10, learning))
        out << items[hit.item];
    return out;
}

} // namespace

class TestSuggestEngine : public QObject {
    Q_OBJECT
private slots:
    void sameWordsWrittenTwoWays_data();
    void sameWordsWrittenTwoWays();
    void strengthsAndVolumes_data();
    void strengthsAndVolumes();
    void oddTextsGiveWhatTheyHave();

    void theAgreeingStrengthAndFormRankFirst();
    void misspellingsAndCutNamesAreFound();
    void theGenericNameSpeaksForTheBrand();
    void theLinksTeachWordPairs();

    void suggestionsReadWithPlainStatements();
    void aLinkedItemRanksFirstAndANewLinkCountsAtOnce();
    void theRoutedTableComesFirstAmongAlikes();
    void proposalsStayInTheCategory();
    void withoutTheHospitalTablesTheDatabaseSaysWhy();
    void catalogueNamesThatCannotStandInAStatementAreRefused();
};

void TestSuggestEngine::sameWordsWrittenTwoWays_data() {
    QTest::addColumn<QString>("hospital");
    QTest::addColumn<QString>("philhealth");
    QTest::newRow("case and punctuation") << "PARACETAMOL-TAB"
                                          << "Paracetamol, tablet";
    QTest::newRow("lab abbreviation") << "CBC W/ PLT CT"
                                      << "Complete Blood Count (CBC) with Platelet Count";
    QTest::newRow("word order") << "PLATELET COUNT, CBC"
                                << "CBC with platelet count";
    QTest::newRow("liver enzymes") << "SGPT"
                                   << "Alanine Aminotransferase (ALT)";
    QTest::newRow("HbA1c") << "HBA1C"
                           << "Glycosylated Hemoglobin";
    QTest::newRow("FBS") << "FBS"
                         << "Fasting Blood Sugar";
    QTest::newRow("BUN") << "BUN"
                         << "Blood Urea Nitrogen";
    QTest::newRow("ECG") << "ECG 12 LEADS"
                         << "Electrocardiogram 12 leads";
    QTest::newRow("chest x-ray") << "CXR PA"
                                 << "Chest X-ray PA";
    QTest::newRow("KUB") << "KUB"
                         << "Kidneys, Ureters and Bladder";
    QTest::newRow("ultrasound") << "WHOLE ABD UTZ"
                                << "Whole Abdomen Ultrasound";
    QTest::newRow("urinalysis") << "U/A"
                                << "Urinalysis";
    QTest::newRow("brand spelling") << "FRUSEMIDE"
                                    << "Furosemide";
    QTest::newRow("possessive") << "LACTATED RINGERS"
                                << "Lactated Ringer's";
    QTest::newRow("plural") << "SURGICAL GLOVES"
                            << "Surgical glove";
    QTest::newRow("fluids") << "PNSS"
                            << "Sodium chloride";
}

void TestSuggestEngine::sameWordsWrittenTwoWays() {
    QFETCH(QString, hospital);
    QFETCH(QString, philhealth);
    QStringList a = canonicalText(hospital).split(u' '), b = canonicalText(philhealth).split(u' ');
    a.sort();
    b.sort();
    QCOMPARE(a, b);
}

void TestSuggestEngine::strengthsAndVolumes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("500MG") << "AMOXIL 500MG CAP" << QStringList{"M500"};
    QTest::newRow("500 mg") << "Amoxicillin 500 mg capsule" << QStringList{"M500"};
    QTest::newRow("1G") << "CEFTRIAXONE 1G VIAL" << QStringList{"M1000"};
    QTest::newRow("1 GM") << "CEFTRIAXONE 1 GM" << QStringList{"M1000"};
    QTest::newRow("1000 mg") << "Ceftriaxone 1000 mg" << QStringList{"M1000"};
    QTest::newRow("1,000 mg") << "Ceftriaxone 1,000 mg" << QStringList{"M1000"};
    QTest::newRow("250mg/5mL") << "Paracetamol 250mg/5mL 60 mL"
                               << QStringList{"C50", "N250", "V60"};
    QTest::newRow("150 mg/mL") << "Paracetamol 150 mg/mL" << QStringList{"C150", "N150"};
    QTest::newRow("0.9%") << "Sodium chloride 0.9% 1 L" << QStringList{"P0.9", "V1000"};
    QTest::newRow("PNSS 1L") << "PNSS 1L" << QStringList{"P0.9", "V1000"};
    QTest::newRow("micrograms") << "Clonidine 150 mcg" << QStringList{"M0.15"};
    QTest::newRow("gauge") << "IV CATH G22" << QStringList{"G22"};
    QTest::newRow("gauge words") << "Intravenous cannula gauge 22" << QStringList{"G22"};
    QTest::newRow("French") << "FOLEY CATH FR16" << QStringList{"F16"};
    QTest::newRow("combination") << "COTRIMOXAZOLE 800/160 TAB"
                                 << QStringList{"M160", "M800", "T960"};
    QTest::newRow("bare strength") << "CEFUROX 500 TAB" << QStringList{"M500"};
    QTest::newRow("units") << "Insulin 100 IU/mL" << QStringList{"C100", "N100"};
}

void TestSuggestEngine::strengthsAndVolumes() {
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    expected.sort();
    QCOMPARE(quantities(text), expected);
}

void TestSuggestEngine::oddTextsGiveWhatTheyHave() {
    QVERIFY(analyse(QString()).words.empty());
    QVERIFY(analyse(QStringLiteral("  ,;/%% ")).words.empty());
    QCOMPARE(canonicalText(QStringLiteral("O'BRIEN'S 100% COTTON")),
             QStringLiteral("O BRIEN COTTON"));
    QCOMPARE(canonicalText(QStringLiteral("Peña")), QStringLiteral("PENA"));
    // 10 kB of text: analysed whole, every word once.
    const QString big = QStringLiteral("COTTON BALLS STERILE ").repeated(500);
    QCOMPARE(canonicalText(big), QStringLiteral("COTTON BALL STERILE"));
    // Forms are no words; their families tell near forms from far ones.
    const Analysis tab = analyse(QStringLiteral("TAB")), cap = analyse(QStringLiteral("capsule")),
                   syrup = analyse(QStringLiteral("SUSP")), amp = analyse(QStringLiteral("AMP")),
                   vial = analyse(QStringLiteral("vial"));
    QVERIFY(tab.words.empty());
    QCOMPARE(formAgreement(tab.forms, analyse(QStringLiteral("tablet")).forms), 1.0);
    QVERIFY(formAgreement(tab.forms, cap.forms) > formAgreement(tab.forms, syrup.forms));
    QVERIFY(formAgreement(amp.forms, vial.forms) > formAgreement(amp.forms, tab.forms));
    QCOMPARE(editDistance("PARACETAMOL", "PARACETMOL", 2), 1);
    QCOMPARE(editDistance("AMOXICILLIN", "AMOXICILIN", 2), 1);
    QCOMPARE(editDistance("AMOXICILLIN", "AMOXICILILN", 2), 1);
}

void TestSuggestEngine::theAgreeingStrengthAndFormRankFirst() {
    const QStringList items{"AMOXICILLIN 250MG/5ML SUSP 60ML", "AMOXICILLIN 500MG CAP",
                            "AMOXICILLIN 1G VIAL", "AMOXICILLIN 250MG CAP"};
    QCOMPARE(ranked(items, QStringLiteral("Amoxicillin (as trihydrate) 500 mg capsule")).first(),
             QStringLiteral("AMOXICILLIN 500MG CAP"));
    QCOMPARE(ranked(items, QStringLiteral("Amoxicillin 250 mg/5 mL suspension 60 mL")).first(),
             QStringLiteral("AMOXICILLIN 250MG/5ML SUSP 60ML"));
    QCOMPARE(ranked(items, QStringLiteral("Amoxicillin 1 g powder for injection vial")).first(),
             QStringLiteral("AMOXICILLIN 1G VIAL"));
    const QStringList fluids{"PNSS 500ML", "PNSS 1L", "D5LR 1L", "D5W 1L"};
    QCOMPARE(ranked(fluids, QStringLiteral("Sodium chloride 0.9% solution 1 L")).first(),
             QStringLiteral("PNSS 1L"));
    QCOMPARE(ranked(fluids, QStringLiteral("5% Dextrose in Lactated Ringer's 1 L")).first(),
             QStringLiteral("D5LR 1L"));
    // "SYR" without a strength: a syrup among medicines, a syringe among supplies.
    const QStringList syr{"SALBUTAMOL SYR 60ML", "SALBUTAMOL 2MG TAB", "DISPO SYR 60CC"};
    QCOMPARE(ranked(syr, QStringLiteral("Salbutamol 2 mg/5 mL syrup 60 mL")).first(), syr[0]);
    QCOMPARE(ranked(syr, QStringLiteral("Disposable syringe 60 mL")).first(), syr[2]);
    const QStringList labs{"CBC", "CBC W/ PLT CT", "PLATELET COUNT", "FBS", "RBS"};
    QCOMPARE(ranked(labs, QStringLiteral("Complete Blood Count (CBC) with Platelet Count")).first(),
             QStringLiteral("CBC W/ PLT CT"));
    QCOMPARE(ranked(labs, QStringLiteral("Random Blood Sugar")).first(), QStringLiteral("RBS"));
}

void TestSuggestEngine::misspellingsAndCutNamesAreFound() {
    const QStringList items{"PARACETMOL 500MG TAB", "CEFUROX 500 TAB", "CEFALEXIN 500MG CAP"};
    QCOMPARE(ranked(items, QStringLiteral("Paracetamol 500 mg tablet")).first(), items[0]);
    QCOMPARE(ranked(items, QStringLiteral("Cefuroxime (as axetil) 500 mg tablet")).first(),
             items[1]);
}

void TestSuggestEngine::theGenericNameSpeaksForTheBrand() {
    const QStringList items{"AMOXIL 500MG CAP", "BIOGESIC 500MG TAB", "DOLAN 500MG TAB"};
    const QStringList generics{"AMOXICILLIN", "PARACETAMOL", "ACECLOFENAC"};
    QCOMPARE(ranked(items, QStringLiteral("Paracetamol 500 mg tablet"), nullptr, generics).first(),
             QStringLiteral("BIOGESIC 500MG TAB"));
}

void TestSuggestEngine::theLinksTeachWordPairs() {
    // No generic name: only a link made before says what the brand is.
    const QStringList items{"ZEPHRAX 250MG/5ML SUSP", "TEMPLATE SUSP 250MG/5ML", "IBUPROFEN SUSP"};
    const QString query = QStringLiteral("Paracetamol 250 mg/5 mL suspension");
    // Without the link, the brand is listed only for its strength and form, with the other
    // suspension of that strength, both below a fifth.
    std::vector<ItemText> texts;
    for (const QString& text : items)
        texts.push_back(item(text));
    Ranker unlearned;
    unlearned.build(texts);
    const auto byStrength = unlearned.rank(item(query), 10, nullptr);
    QCOMPARE(byStrength.size(), size_t(2));
    for (const Ranker::Hit& hit : byStrength)
        QVERIFY(hit.score < 0.2);
    Learning learning;
    learning.add(item(QStringLiteral("ZEPHRAX 120MG/5ML SYR")),
                 analyse(QStringLiteral("Paracetamol 120 mg/5 mL syrup")));
    QCOMPARE(ranked(items, query, &learning).value(0), items[0]);
    QCOMPARE(learning.forHospitalWord("ZEPHRAX").size(), size_t(1));
    // A link whose words all match teaches nothing.
    learning.add(item(QStringLiteral("CBC")), analyse(QStringLiteral("Complete blood count")));
    QCOMPARE(learning.pairs(), size_t(1));
}

void TestSuggestEngine::suggestionsReadWithPlainStatements() {
    TestDatabase db;
    Gateway& gw = db.gateway();
    gw.keepTrace(true);
    Suggestions s;
    s.setRecheckInterval(0);
    const auto found = s.hospitalItemsFor(gw, QStringLiteral("ESOA_ER"), QStringLiteral("ER0004"),
                                          QStringLiteral("Ceftriaxone 1 g vial"), true, {}, 20);
    QVERIFY(!found.isEmpty());
    QCOMPARE(found.first().item.itemId, QStringLiteral("10079")); // linked to ER0004 already
    QCOMPARE(found.first().score, 100);
    QCOMPARE(found.first().item.revenueId, QStringLiteral("PH"));
    const QStringList log = gw.log();
    QVERIFY(log.contains(QStringLiteral(
        "SELECT A.ItemID, A.ItemName, A.ItemDesc, B.GenericName FROM Inventory..tbInvMaster A "
        "WITH (NOLOCK) LEFT OUTER JOIN Inventory..tbForGeneric B WITH (NOLOCK) ON A.GenericID = "
        "B.GenericID WHERE A.itemstatus = 0")));
    QVERIFY(log.contains(QStringLiteral("SELECT COUNT(*) AS Items, MAX(ItemID) AS Last, "
                                        "SUM(LEN(ItemName)) AS Letters FROM "
                                        "Inventory..tbInvMaster WITH (NOLOCK) WHERE itemstatus = "
                                        "0")));
    QVERIFY(log.contains(QStringLiteral("SELECT ItemID, RevenueID, SectionID, ItemDesc, Code, "
                                        "Description FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH "
                                        "(NOLOCK)")));
    // Every read is a plain SELECT, without a lock.
    for (const QString& sql : log) {
        QVERIFY2(sql.startsWith(u"SELECT "), qPrintable(sql));
        QVERIFY2(sql.contains(u"WITH (NOLOCK)"), qPrintable(sql));
    }
    // The index is kept until its source changes: the next list only asks the sources.
    gw.clearLog();
    s.hospitalItemsFor(gw, QStringLiteral("ESOA_ER"), QStringLiteral("ER0004"),
                       QStringLiteral("Ceftriaxone 1 g vial"), true, {}, 20);
    for (const QString& sql : gw.log())
        QVERIFY2(sql.startsWith(u"SELECT COUNT(*)") || sql.startsWith(u"SELECT [RevenueID]"),
                 qPrintable(sql));
    gw.execute(QStringLiteral("UPDATE Inventory..tbInvMaster SET ItemName = 'CEFTRIAXONE 1G "
                              "VIAL ROCEPHIN' WHERE ItemID = 10079"));
    gw.clearLog();
    s.hospitalItemsFor(gw, QStringLiteral("ESOA_ER"), QStringLiteral("ER0004"),
                       QStringLiteral("Ceftriaxone 1 g vial"), true, {}, 20);
    QVERIFY(gw.log().contains(Suggestions::inventoryStatement()));
    // Within the recheck interval the sources are not asked at all.
    s.setRecheckInterval(60000);
    gw.clearLog();
    s.hospitalItemsFor(gw, QStringLiteral("ESOA_ER"), QStringLiteral("ER0004"),
                       QStringLiteral("Ceftriaxone 1 g vial"), true, {}, 20);
    QCOMPARE(gw.log(), QStringList());
    // But a change of the links this workstation made counts at once.
    s.linksChanged();
    s.hospitalItemsFor(gw, QStringLiteral("ESOA_ER"), QStringLiteral("ER0004"),
                       QStringLiteral("Ceftriaxone 1 g vial"), true, {}, 20);
    QVERIFY(gw.log().contains(Suggestions::linkStatement(QStringLiteral("ESOA_ER"))));
}

void TestSuggestEngine::aLinkedItemRanksFirstAndANewLinkCountsAtOnce() {
    TestDatabase db;
    Gateway& gw = db.gateway();
    Suggestions s;
    s.setRecheckInterval(0); // another workstation's link counts at the next list
    const QString description = QStringLiteral("Ketorolac 30 mg/mL ampule");
    auto first = [&] {
        return s
            .hospitalItemsFor(gw, QStringLiteral("ESOA_ER"), QStringLiteral("ER0002"), description,
                              true, {}, 20)
            .first();
    };
    QVERIFY(first().score < 100);
    gw.insertRow(QStringLiteral("Build_FIle..ESOA_ER_LINK"),
                 {"Code", "ItemID", "RevenueID", "ItemDesc", "Description"},
                 {"ER0002", "10001", "PH", "ANY ITEM", description});
    const HospitalSuggestion linked = first();
    QCOMPARE(linked.item.itemId, QStringLiteral("10001"));
    QCOMPARE(linked.score, 100);
    QCOMPARE(Suggestions::linkedCode(gw, QStringLiteral("ESOA_ER"), QStringLiteral("PH"),
                                     QStringLiteral("10001")),
             QStringLiteral("ER0002"));
    QCOMPARE(Suggestions::linkedCode(gw, QStringLiteral("ESOA_ER"), QStringLiteral("PH"),
                                     QStringLiteral("'; DROP TABLE x --")),
             QString());
}

void TestSuggestEngine::theRoutedTableComesFirstAmongAlikes() {
    TestDatabase db;
    Gateway& gw = db.gateway();
    // The same exam in the laboratory and in the X-ray table.
    gw.execute(QStringLiteral("INSERT INTO Build_FIle..tbcoXRayExam (XRayExamID, XRayExam, Status) "
                              "VALUES (3999, 'Zinc Protoporphyrin', 'A')"));
    gw.execute(QStringLiteral("INSERT INTO Build_FIle..tbcoLabExam (LabExamID, LabExam, Status) "
                              "VALUES (2999, 'Zinc Protoporphyrin', 'A')"));
    Suggestions s;
    for (const QString& routed : {QStringLiteral("tbcoXRayExam"), QStringLiteral("tbcoLabExam")}) {
        const auto found = s.hospitalItemsFor(gw, QStringLiteral("ESOA_ITEM"), QStringLiteral("X"),
                                              QStringLiteral("Zinc protoporphyrin"), false,
                                              {routed, QString()}, 5);
        QCOMPARE(found.value(0).item.examTable, routed);
        QCOMPARE(found.value(0).item.revenueId,
                 routed == u"tbcoLabExam" ? QStringLiteral("LB") : QStringLiteral("XR"));
        QCOMPARE(found.value(0).score, found.value(1).score);
    }
    // An other revenue comes under the revenue code of its section.
    const auto fee = s.hospitalItemsFor(gw, QStringLiteral("ESOA_ER"), QStringLiteral("X"),
                                        QStringLiteral("Emergency room fee"), false, {}, 1);
    QCOMPARE(fee.value(0).item.examTable, QStringLiteral("tbcoOtherRevenue"));
    QCOMPARE(fee.value(0).item.revenueId, QStringLiteral("ER"));
    QCOMPARE(fee.value(0).item.sectionId, QStringLiteral("ER"));
}

void TestSuggestEngine::proposalsStayInTheCategory() {
    TestDatabase db;
    Gateway& gw = db.gateway();
    Suggestions s;
    const QList<ListedItem> items{{"1", "PARACETAMOL 150MG/ML - AMPULE 2ML", "PARACETAMOL"},
                                  {"2", "CBC", ""}};
    const auto all = s.codesFor(gw, QStringLiteral("ESOA_ER"), QString(), items);
    QCOMPARE(all.size(), 2);
    QCOMPARE(all[0].value(0).item.code, QStringLiteral("ER0001"));
    QVERIFY(all[0].size() <= 5);
    const auto therapeutics =
        s.codesFor(gw, QStringLiteral("ESOA_ER"), QStringLiteral("therapeutics "), items);
    QCOMPARE(therapeutics[0].value(0).item.code, QStringLiteral("ER0001"));
    for (const auto& list : therapeutics)
        for (const CodeProposal& p : list)
            QCOMPARE(p.item.category, QStringLiteral("Therapeutics"));
}

void TestSuggestEngine::withoutTheHospitalTablesTheDatabaseSaysWhy() {
    TestDatabase db;
    Gateway& gw = db.gateway();
    gw.execute(QStringLiteral("DROP TABLE Inventory..tbInvMaster"));
    Suggestions s;
    try {
        s.hospitalItemsFor(gw, QStringLiteral("ESOA_ER"), QStringLiteral("ER0001"),
                           QStringLiteral("Paracetamol"), true, {}, 20);
        QFAIL("no failure");
    } catch (const DbError& e) {
        QVERIFY2(e.description().contains(u"tbInvMaster"), qPrintable(e.description()));
    }
}

void TestSuggestEngine::catalogueNamesThatCannotStandInAStatementAreRefused() {
    TestDatabase db;
    Gateway& gw = db.gateway();
    gw.execute(QStringLiteral("UPDATE Build_FIle..tbRevenues SET ExamTableName = 'tbcoLabExam; "
                              "DROP TABLE x' WHERE RevenueID = 'LB'"));
    Suggestions s;
    QVERIFY_THROWS_EXCEPTION(DbError,
                             s.hospitalItemsFor(gw, QStringLiteral("ESOA_ER"), QStringLiteral("X"),
                                                QStringLiteral("CBC"), false, {}, 5));
}

QTEST_APPLESS_MAIN(TestSuggestEngine)
#include "tst_suggestengine.moc"

// The suggestions' engine on wording as hospital staff type it: strengths written as people
// write them, brands no dictionary holds, a generic and a brand in one name, long names
// misspelt, and a strength with nothing else in common.
#include "core/suggest/Analysis.h"
#include "core/suggest/Letters.h"
#include "core/suggest/Ranker.h"

#include <QTest>

using namespace suggest;

namespace {

// The quantities of a text, as "M500" (mass in mg), "C50" (per mL), "N250" (a ratio's
// numerator), "T625" (a combination's total), "U5000" (units), "V60" (a pack's volume).
QStringList quantities(const QString& text) {
    QStringList out;
    for (const Quantity& q : analyse(text).quantities) {
        const QString kind = q.role == Quantity::Total         ? QStringLiteral("T")
                             : q.perMl                         ? QStringLiteral("C")
                             : q.role == Quantity::Numerator   ? QStringLiteral("N")
                             : q.dimension == Quantity::Volume ? QStringLiteral("V")
                             : q.dimension == Quantity::Units  ? QStringLiteral("U")
                                                               : QStringLiteral("M");
        out << kind + QString::number(q.value, 'g', 12);
    }
    out.sort();
    return out;
}

ItemText item(const QString& text, const QString& generic = {}) {
    return {analyse(text), analyse(generic)};
}

struct Ranked {
    QStringList items;
    QList<double> scores;
};

// The items ranked for a query, best first, with their scores. The other side, when given, is
// the query's own side.
Ranked ranked(const QStringList& items, const QString& query, Ranker::Side side,
              const QStringList& otherSide = {}) {
    std::vector<ItemText> texts;
    for (const QString& text : items)
        texts.push_back(item(text));
    Ranker ranker(side);
    ranker.build(texts);
    std::vector<ItemText> others;
    for (const QString& text : otherSide)
        others.push_back(item(text));
    Ranker other(side == Ranker::Side::Hospital ? Ranker::Side::Reference : Ranker::Side::Hospital);
    other.build(others);
    Ranker::Options options;
    options.querySide = otherSide.isEmpty() ? nullptr : &other;
    Ranked out;
    for (const Ranker::Hit& hit : ranker.rank(item(query), 10, options)) {
        out.items << items[hit.item];
        out.scores << hit.score;
    }
    return out;
}

} // namespace

class TestSuggestWording : public QObject {
    Q_OBJECT
private slots:
    void strengthsAsPeopleWriteThem_data();
    void strengthsAsPeopleWriteThem();
    void packCountsAndStrengthWordsAreNoWords();
    void strengthsAgreeAsProductsDo();

    void aMedicinesAbbreviationsAndBrackets();
    void aBrandMadeOfItsGenericsLettersIsFoundWhereStrengthAndFormAgree();
    void namesSpeltAsTheyAreHeardSoundAlike();
    void theAmpuleThatHoldsWhatTheNameSays();
    void lettersCountOnlyForWordsTheOtherSideLacks();
    void aLongNameMisspeltBeyondTwoLettersIsFound();
    void aStrengthAloneStillListsItsItemsBelowAFifth();
    void genericAndBrandInOneNameEitherWay();
    void forteIsTheHigherStrength();
    void theExplanationSaysWhatMadeTheScore();
};

void TestSuggestWording::strengthsAsPeopleWriteThem_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("thousands, a blank before the unit")
        << "HEPARIN 5,000 IU/ML VL" << QStringList{"C5000", "N5000"};
    QTest::newRow("thousands, the unit joined") << "VIT D3 5,000IU CAP" << QStringList{"U5000"};
    QTest::newRow("millions") << "PENICILLIN G 1,000,000 IU" << QStringList{"U1000000"};
    QTest::newRow("bare pair") << "TRAMADOL+PARACETAMOL 325/37.5 TAB"
                               << QStringList{"M325", "M37.5", "T362.5"};
    QTest::newRow("pair, one unit after")
        << "CO-AMOXICLAV 500/125MG TAB" << QStringList{"M125", "M500", "T625"};
    QTest::newRow("pair with a plus")
        << "LOSARTAN+HCTZ 50+12.5 MG" << QStringList{"M12.5", "M50", "T62.5"};
    QTest::newRow("pair, the unit a volume")
        << "AMOXICILLIN 250/5ML SUSP" << QStringList{"C50", "N250"};
    QTest::newRow("total of a combination") << "CO-AMOXICLAV 625MG TAB" << QStringList{"M625"};
    QTest::newRow("a number in a list of words") << "VIT B1,B6,B12 TAB" << QStringList{};
    QTest::newRow("a combination per 5 mL")
        << "Amoxicillin + Clavulanic acid 400 mg + 57 mg/5 mL suspension"
        << QStringList{"C80", "C11.4", "N400", "N57", "T91.4"};
    QTest::newRow("what an ampule holds")
        << "Ketorolac 30 mg/mL solution 2 mL ampule" << QStringList{"C30", "N30", "N60", "V2"};
    QTest::newRow("a strength said again in brackets")
        << "Calcium carbonate 1.25 g (equiv. to 500 mg elemental calcium) tablet"
        << QStringList{"M1250", "N500"};
}

void TestSuggestWording::strengthsAsPeopleWriteThem() {
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    expected.sort();
    QCOMPARE(quantities(text), expected);
}

void TestSuggestWording::packCountsAndStrengthWordsAreNoWords() {
    QCOMPARE(canonicalText(QStringLiteral("CEFUROXIME 500MG TAB 100'S")),
             QStringLiteral("CEFUROXIME"));
    QCOMPARE(canonicalText(QStringLiteral("CEFUROXIME 500MG TAB X 100")),
             QStringLiteral("CEFUROXIME"));
    // "4 X 4" stays a size.
    QCOMPARE(canonicalText(QStringLiteral("GAUZE 4 X 4")), QStringLiteral("GAUZE 4X4"));
    const Analysis forte = analyse(QStringLiteral("ZEPTRIM FORTE TAB"));
    QVERIFY(forte.higherStrength);
    QCOMPARE(canonicalText(QStringLiteral("ZEPTRIM FORTE TAB")), QStringLiteral("ZEPTRIM"));
    QVERIFY(analyse(QStringLiteral("ZEPTRIM DS TAB")).higherStrength);
    QVERIFY(!analyse(QStringLiteral("ZEPTRIM TAB")).higherStrength);
    // A brand of the dictionary is read as its generic, and the reading is kept.
    const Analysis brand = analyse(QStringLiteral("BIOGESIC 500MG TAB"));
    QCOMPARE(brand.brands.size(), size_t(1));
    QCOMPARE(QString::fromStdString(brand.brands[0].brand), QStringLiteral("BIOGESIC"));
    QCOMPARE(QString::fromStdString(brand.brands[0].generic), QStringLiteral("PARACETAMOL"));
}

void TestSuggestWording::strengthsAgreeAsProductsDo() {
    auto fit = [](const char* a, const char* b) {
        return matchQuantities(analyse(QLatin1String(a)).quantities,
                               analyse(QLatin1String(b)).quantities);
    };
    QCOMPARE(fit("625MG", "500 mg + 125 mg").strength, StrengthFit::Total);
    QCOMPARE(fit("1.2G", "1 g + 200 mg").strength, StrengthFit::Total);
    QCOMPARE(fit("500 mg + 125 mg", "625 mg").strength, StrengthFit::Total);
    QCOMPARE(fit("325/37.5", "Tramadol 37.5 mg + Paracetamol 325 mg").strength, StrengthFit::Same);
    QCOMPARE(fit("50MG", "50 micrograms").strength, StrengthFit::MgForMcg);
    QVERIFY(fit("50MG", "50 mcg").agreement > fit("50MG", "25 mcg").agreement);
    // A gram and a milligram are a thousand apart too, but no one types one for the other.
    QCOMPARE(fit("1 G", "1 MG").strength, StrengthFit::Differs);
    QCOMPARE(fit("500MG", "500 mg + 125 mg").strength, StrengthFit::Partly);
    QCOMPARE(fit("250MG", "250 mg/5 mL").strength, StrengthFit::Numerator);
    QCOMPARE(fit("TAB", "500 mg").strength, StrengthFit::OneSide);
    QVERIFY(fit("500 mg 60 mL", "500 mg 100 mL").packDiffers);
    QVERIFY(strengthsAgree(StrengthFit::Total) && !strengthsAgree(StrengthFit::Partly));
}

void TestSuggestWording::aMedicinesAbbreviationsAndBrackets() {
    // XR beside a strength is a release; alone it is an X-ray.
    QCOMPARE(canonicalText(QStringLiteral("METFORAL XR 500MG TAB")),
             QStringLiteral("METFORAL RELEASE"));
    QCOMPARE(canonicalText(QStringLiteral("Metformin 500 mg extended-release tablet")),
             QStringLiteral("METFORMIN RELEASE"));
    QCOMPARE(canonicalText(QStringLiteral("KNEE XR")), QStringLiteral("KNEE XRAY"));
    // IV without a form is an injection; a solution for nebulization a nebule.
    QCOMPARE(analyse(QStringLiteral("OMEPRAZOLE 40MG IV")).forms,
             analyse(QStringLiteral("injection")).forms);
    QVERIFY(
        analyse(QStringLiteral("Salbutamol 1 mg/mL solution for inhalation (nebulization)")).forms &
        analyse(QStringLiteral("NEB")).forms);
    QCOMPARE(canonicalText(QStringLiteral("NEBULIZATION")), QStringLiteral("NEBULIZATION"));
    // The vitamins by their names; vitamin A is no "a".
    QCOMPARE(canonicalText(QStringLiteral("VIT A 100,000 IU CAP")), QStringLiteral("RETINOL"));
    QCOMPARE(canonicalText(QStringLiteral("ZARAVONE D3 DROPS")),
             QStringLiteral("ZARAVONE CHOLECALCIFEROL"));
    // What a name holds in brackets is marked.
    const Analysis a = analyse(QStringLiteral("ATORVASTATIN (ZORVAX) 20MG TAB"));
    QCOMPARE(a.words.size(), size_t(2));
    QVERIFY(!a.words[0].aside && a.words[1].aside);
    QCOMPARE(QString::fromStdString(a.words[1].text), QStringLiteral("ZORVAX"));
}

void TestSuggestWording::namesSpeltAsTheyAreHeardSoundAlike() {
    for (const auto& [heard, written] : {std::pair{"KARBAMAZAPIN", "CARBAMAZEPINE"},
                                         {"SIPROFLOKSASIN", "CIPROFLOXACIN"},
                                         {"DIFENHIDRAMINE", "DIPHENHYDRAMINE"},
                                         {"ATHORBASTATINE", "ATORVASTATIN"},
                                         {"CEPHTRIAXON", "CEFTRIAXONE"},
                                         {"METOKLOPROMID", "METOCLOPRAMIDE"}})
        QVERIFY2(!soundKey(heard).empty() && soundKey(heard) == soundKey(written), heard);
    // A brand made of its generic's letters is nearer it than to another generic of its class.
    QVERIFY(letterLikeness("CELEBRIX", "CELECOXIB") > letterLikeness("CELEBRIX", "ETORICOXIB"));
    QVERIFY(letterLikeness("AMLOVAS", "AMLODIPINE") >= 0.45);
    QVERIFY(letterLikeness("ZEGEN", "CEFUROXIME") < 0.15);
    QCOMPARE(letterLikeness("LOSARTAN", "LOSARTAN"), 1.0);
    // Different drugs sound different; too short a name tells nothing.
    QVERIFY(soundKey("CEFUROXIME") != soundKey("CEFOTAXIME"));
    QVERIFY(soundKey("PREDNISONE") != soundKey("PREDNISOLONE"));
    QVERIFY(soundKey("CEFIXIME").empty());
    QVERIFY(soundKey("CEFUXIM").empty());
    // Found as a near spelling, where letters alike would not be enough.
    const QStringList references{"Carbamazepine 200 mg tablet", "Carbamazepine 400 mg tablet",
                                 "Chlorpromazine 200 mg tablet"};
    const Ranked codes =
        ranked(references, QStringLiteral("KARBAMAZAPIN 200MG TAB"), Ranker::Side::Reference);
    QCOMPARE(codes.items.value(0), references[0]);
    QVERIFY(codes.scores.value(0) >= 0.7);
}

void TestSuggestWording::theAmpuleThatHoldsWhatTheNameSays() {
    const QStringList references{"Ketorolac 30 mg/mL solution for injection 1 mL ampule",
                                 "Ketorolac 30 mg/mL solution for injection 2 mL ampule"};
    QCOMPARE(ranked(references, QStringLiteral("KETOROLAC 60MG/2ML AMP"), Ranker::Side::Reference)
                 .items.value(0),
             references[1]);
    QCOMPARE(ranked(references, QStringLiteral("KETOROLAC 30MG AMP"), Ranker::Side::Reference)
                 .items.value(0),
             references[0]);
    // A brand of what the ampule holds agrees in strength: its letters count.
    const Ranked brand =
        ranked(references, QStringLiteral("KETORIX 30MG AMP"), Ranker::Side::Reference);
    QCOMPARE(brand.items.value(0), references[0]);
    QVERIFY(brand.scores.value(0) > 0.3);
}

void TestSuggestWording::aBrandMadeOfItsGenericsLettersIsFoundWhereStrengthAndFormAgree() {
    const QStringList hospital{"CELEBRIX 100MG CAP", "TRAMADOL 50MG CAP", "CELEBRIX 200MG CAP",
                               "CELEBRIX 200MG/5ML SUSP", "ALLOPURINOL 100MG TAB"};
    const Ranked found =
        ranked(hospital, QStringLiteral("Celecoxib 200 mg capsule"), Ranker::Side::Hospital);
    QCOMPARE(found.items.value(0), QStringLiteral("CELEBRIX 200MG CAP"));
    // Below what a matching word gives, and below the tick of the proposals.
    QVERIFY(found.scores.value(0) > 0.2 && found.scores.value(0) < 0.6);
    // Another strength or another form: the letters alone do not make it the product.
    QVERIFY(!found.items.contains(QStringLiteral("CELEBRIX 100MG CAP")));
    QVERIFY(!found.items.contains(QStringLiteral("CELEBRIX 200MG/5ML SUSP")));
    // The other way: the brand of the hospital's among PhilHealth's items of its strength.
    const QStringList references{"Celecoxib 100 mg capsule", "Celecoxib 200 mg capsule",
                                 "Cefalexin 200 mg capsule", "Clindamycin 200 mg capsule"};
    const Ranked codes =
        ranked(references, QStringLiteral("CELEBRIX 200MG CAP"), Ranker::Side::Reference);
    QCOMPARE(codes.items.value(0), QStringLiteral("Celecoxib 200 mg capsule"));
}

void TestSuggestWording::lettersCountOnlyForWordsTheOtherSideLacks() {
    // CEFIXIME is a generic of its own on PhilHealth's side: it is no brand of cefuroxime.
    const QStringList hospital{"CEFIXIME 200MG CAP", "CEFUROXAN 200MG CAP"};
    const QStringList references{"Cefuroxime 200 mg capsule", "Cefixime 200 mg capsule"};
    const Ranked found = ranked(hospital, QStringLiteral("Cefuroxime 200 mg capsule"),
                                Ranker::Side::Hospital, references);
    QCOMPARE(found.items.value(0), QStringLiteral("CEFUROXAN 200MG CAP"));
    QVERIFY(found.scores.value(1) < 0.2); // listed for its strength only
}

void TestSuggestWording::aLongNameMisspeltBeyondTwoLettersIsFound() {
    const QStringList hospital{"PHENOBARBITONE 30MG TAB", "PHENOBARBITONE 60MG TAB",
                               "PHENYTOIN 30MG CAP"};
    const Ranked found =
        ranked(hospital, QStringLiteral("Phenobarbital 30 mg tablet"), Ranker::Side::Hospital);
    QCOMPARE(found.items.value(0), QStringLiteral("PHENOBARBITONE 30MG TAB"));
    QVERIFY(found.scores.value(0) > 0.3);
}

void TestSuggestWording::aStrengthAloneStillListsItsItemsBelowAFifth() {
    const QStringList hospital{"NORIXAN 300MG TAB", "NORIXAN 100MG TAB", "VORTEX 100MG",
                               "CEFALEXIN 500MG CAP", "ZYNTRA 100MG/5ML SYR"};
    const Ranked found =
        ranked(hospital, QStringLiteral("Allopurinol 100 mg tablet"), Ranker::Side::Hospital);
    // An item that names no form agrees with any; another strength or form is left out.
    QCOMPARE(found.items.size(), 2);
    QVERIFY(found.items.contains(QStringLiteral("NORIXAN 100MG TAB")));
    QVERIFY(found.items.contains(QStringLiteral("VORTEX 100MG")));
    for (double score : found.scores)
        QVERIFY(score > 0 && score < 0.2);
    // A query without a strength has nothing to go by.
    QVERIFY(ranked(hospital, QStringLiteral("Allopurinol tablet"), Ranker::Side::Hospital)
                .items.isEmpty());
}

void TestSuggestWording::genericAndBrandInOneNameEitherWay() {
    const QStringList hospital{"ZORVAX (ATORVASTATIN) 40MG TAB", "ATORVASTATIN (ZORVAX) 20MG TAB",
                               "ROSUVASTATIN 20MG TAB"};
    QCOMPARE(ranked(hospital, QStringLiteral("Atorvastatin 20 mg tablet"), Ranker::Side::Hospital)
                 .items.value(0),
             hospital[1]);
    QCOMPARE(ranked(hospital, QStringLiteral("Atorvastatin 40 mg tablet"), Ranker::Side::Hospital)
                 .items.value(0),
             hospital[0]);
    const QStringList references{"Atorvastatin 10 mg tablet", "Atorvastatin 40 mg tablet",
                                 "Rosuvastatin 40 mg tablet"};
    const Ranked codes = ranked(references, QStringLiteral("ZORVAX (ATORVASTATIN) 40MG TAB"),
                                Ranker::Side::Reference);
    QCOMPARE(codes.items.value(0), QStringLiteral("Atorvastatin 40 mg tablet"));
    QVERIFY(codes.scores.value(0) >= 0.7);
}

void TestSuggestWording::forteIsTheHigherStrength() {
    const QStringList references{"Sulfamethoxazole + Trimethoprim 800 mg + 160 mg tablet",
                                 "Sulfamethoxazole + Trimethoprim 400 mg + 80 mg tablet",
                                 "Sulfamethoxazole + Trimethoprim 200 mg + 40 mg/5 mL suspension"};
    const QString generic = QStringLiteral("SULFAMETHOXAZOLE + TRIMETHOPRIM");
    std::vector<ItemText> texts;
    for (const QString& text : references)
        texts.push_back(item(text));
    Ranker ranker(Ranker::Side::Reference);
    ranker.build(texts);
    QCOMPARE(ranker.strengthPlace(0), Ranker::StrengthPlace::Higher);
    QCOMPARE(ranker.strengthPlace(1), Ranker::StrengthPlace::Lower);
    QCOMPARE(ranker.strengthPlace(2), Ranker::StrengthPlace::Only); // another form
    const Ranker::Options none;
    QCOMPARE(ranker.rank(item(QStringLiteral("ZEPTRIM FORTE TAB"), generic), 3, none)[0].item, 0);
    QCOMPARE(ranker.rank(item(QStringLiteral("ZEPTRIM DS TAB"), generic), 3, none)[0].item, 0);
    QCOMPARE(ranker.rank(item(QStringLiteral("ZEPTRIM TAB"), generic), 3, none)[0].item, 1);
    // The other way: the hospital's FORTE for the higher strength, its plain brand for the lower.
    std::vector<ItemText> hospital{item(QStringLiteral("ZEPTRIM TAB"), generic),
                                   item(QStringLiteral("ZEPTRIM FORTE TAB"), generic)};
    Ranker items(Ranker::Side::Hospital);
    items.build(hospital);
    Ranker::Options higher;
    higher.queryPlace = Ranker::StrengthPlace::Higher;
    QCOMPARE(items.rank(texts[0], 2, higher)[0].item, 1);
    Ranker::Options lower;
    lower.queryPlace = Ranker::StrengthPlace::Lower;
    QCOMPARE(items.rank(texts[1], 2, lower)[0].item, 0);
}

void TestSuggestWording::theExplanationSaysWhatMadeTheScore() {
    std::vector<ItemText> texts{item(QStringLiteral("CELEBRIX 200MG CAP")),
                                item(QStringLiteral("PARACETAMOL 250MG/5ML SYR")),
                                item(QStringLiteral("NORIXAN 200MG CAP"))};
    Ranker ranker(Ranker::Side::Hospital);
    ranker.build(texts);
    const Ranker::Options none;
    const auto letters = ranker.explain(item(QStringLiteral("Celecoxib 200 mg capsule")), 0, none);
    QCOMPARE(letters.matches.size(), size_t(1));
    QCOMPARE(letters.matches[0].how, Found::Letters);
    QCOMPARE(QString::fromStdString(letters.matches[0].itemWord), QStringLiteral("CELEBRIX"));
    QCOMPARE(QString::fromStdString(letters.matches[0].queryWord), QStringLiteral("CELECOXIB"));
    QCOMPARE(letters.quantity.strength, StrengthFit::Same);
    QVERIFY(letters.lettersCounted && !letters.byStrength);
    const auto differs =
        ranker.explain(item(QStringLiteral("Paracetamol 500 mg/5 mL syrup")), 1, none);
    QCOMPARE(differs.matches[0].how, Found::Same);
    QCOMPARE(differs.quantity.strength, StrengthFit::Differs);
    const auto strength = ranker.explain(item(QStringLiteral("Celecoxib 200 mg capsule")), 2, none);
    QVERIFY(strength.byStrength && strength.matches.empty());
    QVERIFY(strength.score > 0 && strength.score < 0.2);
}

QTEST_GUILESS_MAIN(TestSuggestWording)
#include "tst_suggestwording.moc"

// The drug register's brands as the suggestions read them: which brand a hospital item's name
// names, which of the brand's products it is, and what the register lends it.
#include "core/suggest/BrandRegister.h"

#include <QTest>

using namespace suggest;

namespace {

BrandRegister registerOf(const std::vector<RegisteredProduct>& products) {
    BrandRegister r;
    r.build(products);
    return r;
}

std::optional<BrandRegister::Reading> read(const BrandRegister& r, const QString& name) {
    return r.read(name, analyse(name));
}

QStringList quantities(const Analysis& a) {
    QStringList out;
    for (const Quantity& q : a.quantities)
        out << QString::number(q.value) + (q.perMl ? QStringLiteral("/mL") : QString());
    return out;
}

} // namespace

class TestBrandRegister : public QObject {
    Q_OBJECT
private slots:
    void aBrandStandsForItsGeneric();
    void theProductWhoseStrengthAndFormAgree();
    void whatTheRegisterLendsAndWhatNot();
    void namesThatAreNoBrands();
};

void TestBrandRegister::aBrandStandsForItsGeneric() {
    const BrandRegister r = registerOf({
        {"Lozartec", "Losartan Potassium", "50 mg", "Film-Coated Tablet"},
        {"Lozartec Plus", "Losartan Potassium + Hydrochlorothiazide", "50 mg + 12.5 mg",
         "Film-Coated Tablet"},
        {"Ni?opyrin", "Paracetamol", "120 mg/5 mL", "Syrup"},
        {"Tempra Kids", "Paracetamol", "250 mg/5 mL", "Syrup"},
    });
    QCOMPARE(r.products(), size_t(4));
    QCOMPARE(r.brands(), size_t(4));
    const auto plain = read(r, QStringLiteral("LOZARTEC 50MG TAB"));
    QVERIFY(plain);
    QCOMPARE(QString::fromStdString(plain->brand), QStringLiteral("LOZARTEC"));
    QCOMPARE(plain->generic, QStringLiteral("Losartan Potassium"));
    // The longest brand a name writes.
    const auto plus = read(r, QStringLiteral("LOZARTEC PLUS TAB"));
    QCOMPARE(QString::fromStdString(plus->brand), QStringLiteral("LOZARTEC PLUS"));
    QCOMPARE(plus->generic, QStringLiteral("Losartan Potassium + Hydrochlorothiazide"));
    // "?" is a letter the export could not write, most often an "Ñ".
    QCOMPARE(read(r, QStringLiteral("NIÑOPYRIN SYR 60ML"))->generic, QStringLiteral("Paracetamol"));
    QCOMPARE(read(r, QStringLiteral("Ninopyrin syrup"))->generic, QStringLiteral("Paracetamol"));
    // A brand's first word alone, where the name writes no more of it.
    QCOMPARE(QString::fromStdString(read(r, QStringLiteral("TEMPRA 250MG/5ML"))->brand),
             QStringLiteral("TEMPRA"));
    QVERIFY(!read(r, QStringLiteral("BIOFLU TAB")));
    // A first word that begins brands of several generics (a company's line) stands for none.
    const BrandRegister line = registerOf({
        {"Ritemed Cefalexin", "Cefalexin", "500 mg", "Capsule"},
        {"Ritemed Amlodipine", "Amlodipine", "5 mg", "Tablet"},
    });
    QVERIFY(!read(line, QStringLiteral("RITEMED 500MG CAP")));
    QCOMPARE(read(line, QStringLiteral("RITEMED AMLODIPINE 5MG"))->generic,
             QStringLiteral("Amlodipine"));
}

void TestBrandRegister::theProductWhoseStrengthAndFormAgree() {
    // One brand, two generics: the strength and form tell which product the item is.
    const BrandRegister r = registerOf({
        {"Kardiven", "Amlodipine", "5 mg", "Tablet"},
        {"Kardiven", "Amlodipine + Atorvastatin", "5 mg + 10 mg", "Tablet"},
        {"Kardiven", "Amlodipine", "1 mg/mL", "Oral Solution"},
    });
    QCOMPARE(read(r, QStringLiteral("KARDIVEN 5/10 TAB"))->generic,
             QStringLiteral("Amlodipine + Atorvastatin"));
    QCOMPARE(read(r, QStringLiteral("KARDIVEN 5MG TAB"))->generic, QStringLiteral("Amlodipine"));
    // Nothing to tell them by: the generic most of its products have.
    QCOMPARE(read(r, QStringLiteral("KARDIVEN"))->generic, QStringLiteral("Amlodipine"));
}

void TestBrandRegister::whatTheRegisterLendsAndWhatNot() {
    const BrandRegister r = registerOf({
        {"Zeptrim Forte", "Sulfamethoxazole + Trimethoprim", "800 mg + 160 mg", "Tablet"},
        {"Cefurin", "Cefuroxime (as axetil)", "250 mg", "Tablet"},
        {"Cefurin", "Cefuroxime (as axetil)", "500 mg", "Tablet"},
        {"Glimet", "Gliclazide", "80 mg", "Tablet"},
    });
    // One strength for the brand in its form: the register names the strength the name lacks.
    const auto forte = read(r, QStringLiteral("ZEPTRIM FORTE TAB"));
    QCOMPARE(quantities(forte->analysis),
             QStringList({"800", "160", "960"}).mid(0, 2) + QStringList{"960"});
    // Two strengths: none is lent.
    QVERIFY(read(r, QStringLiteral("CEFURIN TAB"))->analysis.quantities.empty());
    // The name's own strength, or a bare number beside the brand, is the name's.
    QVERIFY(read(r, QStringLiteral("GLIMET 80MG TAB"))->analysis.quantities.empty());
    QVERIFY(read(r, QStringLiteral("GLIMET 80"))->analysis.quantities.empty());
    // "GLIMET PLUS" is a product of the family the register does not list: no strength lent.
    QVERIFY(read(r, QStringLiteral("GLIMET PLUS TAB"))->analysis.quantities.empty());
    // Nor does a product of another form.
    QVERIFY(read(r, QStringLiteral("GLIMET DRPS 15ML"))->analysis.quantities.empty());
    // A form where the name names none.
    QCOMPARE(read(r, QStringLiteral("GLIMET"))->analysis.forms,
             analyse(QStringLiteral("tablet")).forms);
}

void TestBrandRegister::namesThatAreNoBrands() {
    const BrandRegister r = registerOf({
        {"Paracetamol", "Paracetamol", "500 mg", "Tablet"},
        {"Ascorbic Acid", "Ascorbic Acid", "500 mg", "Tablet"},
        {"Tab", "Mefenamic Acid", "500 mg", "Tablet"},
        {"C", "Ascorbic Acid", "500 mg", "Tablet"},
        {"Forte 500", "Paracetamol", "500 mg", "Tablet"},
    });
    // A generic's own words, a form, one letter, a pack word: none stands for a brand.
    QVERIFY(!read(r, QStringLiteral("PARACETAMOL 500MG TAB")));
    QVERIFY(!read(r, QStringLiteral("ASCORBIC ACID 500MG TAB")));
    QVERIFY(!read(r, QStringLiteral("VITAMIN C 500MG TAB")));
    QVERIFY(!read(r, QStringLiteral("IBUPROFEN FORTE 500")));
    QCOMPARE(r.brands(), size_t(0));
}

QTEST_GUILESS_MAIN(TestBrandRegister)
#include "tst_brandregister.moc"

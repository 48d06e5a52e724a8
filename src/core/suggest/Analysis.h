#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace suggest {

// How much a word says about which item is meant.
enum class WordKind : std::uint8_t {
    Plain,  // a drug, an exam, a body part: what tells items apart
    Salt,   // the salt a national list adds ("as sodium", "hydrochloride")
    Weak,   // packs and fillers ("box", "bottle", "view", "fee")
    Route,  // where it goes ("oral", "IV", "ophthalmic")
    Number, // a number that is no strength (a gauge, a size, "12 leads")
};

struct Word {
    std::string text; // upper case, in its canonical spelling
    WordKind kind = WordKind::Plain;
    bool aside = false; // written in brackets ("PARACETAMOL (TEMPRA)")
};

// A strength or a volume: a value in a canonical unit (mg, mL, %, IU, mEq, mmol, cm).
struct Quantity {
    enum Dimension : std::uint8_t {
        Mass,
        Volume,
        Percent,
        Units,
        Equivalents,
        Moles,
        Length,
        Gauge,  // a needle's or a cannula's
        French, // a catheter's or a tube's
        Size,   // a glove's, a suture's, or any other size
    };
    enum Role : std::uint8_t {
        Dose,      // 500 mg, 0.9 %, 50 mg per mL
        Numerator, // the 250 mg of 250 mg/5 mL, which may stand alone on the other side
        Pack,      // 60 mL of a bottle, 1 L of a bag
        Total,     // the sum of a combination's strengths: 625 mg for 500 mg + 125 mg
    };
    double value = 0;
    Dimension dimension = Mass;
    bool perMl = false; // a concentration: value per mL
    Role role = Dose;

    bool sameAs(const Quantity& other) const;
};

// Dosage forms, as bits; a text may name several ("powder for injection, vial").
namespace form {
enum : std::uint32_t {
    Tablet = 1u << 0,
    Capsule = 1u << 1,
    Injection = 1u << 2,
    Ampule = 1u << 3,
    Vial = 1u << 4,
    Syrup = 1u << 5,
    Suspension = 1u << 6,
    Drops = 1u << 7,
    Solution = 1u << 8,
    Nebule = 1u << 9,
    Inhaler = 1u << 10,
    Cream = 1u << 11,
    Ointment = 1u << 12,
    Gel = 1u << 13,
    Lotion = 1u << 14,
    Suppository = 1u << 15,
    Powder = 1u << 16,
    Sachet = 1u << 17,
    Granules = 1u << 18,
    Spray = 1u << 19,
    Patch = 1u << 20,
    Lozenge = 1u << 21,
    Elixir = 1u << 22,
    Infusion = 1u << 23,
};
// The families a form belongs to: forms of one family stand in for each other more readily
// than forms of two ("ampule" and "vial" are both injections; "tablet" and "syrup" are not).
std::uint32_t families(std::uint32_t forms);
} // namespace form

// What a hospital's or PhilHealth's wording of an item says, seen through case, punctuation,
// word order, units and abbreviations: its words in canonical spelling, its strengths and volumes,
// and its dosage forms.
// A brand the analysis read as its generic names ("BIOGESIC" as "PARACETAMOL").
struct BrandRead {
    std::string brand;   // as written, upper case
    std::string generic; // the generic names it stands for, upper case
};

struct Analysis {
    std::vector<Word> words;
    std::vector<Quantity> quantities;
    std::uint32_t forms = 0;
    // "FORTE" or "DS": the higher of a medicine's strengths, where none is written.
    bool higherStrength = false;
    std::vector<BrandRead> brands;
};

// Analyses a text. Never fails; an empty or odd text gives an empty analysis.
Analysis analyse(const QString& text);
// Analyses a hospital item as the hospital list shows it, "name - description": what the
// description adds (a pack, a brand, a form) is read as said beside the name, as in brackets.
Analysis analyseItem(const QString& shown);

// "CEFUROX 500 TAB", "TORVAXEL 40": the first bare number of a medicine's name that names no
// strength is its strength in mg. The analysis reads it so where the name names a form; a caller
// that knows the name is a medicine's by other means (its generic name) reads it so too.
void readBareStrength(Analysis& a);

// The canonical spelling of a text's words, joined by blanks (for tests and the README).
QString canonicalText(const QString& text);

// A text's runs of letters and digits as written, upper case and without accents, before any
// reading of units, forms or abbreviations ("Ceelin-Plus 100mg" is CEELIN, PLUS, 100MG).
std::vector<std::string> writtenWords(const QString& text);

} // namespace suggest

// The analysis of an item's wording, in five passes over its pieces: split the text into words,
// numbers and signs; read the strengths and volumes; drop the filler words; rewrite the runs of
// words that say one thing two ways; sort what is left into dosage forms and words of a kind.
#include "Analysis.h"

#include "core/suggest/Lexicon.h"
#include "core/suggest/Pieces.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <unordered_set>

namespace suggest {

using namespace pieces;

bool Quantity::sameAs(const Quantity& other) const {
    if (dimension != other.dimension || perMl != other.perMl)
        return false;
    const double larger = std::max(std::abs(value), std::abs(other.value));
    return std::abs(value - other.value) <= 1e-6 * std::max(1.0, larger);
}

namespace {

std::string joined(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& w : words)
        out += (out.empty() ? "" : " ") + w;
    return out;
}

std::vector<std::string> rewritePhrases(const std::vector<std::string>& in,
                                        std::vector<BrandRead>* brands) {
    const auto& lex = lexicon::get();
    std::vector<std::string> out;
    size_t i = 0;
    while (i < in.size()) {
        const auto rules = lex.phrases.find(in[i]);
        bool matched = false;
        if (rules != lex.phrases.end()) {
            for (const auto& rule : rules->second) {
                const size_t len = rule.from.size();
                if (i + len > in.size())
                    continue;
                bool same = true;
                for (size_t k = 1; k < len && same; ++k)
                    same = in[i + k] == rule.from[k];
                if (!same)
                    continue;
                out.insert(out.end(), rule.to.begin(), rule.to.end());
                if (brands && rule.brand)
                    brands->push_back({joined(rule.from), joined(rule.to)});
                i += len;
                matched = true;
                break;
            }
        }
        if (!matched)
            out.push_back(in[i++]);
    }
    return out;
}

// The analysis of a text already folded, but for what takes all of an item's text at once (the
// totals, the amounts held, a bare number read as the strength): see analyse.
Analysis analyseFolded(const std::string& text) {
    const auto& lex = lexicon::get();
    Analysis a;
    std::vector<Piece> pieces;
    splitText(text, true, pieces);
    for (Piece& p : pieces)
        if (p.type == Piece::Word)
            lexicon::stem(p.text);
    const std::vector<Piece> rest = readQuantities(pieces, a.quantities);

    std::vector<std::string> kept;
    std::vector<bool> isNumber;
    for (const Piece& p : rest) {
        if (p.type == Piece::Number)
            kept.push_back(numberText(p.text));
        else if (p.type == Piece::Word && (!lex.dropped.count(p.text) ||
                                           (p.text == "A" && !kept.empty() &&
                                            (kept.back() == "VIT" || kept.back() == "VITAMIN"))))
            kept.push_back(p.text); // "A" goes, but vitamin A stays
    }
    // "FORTE", "DS": the higher strength, said without one; the words themselves go.
    for (auto it = kept.begin(); it != kept.end(); ++it)
        if (*it == "FORTE" || *it == "DS" ||
            (*it == "DOUBLE" && it + 1 != kept.end() && it[1] == "STRENGTH"))
            a.higherStrength = true;
    // Twice: what a brand or an abbreviation stands for may itself be written two ways
    // ("ASPILETS" is acetylsalicylic acid, which the lists call aspirin).
    std::vector<std::string> words = rewritePhrases(rewritePhrases(kept, &a.brands), nullptr);
    if (a.higherStrength)
        std::erase_if(words, [](const std::string& w) { return w == "FORTE" || w == "DS"; });

    bool hasDose = false;
    for (const Quantity& q : a.quantities)
        hasDose = hasDose || (q.role == Quantity::Dose && q.dimension != Quantity::Length);
    std::unordered_set<std::string> seen;
    for (const std::string& w : words) {
        if (const auto f = lex.forms.find(w); f != lex.forms.end()) {
            a.forms |= f->second;
            continue;
        }
        if (w == "SYR") {
            // A syrup where there is a strength; without one, a syrup or a syringe ("VENTOLIN SYR
            // 60ML", "DISPO SYR 3CC"): the form and the word both.
            a.forms |= form::Syrup;
            if (hasDose)
                continue;
        }
        const std::string word = w == "SYR" ? std::string("SYRINGE") : w;
        if (!seen.insert(word).second)
            continue;
        WordKind kind = WordKind::Plain;
        if (isDigit(word[0]) && word.find_first_not_of("0123456789.") == std::string::npos)
            kind = WordKind::Number;
        else if (const auto k = lex.kinds.find(word); k != lex.kinds.end())
            kind = k->second;
        a.words.push_back({word, kind});
    }
    return a;
}

// What takes all of an item's text at once: a medicine's abbreviations, the totals of a
// combination, the amount an ampule or bottle holds, a bare number of a medicine read as its
// strength.
void finish(Analysis& a) {
    // A medicine's abbreviations: "XR", "SR", "MR" are its release, not an X-ray; "IV" or "IM"
    // without a form is an injection.
    const bool drug =
        a.forms != 0 ||
        std::any_of(a.quantities.begin(), a.quantities.end(), [](const Quantity& q) {
            return q.role == Quantity::Dose &&
                   (q.dimension == Quantity::Mass || q.dimension == Quantity::Percent ||
                    q.dimension == Quantity::Units || q.dimension == Quantity::Equivalents);
        });
    if (drug) {
        static const std::unordered_set<std::string> release = {
            "XRAY", "SR", "ER", "CR", "XL", "MR", "DR", "EC", "LA", "RETARD", "DURULE"};
        static const std::unordered_set<std::string> parenteral = {
            "IV", "IM", "SC", "SQ", "INTRAVENOUS", "INTRAMUSCULAR", "SUBCUTANEOUS"};
        bool released = false;
        for (Word& w : a.words) {
            if (a.forms == 0 && parenteral.count(w.text))
                a.forms |= form::Injection;
            // A solution "for nebulization" is a nebule; the service of that name is no form.
            if (w.text == "NEBULIZATION" || w.text == "NEBULISATION")
                a.forms |= form::Nebule;
            if (release.count(w.text)) {
                w = {"RELEASE", WordKind::Weak, w.aside};
                released = true;
            }
        }
        if (released) {
            bool first = true;
            std::erase_if(a.words, [&](const Word& w) {
                if (w.text != "RELEASE")
                    return false;
                const bool twice = !first;
                first = false;
                return twice;
            });
        }
    }
    // "4 g + 500 mg", written "4.5G" elsewhere; "400 mg + 57 mg/5 mL", written "457MG/5ML".
    for (const bool perMl : {false, true}) {
        Quantity total;
        total.role = Quantity::Total;
        total.perMl = perMl;
        int parts = 0;
        for (const Quantity& q : a.quantities)
            if (q.role == Quantity::Dose && q.dimension == Quantity::Mass && q.perMl == perMl) {
                total.value += q.value;
                ++parts;
            }
        if (parts >= 2)
            a.quantities.push_back(total);
    }
    // "30 mg/mL, 1 mL ampule" holds 30 mg, which is how a hospital may name it.
    std::vector<Quantity> held;
    for (const Quantity& pack : a.quantities)
        if (pack.role == Quantity::Pack && pack.dimension == Quantity::Volume && pack.value > 0 &&
            pack.value <= 20)
            for (const Quantity& q : a.quantities)
                if (q.role == Quantity::Dose && q.perMl) {
                    Quantity amount = q;
                    amount.perMl = false;
                    amount.role = Quantity::Numerator;
                    amount.value = q.value * pack.value;
                    held.push_back(amount);
                }
    a.quantities.insert(a.quantities.end(), held.begin(), held.end());
    if (a.forms != 0)
        readBareStrength(a);
    // A number past what a double holds says nothing of a strength.
    std::erase_if(a.quantities, [](const Quantity& q) { return !std::isfinite(q.value); });
}

} // namespace

Analysis analyse(const QString& text) {
    const std::string whole = folded(text);
    if (whole.find_first_of("([") == std::string::npos) {
        Analysis a = analyseFolded(whole);
        finish(a);
        return a;
    }
    // "GENERIC (BRAND)", "BRAND (GENERIC)": what a name holds in brackets is read apart, each
    // word of it marked, so that the part that matches can speak for the other.
    std::string outside, inside;
    int depth = 0;
    for (char c : whole) {
        if (c == '(' || c == '[') {
            ++depth;
            outside.push_back(' ');
            inside.push_back(' ');
        } else if ((c == ')' || c == ']') && depth > 0) {
            --depth;
            outside.push_back(' ');
            inside.push_back(' ');
        } else {
            (depth > 0 ? inside : outside).push_back(c);
        }
    }
    Analysis a = analyseFolded(outside);
    const Analysis aside = analyseFolded(inside);
    for (Word w : aside.words)
        if (std::none_of(a.words.begin(), a.words.end(),
                         [&](const Word& o) { return o.text == w.text; })) {
            w.aside = true;
            a.words.push_back(std::move(w));
        }
    // A strength in brackets beside one outside says the same another way ("1.25 g (equiv. to
    // 500 mg elemental calcium)"): it may stand alone on the other side, as a ratio's numerator.
    const bool dosed = std::any_of(a.quantities.begin(), a.quantities.end(),
                                   [](const Quantity& q) { return q.role == Quantity::Dose; });
    for (Quantity q : aside.quantities) {
        if (dosed && q.role == Quantity::Dose && !q.perMl)
            q.role = Quantity::Numerator;
        a.quantities.push_back(q);
    }
    a.forms |= aside.forms;
    a.higherStrength = a.higherStrength || aside.higherStrength;
    a.brands.insert(a.brands.end(), aside.brands.begin(), aside.brands.end());
    finish(a);
    return a;
}

Analysis analyseItem(const QString& shown) {
    const qsizetype dash = shown.indexOf(QStringLiteral(" - "));
    if (dash < 0)
        return analyse(shown);
    return analyse(shown.left(dash) + QStringLiteral(" (") + shown.mid(dash + 3) + u')');
}

void readBareStrength(Analysis& a) {
    if (std::any_of(a.quantities.begin(), a.quantities.end(), [](const Quantity& q) {
            return q.role == Quantity::Dose && q.dimension != Quantity::Length;
        }))
        return;
    for (auto it = a.words.begin(); it != a.words.end(); ++it)
        if (it->kind == WordKind::Number && it->text.find('X') == std::string::npos &&
            it->text.find('-') == std::string::npos) {
            Quantity q;
            q.value = std::strtod(it->text.c_str(), nullptr);
            if (std::isfinite(q.value))
                a.quantities.push_back(q);
            a.words.erase(it);
            return;
        }
}

std::vector<std::string> writtenWords(const QString& text) {
    std::vector<std::string> out;
    std::string word;
    for (char c : folded(text)) {
        if (isAlnum(c)) {
            word.push_back(c);
        } else if (!word.empty()) {
            out.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty())
        out.push_back(std::move(word));
    return out;
}

QString canonicalText(const QString& text) {
    const Analysis a = analyse(text);
    QStringList parts;
    for (const Word& w : a.words)
        parts << QString::fromStdString(w.text);
    return parts.join(u' ');
}

} // namespace suggest

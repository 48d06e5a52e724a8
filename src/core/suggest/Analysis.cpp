// The analysis of an item's wording, in five passes over its pieces: split the text into words,
// numbers and signs; read the strengths and volumes; drop the filler words; rewrite the runs of
// words that say one thing two ways; sort what is left into dosage forms and words of a kind.
#include "Analysis.h"

#include "core/suggest/Lexicon.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <unordered_set>

namespace suggest {

bool Quantity::sameAs(const Quantity& other) const {
    if (dimension != other.dimension || perMl != other.perMl)
        return false;
    const double larger = std::max(std::abs(value), std::abs(other.value));
    return std::abs(value - other.value) <= 1e-6 * std::max(1.0, larger);
}

namespace {

struct Piece {
    enum Type { Word, Number, Slash, Percent, Plus };
    std::string text;
    Type type;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return c >= 'A' && c <= 'Z';
}
bool isAlnum(char c) {
    return isDigit(c) || isLetter(c);
}

// Upper case ASCII: accents go ("Peña" is "PENA"), any other character is a blank.
std::string folded(const QString& text) {
    bool ascii = true;
    for (QChar ch : text)
        ascii = ascii && ch.unicode() < 128;
    if (ascii) {
        std::string out(static_cast<size_t>(text.size()), ' ');
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char c = static_cast<char>(text[i].unicode());
            out[static_cast<size_t>(i)] = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
        }
        return out;
    }
    const QString upper = text.toUpper().normalized(QString::NormalizationForm_D);
    std::string out;
    out.reserve(upper.size());
    for (QChar ch : upper) {
        const char16_t u = ch.unicode();
        if (u < 128)
            out.push_back(static_cast<char>(u));
        else if (!ch.isMark())
            out.push_back(' ');
    }
    return out;
}

// Splits a piece written as one ("500MG", "G23", "4X4") where it is a number and its unit, a size
// and its number, or a product of two numbers; anything else ("HBA1C", "T3", "2D") stays whole.
void splitChunk(const std::string& chunk, std::vector<Piece>& out) {
    const auto& lex = lexicon::get();
    std::vector<std::pair<std::string, bool>> runs; // text, is a number
    for (char c : chunk) {
        const bool digit = isDigit(c) || c == '.';
        if (runs.empty() || runs.back().second != digit)
            runs.emplace_back(std::string(), digit);
        runs.back().first.push_back(c);
    }
    if (runs.size() == 1) {
        out.push_back({chunk, runs[0].second ? Piece::Number : Piece::Word});
        return;
    }
    if (runs.size() == 2 && runs[0].second && lex.units.count(runs[1].first)) {
        out.push_back({runs[0].first, Piece::Number});
        out.push_back({runs[1].first, Piece::Word});
        return;
    }
    if (runs.size() == 2 && runs[0].second && runs[1].first == "S")
        return; // a pack count ("100S")
    if (runs.size() == 2 && !runs[0].second) {
        const auto prefix = lex.sizePrefixes.find(runs[0].first);
        if (prefix != lex.sizePrefixes.end()) {
            out.push_back({prefix->second, Piece::Word});
            out.push_back({runs[1].first, Piece::Number});
            return;
        }
    }
    if ((runs.size() == 3 || (runs.size() == 4 && lex.units.count(runs[3].first))) &&
        runs[0].second && runs[1].first == "X" && runs[2].second) {
        out.push_back({runs[0].first + "X" + runs[2].first, Piece::Word});
        return;
    }
    out.push_back({chunk, Piece::Word});
}

void splitText(const std::string& s, bool expandPieces, std::vector<Piece>& out) {
    const auto& lex = lexicon::get();
    std::string chunk;
    auto flush = [&] {
        if (chunk.empty())
            return;
        const auto piece = expandPieces ? lex.pieces.find(chunk) : lex.pieces.end();
        if (piece != lex.pieces.end())
            splitText(piece->second, false, out);
        else
            splitChunk(chunk, out);
        chunk.clear();
    };
    const size_t n = s.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = s[i];
        if (isAlnum(c)) {
            chunk.push_back(c);
            continue;
        }
        const bool digitBefore = !chunk.empty() && isDigit(chunk.back());
        const bool digitAfter = i + 1 < n && isDigit(s[i + 1]);
        if (c == '.' && digitAfter && (digitBefore || chunk.empty())) {
            if (chunk.empty())
                chunk.push_back('0');
            chunk.push_back('.');
            continue;
        }
        // 1,000 and 5,000IU: a thousands separator when exactly three digits follow.
        if (c == ',' && digitBefore && i + 3 < n && isDigit(s[i + 1]) && isDigit(s[i + 2]) &&
            isDigit(s[i + 3]) && (i + 4 >= n || !isDigit(s[i + 4])))
            continue;
        // "U/A", "C&S", "W/O": two single letters joined by a sign are one abbreviation.
        if ((c == '/' || c == '&') && chunk.size() == 1 && isLetter(chunk[0]) && i + 1 < n &&
            isLetter(s[i + 1]) && (i + 2 >= n || !isAlnum(s[i + 2]))) {
            chunk.push_back(s[i + 1]);
            ++i;
            flush();
            continue;
        }
        // "#7": a size.
        if (c == '#' && i + 1 < n && isDigit(s[i + 1])) {
            flush();
            out.push_back({"SIZE", Piece::Word});
            continue;
        }
        // "2-0": a suture's size.
        if (c == '-' && chunk.size() == 1 && isDigit(chunk[0]) && i + 1 < n && s[i + 1] == '0' &&
            (i + 2 >= n || !isAlnum(s[i + 2]))) {
            out.push_back({chunk + "-0", Piece::Word});
            chunk.clear();
            ++i;
            continue;
        }
        // "RINGER'S": the possessive goes; "100'S" is a pack's count, and goes whole.
        if (c == '\'' && i + 1 < n && s[i + 1] == 'S' && (i + 2 >= n || !isAlnum(s[i + 2]))) {
            ++i;
            if (!chunk.empty() && chunk.find_first_not_of("0123456789") == std::string::npos)
                chunk.clear();
            flush();
            continue;
        }
        flush();
        if (c == '/')
            out.push_back({"/", Piece::Slash});
        else if (c == '%')
            out.push_back({"%", Piece::Percent});
        else if (c == '+')
            out.push_back({"+", Piece::Plus});
    }
    flush();
}

std::string numberText(const std::string& text) {
    // A whole number as written, without leading zeros ("007" is "7").
    if (text.find('.') == std::string::npos) {
        const size_t first = text.find_first_not_of('0');
        return first == std::string::npos ? std::string("0") : text.substr(first);
    }
    // A decimal without trailing zeros ("7.50" is "7.5", "0.90" is "0.9"); one no strength or
    // size has, as written.
    const double value = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(value) || value >= 1e15 || (value != 0 && value < 1e-4))
        return text;
    char shown[40];
    std::snprintf(shown, sizeof shown, "%.6f", value);
    std::string out = shown;
    while (out.back() == '0')
        out.pop_back();
    if (out.back() == '.')
        out.pop_back();
    return out;
}

std::optional<Quantity::Dimension> sizeDimension(const std::string& word) {
    if (word == "GAUGE")
        return Quantity::Gauge;
    if (word == "FR" || word == "FRENCH")
        return Quantity::French;
    if (word == "SIZE" || word == "NO")
        return Quantity::Size;
    return std::nullopt;
}

// Reads "500 MG", "0.9 %", "250 MG / 5 ML", "5 MG/ML" into quantities; what is no quantity is
// left in order.
std::vector<Piece> readQuantities(const std::vector<Piece>& in, std::vector<Quantity>& out) {
    const auto& lex = lexicon::get();
    auto unitAt = [&](size_t i) -> const lexicon::Lexicon::Unit* {
        if (i >= in.size())
            return nullptr;
        if (in[i].type == Piece::Percent)
            return &lex.units.at("%");
        if (in[i].type != Piece::Word)
            return nullptr;
        const auto it = lex.units.find(in[i].text);
        return it == lex.units.end() ? nullptr : &it->second;
    };
    std::vector<Piece> rest;
    size_t i = 0;
    while (i < in.size()) {
        const Piece& p = in[i];
        // "4 x 4 in": a size of two numbers, its unit left out.
        if (p.type == Piece::Number && i + 2 < in.size() && in[i + 1].text == "X" &&
            in[i + 2].type == Piece::Number) {
            rest.push_back({numberText(p.text) + "X" + numberText(in[i + 2].text), Piece::Word});
            i += 3;
            if (const auto* unit = unitAt(i); unit && unit->dimension == Quantity::Length)
                ++i;
            continue;
        }
        // "800/160" and "500+125" with no unit, or one unit after both ("325/37.5MG", "5+2.5 MG"):
        // the strengths of a combination, in mg or in the unit written. "250/5ML" is a ratio:
        // 250 mg in 5 mL.
        if (p.type == Piece::Number && i + 2 < in.size() &&
            (in[i + 1].type == Piece::Slash || in[i + 1].type == Piece::Plus) &&
            in[i + 2].type == Piece::Number) {
            const lexicon::Lexicon::Unit* after = unitAt(i + 3);
            const bool ratio =
                after && after->dimension == Quantity::Volume && in[i + 1].type == Piece::Slash;
            if (ratio) {
                const double mass = std::strtod(p.text.c_str(), nullptr);
                const double per = std::strtod(in[i + 2].text.c_str(), nullptr) * after->factor;
                if (std::isfinite(mass) && per > 0 && std::isfinite(per)) {
                    Quantity numerator;
                    numerator.value = mass;
                    numerator.role = Quantity::Numerator;
                    out.push_back(numerator);
                    Quantity dose;
                    dose.value = mass / per;
                    dose.perMl = true;
                    out.push_back(dose);
                }
                i += 4;
                continue;
            }
            const bool strengthUnit = after && (after->dimension == Quantity::Mass ||
                                                after->dimension == Quantity::Units);
            if (!after || strengthUnit) {
                for (size_t k : {i, i + 2}) {
                    Quantity q;
                    q.value =
                        std::strtod(in[k].text.c_str(), nullptr) * (after ? after->factor : 1);
                    q.dimension = after ? after->dimension : Quantity::Mass;
                    out.push_back(q);
                }
                i += after ? 4 : 3;
                continue;
            }
        }
        // "X 100": a pack's count.
        if (p.type == Piece::Word && p.text == "X" && i + 1 < in.size() &&
            in[i + 1].type == Piece::Number && !rest.empty()) {
            i += 2;
            continue;
        }
        // "GAUGE 23", "FR 16", "SIZE 7": a size that tells one item from the next.
        if (p.type == Piece::Word && i + 1 < in.size() && in[i + 1].type == Piece::Number) {
            const auto size = sizeDimension(p.text);
            if (size) {
                Quantity q;
                q.value = std::strtod(in[i + 1].text.c_str(), nullptr);
                q.dimension = *size;
                out.push_back(q);
                // The number stays a word too: the other side may write it bare ("ETT 7.5").
                rest.push_back(in[i + 1]);
                i += 2;
                continue;
            }
        }
        const lexicon::Lexicon::Unit* unit = p.type == Piece::Number ? unitAt(i + 1) : nullptr;
        if (!unit) {
            rest.push_back(p);
            ++i;
            continue;
        }
        Quantity q;
        q.value = std::strtod(p.text.c_str(), nullptr) * unit->factor;
        q.dimension = unit->dimension;
        if (!std::isfinite(q.value)) {
            rest.push_back(p);
            ++i;
            continue;
        }
        size_t next = i + 2;
        // A ratio: "/ 5 ML" or "/ ML".
        double per = 0;
        if (next < in.size() && in[next].type == Piece::Slash) {
            if (next + 1 < in.size() && in[next + 1].type == Piece::Number) {
                const auto* denominator = unitAt(next + 2);
                if (denominator && denominator->dimension == Quantity::Volume) {
                    per = std::strtod(in[next + 1].text.c_str(), nullptr) * denominator->factor;
                    next += 3;
                }
            } else if (const auto* denominator = unitAt(next + 1);
                       denominator && denominator->dimension == Quantity::Volume) {
                per = denominator->factor;
                next += 2;
            }
        }
        if (per > 0 && q.dimension != Quantity::Volume) {
            Quantity numerator = q;
            numerator.role = Quantity::Numerator;
            out.push_back(numerator);
            q.value /= per;
            q.perMl = true;
            q.role = Quantity::Dose;
        } else {
            q.role = q.dimension == Quantity::Volume ? Quantity::Pack : Quantity::Dose;
        }
        out.push_back(q);
        i = next;
    }
    return rest;
}

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

} // namespace

Analysis analyse(const QString& text) {
    const auto& lex = lexicon::get();
    Analysis a;
    std::vector<Piece> pieces;
    splitText(folded(text), true, pieces);
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
                w = {"RELEASE", WordKind::Weak};
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
    std::vector<double> masses;
    for (const Quantity& q : a.quantities)
        if (q.role == Quantity::Dose && q.dimension == Quantity::Mass && !q.perMl)
            masses.push_back(q.value);
    if (masses.size() >= 2) {
        // "4 g + 500 mg", written "4.5G" elsewhere.
        Quantity total;
        total.role = Quantity::Total;
        for (double m : masses)
            total.value += m;
        a.quantities.push_back(total);
    }
    if (!hasDose && a.forms != 0)
        readBareStrength(a);
    // A number past what a double holds says nothing of a strength.
    std::erase_if(a.quantities, [](const Quantity& q) { return !std::isfinite(q.value); });
    return a;
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

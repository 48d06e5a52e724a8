// The strengths and volumes of a wording: numbers and their units, ratios, sizes, combinations.
#include "Pieces.h"

#include "core/suggest/Lexicon.h"

#include <cmath>
#include <cstdlib>
#include <optional>

namespace suggest::pieces {

namespace {

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
} // namespace

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
    // For each quantity read, whether a plus follows it ("400 mg + 57 mg/5 mL").
    std::vector<bool> plusBefore;
    size_t i = 0;
    while (i < in.size()) {
        plusBefore.resize(out.size(), false);
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
        // "PER 5 ML" is the same ratio, written out.
        const bool slash =
            next < in.size() && (in[next].type == Piece::Slash ||
                                 (in[next].type == Piece::Word && in[next].text == "PER"));
        if (slash) {
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
            // "400 mg + 57 mg/5 mL": the strengths joined to this one by a plus are in the same
            // 5 mL.
            const size_t before = out.size();
            for (size_t k = before; k-- > 0 && k < plusBefore.size() && plusBefore[k];) {
                Quantity& earlier = out[k];
                if (earlier.role != Quantity::Dose || earlier.perMl ||
                    earlier.dimension != q.dimension)
                    break;
                Quantity part = earlier;
                part.role = Quantity::Numerator;
                earlier.value /= per;
                earlier.perMl = true;
                out.push_back(part);
            }
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
        // Whether a plus joins this strength to the next.
        plusBefore.resize(out.size(), false);
        plusBefore.back() = i < in.size() && in[i].type == Piece::Plus;
    }
    return rest;
}

} // namespace suggest::pieces

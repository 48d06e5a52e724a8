// How far two items' strengths, volumes and dosage forms let them be the same item.
#include "Agreement.h"

#include <algorithm>
#include <cmath>

namespace suggest {

namespace {

using Quantities = std::vector<const Quantity*>;

Quantities pick(const std::vector<Quantity>& all, Quantity::Role role) {
    Quantities out;
    for (const Quantity& q : all)
        if (q.role == role)
            out.push_back(&q);
    return out;
}

bool found(const Quantity* q, const Quantities& in) {
    return std::any_of(in.begin(), in.end(), [q](const Quantity* o) { return q->sameAs(*o); });
}

bool allFound(const Quantities& some, const Quantities& in) {
    return std::all_of(some.begin(), some.end(), [&](const Quantity* q) { return found(q, in); });
}

// "50 mg" typed for 50 micrograms: the same number, a thousand times apart, the smaller under a
// milligram.
bool mgForMcg(const Quantity* a, const Quantity* b) {
    if (a->dimension != Quantity::Mass || b->dimension != Quantity::Mass || a->perMl != b->perMl)
        return false;
    const double small = std::min(a->value, b->value), large = std::max(a->value, b->value);
    return small > 0 && small < 1 && std::abs(large - small * 1000) <= 1e-6 * large;
}

} // namespace

QuantityMatch matchQuantities(const std::vector<Quantity>& a, const std::vector<Quantity>& b) {
    QuantityMatch m;
    const Quantities doseA = pick(a, Quantity::Dose), doseB = pick(b, Quantity::Dose);
    if (doseA.empty() != doseB.empty()) {
        m.agreement = 0.88;
        m.strength = StrengthFit::OneSide;
    } else if (!doseA.empty()) {
        int inA = 0;
        for (const Quantity* q : doseA)
            inA += found(q, doseB);
        if (inA == int(doseA.size()) && allFound(doseB, doseA)) {
            m.strength = StrengthFit::Same;
            // The same concentration, in ampules or bottles that hold different amounts.
            const Quantities heldA = pick(a, Quantity::Numerator),
                             heldB = pick(b, Quantity::Numerator);
            if (!heldA.empty() && !heldB.empty() &&
                std::none_of(heldA.begin(), heldA.end(),
                             [&](const Quantity* q) { return found(q, heldB); }))
                m.agreement = 0.97;
        } else if ((doseA.size() == 1 && allFound(doseA, pick(b, Quantity::Total))) ||
                   (doseB.size() == 1 && allFound(doseB, pick(a, Quantity::Total)))) {
            m.strength = StrengthFit::Total;
            m.agreement = 0.98;
        } else if (inA > 0) {
            // Some strengths in common: most often a combination against one of its parts.
            m.strength = StrengthFit::Partly;
            m.agreement = 0.87;
        } else if (std::all_of(doseA.begin(), doseA.end(),
                               [&](const Quantity* q) {
                                   return std::any_of(
                                       doseB.begin(), doseB.end(),
                                       [q](const Quantity* o) { return mgForMcg(q, o); });
                               }) &&
                   doseA.size() == doseB.size()) {
            m.strength = StrengthFit::MgForMcg;
            m.agreement = 0.9;
        } else {
            // 250 mg/5 mL on one side, 250 mg on the other; 457 mg/5 mL against 400 mg + 57 mg.
            auto withNumerators = [](const std::vector<Quantity>& all, const Quantities& dose) {
                Quantities out = pick(all, Quantity::Numerator);
                const Quantities totals = pick(all, Quantity::Total);
                out.insert(out.end(), totals.begin(), totals.end());
                out.insert(out.end(), dose.begin(), dose.end());
                return out;
            };
            const Quantities wideA = withNumerators(a, doseA), wideB = withNumerators(b, doseB);
            const bool partly = std::any_of(wideA.begin(), wideA.end(),
                                            [&](const Quantity* q) { return found(q, wideB); });
            m.strength = partly ? StrengthFit::Numerator : StrengthFit::Differs;
            m.agreement = partly ? 0.85 : 0.45;
        }
    }
    const Quantities packA = pick(a, Quantity::Pack), packB = pick(b, Quantity::Pack);
    if (!packA.empty() && !packB.empty() &&
        std::none_of(packA.begin(), packA.end(),
                     [&](const Quantity* q) { return found(q, packB); })) {
        m.agreement *= 0.75;
        m.packDiffers = true;
    }
    return m;
}

double formAgreement(std::uint32_t a, std::uint32_t b) {
    if (a == 0 || b == 0)
        return a == b ? 1.0 : 0.95;
    if (a & b)
        return a == b ? 1.0 : 0.98;
    if (form::families(a) & form::families(b))
        return 0.9;
    return 0.7;
}

} // namespace suggest

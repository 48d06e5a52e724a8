// How far two items' strengths, volumes and dosage forms let them be the same item.
#include "Agreement.h"

#include <algorithm>

namespace suggest {

double quantityAgreement(const std::vector<Quantity>& a, const std::vector<Quantity>& b) {
    auto pick = [](const std::vector<Quantity>& all, Quantity::Role role) {
        std::vector<const Quantity*> out;
        for (const Quantity& q : all)
            if (q.role == role)
                out.push_back(&q);
        return out;
    };
    auto found = [](const Quantity* q, const std::vector<const Quantity*>& in) {
        return std::any_of(in.begin(), in.end(), [q](const Quantity* o) { return q->sameAs(*o); });
    };
    const auto doseA = pick(a, Quantity::Dose), doseB = pick(b, Quantity::Dose);
    double agreement = 1.0;
    if (doseA.empty() != doseB.empty()) {
        agreement = 0.88;
    } else if (!doseA.empty()) {
        int inA = 0, inB = 0;
        for (const Quantity* q : doseA)
            inA += found(q, doseB);
        for (const Quantity* q : doseB)
            inB += found(q, doseA);
        if (inA == int(doseA.size()) && inB == int(doseB.size())) {
            agreement = 1.0;
        } else if (inA > 0) {
            agreement = 0.92;
        } else {
            // 250 mg/5 mL on one side, 250 mg on the other.
            auto withNumerators = [&](const std::vector<Quantity>& all, auto dose) {
                auto out = pick(all, Quantity::Numerator);
                out.insert(out.end(), dose.begin(), dose.end());
                return out;
            };
            const auto wideA = withNumerators(a, doseA), wideB = withNumerators(b, doseB);
            const bool partly = std::any_of(wideA.begin(), wideA.end(),
                                            [&](const Quantity* q) { return found(q, wideB); });
            agreement = partly ? 0.85 : 0.55;
        }
    }
    const auto packA = pick(a, Quantity::Pack), packB = pick(b, Quantity::Pack);
    if (!packA.empty() && !packB.empty() &&
        std::none_of(packA.begin(), packA.end(),
                     [&](const Quantity* q) { return found(q, packB); }))
        agreement *= 0.75;
    return agreement;
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

#pragma once

#include "core/suggest/Analysis.h"

#include <cstdint>
#include <vector>

namespace suggest {

// How two texts' strengths agree, in the words the explanation of a score uses.
enum class StrengthFit : std::uint8_t {
    NoneNamed, // neither names a strength
    Same,      // every strength of each is one of the other's
    Total,     // one names the total of the other's combination ("625 mg" for 500 mg + 125 mg)
    MgForMcg,  // the same number, milligrams on one side and micrograms on the other
    Partly,    // some strengths in common
    Numerator, // 250 mg on one side, 250 mg/5 mL on the other
    OneSide,   // only one names a strength
    Differs,
};

struct QuantityMatch {
    double agreement = 1.0; // 1: alike; less: they differ
    StrengthFit strength = StrengthFit::NoneNamed;
    bool packDiffers = false; // both name a pack (60 mL, 1 L) and no pack is the same
};

// How well two texts' strengths and volumes agree.
QuantityMatch matchQuantities(const std::vector<Quantity>& a, const std::vector<Quantity>& b);
inline double quantityAgreement(const std::vector<Quantity>& a, const std::vector<Quantity>& b) {
    return matchQuantities(a, b).agreement;
}
// Whether a strength fit lets two items be one product: their strengths agree as far as they
// are written on both sides.
// "250 mg" against "250 mg/5 mL" agrees too: a hospital often names what the bottle or ampule
// holds.
inline bool strengthsAgree(StrengthFit fit) {
    return fit == StrengthFit::Same || fit == StrengthFit::Total || fit == StrengthFit::MgForMcg ||
           fit == StrengthFit::Numerator;
}
// How well two texts' dosage forms agree.
double formAgreement(std::uint32_t a, std::uint32_t b);
// Whether two texts' forms let them be one product: the same form or family, or none named.
inline bool formsAgree(std::uint32_t a, std::uint32_t b) {
    return formAgreement(a, b) >= 0.9;
}

} // namespace suggest

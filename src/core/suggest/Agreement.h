#pragma once

#include "core/suggest/Analysis.h"

#include <cstdint>
#include <vector>

namespace suggest {

// How well two texts' strengths and volumes agree (1: alike; less: they differ).
double quantityAgreement(const std::vector<Quantity>& a, const std::vector<Quantity>& b);
// How well two texts' dosage forms agree.
double formAgreement(std::uint32_t a, std::uint32_t b);

} // namespace suggest

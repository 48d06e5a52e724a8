#pragma once

#include <cstddef>
#include <string>

namespace suggest {

// Words longer than this are found only as they are written: a near or partial match of so long a
// word says nothing, and its comparison would cost the square of its length.
constexpr size_t longestNearWord = 40;

// Whether a word is a number ("500", "0.9").
bool isNumberWord(const std::string& w);

// How far apart two words are: letters inserted, left out, changed or swapped with the next.
int editDistance(const std::string& a, const std::string& b, int atMost);

} // namespace suggest

#pragma once

// The first two passes of the analysis of a wording: the text split into pieces (words, numbers,
// signs), and the strengths and volumes read from them. Private to the analysis's own files.
#include "core/suggest/Analysis.h"

#include <QString>

#include <string>
#include <vector>

namespace suggest::pieces {

struct Piece {
    enum Type { Word, Number, Slash, Percent, Plus };
    std::string text;
    Type type;
};

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool isLetter(char c) {
    return c >= 'A' && c <= 'Z';
}
inline bool isAlnum(char c) {
    return isDigit(c) || isLetter(c);
}

// Upper case ASCII: accents go ("Peña" is "PENA"), any other character is a blank.
std::string folded(const QString& text);
// The pieces of a folded text; `expandPieces` rewrites the pieces written as one ("PNSS").
void splitText(const std::string& s, bool expandPieces, std::vector<Piece>& out);
// A number as a word: a whole number without leading zeros, a decimal without trailing zeros.
std::string numberText(const std::string& text);
// Reads "500 MG", "0.9 %", "250 MG / 5 ML", "5 MG/ML" into quantities; what is no quantity is
// left in order.
std::vector<Piece> readQuantities(const std::vector<Piece>& in, std::vector<Quantity>& out);

} // namespace suggest::pieces

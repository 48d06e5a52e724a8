// The pieces of a wording: words, numbers and signs, with the units, sizes and products written
// as one ("500MG", "G23", "4X4") taken apart.
#include "Pieces.h"

#include "core/suggest/Lexicon.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace suggest::pieces {

namespace {

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

} // namespace

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

} // namespace suggest::pieces

#include "FeeText.h"

#include "core/db/DbError.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace fee {

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

double fromText(const QString& text) {
    std::string s;
    s.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n')
            continue;
        // Anything beyond ASCII ends the number; '\x7f' stands for it.
        s += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\x7f';
    }
    // One pass over the number. `magnitude` tells where its first significant digit stands
    // (above 0 for a number of 1 or more), which decides between too large and too small when
    // the number is out of a double's range.
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    long long magnitude = 0;
    bool significant = false;
    for (; i < s.size() && isDigit(s[i]); ++i, ++digits) {
        significant = significant || s[i] != '0';
        magnitude += significant ? 1 : 0;
    }
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && isDigit(s[i]); ++i, ++digits) {
            significant = significant || s[i] != '0';
            magnitude -= significant ? 0 : 1;
        }
    if (digits == 0)
        return 0;
    size_t end = i;
    // An exponent counts only with at least one digit after its letter and sign.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        const bool negative = j < s.size() && s[j] == '-';
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        long long exponent = 0;
        for (; j < s.size() && isDigit(s[j]); ++j) {
            exponent = std::min<long long>(exponent * 10 + (s[j] - '0'), 1'000'000'000);
            end = j + 1;
        }
        magnitude += negative ? -exponent : exponent;
    }
    // from_chars reads "." as the decimal point in every locale; it takes no leading "+".
    const size_t from = s[0] == '+' ? 1 : 0;
    double value = 0;
    const std::from_chars_result read = std::from_chars(s.data() + from, s.data() + end, value);
    if (read.ec == std::errc::result_out_of_range) {
        if (magnitude > 0)
            throw DbError(QStringLiteral("Overflow"));
        return 0; // too small for a double
    }
    return value;
}

} // namespace fee

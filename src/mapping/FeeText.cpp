#include "FeeText.h"

#include "app/DbError.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace fee {

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Where the first significant digit of a number out of a double's range stands: above 0 it is
// too large, otherwise too small.
long long decimalMagnitude(const std::string& s, size_t from, size_t end) {
    size_t i = from + (s[from] == '-' ? 1 : 0);
    long long magnitude = 0;
    bool significant = false;
    for (; i < end && isDigit(s[i]); ++i) {
        significant = significant || s[i] != '0';
        if (significant)
            ++magnitude;
    }
    if (i < end && s[i] == '.')
        for (++i; i < end && isDigit(s[i]) && !significant; ++i) {
            if (s[i] != '0')
                significant = true;
            else
                --magnitude;
        }
    while (i < end && s[i] != 'e' && s[i] != 'E')
        ++i;
    if (i < end) {
        ++i;
        const bool negative = s[i] == '-';
        if (s[i] == '+' || s[i] == '-')
            ++i;
        long long exponent = 0;
        for (; i < end; ++i)
            exponent = std::min<long long>(exponent * 10 + (s[i] - '0'), 1'000'000'000);
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
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
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    size_t end = i;
    // An exponent counts only with at least one digit after its letter and sign.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            end = j;
        }
    }
    // from_chars reads "." as the decimal point in every locale; it takes no leading "+".
    const size_t from = s[0] == '+' ? 1 : 0;
    double value = 0;
    const auto [stop, error] = std::from_chars(s.data() + from, s.data() + end, value);
    (void)stop;
    if (error == std::errc::result_out_of_range) {
        if (decimalMagnitude(s, from, end) > 0)
            throw DbError(QStringLiteral("Overflow"));
        return 0; // too small for a double
    }
    return value;
}

} // namespace fee

// How alike two words are by their letters.
#include "Letters.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace suggest {

bool isNumberWord(const std::string& w) {
    return !w.empty() && w.find_first_not_of("0123456789.") == std::string::npos;
}

int editDistance(const std::string& a, const std::string& b, int atMost) {
    const int n = static_cast<int>(a.size()), m = static_cast<int>(b.size());
    if (std::abs(n - m) > atMost)
        return atMost + 1;
    // Three rows of the table: two before, one before, this one.
    std::vector<int> prev2(m + 1), prev(m + 1), cur(m + 1);
    for (int j = 0; j <= m; ++j)
        prev[j] = j;
    for (int i = 1; i <= n; ++i) {
        cur[0] = i;
        int best = cur[0];
        for (int j = 1; j <= m; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            cur[j] = std::min({prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                cur[j] = std::min(cur[j], prev2[j - 2] + 1);
            best = std::min(best, cur[j]);
        }
        if (best > atMost)
            return atMost + 1;
        std::swap(prev2, prev);
        std::swap(prev, cur);
    }
    return prev[m];
}

} // namespace suggest

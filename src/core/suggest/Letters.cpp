// How alike two words are by their letters: the edits between them, and the runs of letters they
// share.
#include "Letters.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace suggest {

namespace {

// The runs of three letters of a word, once each; the first begins with a mark of the word's
// beginning ("^CE", "CEL", "ELE", ...).
std::vector<std::uint32_t> triples(const std::string& w) {
    std::vector<std::uint32_t> out;
    if (w.size() < 2)
        return out;
    auto code = [](char a, char b, char c) {
        return (std::uint32_t(static_cast<unsigned char>(a)) << 16) |
               (std::uint32_t(static_cast<unsigned char>(b)) << 8) |
               std::uint32_t(static_cast<unsigned char>(c));
    };
    out.push_back(code('^', w[0], w[1]));
    for (size_t i = 0; i + 2 < w.size(); ++i)
        out.push_back(code(w[i], w[i + 1], w[i + 2]));
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

size_t sharedBeginning(const std::string& a, const std::string& b) {
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n])
        ++n;
    return n;
}

double likenessOf(size_t shared, size_t ofA, size_t ofB, size_t beginning) {
    const double dice = ofA + ofB ? 2.0 * double(shared) / double(ofA + ofB) : 0.0;
    const double begins = beginning >= 3 ? std::min(0.75, 0.05 + 0.1 * double(beginning)) : 0.0;
    return std::max(dice, begins);
}

} // namespace

bool isNumberWord(const std::string& w) {
    return !w.empty() && w.find_first_not_of("0123456789.") == std::string::npos;
}

std::string soundKey(const std::string& w) {
    if (w.size() < 6 ||
        !std::all_of(w.begin(), w.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        return std::string();
    std::string spoken;
    for (size_t i = 0; i < w.size(); ++i) {
        const char c = w[i], next = i + 1 < w.size() ? w[i + 1] : '\0';
        if ((c == 'P' && next == 'H')) {
            spoken.push_back('F');
            ++i;
        } else if ((c == 'T' || c == 'G' || c == 'R' || c == 'K') && next == 'H') {
            spoken.push_back(c);
            ++i;
        } else if (c == 'C' && (next == 'H' || next == 'K')) {
            spoken.push_back('K');
            ++i;
        } else if (c == 'C') {
            spoken.push_back(next == 'E' || next == 'I' || next == 'Y' ? 'S' : 'K');
        } else if (c == 'Q') {
            spoken.push_back('K');
        } else if (c == 'X') {
            spoken += "KS";
        } else if (c == 'Z') {
            spoken.push_back('S');
        } else if (c == 'Y') {
            spoken.push_back('I');
        } else if (c == 'V') {
            spoken.push_back('B');
        } else {
            spoken.push_back(c);
        }
    }
    auto vowel = [](char c) { return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U'; };
    std::string key(1, vowel(spoken[0]) ? 'A' : spoken[0]);
    for (size_t i = 1; i < spoken.size(); ++i)
        if (!vowel(spoken[i]) && spoken[i] != key.back())
            key.push_back(spoken[i]);
    // Six sounds at least: shorter keys are shared by names of different drugs (cefixime and
    // "cefuxim" for cefuroxime).
    return key.size() >= 6 ? key : std::string();
}

bool comparableByLetters(const std::string& w) {
    return w.size() >= 4 && w.size() <= longestNearWord &&
           std::all_of(w.begin(), w.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

double letterLikeness(const std::string& a, const std::string& b) {
    const std::vector<std::uint32_t> ta = triples(a), tb = triples(b);
    std::vector<std::uint32_t> both;
    std::set_intersection(ta.begin(), ta.end(), tb.begin(), tb.end(), std::back_inserter(both));
    return likenessOf(both.size(), ta.size(), tb.size(), sharedBeginning(a, b));
}

void LetterIndex::addWord(const std::string& word, int id) {
    const std::vector<std::uint32_t> runs = triples(word);
    for (std::uint32_t t : runs)
        m_postings.emplace_back(t, id);
    m_runs[size_t(id)] = static_cast<std::uint8_t>(std::min<size_t>(255, runs.size()));
}

void LetterIndex::finish() {
    std::sort(m_postings.begin(), m_postings.end());
    m_postings.shrink_to_fit();
}

std::vector<std::pair<int, float>> LetterIndex::alike(const std::string& word, double least) const {
    std::vector<std::pair<int, float>> out;
    if (!m_words || m_postings.empty())
        return out;
    const std::vector<std::uint32_t> own = triples(word);
    // How many runs each word shares with this one.
    std::unordered_map<int, int> shared;
    for (std::uint32_t t : own) {
        auto range =
            std::equal_range(m_postings.begin(), m_postings.end(), std::make_pair(t, 0),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto it = range.first; it != range.second; ++it)
            ++shared[it->second];
    }
    for (const auto& [id, count] : shared) {
        const std::string& other = (*m_words)[size_t(id)];
        if (other == word)
            continue;
        const double likeness =
            likenessOf(size_t(count), own.size(), m_runs[size_t(id)], sharedBeginning(word, other));
        if (likeness >= least)
            out.emplace_back(id, static_cast<float>(likeness));
    }
    return out;
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

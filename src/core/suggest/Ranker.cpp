// The ranking: a PhilHealth item and a hospital item are alike as far as the words of one are
// found among the words of the other (each word weighted by how rare it is among the ranked
// items, and by its kind), as far as their strengths and volumes agree, and as far as their
// dosage forms agree. A word is found when it is the same, one or two letters away, a beginning
// of the other (hospitals cut long names short), or a word the existing links swap for it.
#include "Ranker.h"

#include "core/suggest/Agreement.h"
#include "core/suggest/Letters.h"

#include <algorithm>
#include <cmath>

namespace suggest {

namespace {

std::uint64_t hashSkipping(const std::string& w, size_t skip) {
    std::uint64_t h = 1469598103934665603ull;
    for (size_t i = 0; i < w.size(); ++i) {
        if (i == skip)
            continue;
        h ^= static_cast<unsigned char>(w[i]);
        h *= 1099511628211ull;
    }
    return h;
}

} // namespace

// The index.

void Ranker::build(const std::vector<ItemText>& items) {
    begin(items.size());
    for (const ItemText& item : items)
        add(item);
    finish();
}

void Ranker::begin(size_t expected) {
    *this = Ranker(m_side);
    m_wordStart.reserve(expected + 1);
    m_quantityStart.reserve(expected + 1);
    m_forms.reserve(expected);
}

void Ranker::add(const ItemText& item) {
    m_wordStart.push_back(static_cast<std::uint32_t>(m_itemWords.size()));
    const size_t first = m_itemWords.size();
    for (const Analysis* part : {&item.generic, &item.text}) {
        const bool generic = part == &item.generic;
        for (const Word& w : part->words) {
            auto [it, added] = m_ids.try_emplace(w.text, static_cast<int>(m_words.size()));
            if (added)
                m_words.push_back(w.text);
            const int id = it->second;
            bool present = false;
            for (size_t k = first; k < m_itemWords.size() && !present; ++k)
                present = m_itemWords[k].id == id;
            if (!present)
                m_itemWords.push_back({id, w.kind, generic, w.aside});
        }
    }
    m_quantityStart.push_back(static_cast<std::uint32_t>(m_quantities.size()));
    m_quantities.insert(m_quantities.end(), item.text.quantities.begin(),
                        item.text.quantities.end());
    m_quantities.insert(m_quantities.end(), item.generic.quantities.begin(),
                        item.generic.quantities.end());
    m_forms.push_back(item.text.forms | item.generic.forms);
    m_higher.push_back(item.text.higherStrength || item.generic.higherStrength);
}

void Ranker::finish() {
    m_wordStart.push_back(static_cast<std::uint32_t>(m_itemWords.size()));
    m_quantityStart.push_back(static_cast<std::uint32_t>(m_quantities.size()));
    // The postings, one flat array: the items of word w are m_postingItems[m_postingStart[w] ..
    // m_postingStart[w + 1]), in the order of the items.
    const size_t words = m_words.size();
    m_df.assign(words, 0);
    for (const ItemWord& w : m_itemWords)
        ++m_df[static_cast<size_t>(w.id)];
    m_postingStart.assign(words + 1, 0);
    for (size_t id = 0; id < words; ++id)
        m_postingStart[id + 1] = m_postingStart[id] + static_cast<std::uint32_t>(m_df[id]);
    m_postingItems.assign(m_itemWords.size(), 0);
    std::vector<std::uint32_t> next(m_postingStart.begin(), m_postingStart.end() - 1);
    for (int item = 0; item < size(); ++item)
        for (std::uint32_t k = m_wordStart[item]; k < m_wordStart[item + 1]; ++k)
            m_postingItems[next[static_cast<size_t>(m_itemWords[k].id)]++] = item;
    for (size_t id = 0; id < words; ++id) {
        const std::string& w = m_words[id];
        if (w.size() < 5 || w.size() > longestNearWord || isNumberWord(w))
            continue;
        m_variants.emplace_back(hashSkipping(w, std::string::npos), static_cast<int>(id));
        for (size_t k = 0; k < w.size(); ++k)
            m_variants.emplace_back(hashSkipping(w, k), static_cast<int>(id));
    }
    std::sort(m_variants.begin(), m_variants.end());
    m_variants.shrink_to_fit();
    m_sorted.resize(words);
    for (size_t id = 0; id < words; ++id)
        m_sorted[id] = static_cast<int>(id);
    std::sort(m_sorted.begin(), m_sorted.end(),
              [this](int a, int b) { return m_words[a] < m_words[b]; });
    // The plain words of letters only, for the likeness of letters.
    std::vector<bool> plain(words, false);
    for (const ItemWord& w : m_itemWords)
        if (w.kind == WordKind::Plain)
            plain[size_t(w.id)] = true;
    m_letters.build(m_words,
                    [&](size_t id) { return plain[id] && comparableByLetters(m_words[id]); });
    for (size_t id = 0; id < words; ++id)
        if (plain[id])
            if (const std::string key = soundKey(m_words[id]); !key.empty())
                m_sounds.emplace_back(hashSkipping(key, std::string::npos), int(id));
    std::sort(m_sounds.begin(), m_sounds.end());
    m_sounds.shrink_to_fit();
    // The items by their strengths, and where each item's strength lies among its kin's.
    for (int item = 0; item < size(); ++item)
        for (std::uint32_t k = m_quantityStart[item]; k < m_quantityStart[item + 1]; ++k)
            if (const auto key = strengthKey(m_quantities[k]))
                m_strengths.emplace_back(*key, item);
    std::sort(m_strengths.begin(), m_strengths.end());
    m_strengths.erase(std::unique(m_strengths.begin(), m_strengths.end()), m_strengths.end());
    m_strengths.shrink_to_fit();
    findStrengthPlaces();
    // From here on a word is found by its place in the alphabetical order.
    std::unordered_map<std::string, int>().swap(m_ids);
    m_itemWords.shrink_to_fit();
    m_quantities.shrink_to_fit();
}

int Ranker::idOf(const std::string& word) const {
    const auto it =
        std::lower_bound(m_sorted.begin(), m_sorted.end(), word,
                         [this](int id, const std::string& w) { return m_words[size_t(id)] < w; });
    return it != m_sorted.end() && m_words[size_t(*it)] == word ? *it : -1;
}

double Ranker::idf(int id) const {
    return std::log(1.0 + double(size()) / double(std::max(1, m_df[id])));
}

void Ranker::addSimilar(const std::string& word, std::vector<Expansion>& out) const {
    auto put = [&out](int id, float similarity, Found how) {
        for (Expansion& e : out)
            if (e.id == id) {
                if (similarity > e.similarity) {
                    e.similarity = similarity;
                    e.how = how;
                }
                return;
            }
        out.push_back({id, similarity, how});
    };
    if (const int id = idOf(word); id >= 0)
        put(id, 1.0f, Found::Same);
    if (isNumberWord(word) || word.size() < 4 || word.size() > longestNearWord)
        return;
    if (word.size() >= 5) {
        const int most = word.size() >= 8 ? 2 : 1;
        for (size_t k = 0; k <= word.size(); ++k) {
            const std::uint64_t h = hashSkipping(word, k == word.size() ? std::string::npos : k);
            auto range =
                std::equal_range(m_variants.begin(), m_variants.end(), std::make_pair(h, 0),
                                 [](const auto& a, const auto& b) { return a.first < b.first; });
            for (auto it = range.first; it != range.second; ++it) {
                if (m_words[size_t(it->second)] == word)
                    continue;
                const int d = editDistance(word, m_words[it->second], most);
                if (d >= 1 && d <= most)
                    put(it->second, d == 1 ? 0.85f : 0.7f, Found::Near);
            }
        }
    }
    // Words that sound the same, spelt as they are heard.
    if (const std::string key = soundKey(word); !key.empty()) {
        const auto range =
            std::equal_range(m_sounds.begin(), m_sounds.end(),
                             std::make_pair(hashSkipping(key, std::string::npos), 0),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto it = range.first; it != range.second; ++it)
            if (m_words[size_t(it->second)] != word)
                put(it->second, 0.8f, Found::Near);
    }
    // Words that begin with this one, and the beginnings of this one that are words.
    auto from = std::lower_bound(m_sorted.begin(), m_sorted.end(), word,
                                 [this](int id, const std::string& w) { return m_words[id] < w; });
    int taken = 0;
    for (auto it = from; it != m_sorted.end() && taken < 40; ++it) {
        const std::string& w = m_words[*it];
        if (w.compare(0, word.size(), word) != 0)
            break;
        if (w.size() > word.size() && !isNumberWord(w)) {
            put(*it, static_cast<float>(0.55 + 0.35 * double(word.size()) / double(w.size())),
                Found::Beginning);
            ++taken;
        }
    }
    for (size_t len = 4; len < word.size(); ++len)
        if (const int id = idOf(word.substr(0, len)); id >= 0)
            put(id, static_cast<float>(0.55 + 0.35 * double(len) / double(word.size())),
                Found::Beginning);
}

std::optional<double> Ranker::rarity(const std::string& word) const {
    const int id = idOf(word);
    if (id < 0)
        return std::nullopt;
    return idf(id);
}

// A strength as a key of the index by strengths: its dimension, whether it is a concentration,
// and its value to a thousandth. Nothing for a pack.
std::optional<std::uint64_t> Ranker::strengthKey(const Quantity& q) {
    // A medicine's strengths only: sizes, gauges and lengths tell supplies apart by their words.
    const bool strength = q.dimension == Quantity::Mass || q.dimension == Quantity::Percent ||
                          q.dimension == Quantity::Units || q.dimension == Quantity::Equivalents ||
                          q.dimension == Quantity::Moles;
    if (q.role == Quantity::Pack || !strength || !(q.value >= 0) || q.value > 1e12)
        return std::nullopt;
    const auto value = static_cast<std::uint64_t>(std::llround(q.value * 1000.0));
    return (std::uint64_t(q.dimension) << 57) | (std::uint64_t(q.perMl) << 56) |
           (value & ((std::uint64_t(1) << 56) - 1));
}

void Ranker::findStrengthPlaces() {
    // Kin: the items with the same plain words and a form of the same family. Each item is
    // placed by its largest strength among theirs.
    m_places.assign(size_t(size()), std::uint8_t(StrengthPlace::Only));
    struct Kin {
        std::uint64_t key;
        double strength;
        int item;
    };
    std::vector<Kin> kin;
    for (int item = 0; item < size(); ++item) {
        double strength = -1;
        for (std::uint32_t k = m_quantityStart[item]; k < m_quantityStart[item + 1]; ++k)
            if (m_quantities[k].role == Quantity::Dose &&
                m_quantities[k].dimension == Quantity::Mass)
                strength = std::max(strength, m_quantities[k].value);
        if (strength < 0)
            continue;
        std::vector<int> ids;
        for (std::uint32_t k = m_wordStart[item]; k < m_wordStart[item + 1]; ++k)
            if (m_itemWords[k].kind == WordKind::Plain)
                ids.push_back(m_itemWords[k].id);
        std::sort(ids.begin(), ids.end());
        std::uint64_t key = 1469598103934665603ull ^ form::families(m_forms[size_t(item)]);
        for (int id : ids)
            key = (key ^ std::uint64_t(id + 1)) * 1099511628211ull;
        kin.push_back({key, strength, item});
    }
    std::sort(kin.begin(), kin.end(), [](const Kin& a, const Kin& b) {
        return a.key != b.key ? a.key < b.key : a.strength < b.strength;
    });
    for (size_t from = 0; from < kin.size();) {
        size_t to = from;
        while (to < kin.size() && kin[to].key == kin[from].key)
            ++to;
        const double least = kin[from].strength, most = kin[to - 1].strength;
        if (most > least)
            for (size_t k = from; k < to; ++k)
                m_places[size_t(kin[k].item)] =
                    std::uint8_t(kin[k].strength == most    ? StrengthPlace::Higher
                                 : kin[k].strength == least ? StrengthPlace::Lower
                                                            : StrengthPlace::Middle);
        from = to;
    }
}

} // namespace suggest

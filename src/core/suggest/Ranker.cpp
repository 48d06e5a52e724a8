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

double kindFactor(WordKind kind) {
    switch (kind) {
    case WordKind::Plain:
        return 1.0;
    case WordKind::Salt:
        return 0.25;
    case WordKind::Weak:
        return 0.3;
    case WordKind::Route:
        return 0.5;
    case WordKind::Number:
        return 0.6;
    }
    return 1.0;
}

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
                m_itemWords.push_back({id, w.kind, generic});
        }
    }
    m_quantityStart.push_back(static_cast<std::uint32_t>(m_quantities.size()));
    m_quantities.insert(m_quantities.end(), item.text.quantities.begin(),
                        item.text.quantities.end());
    m_quantities.insert(m_quantities.end(), item.generic.quantities.begin(),
                        item.generic.quantities.end());
    m_forms.push_back(item.text.forms | item.generic.forms);
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
    auto put = [&out](int id, float similarity) {
        for (Expansion& e : out)
            if (e.id == id) {
                e.similarity = std::max(e.similarity, similarity);
                return;
            }
        out.push_back({id, similarity});
    };
    if (const int id = idOf(word); id >= 0)
        put(id, 1.0f);
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
                    put(it->second, d == 1 ? 0.85f : 0.7f);
            }
        }
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
            put(*it, static_cast<float>(0.55 + 0.35 * double(word.size()) / double(w.size())));
            ++taken;
        }
    }
    for (size_t len = 4; len < word.size(); ++len)
        if (const int id = idOf(word.substr(0, len)); id >= 0)
            put(id, static_cast<float>(0.55 + 0.35 * double(len) / double(word.size())));
}

std::optional<double> Ranker::rarity(const std::string& word) const {
    const int id = idOf(word);
    if (id < 0)
        return std::nullopt;
    return idf(id);
}

std::vector<Ranker::QueryWord> Ranker::expand(const ItemText& query, const Learning* learning,
                                              const Ranker* querySide) const {
    std::vector<QueryWord> out;
    std::vector<std::string> seen;
    const double unseen = 0.25 * std::log(1.0 + double(std::max(1, size())));
    for (const Analysis* part : {&query.generic, &query.text}) {
        for (const Word& w : part->words) {
            if (std::find(seen.begin(), seen.end(), w.text) != seen.end())
                continue;
            seen.push_back(w.text);
            QueryWord q;
            q.generic = part == &query.generic;
            addSimilar(w.text, q.matches);
            if (learning && w.kind == WordKind::Plain) {
                const auto& partners = m_side == Side::Hospital ? learning->forReferenceWord(w.text)
                                                                : learning->forHospitalWord(w.text);
                for (const auto& [partner, strength] : partners)
                    if (const int id = idOf(partner); id >= 0) {
                        auto it = std::find_if(q.matches.begin(), q.matches.end(),
                                               [id](const Expansion& e) { return e.id == id; });
                        if (it == q.matches.end())
                            q.matches.push_back({id, strength});
                        else
                            it->similarity = std::max(it->similarity, strength);
                    }
            }
            double base = unseen;
            for (const Expansion& e : q.matches)
                base = std::max(base, e.similarity >= 1.0f ? idf(e.id) : 0.0);
            if (q.matches.size() && base == unseen) {
                // Found only as a near word: as rare as what it was found as, a little less sure.
                double best = 0;
                for (const Expansion& e : q.matches)
                    best = std::max(best, idf(e.id) * e.similarity);
                base = std::max(unseen, best);
            }
            if (querySide)
                if (const auto own = querySide->rarity(w.text))
                    base = std::sqrt(base * *own);
            q.weight = static_cast<float>(base * kindFactor(w.kind));
            out.push_back(std::move(q));
        }
    }
    return out;
}

double Ranker::score(const std::vector<QueryWord>& words, const ItemText& query, int item) const {
    const std::uint32_t from = m_wordStart[item], to = m_wordStart[item + 1];
    auto similarity = [](const QueryWord& q, int id) {
        float best = 0;
        for (const Expansion& e : q.matches)
            if (e.id == id)
                best = std::max(best, e.similarity);
        return best;
    };
    double found = 0, wanted = 0;
    for (const QueryWord& q : words) {
        float best = 0;
        for (std::uint32_t k = from; k < to; ++k)
            best = std::max(best, similarity(q, m_itemWords[k].id));
        found += q.weight * best;
        wanted += q.weight;
    }
    // The item's own words: a brand name is no fault when the generic name says it all.
    std::vector<float> matched(to - from);
    bool hasGeneric = false, genericFound = true;
    for (std::uint32_t k = from; k < to; ++k) {
        float best = 0;
        for (const QueryWord& q : words)
            best = std::max(best, similarity(q, m_itemWords[k].id));
        matched[k - from] = best;
        if (m_itemWords[k].generic && m_itemWords[k].kind == WordKind::Plain) {
            hasGeneric = true;
            genericFound = genericFound && best >= 0.8f;
        }
    }
    double own = 0, ownFound = 0;
    for (std::uint32_t k = from; k < to; ++k) {
        const ItemWord& w = m_itemWords[k];
        double weight = idf(w.id) * kindFactor(w.kind);
        if (hasGeneric && genericFound && !w.generic && matched[k - from] < 0.5f)
            weight *= 0.3;
        own += weight;
        ownFound += weight * matched[k - from];
    }
    if (wanted <= 0 || own <= 0)
        return 0;
    const double text = 0.6 * (found / wanted) + 0.4 * (ownFound / own);
    std::vector<Quantity> queryQuantities = query.text.quantities;
    queryQuantities.insert(queryQuantities.end(), query.generic.quantities.begin(),
                           query.generic.quantities.end());
    const std::vector<Quantity> itemQuantities(m_quantities.begin() + m_quantityStart[item],
                                               m_quantities.begin() + m_quantityStart[item + 1]);
    return text * quantityAgreement(queryQuantities, itemQuantities) *
           formAgreement(query.text.forms | query.generic.forms, m_forms[item]);
}

std::vector<Ranker::Hit> Ranker::rank(const ItemText& query, int limit, const Learning* learning,
                                      const std::function<bool(int)>& accept,
                                      const std::function<double(int, double)>& adjust,
                                      const Ranker* querySide) const {
    std::vector<Hit> hits;
    if (size() == 0 || limit <= 0)
        return hits;
    const std::vector<QueryWord> words = expand(query, learning, querySide);
    // Gather the items that share a word, each with the weight it shares; the words most items
    // have are left to the scoring when rarer ones gather enough.
    std::vector<float> gathered(size(), 0.0f);
    std::vector<int> touched;
    const int common = std::max(1000, size() / 4);
    for (int pass = 0; pass < 2 && touched.empty(); ++pass) {
        for (const QueryWord& q : words)
            for (const Expansion& e : q.matches) {
                if (pass == 0 && m_df[e.id] > common)
                    continue;
                for (std::uint32_t k = m_postingStart[size_t(e.id)];
                     k < m_postingStart[size_t(e.id) + 1]; ++k) {
                    const int item = m_postingItems[k];
                    if (gathered[item] == 0.0f)
                        touched.push_back(item);
                    gathered[item] += q.weight * e.similarity + 1e-6f;
                }
            }
    }
    if (accept)
        touched.erase(
            std::remove_if(touched.begin(), touched.end(), [&](int item) { return !accept(item); }),
            touched.end());
    const size_t keep = std::max<size_t>(300, size_t(limit) * 15);
    if (touched.size() > keep) {
        std::nth_element(touched.begin(), touched.begin() + keep, touched.end(),
                         [&](int a, int b) { return gathered[a] > gathered[b]; });
        touched.resize(keep);
    }
    hits.reserve(touched.size());
    for (int item : touched) {
        double s = score(words, query, item);
        if (adjust)
            s = adjust(item, s);
        if (s > 0)
            hits.push_back({item, s});
    }
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        return a.score != b.score ? a.score > b.score : a.item < b.item;
    });
    if (hits.size() > size_t(limit))
        hits.resize(limit);
    return hits;
}

} // namespace suggest

// The ranking: a PhilHealth item and a hospital item are alike as far as the words of one are
// found among the words of the other (each word weighted by how rare it is among the ranked
// items, and by its kind), as far as their strengths and volumes agree, and as far as their
// dosage forms agree. A word is found when it is the same, one or two letters away, a beginning
// of the other (hospitals cut long names short), or a word the existing links swap for it.
#include "Ranker.h"

#include <algorithm>
#include <cmath>

namespace suggest {

namespace {

// Words longer than this are found only as they are written: a near or partial match of so long a
// word says nothing, and its comparison would cost the square of its length.
constexpr size_t longestNearWord = 40;

bool isNumberWord(const std::string& w) {
    return !w.empty() && w.find_first_not_of("0123456789.") == std::string::npos;
}

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

// How alike two words are, for the learning: the same, one letter away, or one the beginning of
// the other.
bool wordsAlike(const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    if (a.size() >= 5 && b.size() >= 5 && a.size() <= longestNearWord &&
        b.size() <= longestNearWord && editDistance(a, b, 1) <= 1)
        return true;
    const std::string& shorter = a.size() < b.size() ? a : b;
    const std::string& longer = a.size() < b.size() ? b : a;
    return shorter.size() >= 4 && longer.compare(0, shorter.size(), shorter) == 0;
}

// The words of an item that say what it is: its plain words, those of its generic name too.
std::vector<std::string> plainWords(const Analysis& a, const Analysis* generic = nullptr) {
    std::vector<std::string> out;
    for (const Analysis* part : {&a, generic}) {
        if (!part)
            continue;
        for (const Word& w : part->words)
            if (w.kind == WordKind::Plain && std::find(out.begin(), out.end(), w.text) == out.end())
                out.push_back(w.text);
    }
    return out;
}

const std::vector<std::pair<std::string, float>> noPartners;

} // namespace

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

double quantityAgreement(const std::vector<Quantity>& a, const std::vector<Quantity>& b) {
    auto pick = [](const std::vector<Quantity>& all, Quantity::Role role) {
        std::vector<const Quantity*> out;
        for (const Quantity& q : all)
            if (q.role == role)
                out.push_back(&q);
        return out;
    };
    auto found = [](const Quantity* q, const std::vector<const Quantity*>& in) {
        return std::any_of(in.begin(), in.end(), [q](const Quantity* o) { return q->sameAs(*o); });
    };
    const auto doseA = pick(a, Quantity::Dose), doseB = pick(b, Quantity::Dose);
    double agreement = 1.0;
    if (doseA.empty() != doseB.empty()) {
        agreement = 0.88;
    } else if (!doseA.empty()) {
        int inA = 0, inB = 0;
        for (const Quantity* q : doseA)
            inA += found(q, doseB);
        for (const Quantity* q : doseB)
            inB += found(q, doseA);
        if (inA == int(doseA.size()) && inB == int(doseB.size())) {
            agreement = 1.0;
        } else if (inA > 0) {
            agreement = 0.92;
        } else {
            // 250 mg/5 mL on one side, 250 mg on the other.
            auto withNumerators = [&](const std::vector<Quantity>& all, auto dose) {
                auto out = pick(all, Quantity::Numerator);
                out.insert(out.end(), dose.begin(), dose.end());
                return out;
            };
            const auto wideA = withNumerators(a, doseA), wideB = withNumerators(b, doseB);
            const bool partly = std::any_of(wideA.begin(), wideA.end(),
                                            [&](const Quantity* q) { return found(q, wideB); });
            agreement = partly ? 0.85 : 0.55;
        }
    }
    const auto packA = pick(a, Quantity::Pack), packB = pick(b, Quantity::Pack);
    if (!packA.empty() && !packB.empty() &&
        std::none_of(packA.begin(), packA.end(),
                     [&](const Quantity* q) { return found(q, packB); }))
        agreement *= 0.75;
    return agreement;
}

double formAgreement(std::uint32_t a, std::uint32_t b) {
    if (a == 0 || b == 0)
        return a == b ? 1.0 : 0.95;
    if (a & b)
        return a == b ? 1.0 : 0.98;
    if (form::families(a) & form::families(b))
        return 0.9;
    return 0.7;
}

// The learning.

void Learning::add(const ItemText& hospital, const Analysis& reference) {
    const std::vector<std::string> h = plainWords(hospital.text, &hospital.generic);
    const std::vector<std::string> r = plainWords(reference);
    std::vector<bool> hMatched(h.size()), rMatched(r.size());
    for (size_t i = 0; i < h.size(); ++i)
        for (size_t j = 0; j < r.size(); ++j)
            if (wordsAlike(h[i], r[j]))
                hMatched[i] = rMatched[j] = true;
    std::vector<std::string> hLeft, rLeft;
    for (size_t i = 0; i < h.size(); ++i)
        if (!hMatched[i])
            hLeft.push_back(h[i]);
    for (size_t j = 0; j < r.size(); ++j)
        if (!rMatched[j])
            rLeft.push_back(r[j]);
    // Many words left over on either side say too little about which goes with which.
    if (hLeft.empty() || rLeft.empty() || hLeft.size() > 3 || rLeft.size() > 4)
        return;
    const double share = 1.0 / double(hLeft.size() * rLeft.size());
    for (const std::string& hw : hLeft)
        for (const std::string& rw : rLeft) {
            m_counts[hw + '\x1f' + rw] += share;
            refresh(hw, rw);
        }
}

void Learning::refresh(const std::string& hospital, const std::string& reference) {
    const double evidence = m_counts[hospital + '\x1f' + reference];
    const float strength = static_cast<float>(std::min(0.9, evidence / (evidence + 0.5)));
    auto put = [strength](std::vector<std::pair<std::string, float>>& list,
                          const std::string& word) {
        for (auto& [w, s] : list)
            if (w == word) {
                s = strength;
                return;
            }
        list.emplace_back(word, strength);
    };
    put(m_byHospital[hospital], reference);
    put(m_byReference[reference], hospital);
}

const std::vector<std::pair<std::string, float>>&
Learning::forHospitalWord(const std::string& w) const {
    const auto it = m_byHospital.find(w);
    return it == m_byHospital.end() ? noPartners : it->second;
}

const std::vector<std::pair<std::string, float>>&
Learning::forReferenceWord(const std::string& w) const {
    const auto it = m_byReference.find(w);
    return it == m_byReference.end() ? noPartners : it->second;
}

void Learning::clear() {
    m_counts.clear();
    m_byHospital.clear();
    m_byReference.clear();
}

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

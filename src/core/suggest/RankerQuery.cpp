// The ranking of the indexed items for a query: a PhilHealth item and a hospital item are alike
// as far as the words of one are found among the words of the other (each word weighted by how
// rare it is among the ranked items, and by its kind), as far as their strengths and volumes
// agree, and as far as their dosage forms agree. A word is found when it is the same, one or two
// letters away, a beginning of the other (hospitals cut long names short), a word the existing
// links swap for it, or, where the strength and the form agree, a word of the hospital's made of
// the same letters (a brand built of its generic's name).
#include "Ranker.h"

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

// Words this alike by their letters may be one product's brand and generic; less alike words
// only order the items that share no word with the query.
constexpr double lettersAlike = 0.3;
constexpr double lettersConsidered = 0.15;
// Letters this alike count where one side names no strength.
constexpr double lettersClose = 0.45;

// A likeness of letters weighs less than a word found as it is written or near it.
float lettersSimilarity(double likeness) {
    return static_cast<float>(std::min(0.62, 0.1 + 0.7 * likeness));
}

} // namespace

Ranker::Prepared Ranker::prepare(const ItemText& query, const Options& options) const {
    Prepared p;
    p.learning = options.learning;
    p.place = options.queryPlace;
    p.quantities = query.text.quantities;
    p.quantities.insert(p.quantities.end(), query.generic.quantities.begin(),
                        query.generic.quantities.end());
    for (const Quantity& q : p.quantities)
        p.hasDose = p.hasDose || q.role == Quantity::Dose;
    p.forms = query.text.forms | query.generic.forms;
    p.higherStrength = query.text.higherStrength || query.generic.higherStrength;
    std::vector<std::string> seen;
    const double unseen = 0.25 * std::log(1.0 + double(std::max(1, size())));
    for (const Analysis* part : {&query.generic, &query.text}) {
        for (const Word& w : part->words) {
            if (std::find(seen.begin(), seen.end(), w.text) != seen.end())
                continue;
            seen.push_back(w.text);
            QueryWord q{w.text, {}, 0.0f, part == &query.generic, w.kind, w.aside};
            addSimilar(w.text, q.matches);
            if (p.learning && w.kind == WordKind::Plain) {
                const auto& partners = m_side == Side::Hospital
                                           ? p.learning->forReferenceWord(w.text)
                                           : p.learning->forHospitalWord(w.text);
                for (const auto& [partner, strength] : partners)
                    if (const int id = idOf(partner); id >= 0) {
                        auto it = std::find_if(q.matches.begin(), q.matches.end(),
                                               [id](const Expansion& e) { return e.id == id; });
                        if (it == q.matches.end())
                            q.matches.push_back({id, strength, Found::Taught});
                        else if (strength > it->similarity)
                            *it = {id, strength, Found::Taught};
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
            if (options.querySide)
                if (const auto own = options.querySide->rarity(w.text))
                    base = std::sqrt(base * *own);
            q.weight = static_cast<float>(base * kindFactor(w.kind));
            // Letters alike weigh what the word weighs: they add no weight of their own.
            if (w.kind == WordKind::Plain)
                addLetters(w.text, options, q, p);
            p.words.push_back(std::move(q));
        }
    }
    return p;
}

void Ranker::addLetters(const std::string& word, const Options& options, QueryWord& q,
                        Prepared& p) const {
    if (!comparableByLetters(word))
        return;
    // Only a word of the hospital's that the other side does not have is compared by its
    // letters: a brand, a misspelling. Two words both sides know are two things.
    if (m_side == Side::Reference && (hasWord(word) || !q.matches.empty()))
        return;
    for (const auto& [id, likeness] : m_letters.alike(word, lettersConsidered)) {
        float& best = p.likeness[id];
        best = std::max(best, likeness);
        if (likeness < lettersAlike)
            continue;
        const std::string& other = m_words[size_t(id)];
        if (m_side == Side::Hospital) {
            if (options.querySide && options.querySide->hasWord(other))
                continue;
            if (p.learning && !p.learning->forHospitalWord(other).empty())
                continue; // the links say what it stands for
        }
        if (std::none_of(q.matches.begin(), q.matches.end(),
                         [id = id](const Expansion& e) { return e.id == id; }))
            q.matches.push_back({id, lettersSimilarity(likeness), Found::Letters});
    }
}

QuantityMatch Ranker::quantityMatch(const Prepared& query, int item) const {
    const std::vector<Quantity> own(m_quantities.begin() + m_quantityStart[size_t(item)],
                                    m_quantities.begin() + m_quantityStart[size_t(item) + 1]);
    QuantityMatch m = matchQuantities(query.quantities, own);
    if (m.strength == StrengthFit::Total) {
        // "625MG" is a combination's total where the name says it is a combination (two
        // generics, or a brand read as them); beside one generic, a combination of 10 + 10 is no
        // 20 mg of it.
        auto doses = [](const std::vector<Quantity>& all) {
            return std::count_if(all.begin(), all.end(),
                                 [](const Quantity& q) { return q.role == Quantity::Dose; });
        };
        int plain = 0;
        if (doses(query.quantities) == 1) {
            for (const QueryWord& q : query.words)
                plain += q.kind == WordKind::Plain && !q.aside;
        } else {
            for (std::uint32_t k = m_wordStart[size_t(item)]; k < m_wordStart[size_t(item) + 1];
                 ++k)
                plain += m_itemWords[k].kind == WordKind::Plain && !m_itemWords[k].aside;
        }
        if (plain < 2)
            m.agreement = 0.9;
    }
    if (m.strength == StrengthFit::OneSide) {
        // A strength on one side only: "FORTE" is the higher of the strengths the other side
        // has for the medicine; no word of it, the lower.
        const bool strong = query.hasDose ? bool(m_higher[size_t(item)]) : query.higherStrength;
        const StrengthPlace place = query.hasDose ? query.place : strengthPlace(item);
        if (strong)
            m.agreement += place == StrengthPlace::Higher ? 0.02
                           : place == StrengthPlace::Only ? 0.0
                                                          : -0.04;
        else
            m.agreement += place == StrengthPlace::Lower    ? 0.005
                           : place == StrengthPlace::Higher ? -0.005
                                                            : 0.0;
    }
    return m;
}

double Ranker::score(const Prepared& query, int item, Explanation* why) const {
    const std::uint32_t from = m_wordStart[size_t(item)], to = m_wordStart[size_t(item) + 1];
    const QuantityMatch quantities = quantityMatch(query, item);
    const double forms = formAgreement(query.forms, m_forms[size_t(item)]);
    // Letters alike count where the strength and form agree; where only one side names a
    // strength, the most alike letters count still.
    const bool formsFit = formsAgree(query.forms, m_forms[size_t(item)]);
    const bool letters = strengthsAgree(quantities.strength) && formsFit;
    const bool closeLetters = letters || (quantities.strength == StrengthFit::OneSide && formsFit);
    auto counts = [&](const Expansion& e) {
        return e.how != Found::Letters || letters ||
               (closeLetters && e.similarity >= lettersSimilarity(lettersClose));
    };
    auto similarity = [&](const QueryWord& q, int id, const Expansion** how = nullptr) {
        float best = 0;
        for (const Expansion& e : q.matches)
            if (e.id == id && e.similarity > best && counts(e)) {
                best = e.similarity;
                if (how)
                    *how = &e;
            }
        return best;
    };
    // Each query word's best match among the item's words.
    std::vector<float> best(query.words.size(), 0.0f);
    // A name in two parts, one in brackets ("GENERIC (BRAND)", "BRAND (GENERIC)"): where every
    // plain word of one part is found, the other part's words that are not weigh little.
    bool partFound[2] = {true, true}, partHas[2] = {false, false};
    for (size_t i = 0; i < query.words.size(); ++i) {
        const QueryWord& q = query.words[i];
        const Expansion* how = nullptr;
        const ItemWord* matched = nullptr;
        for (std::uint32_t k = from; k < to; ++k) {
            const Expansion* e = nullptr;
            const float s = similarity(q, m_itemWords[k].id, &e);
            if (s > best[i]) {
                best[i] = s;
                how = e;
                matched = &m_itemWords[k];
            }
        }
        if (q.kind == WordKind::Plain) {
            partHas[q.aside] = true;
            partFound[q.aside] = partFound[q.aside] && best[i] >= 0.8f;
        }
        if (why && how) {
            int links = 0;
            if (how->how == Found::Taught && query.learning)
                links = m_side == Side::Hospital
                            ? query.learning->links(m_words[size_t(matched->id)], q.text)
                            : query.learning->links(q.text, m_words[size_t(matched->id)]);
            why->matches.push_back({q.text, m_words[size_t(matched->id)], how->how,
                                    matched->generic, q.generic, links, q.kind});
        }
    }
    auto speaksFor = [](const bool found[2], const bool has[2], bool aside) {
        return has[0] && has[1] && found[!aside] && has[!aside];
    };
    double found = 0, wanted = 0;
    for (size_t i = 0; i < query.words.size(); ++i) {
        const QueryWord& q = query.words[i];
        double weight = q.weight;
        if (best[i] < 0.5f && speaksFor(partFound, partHas, q.aside))
            weight *= 0.3;
        found += weight * best[i];
        wanted += weight;
    }
    // The item's own words: a brand name is no fault when the generic name says it all.
    std::vector<float> matched(to - from);
    bool hasGeneric = false, genericFound = true;
    bool ownFoundPart[2] = {true, true}, ownHas[2] = {false, false};
    for (std::uint32_t k = from; k < to; ++k) {
        float b = 0;
        for (const QueryWord& q : query.words)
            b = std::max(b, similarity(q, m_itemWords[k].id));
        matched[k - from] = b;
        const ItemWord& w = m_itemWords[k];
        if (w.generic && w.kind == WordKind::Plain) {
            hasGeneric = true;
            genericFound = genericFound && b >= 0.8f;
        }
        if (!w.generic && w.kind == WordKind::Plain) {
            ownHas[w.aside] = true;
            ownFoundPart[w.aside] = ownFoundPart[w.aside] && b >= 0.8f;
        }
    }
    double own = 0, ownFound = 0;
    for (std::uint32_t k = from; k < to; ++k) {
        const ItemWord& w = m_itemWords[k];
        double weight = idf(w.id) * kindFactor(w.kind);
        if (matched[k - from] < 0.5f && ((hasGeneric && genericFound && !w.generic) ||
                                         (!w.generic && speaksFor(ownFoundPart, ownHas, w.aside))))
            weight *= 0.3;
        own += weight;
        ownFound += weight * matched[k - from];
    }
    const double text =
        wanted <= 0 || own <= 0 ? 0.0 : 0.6 * (found / wanted) + 0.4 * (ownFound / own);
    const double s = text * quantities.agreement * forms;
    if (why) {
        why->quantity = quantities;
        why->lettersCounted = letters;
        why->score = s;
    }
    return s;
}

double Ranker::byStrength(const Prepared& query, int item) const {
    const QuantityMatch quantities = quantityMatch(query, item);
    if (!strengthsAgree(quantities.strength) || !formsAgree(query.forms, m_forms[size_t(item)]))
        return 0;
    float likeness = 0;
    for (std::uint32_t k = m_wordStart[size_t(item)]; k < m_wordStart[size_t(item) + 1]; ++k)
        if (const auto it = query.likeness.find(m_itemWords[k].id); it != query.likeness.end())
            likeness = std::max(likeness, it->second);
    return (0.1 + 0.25 * std::min(0.35, double(likeness))) * quantities.agreement *
           formAgreement(query.forms, m_forms[size_t(item)]);
}

std::vector<int> Ranker::withStrengthOf(const Prepared& query) const {
    std::vector<int> out;
    for (const Quantity& q : query.quantities) {
        const auto key = strengthKey(q);
        if (!key || q.role != Quantity::Dose)
            continue;
        auto range =
            std::equal_range(m_strengths.begin(), m_strengths.end(), std::make_pair(*key, 0),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto it = range.first; it != range.second; ++it)
            out.push_back(it->second);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::vector<Ranker::Hit> Ranker::rank(const ItemText& query, int limit,
                                      const Options& options) const {
    if (size() == 0 || limit <= 0)
        return {};
    return rankPrepared(prepare(query, options), limit, options);
}

std::vector<Ranker::Hit> Ranker::rank(const ItemText& query, int limit, const Options& options,
                                      std::vector<Explanation>& explanations) const {
    explanations.clear();
    if (size() == 0 || limit <= 0)
        return {};
    const Prepared prepared = prepare(query, options);
    std::vector<Hit> hits = rankPrepared(prepared, limit, options);
    for (const Hit& hit : hits)
        explanations.push_back(explainPrepared(prepared, hit.item));
    return hits;
}

std::vector<Ranker::Hit> Ranker::rankPrepared(const Prepared& prepared, int limit,
                                              const Options& options) const {
    std::vector<Hit> hits;
    // Gather the items that share a word, each with the weight it shares; the words most items
    // have are left to the scoring when rarer ones gather enough.
    std::vector<float> gathered(size_t(size()), 0.0f);
    std::vector<int> touched;
    const int common = std::max(1000, size() / 4);
    for (int pass = 0; pass < 2 && touched.empty(); ++pass) {
        for (const QueryWord& q : prepared.words)
            for (const Expansion& e : q.matches) {
                if (pass == 0 && m_df[size_t(e.id)] > common)
                    continue;
                for (std::uint32_t k = m_postingStart[size_t(e.id)];
                     k < m_postingStart[size_t(e.id) + 1]; ++k) {
                    const int item = m_postingItems[k];
                    if (gathered[size_t(item)] == 0.0f)
                        touched.push_back(item);
                    gathered[size_t(item)] += q.weight * e.similarity + 1e-6f;
                }
            }
    }
    if (options.accept)
        std::erase_if(touched, [&](int item) { return !options.accept(item); });
    const size_t keep = std::max<size_t>(300, size_t(limit) * 15);
    if (touched.size() > keep) {
        std::nth_element(touched.begin(), touched.begin() + std::ptrdiff_t(keep), touched.end(),
                         [&](int a, int b) { return gathered[size_t(a)] > gathered[size_t(b)]; });
        touched.resize(keep);
    }
    hits.reserve(touched.size() + size_t(limit));
    for (int item : touched) {
        double s = score(prepared, item, nullptr);
        if (options.adjust)
            s = options.adjust(item, s);
        if (s > 0)
            hits.push_back({item, s});
    }
    // The items of the query's strength and form that share no word with it, best by the
    // likeness of their letters: a list never ends empty where the other side has the strength.
    if (prepared.hasDose) {
        std::vector<Hit> alike;
        for (int item : withStrengthOf(prepared)) {
            if (gathered[size_t(item)] != 0.0f || (options.accept && !options.accept(item)))
                continue;
            double s = byStrength(prepared, item);
            if (s > 0 && options.adjust)
                s = options.adjust(item, s);
            if (s > 0)
                alike.push_back({item, s});
        }
        auto better = [](const Hit& a, const Hit& b) {
            return a.score != b.score ? a.score > b.score : a.item < b.item;
        };
        if (alike.size() > size_t(limit)) {
            std::partial_sort(alike.begin(), alike.begin() + limit, alike.end(), better);
            alike.resize(size_t(limit));
        }
        hits.insert(hits.end(), alike.begin(), alike.end());
    }
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        return a.score != b.score ? a.score > b.score : a.item < b.item;
    });
    if (hits.size() > size_t(limit))
        hits.resize(size_t(limit));
    return hits;
}

Ranker::Explanation Ranker::explainPrepared(const Prepared& prepared, int item) const {
    Explanation why;
    if (item < 0 || item >= size())
        return why;
    why.queryQuantities = prepared.quantities;
    why.itemQuantities.assign(m_quantities.begin() + m_quantityStart[size_t(item)],
                              m_quantities.begin() + m_quantityStart[size_t(item) + 1]);
    why.queryForms = prepared.forms;
    why.itemForms = m_forms[size_t(item)];
    score(prepared, item, &why);
    if (why.score <= 0 && prepared.hasDose) {
        why.matches.clear();
        why.score = byStrength(prepared, item);
        why.byStrength = why.score > 0;
    }
    return why;
}

std::vector<Ranker::Explanation> Ranker::explain(const ItemText& query,
                                                 const std::vector<int>& items,
                                                 const Options& options) const {
    std::vector<Explanation> out;
    const Prepared prepared = prepare(query, options);
    for (int item : items)
        out.push_back(explainPrepared(prepared, item));
    return out;
}

} // namespace suggest

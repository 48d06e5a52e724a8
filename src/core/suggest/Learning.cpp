// What the existing links teach: the words a hospital's name and its PhilHealth description swap.
#include "Learning.h"

#include "core/suggest/Letters.h"

#include <algorithm>

namespace suggest {

namespace {

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
            Evidence& e = m_counts[hw + '\x1f' + rw];
            e.weight += share;
            ++e.links;
            refresh(hw, rw);
        }
}

void Learning::refresh(const std::string& hospital, const std::string& reference) {
    const double evidence = m_counts[hospital + '\x1f' + reference].weight;
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

int Learning::links(const std::string& hospital, const std::string& reference) const {
    const auto it = m_counts.find(hospital + '\x1f' + reference);
    return it == m_counts.end() ? 0 : it->second.links;
}

void Learning::clear() {
    m_counts.clear();
    m_byHospital.clear();
    m_byReference.clear();
}

} // namespace suggest

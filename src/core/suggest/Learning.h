#pragma once

#include "core/suggest/Analysis.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace suggest {

// An item as the ranking reads it: the analyses of its texts. A hospital item has its name and
// description and, for a medicine, the generic name of the inventory's generic table, whose
// words say what a brand name does not.
struct ItemText {
    Analysis text;
    Analysis generic;
};

// The word pairs the existing links teach: where a hospital's name and its PhilHealth
// description use different words for one thing ("BIOGESIC" and "PARACETAMOL", "HEPA B" and
// "HEPATITIS B"), each pair with how sure the links make it (0 to 1).
class Learning {
public:
    // Learns from one link: the hospital item's wording and the PhilHealth description.
    void add(const ItemText& hospital, const Analysis& reference);
    // The PhilHealth words a hospital word stands for, and the other way round.
    const std::vector<std::pair<std::string, float>>& forHospitalWord(const std::string& w) const;
    const std::vector<std::pair<std::string, float>>& forReferenceWord(const std::string& w) const;
    // How many links taught that a hospital word stands for a PhilHealth word.
    int links(const std::string& hospital, const std::string& reference) const;
    size_t pairs() const { return m_counts.size(); }
    void clear();

private:
    void refresh(const std::string& hospital, const std::string& reference);
    struct Evidence {
        double weight = 0; // each link's share of its pairs, summed
        int links = 0;
    };
    std::unordered_map<std::string, Evidence> m_counts; // "hospital\x1freference"
    std::unordered_map<std::string, std::vector<std::pair<std::string, float>>> m_byHospital;
    std::unordered_map<std::string, std::vector<std::pair<std::string, float>>> m_byReference;
};

} // namespace suggest

#pragma once

#include "core/suggest/Agreement.h"
#include "core/suggest/Analysis.h"
#include "core/suggest/Learning.h"
#include "core/suggest/Letters.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace suggest {

// The items of one side (the hospital's, or a reference table's), indexed by their words, and the
// ranking of them for an item of the other side. Scores run from 0 to 1.
class Ranker {
public:
    // Which side the ranked items are: learned pairs are read in the direction that fits.
    enum class Side { Hospital, Reference };

    explicit Ranker(Side side = Side::Hospital)
        : m_side(side) {}

    void build(const std::vector<ItemText>& items);
    // The same in steps, for items analysed a part at a time: begin, add each in order, finish.
    void begin(size_t expected);
    void add(const ItemText& item);
    void finish();
    int size() const { return static_cast<int>(m_forms.size()); }

    struct Hit {
        int item;
        double score;
    };
    // The best `limit` items for the query, best first. `accept` leaves items out; `adjust` may
    // change an item's score (a routing's preference) before the order is made.
    // `querySide`, the items of the query's own side when they are at hand, tells which of the
    // query's words are rare there too: a word most items of that side have says little about
    // which of them the query is.
    std::vector<Hit> rank(const ItemText& query, int limit, const Learning* learning,
                          const std::function<bool(int)>& accept = {},
                          const std::function<double(int, double)>& adjust = {},
                          const Ranker* querySide = nullptr) const;

private:
    struct Expansion {
        int id;
        float similarity;
    };
    struct QueryWord {
        std::vector<Expansion> matches;
        float weight;
        bool generic;
    };
    int idOf(const std::string& word) const;
    double idf(int id) const;
    std::vector<QueryWord> expand(const ItemText& query, const Learning* learning,
                                  const Ranker* querySide) const;
    // A word's rarity among these items, when they have it.
    std::optional<double> rarity(const std::string& word) const;
    void addSimilar(const std::string& word, std::vector<Expansion>& out) const;
    double score(const std::vector<QueryWord>& words, const ItemText& query, int item) const;

    Side m_side;
    std::unordered_map<std::string, int> m_ids; // while the index is built
    std::vector<std::string> m_words;
    std::vector<int> m_df;
    std::vector<std::uint32_t> m_postingStart;
    std::vector<int> m_postingItems;
    // Every word of length 5 and more, once with each letter left out: a word one or two
    // letters away from another shares such a variant with it.
    std::vector<std::pair<std::uint64_t, int>> m_variants;
    // The words in alphabetical order, for the words that begin with a given word.
    std::vector<int> m_sorted;
    // The items: their words (id, kind, and whether the word is of the generic name), their
    // quantities and forms.
    struct ItemWord {
        int id;
        WordKind kind;
        bool generic;
    };
    std::vector<ItemWord> m_itemWords;
    std::vector<std::uint32_t> m_wordStart;
    std::vector<Quantity> m_quantities;
    std::vector<std::uint32_t> m_quantityStart;
    std::vector<std::uint32_t> m_forms;
};

} // namespace suggest

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

// How a word of a query was found among an item's words.
enum class Found : std::uint8_t {
    Same,
    Near,      // one or two letters away
    Beginning, // one the beginning of the other ("CEFUROX", "CEFUROXIME")
    Taught,    // a word the existing links swap for it
    Letters,   // alike by the letters they share ("CELEBRIX", "CELECOXIB")
};

// The items of one side (the hospital's, or a reference table's), indexed by their words, and the
// ranking of them for an item of the other side. Scores run from 0 to 1.
class Ranker {
public:
    // Which side the ranked items are: learned pairs are read in the direction that fits, and
    // only the hospital's words are compared by their letters.
    enum class Side { Hospital, Reference };
    // Where an item's strength lies among the strengths of the items of its side that have its
    // words and its form: what a "FORTE" without a strength, or a strength left out, points at.
    enum class StrengthPlace : std::uint8_t { Only, Lower, Middle, Higher };

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
    // What a ranking is given besides its query.
    struct Options {
        const Learning* learning = nullptr;
        // Leaves items out.
        std::function<bool(int)> accept;
        // May change an item's score (a routing's preference) before the order is made.
        std::function<double(int, double)> adjust;
        // The items of the query's own side, when they are at hand. It tells which of the
        // query's words are rare there too (a word most items of that side have says little
        // about which of them the query is), and which words of the hospital's the other side
        // lacks: only those are compared by their letters.
        const Ranker* querySide = nullptr;
        // Where the query's strength lies among its own side's.
        StrengthPlace queryPlace = StrengthPlace::Only;
    };
    // The best `limit` items for the query, best first. Where the query names a strength, the
    // items that share no word with it but agree in strength and form come after those that
    // do, best by the likeness of their letters, scored under 0.2.
    std::vector<Hit> rank(const ItemText& query, int limit, const Options& options) const;
    std::vector<Hit> rank(const ItemText& query, int limit, const Learning* learning,
                          const std::function<bool(int)>& accept = {},
                          const std::function<double(int, double)>& adjust = {},
                          const Ranker* querySide = nullptr) const {
        return rank(query, limit, Options{learning, accept, adjust, querySide});
    }

    // What made an item's score for a query.
    struct Explanation {
        struct Match {
            std::string queryWord, itemWord;
            Found how;
            bool itemGeneric;  // the item's word is of its generic name
            bool queryGeneric; // the query's word is of its generic name
            int links;         // for a taught pair, how many links taught it
            WordKind kind;     // the query's word's kind
        };
        std::vector<Match> matches; // for each query word found, its best match
        QuantityMatch quantity;
        std::vector<Quantity> queryQuantities, itemQuantities;
        std::uint32_t queryForms = 0, itemForms = 0;
        // Letters alike counted only where the strength and the form agree.
        bool lettersCounted = false;
        // No word in common: the item came for its strength and form.
        bool byStrength = false;
        double score = 0;
    };
    // The ranking and, for each hit, what made its score.
    std::vector<Hit> rank(const ItemText& query, int limit, const Options& options,
                          std::vector<Explanation>& explanations) const;
    // The explanations of the items' scores for one query, in the order of `items`.
    std::vector<Explanation> explain(const ItemText& query, const std::vector<int>& items,
                                     const Options& options) const;
    Explanation explain(const ItemText& query, int item, const Options& options) const {
        return explain(query, std::vector<int>{item}, options).front();
    }

    StrengthPlace strengthPlace(int item) const { return StrengthPlace(m_places[size_t(item)]); }
    bool hasWord(const std::string& word) const { return idOf(word) >= 0; }

private:
    struct Expansion {
        int id;
        float similarity;
        Found how;
    };
    struct QueryWord {
        std::string text;
        std::vector<Expansion> matches;
        float weight;
        bool generic;
        WordKind kind;
        bool aside;
    };
    // A query made ready for scoring.
    struct Prepared {
        std::vector<QueryWord> words;
        std::vector<Quantity> quantities;
        std::uint32_t forms = 0;
        bool hasDose = false;
        bool higherStrength = false;
        StrengthPlace place = StrengthPlace::Only;
        const Learning* learning = nullptr;
        // The item words alike to a query word by their letters, and how alike, for the items
        // that share no word with the query.
        std::unordered_map<int, float> likeness;
    };
    Prepared prepare(const ItemText& query, const Options& options) const;
    std::vector<Hit> rankPrepared(const Prepared& query, int limit, const Options& options) const;
    Explanation explainPrepared(const Prepared& query, int item) const;
    void addLetters(const std::string& word, const Options& options, QueryWord& q,
                    Prepared& p) const;
    int idOf(const std::string& word) const;
    double idf(int id) const;
    // A word's rarity among these items, when they have it.
    std::optional<double> rarity(const std::string& word) const;
    void addSimilar(const std::string& word, std::vector<Expansion>& out) const;
    double score(const Prepared& query, int item, Explanation* why) const;
    // The score of an item that shares no word with the query: its strength and form agree, and
    // its words' letters are as alike as `likeness`.
    double byStrength(const Prepared& query, int item) const;
    QuantityMatch quantityMatch(const Prepared& query, int item) const;
    // A strength as a key of the index by strengths: its dimension, whether it is a
    // concentration, and its value to a thousandth: a dose, a total, or a ratio's numerator (what
    // an ampule holds may be all the other side names). Nothing for a pack.
    static std::optional<std::uint64_t> strengthKey(const Quantity& q);
    // The items that have one of the query's strengths.
    std::vector<int> withStrengthOf(const Prepared& query) const;
    void findStrengthPlaces();

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
    // The plain words by their runs of letters, and by how they sound (a hash of the key).
    LetterIndex m_letters;
    std::vector<std::pair<std::uint64_t, int>> m_sounds;
    // The items: their words (id, kind, and whether the word is of the generic name), their
    // quantities and forms.
    struct ItemWord {
        int id;
        WordKind kind;
        bool generic;
        bool aside; // written in brackets
    };
    std::vector<ItemWord> m_itemWords;
    std::vector<std::uint32_t> m_wordStart;
    std::vector<Quantity> m_quantities;
    std::vector<std::uint32_t> m_quantityStart;
    std::vector<std::uint32_t> m_forms;
    // Each item's strength place, and whether it says "FORTE" without a strength.
    std::vector<std::uint8_t> m_places;
    std::vector<bool> m_higher;
    // The items by their strengths: a strength's key and an item, in the order of the keys.
    std::vector<std::pair<std::uint64_t, int>> m_strengths;
};

} // namespace suggest

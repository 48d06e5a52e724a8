#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace suggest {

// Words longer than this are found only as they are written: a near or partial match of so long a
// word says nothing, and its comparison would cost the square of its length.
constexpr size_t longestNearWord = 40;

// Whether a word is a number ("500", "0.9").
bool isNumberWord(const std::string& w);

// How far apart two words are: letters inserted, left out, changed or swapped with the next.
int editDistance(const std::string& a, const std::string& b, int atMost);

// How alike two words are by the letters they share, from 0 to 1: the runs of three letters they
// have in common (the first run marked as the word's beginning), or the beginning they share,
// whichever says more. A brand made of its generic's letters ("CELEBRIX" of celecoxib) shares
// its beginning and a run or two; a misspelling of a long name shares most runs.
double letterLikeness(const std::string& a, const std::string& b);

// How a word sounds, as people who write it as they hear it spell it: PH and F, C and K or S,
// Z and S, V and B, Y and I are one; the vowels after the first letter and doubled letters go.
// "KARBAMAZAPIN" and "CARBAMAZEPINE" sound alike, "SIPROFLOKSASIN" and "CIPROFLOXACIN" too.
// Empty for a word too short to tell (under six letters or six sounds) or not of letters only.
std::string soundKey(const std::string& w);

// Whether a word may be compared by its letters: four letters or more, letters only.
bool comparableByLetters(const std::string& w);

// The words of an index by their runs of three letters, for the words alike by their letters.
class LetterIndex {
public:
    // Indexes the words whose `take` is true (their places in `words` are their ids).
    template <typename Take> void build(const std::vector<std::string>& words, Take take) {
        m_words = &words;
        m_postings.clear();
        m_runs.assign(words.size(), 0);
        for (size_t id = 0; id < words.size(); ++id)
            if (take(id))
                addWord(words[id], static_cast<int>(id));
        finish();
    }
    // The indexed words at least `least` alike to `word`, with their likeness, in no order.
    std::vector<std::pair<int, float>> alike(const std::string& word, double least) const;

private:
    void addWord(const std::string& word, int id);
    void finish();

    const std::vector<std::string>* m_words = nullptr;
    std::vector<std::pair<std::uint32_t, int>> m_postings; // run of three letters, word id
    std::vector<std::uint8_t> m_runs;                      // how many runs each word has
};

} // namespace suggest

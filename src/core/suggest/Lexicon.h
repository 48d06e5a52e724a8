#pragma once

#include "core/suggest/Analysis.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace suggest::lexicon {

// What the analysis knows of the words hospitals and the national lists write: the same item
// said two ways becomes the same canonical words. Built once, read by every analysis.
struct Lexicon {
    // A whole written piece ("PNSS", "D5LR", "KCL") and the words it stands for.
    std::unordered_map<std::string, std::string> pieces;
    // Units after a number: the dimension and the factor to the canonical unit.
    struct Unit {
        Quantity::Dimension dimension;
        double factor;
    };
    std::unordered_map<std::string, Unit> units;
    // Letters written before a size ("G23", "FR12"), and the word they stand for.
    std::unordered_map<std::string, std::string> sizePrefixes;
    // Words that go: "and", "of", "with" ...
    std::unordered_map<std::string, bool> dropped;
    // A run of words and the canonical words it becomes ("COMPLETE BLOOD COUNT" -> "CBC"),
    // by its first word, longest first.
    struct Phrase {
        std::vector<std::string> from;
        std::vector<std::string> to;
        bool brand = false; // a brand and its generic names
    };
    std::unordered_map<std::string, std::vector<Phrase>> phrases;
    // Dosage forms by word.
    std::unordered_map<std::string, std::uint32_t> forms;
    // The kind of a word that is not plain.
    std::unordered_map<std::string, WordKind> kinds;
};

const Lexicon& get();

// Plurals lose their "S" ("GLOVES", "TABS"); "GLASS", "VIRUS", "ANALYSIS" keep it.
void stem(std::string& word);

// Brand names of medicines and the generic names they stand for (Brands.cpp).
extern const char* const brandTable[][2];
extern const int brandCount;

} // namespace suggest::lexicon

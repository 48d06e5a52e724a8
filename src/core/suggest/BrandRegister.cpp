// The drug register's brands: which products a hospital item's name names, and which of them it
// is.
#include "BrandRegister.h"

#include "core/suggest/Agreement.h"
#include "core/suggest/Lexicon.h"
#include "core/suggest/Parallel.h"

#include <QHash>

#include <algorithm>
#include <unordered_set>

namespace suggest {

namespace {

std::string joined(const std::vector<std::string>& words, size_t from, size_t count) {
    std::string out;
    for (size_t k = from; k < from + count; ++k)
        out += (k > from ? " " : "") + words[k];
    return out;
}

bool isNumber(const std::string& w) {
    return w.find_first_not_of("0123456789") == std::string::npos;
}

// Whether a written word is one the analysis knows for something else: a form, a unit, a
// filler, a route, a salt, a pack word ("TAB", "MG", "FORTE"): no brand is such a word alone.
bool lexiconWord(std::string word) {
    const auto& lex = lexicon::get();
    lexicon::stem(word);
    return lex.forms.count(word) || lex.units.count(word) || lex.dropped.count(word) ||
           lex.kinds.count(word) || word == "FORTE" || word == "DS" || word == "SYR";
}

} // namespace

void BrandRegister::build(const std::vector<RegisteredProduct>& products) {
    m_products.assign(products.size(), Product());
    m_byBrand.clear();
    m_byFirstWord.clear();
    m_longest = 1;
    forEachInParallel(products.size(), [&](size_t i) {
        const RegisteredProduct& p = products[i];
        Product& out = m_products[i];
        out.generic = p.generic;
        out.analysis = analyse(p.generic);
        out.analysis.quantities = analyse(p.strength).quantities;
        out.analysis.forms = analyse(p.form).forms;
        out.analysis.brands.clear();
    });
    // The words of the generic names: a "brand" of those words alone is a generic's name.
    std::unordered_set<std::string> genericWords;
    for (const RegisteredProduct& p : products)
        for (std::string& w : writtenWords(p.generic))
            genericWords.insert(std::move(w));
    auto nameWord = [&](const std::string& w) {
        return genericWords.count(w) || isNumber(w) || lexiconWord(w);
    };
    for (size_t i = 0; i < products.size(); ++i) {
        const std::vector<std::string> words = writtenWords(products[i].brand);
        if (words.empty() || std::all_of(words.begin(), words.end(), nameWord))
            continue;
        if (words.size() == 1 && words[0].size() < 3)
            continue;
        m_byBrand[joined(words, 0, words.size())].push_back(int(i));
        m_longest = std::max(m_longest, words.size());
        if (words.size() > 1 && words[0].size() >= 3 && !nameWord(words[0]))
            m_byFirstWord[words[0]].push_back(int(i));
    }
    for (auto* index : {&m_byBrand, &m_byFirstWord})
        for (auto& [key, list] : *index) {
            std::sort(list.begin(), list.end());
            list.erase(std::unique(list.begin(), list.end()), list.end());
        }
}

std::optional<BrandRegister::Reading> BrandRegister::read(const QString& text,
                                                          const Analysis& written) const {
    if (m_products.empty())
        return std::nullopt;
    const std::vector<std::string> words = writtenWords(text);
    // The longest brand the name writes, the first of those; else a brand's first word.
    const std::vector<int>* found = nullptr;
    std::string brand;
    size_t after = 0; // the name's word after the brand
    for (size_t length = std::min(m_longest, words.size()); length >= 1 && !found; --length)
        for (size_t from = 0; from + length <= words.size() && !found; ++from) {
            const std::string key = joined(words, from, length);
            if (const auto it = m_byBrand.find(key); it != m_byBrand.end()) {
                found = &it->second;
                brand = key;
                after = from + length;
            }
        }
    for (size_t from = 0; from < words.size() && !found; ++from)
        if (const auto it = m_byFirstWord.find(words[from]); it != m_byFirstWord.end()) {
            found = &it->second;
            brand = words[from];
            after = from + 1;
        }
    if (!found)
        return std::nullopt;
    // A bare number beside a brand is its strength ("TORVAXEL 40").
    Analysis name = written;
    readBareStrength(name);
    // "PLUS", "FORTE", "XR" after the brand: a product of the family the register may not list.
    static const std::unordered_set<std::string> variants = {
        "PLUS", "FORTE", "DS",    "DUO",  "ADVANCE", "XR",    "SR",    "MR",    "ER", "CR",
        "XL",   "MAX",   "EXTRA", "KIDS", "JUNIOR",  "PEDIA", "PLUSS", "COMBI", "ES", "HCT"};
    const bool variant = after < words.size() && variants.count(words[after]);
    // Of the brand's products, the one whose strength and form agree best; among equals, the
    // generic most of them have.
    QHash<QString, int> generics;
    for (int p : *found)
        ++generics[m_products[size_t(p)].generic.toUpper()];
    int chosen = -1;
    double best = -1;
    for (int p : *found) {
        const Analysis& product = m_products[size_t(p)].analysis;
        const double fit = quantityAgreement(name.quantities, product.quantities) *
                               formAgreement(name.forms, product.forms) +
                           1e-4 * generics.value(m_products[size_t(p)].generic.toUpper());
        if (fit > best) {
            best = fit;
            chosen = p;
        }
    }
    Reading reading{brand, m_products[size_t(chosen)].generic, m_products[size_t(chosen)].analysis};
    // The strength and form come from the register only where the name has none and the
    // brand's products leave no doubt.
    const Analysis& product = reading.analysis;
    bool oneStrength = true, oneForm = true;
    for (int p : *found) {
        const Analysis& other = m_products[size_t(p)].analysis;
        if (!formsAgree(name.forms, other.forms))
            continue;
        oneStrength =
            oneStrength &&
            matchQuantities(other.quantities, product.quantities).strength == StrengthFit::Same;
        oneForm = oneForm && (form::families(other.forms) == form::families(product.forms));
    }
    const bool hasDose = std::any_of(name.quantities.begin(), name.quantities.end(),
                                     [](const Quantity& q) { return q.role == Quantity::Dose; });
    if (hasDose || !oneStrength || variant)
        reading.analysis.quantities.clear();
    if (name.forms != 0 || !oneForm)
        reading.analysis.forms = 0;
    return reading;
}

} // namespace suggest

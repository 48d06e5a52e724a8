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

std::uint64_t hashOf(const std::string& key) {
    std::uint64_t h = 1469598103934665603ull;
    for (char c : key) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

} // namespace

void BrandRegister::build(const std::vector<RegisteredProduct>& products) {
    m_generics.clear();
    m_products.assign(products.size(), Product());
    m_quantities.clear();
    m_byBrand.clear();
    m_byFirstWord.clear();
    m_longest = 1;
    // Each generic name analysed once.
    QHash<QString, int> generics;
    for (size_t i = 0; i < products.size(); ++i) {
        const QString key = products[i].generic.toUpper();
        auto it = generics.find(key);
        if (it == generics.end()) {
            it = generics.insert(key, int(m_generics.size()));
            m_generics.push_back({products[i].generic, Analysis()});
        }
        m_products[i].generic = *it;
    }
    forEachInParallel(m_generics.size(), [&](size_t g) {
        // The generic's words only: the strength and form are the product's.
        Analysis& a = m_generics[g].analysis;
        a = analyse(m_generics[g].text);
        a.brands.clear();
        a.quantities.clear();
        a.forms = 0;
    });
    std::vector<Analysis> strengths(products.size());
    forEachInParallel(products.size(), [&](size_t i) {
        strengths[i] = analyse(products[i].strength);
        strengths[i].forms = analyse(products[i].form).forms;
    });
    for (size_t i = 0; i < products.size(); ++i) {
        Product& p = m_products[i];
        p.forms = strengths[i].forms;
        p.firstQuantity = static_cast<std::uint32_t>(m_quantities.size());
        p.quantities = static_cast<std::uint32_t>(strengths[i].quantities.size());
        m_quantities.insert(m_quantities.end(), strengths[i].quantities.begin(),
                            strengths[i].quantities.end());
    }
    // The words of the generic names: a "brand" of those words alone is a generic's name.
    std::unordered_set<std::string> genericWords;
    for (const Generic& g : m_generics)
        for (std::string& w : writtenWords(g.text))
            genericWords.insert(std::move(w));
    auto nameWord = [&](const std::string& w) {
        return genericWords.count(w) || isNumber(w) || lexiconWord(w);
    };
    for (size_t i = 0; i < products.size(); ++i) {
        // "?" is a letter the export could not write: most often an "Ñ" ("Ni?opyrin").
        QString brand = products[i].brand;
        brand.replace(u'?', u'N');
        const std::vector<std::string> words = writtenWords(brand);
        if (words.empty() || std::all_of(words.begin(), words.end(), nameWord))
            continue;
        if (words.size() == 1 && words[0].size() < 3)
            continue;
        m_byBrand.emplace_back(hashOf(joined(words, 0, words.size())), int(i));
        m_longest = std::max(m_longest, words.size());
        if (words.size() > 1 && words[0].size() >= 3 && !nameWord(words[0]))
            m_byFirstWord.emplace_back(hashOf(words[0]), int(i));
    }
    for (auto* index : {&m_byBrand, &m_byFirstWord}) {
        std::sort(index->begin(), index->end());
        index->erase(std::unique(index->begin(), index->end()), index->end());
    }
    // A first word alone stands for a generic only where all the brands it begins have that
    // generic: a company's line ("RITEMED ...") begins brands of many.
    std::vector<std::pair<std::uint64_t, int>> kept;
    for (size_t from = 0; from < m_byFirstWord.size();) {
        size_t to = from;
        bool one = true;
        while (to < m_byFirstWord.size() && m_byFirstWord[to].first == m_byFirstWord[from].first) {
            one = one && m_products[size_t(m_byFirstWord[to].second)].generic ==
                             m_products[size_t(m_byFirstWord[from].second)].generic;
            ++to;
        }
        if (one)
            kept.insert(kept.end(), m_byFirstWord.begin() + std::ptrdiff_t(from),
                        m_byFirstWord.begin() + std::ptrdiff_t(to));
        from = to;
    }
    m_byFirstWord = std::move(kept);
    m_byBrand.shrink_to_fit();
    m_byFirstWord.shrink_to_fit();
    m_quantities.shrink_to_fit();
}

size_t BrandRegister::brands() const {
    size_t n = 0;
    for (size_t i = 0; i < m_byBrand.size(); ++i)
        n += i == 0 || m_byBrand[i].first != m_byBrand[i - 1].first;
    return n;
}

BrandRegister::Found BrandRegister::find(const std::vector<std::pair<std::uint64_t, int>>& index,
                                         const std::string& key) const {
    const std::uint64_t h = hashOf(key);
    const auto range =
        std::equal_range(index.begin(), index.end(), std::make_pair(h, 0),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    return {index.data() + (range.first - index.begin()),
            index.data() + (range.second - index.begin())};
}

std::vector<Quantity> BrandRegister::strengthOf(int product) const {
    const Product& p = m_products[size_t(product)];
    return std::vector<Quantity>(m_quantities.begin() + p.firstQuantity,
                                 m_quantities.begin() + p.firstQuantity + p.quantities);
}

std::optional<BrandRegister::Reading> BrandRegister::read(const QString& text,
                                                          const Analysis& written) const {
    if (m_products.empty())
        return std::nullopt;
    const std::vector<std::string> words = writtenWords(text);
    // The longest brand the name writes, the first of those; else a brand's first word.
    Found found;
    std::string brand;
    size_t after = 0; // the name's word after the brand
    for (size_t length = std::min(m_longest, words.size()); length >= 1 && found.empty(); --length)
        for (size_t from = 0; from + length <= words.size() && found.empty(); ++from) {
            const std::string key = joined(words, from, length);
            found = find(m_byBrand, key);
            if (!found.empty()) {
                brand = key;
                after = from + length;
            }
        }
    for (size_t from = 0; from < words.size() && found.empty(); ++from) {
        found = find(m_byFirstWord, words[from]);
        if (!found.empty()) {
            brand = words[from];
            after = from + 1;
        }
    }
    if (found.empty())
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
    std::vector<int> candidates;
    for (const auto* it = found.begin; it != found.end; ++it)
        candidates.push_back(it->second);
    QHash<int, int> generics;
    for (int p : candidates)
        ++generics[m_products[size_t(p)].generic];
    int chosen = -1;
    double best = -1;
    for (int p : candidates) {
        const double fit = quantityAgreement(name.quantities, strengthOf(p)) *
                               formAgreement(name.forms, m_products[size_t(p)].forms) +
                           1e-4 * generics.value(m_products[size_t(p)].generic);
        if (fit > best) {
            best = fit;
            chosen = p;
        }
    }
    const Product& product = m_products[size_t(chosen)];
    const Generic& generic = m_generics[size_t(product.generic)];
    Reading reading{brand, generic.text, generic.analysis};
    // The strength and form come from the register only where the name has none and the
    // brand's products leave no doubt.
    const std::vector<Quantity> strength = strengthOf(chosen);
    bool oneStrength = true, oneForm = true;
    for (int p : candidates) {
        const std::uint32_t forms = m_products[size_t(p)].forms;
        if (!formsAgree(name.forms, forms))
            continue;
        oneStrength =
            oneStrength && matchQuantities(strengthOf(p), strength).strength == StrengthFit::Same;
        oneForm = oneForm && form::families(forms) == form::families(product.forms);
    }
    const bool hasDose = std::any_of(name.quantities.begin(), name.quantities.end(),
                                     [](const Quantity& q) { return q.role == Quantity::Dose; });
    // Only a product of the name's form lends its strength ("MUCOSOLVAN DRPS" is no 30 mg tablet).
    if (!hasDose && oneStrength && !variant && formsAgree(name.forms, product.forms))
        reading.analysis.quantities = strength;
    if (name.forms == 0 && oneForm)
        reading.analysis.forms = product.forms;
    return reading;
}

} // namespace suggest

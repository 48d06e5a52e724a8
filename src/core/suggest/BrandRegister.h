#pragma once

#include "core/suggest/Analysis.h"

#include <QString>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace suggest {

// A product of the imported drug register, as the suggestions read it.
struct RegisteredProduct {
    QString brand, generic, strength, form;
};

// The brands of the drug register, for hospital items named by a brand alone. A brand found in
// an item's name stands for the register's generic name; of a brand's several products, the one
// whose strength and form agree with the item's counts. Read-only once built: the analysis of
// the hospital items asks it from several threads.
class BrandRegister {
public:
    void build(const std::vector<RegisteredProduct>& products);
    bool empty() const { return m_products.empty(); }
    size_t products() const { return m_products.size(); }
    size_t brands() const { return m_byBrand.size(); }

    // What the register says of an item's name (analysed as `name`).
    struct Reading {
        std::string brand; // as the name writes it, upper case
        QString generic;   // the register's generic name
        // The generic's words, and the product's strength and form where the name has none
        // and every product of the brand in that form has the same.
        Analysis analysis;
    };
    // Nothing when no brand of the register is in the name. A bare number beside the brand is
    // read as its strength in mg (readBareStrength), as the caller should read it too.
    std::optional<Reading> read(const QString& text, const Analysis& name) const;

private:
    struct Product {
        QString generic;
        Analysis analysis; // the generic's words; the strength's quantities, the form's forms
    };
    std::vector<Product> m_products;
    // A brand's words joined by blanks, and its products; a brand's first word, and the
    // products of the brands it begins, for a name that writes the first word alone.
    std::unordered_map<std::string, std::vector<int>> m_byBrand;
    std::unordered_map<std::string, std::vector<int>> m_byFirstWord;
    size_t m_longest = 1; // the most words a brand has
};

} // namespace suggest

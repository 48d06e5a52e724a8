#pragma once

#include "core/suggest/Analysis.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
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
    // The brand names it knows.
    size_t brands() const;

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
    // The products of a brand (or of the brands a first word begins), from the index.
    struct Found {
        const std::pair<std::uint64_t, int>* begin = nullptr;
        const std::pair<std::uint64_t, int>* end = nullptr;
        bool empty() const { return begin == end; }
    };
    Found find(const std::vector<std::pair<std::uint64_t, int>>& index,
               const std::string& key) const;
    std::vector<Quantity> strengthOf(int product) const;

    // Each generic name once, with its analysis.
    struct Generic {
        QString text;
        Analysis analysis;
    };
    std::vector<Generic> m_generics;
    // Each product: its generic, its forms, its strengths (in one array for all of them).
    struct Product {
        int generic = 0;
        std::uint32_t forms = 0;
        std::uint32_t firstQuantity = 0, quantities = 0;
    };
    std::vector<Product> m_products;
    std::vector<Quantity> m_quantities;
    // A brand's words joined by blanks, by their hash, and its products; a brand's first word
    // and the products of the brands it begins, for a name that writes the first word alone.
    std::vector<std::pair<std::uint64_t, int>> m_byBrand, m_byFirstWord;
    size_t m_longest = 1; // the most words a brand has
};

} // namespace suggest

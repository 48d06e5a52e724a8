#pragma once

#include "core/suggest/Ranker.h"

#include <QString>

#include <string>
#include <vector>

namespace suggest {

// What says what a hospital item's words stand for, beside the words themselves.
struct HospitalWording {
    enum class Generic { None, Inventory, Register };
    std::vector<BrandRead> dictionary; // brands the program's dictionary read as generics
    Generic generic = Generic::None;   // where its generic name came from
    std::string registerBrand;         // the brand the drug register knows, as written
    QString registerGeneric;           // and the register's generic for it
};

// "Why" in a few words: what made a score, for a clerk to accept or reject a proposal at a
// glance. The words found ("generic PARACETAMOL", "brand BIOGESIC = paracetamol (drug
// register)", "taught by 3 links", "letters alike: CELEBRIX ~ CELECOXIB"), then how the
// strengths and forms agree ("500 mg and tablet agree", "strength differs: 250 mg against
// 500 mg"). The hospital's side is named first in a pair. `hospitalIsQuery` tells which side of
// the explanation is the hospital's.
QString whyText(const Ranker::Explanation& why, const HospitalWording& hospital,
                bool hospitalIsQuery);

// A quantity as the explanation writes it: "500 mg", "1 g", "150 mcg", "50 mg/mL", "0.9 %",
// "60 mL", "gauge 22".
QString quantityText(const Quantity& q);
// The first form of a set as a word: "tablet", "capsule", "syrup".
QString formText(std::uint32_t forms);

} // namespace suggest

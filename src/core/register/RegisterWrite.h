#pragma once

#include "core/register/RegisterFile.h"

#include <QList>

#include <functional>

class Gateway;

namespace drugregister {

// Told after each statement how many products are written so far; returning false cancels.
using WriteProgress = std::function<bool(qsizetype done)>;

// Replaces the register with the products, in one transaction: the table and its indexes made
// when it is missing (so a cancelled first import leaves no table behind), every row deleted,
// then the products added, many a statement. Every workstation reads the new register from the
// commit on. Returns false when the progress cancelled (the transaction rolled back); raises
// DbError with the database's text, the transaction rolled back.
bool replaceRegister(Gateway& db, const QList<Product>& products,
                     const WriteProgress& progress = {});

} // namespace drugregister

#pragma once

#include <QString>

namespace text {

// A share as the lists and tooltips show it: "58%" (rounded to a whole per cent), or "-" when
// there is nothing to take a share of.
QString percent(qlonglong part, qlonglong whole);

} // namespace text

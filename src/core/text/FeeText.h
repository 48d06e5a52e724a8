#pragma once

#include <QString>

namespace fee {

// The amount a fee text stands for, as the save writes it: blanks, tabs and line feeds are
// removed, then the longest leading decimal number is read (an optional sign, digits with at
// most one ".", an optional exponent), with "." as the decimal point whatever the locale. A text
// that does not begin with a number gives 0: "1,250.00" is 1, " 12 5.5" is 125.5, "-3e2x" is
// -300. Raises DbError ("Overflow") for a number too large for a double.
double fromText(const QString& text);

} // namespace fee

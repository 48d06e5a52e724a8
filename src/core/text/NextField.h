#pragma once

#include <QString>

namespace modBrevant {

// Returns the characters of `text` before the first `delimiter` (exact, case-sensitive) and
// leaves `text` holding what follows it. Without the delimiter it returns the whole text and
// leaves `text` empty, so repeated calls yield a line's fields from left to right, then empty
// texts. There is no limit on the text's length.
QString NextField(QString& text, const QString& delimiter);

} // namespace modBrevant

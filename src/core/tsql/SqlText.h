#pragma once

#include <QString>
#include <QVariant>

namespace sql {

// The value as an SQL string literal: between single quotes, every single quote in it doubled,
// so that no value can end its literal and add SQL of its own. % and _ are left alone: in a LIKE
// pattern they keep acting as wildcards.
QString quoted(const QString& value);

// A database value as the lists show it: NULL as empty text, numbers without thousands
// separators or exponents (a fee read back from a box is the whole amount).
QString displayText(const QVariant& value);

} // namespace sql

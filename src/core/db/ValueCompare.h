#pragma once

#include <QVariant>

// Whether two values read from the database are the same. NULL equals only NULL, numbers compare
// by value and anything else as text. The two rules differ in when a text that holds a number
// counts as a number, and each caller needs its own.
// A column read again from the same row: numbers by value only when neither side was read as a
// text, since the driver reads a column the same way each time. The optimistic check of a write
// through a query uses it.
bool sameAsRead(const QVariant& a, const QVariant& b);

// A column compared with a value recorded in another table (the history of the links): numbers by
// value when either side was read as a number, since a value may come back as text from one column
// and as a number from the other (SQL Server may hand a money value over as text).
bool sameAsRecorded(const QVariant& a, const QVariant& b);

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Lists as CSV files for spreadsheets: fields separated by commas, records ended by CR LF, a
// field quoted when it holds a comma, a quote, a line break or blanks at either end (its quotes
// doubled), the file in UTF-8 with a byte-order mark so that spreadsheet programs read "Ñ" right.
namespace csv {

QString field(const QString& text);
// One record with its CR LF.
QString record(const QStringList& fields);
// The whole file's bytes: the byte-order mark, the header record, then each row.
QByteArray document(const QStringList& header, const QList<QStringList>& rows);

// Writes the file in one piece: the text goes to a temporary file beside it, renamed over the
// path only when all was written, so a failure leaves no partial file and an older file intact.
// Returns the reason of a failure, empty when the file is written.
QString writeFile(const QString& path, const QStringList& header, const QList<QStringList>& rows);

} // namespace csv

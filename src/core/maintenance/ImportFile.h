#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class Gateway;
class ReferenceAdds;

// Reading the reference lists: pipe-separated text files, one record per line, no header.
// The sample data and "b. Scan && Import" read them with these same functions.
namespace importfile {

// Reads a whole file into `bytes`. Returns why it could not be read, as the clerk is told it:
// the file system's reason and the file's path ("File not found: C:\...\ESOA_ER.csv"); empty
// when it was read.
QString readWhole(const QString& path, QByteArray& bytes);

// Whether the bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no sequence cut short.
bool isUtf8(const QByteArray& bytes);

// Text in the Windows ANSI code page (Windows-1252), as older lists are written.
QString decodeAnsi(const QByteArray& bytes);

// The text of an import file: UTF-8 when the bytes are valid UTF-8 (a byte-order mark at the
// start is skipped), else Windows-1252. So "Ñ" and "é" arrive as themselves either way.
QString decodeText(const QByteArray& bytes);

// The lines of a text: a line ends at a carriage return followed by a line feed, at a carriage
// return, or at a line feed alone. The end of the last line is optional; an empty text has no
// lines.
QStringList splitLines(const QString& text);

// The records of a file's bytes, as the import reads them.
inline QStringList readLines(const QByteArray& bytes) {
    return splitLines(decodeText(bytes));
}

// One record of a reference file. The medicine file's category is always "Medicine"; the fee
// and the charging unit are read only for the ER table. A missing field reads as empty text.
struct ReferenceRecord {
    QString code;
    QString category;
    QString description;
    QString fixedFee;
    QString chargingUnit;
};
ReferenceRecord decodeLine(QString line, const QString& fileName, const QString& table);

// The look-up that finds a code in the reference table (the import adds a code only when it
// finds none). The code is quoted, so an apostrophe in it is just a character.
QString lookupStatement(const QString& table, const QString& code);

// Adds the record to the table when the table has no row of its code yet; a row already there
// keeps all its values. The steps run as the import runs them: a step that fails is reported
// to `failed` with the database's text and the next step runs. So a failed look-up leaves the
// rowset closed and each later step reports "Operation is not allowed when the object is
// closed."; a fee the money column refuses is reported and the row is added without it.
// Given `adds`, a new code whose every field was taken waits there to be written with others
// (a row missing a field is added on its own, as before).
void mergeRecord(Gateway& gateway, const QString& table, const ReferenceRecord& record,
                 const std::function<void(const QString& description)>& failed,
                 ReferenceAdds* adds = nullptr);

// A code as SQL Server compares codes: case folded, trailing blanks dropped (= ignores them).
// Two codes of the same key are one code to the import, the checks and a list update.
QString codeKey(const QString& code);

// The columns a line fills: Code, Category and Description, and for ESOA_ER FixedFee and
// ChargingUnit.
QStringList referenceColumns(const QString& table);

} // namespace importfile

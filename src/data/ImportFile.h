#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reading the reference lists: pipe-separated text files, one record per line, no header.
namespace importfile {

// Text in the Windows ANSI code page (Windows-1252) as the import files are written.
QString decodeAnsi(const QByteArray& bytes);

// The lines of a file as a line reader takes them: a line ends at a carriage return or at a
// carriage return followed by a line feed; a line feed alone does not end a line.
QStringList splitLines(const QString& text);

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

} // namespace importfile

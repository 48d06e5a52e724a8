#pragma once

#include "core/maintenance/ImportFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <functional>

// New editions of the PhilHealth lists for the tests and the benchmark: the sample lists as the
// program's folder holds them, edited, written into a folder of the caller's.
namespace newlist {

// The lines of a list file (`name` as the import names it: "ESOA_ER") of the program's folder.
inline QStringList sampleLines(const QString& name) {
    QByteArray bytes;
    importfile::readWhole(
        QDir(QCoreApplication::applicationDirPath()).filePath(name + QStringLiteral(".csv")),
        bytes);
    return importfile::readLines(bytes);
}

// Writes the lines as the list file `name` in `folder`, each ended by CR LF.
inline bool write(const QString& folder, const QString& name, const QStringList& lines) {
    QFile f(QDir(folder).filePath(name + QStringLiteral(".csv")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (const QString& line : lines)
        f.write(line.toUtf8() + "\r\n");
    return true;
}

// A line with its field `field` (0: the code) set to `value`.
inline QString withField(const QString& line, int field, const QString& value) {
    QStringList fields = line.split(u'|');
    while (fields.size() <= field)
        fields << QString();
    fields[field] = value;
    return fields.join(u'|');
}

// The lines but those of the given codes.
inline QStringList without(const QStringList& lines, const QStringList& codes) {
    QStringList kept;
    for (const QString& line : lines)
        if (!codes.contains(line.section(u'|', 0, 0)))
            kept << line;
    return kept;
}

// A change of one field of a code's line (0: the code itself).
struct Edit {
    QString code;
    int field;
    QString value;
};
// The lines with the edits made, the dropped codes' lines left out and the added lines at the end.
inline QStringList edited(QStringList lines, const QList<Edit>& edits,
                          const QStringList& dropped = {}, const QStringList& added = {}) {
    lines = without(lines, dropped);
    for (QString& line : lines)
        for (const Edit& e : edits)
            if (line.section(u'|', 0, 0) == e.code)
                line = withField(line, e.field, e.value);
    return lines + added;
}

} // namespace newlist

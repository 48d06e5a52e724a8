#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <optional>

// A CSV file as spreadsheets read it (UTF-8 after its byte-order mark; a record ends at CR LF, LF
// or CR outside quotes; "" inside quotes is one "), read without the program's own code. One list
// of cells a record.
inline QList<QStringList> readCsvStrictly(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QString text = QString::fromUtf8(bytes);
    QList<QStringList> records;
    QStringList record;
    QString cell;
    bool quoted = false;
    bool started = false; // something of the current record has been read
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                cell += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == u'"') {
            quoted = started = true;
        } else if (c == u',') {
            record << cell;
            cell.clear();
            started = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            // A blank line is a record of no cells, as Python's csv module reads it.
            records << ((started || !cell.isEmpty()) ? (record << cell) : QStringList());
            record.clear();
            cell.clear();
            started = false;
        } else {
            cell += c;
            started = true;
        }
    }
    if (quoted)
        qFatal("%s ends inside a quoted cell", qPrintable(path));
    if (started || !cell.isEmpty())
        records << (record << cell);
    return records;
}

// The same file as Python's csv module reads it, where Python is installed (it is not on
// Windows): empty when there is no Python to ask.
inline std::optional<QList<QStringList>> readCsvWithPython(const QString& path) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(python,
                  {QStringLiteral("-c"),
                   QStringLiteral("import csv, json, sys\n"
                                  "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                  "    json.dump(list(csv.reader(f)), sys.stdout)\n"),
                   path});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        qFatal("python3 could not read %s: %s", qPrintable(path),
               process.readAllStandardError().constData());
    QList<QStringList> out;
    for (const QJsonValue& row : QJsonDocument::fromJson(process.readAllStandardOutput()).array()) {
        QStringList cells;
        for (const QJsonValue& cell : row.toArray())
            cells << cell.toString();
        out << cells;
    }
    return out;
}

// A written CSV file read back by a reader that is not the program's: the strict reader above,
// which must agree with Python's csv module wherever Python is installed.
inline QList<QStringList> readCsvBack(const QString& path) {
    const QList<QStringList> strict = readCsvStrictly(path);
    if (const auto python = readCsvWithPython(path); python && *python != strict)
        qFatal("Python reads %s otherwise than the strict reader: %lld against %lld records",
               qPrintable(path), static_cast<long long>(python->size()),
               static_cast<long long>(strict.size()));
    return strict;
}

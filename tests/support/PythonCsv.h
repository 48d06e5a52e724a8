#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QList>
#include <QProcess>
#include <QStringList>

// A CSV file as an independent parser reads it: Python's csv module, opening it as spreadsheets
// do (UTF-8 after its byte-order mark, line ends left to the parser). One list of cells a record.
inline QList<QStringList> readCsvWithPython(const QString& path) {
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                 "    json.dump(list(csv.reader(f)), sys.stdout)\n"),
                  path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        qFatal("python3 could not read %s: %s", qPrintable(path),
               python.readAllStandardError().constData());
    QList<QStringList> out;
    for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList cells;
        for (const QJsonValue& cell : row.toArray())
            cells << cell.toString();
        out << cells;
    }
    return out;
}

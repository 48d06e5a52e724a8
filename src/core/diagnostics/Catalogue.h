#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The statement file docs/statements.sql, which the core library carries as a resource: every
// statement shape the program sends to SQL Server, each with the operation that sends it. The
// database check has the server compile each one, so the shapes it compiles are those on file,
// never a copy of them.
namespace diagnostics {

struct CatalogueEntry {
    // The entry's first comment line without "-- ": the operation that sends it, and the tables.
    QString operation;
    // Its other comment lines, without "-- ".
    QStringList notes;
    // The statement on one line, without its closing ";".
    QString statement;
};

// The entries of a statement file's text. A statement ends with ";" at the end of a line; the
// comment lines right above it (after the last blank line) are its own.
QList<CatalogueEntry> catalogueEntries(const QString& text);
// The entries of the statement file the program was built with.
QList<CatalogueEntry> catalogue();

// The names that one row of the revenue catalogue gives for a department's exam table.
struct ExamNames {
    QString examTable, idField, examField, sectionField;
};

// The shape as a statement the server can compile: every ? made NULL, and <ExamTableName>,
// <IDFieldName>, <ExamFieldName> and <SectionIDFieldName> filled from the first row of `exams`
// that gives every name the shape has (a table named with its database is not taken). Nothing,
// with the reason in `why`, when no row does.
std::optional<QString> compilable(const QString& shape, const QList<ExamNames>& exams,
                                  QString* why);

} // namespace diagnostics

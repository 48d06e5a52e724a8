#include "Catalogue.h"

#include "core/tsql/Lexer.h"

#include <QFile>

namespace diagnostics {

QList<CatalogueEntry> catalogueEntries(const QString& text) {
    QList<CatalogueEntry> out;
    QStringList comments, lines;
    for (const QString& line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty()) {
            if (lines.isEmpty())
                comments.clear();
            continue;
        }
        if (trimmed.startsWith(QStringLiteral("--"))) {
            if (lines.isEmpty())
                comments << trimmed.mid(2).trimmed();
            continue;
        }
        lines << trimmed;
        if (trimmed.endsWith(u';')) {
            CatalogueEntry entry;
            entry.operation = comments.value(0);
            entry.notes = comments.mid(1);
            entry.statement = lines.join(u' ');
            entry.statement.chop(1);
            entry.statement = entry.statement.simplified();
            out << entry;
            comments.clear();
            lines.clear();
        }
    }
    return out;
}

QList<CatalogueEntry> catalogue() {
    QFile file(QStringLiteral(":/docs/statements.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return catalogueEntries(QString::fromUtf8(file.readAll()));
}

std::optional<QString> compilable(const QString& shape, const QList<ExamNames>& exams,
                                  QString* why) {
    struct Placeholder {
        const char* text;
        QString ExamNames::*name;
    };
    static const Placeholder placeholders[] = {
        {"<ExamTableName>", &ExamNames::examTable},
        {"<IDFieldName>", &ExamNames::idField},
        {"<ExamFieldName>", &ExamNames::examField},
        {"<SectionIDFieldName>", &ExamNames::sectionField},
    };
    QString text = shape;
    QList<const Placeholder*> used;
    for (const Placeholder& p : placeholders)
        if (shape.contains(QLatin1String(p.text)))
            used << &p;
    if (!used.isEmpty()) {
        const ExamNames* row = nullptr;
        for (const ExamNames& exam : exams) {
            if (exam.examTable.contains(u'.'))
                continue;
            bool all = true;
            for (const Placeholder* p : std::as_const(used))
                all = all && !(exam.*(p->name)).trimmed().isEmpty();
            if (all) {
                row = &exam;
                break;
            }
        }
        if (!row) {
            QStringList names;
            for (const Placeholder* p : std::as_const(used))
                names << QLatin1String(p->text);
            if (why)
                *why = QStringLiteral("No row of tbRevenues gives ") +
                       names.join(QStringLiteral(", ")) +
                       QStringLiteral(" (with an exam table of Build_FIle).");
            return std::nullopt;
        }
        for (const Placeholder* p : std::as_const(used))
            text.replace(QLatin1String(p->text), (row->*(p->name)).trimmed());
    }
    // The values: every ? outside a literal is NULL, which compiles wherever a value may stand.
    const tsql::Tokens tokens = tsql::tokenize(text);
    QString out;
    for (const tsql::Token& t : tokens)
        out += tsql::isPunct(t, u"?") ? QStringLiteral("NULL") : t.text;
    return out;
}

} // namespace diagnostics

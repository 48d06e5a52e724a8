#include "DatabaseCheck.h"

#include "core/diagnostics/ServerStatements.h"

namespace diagnostics {

namespace {

// How a refusal of the entry reads: a warning where the statement may fail by design.
Result refusal(const CatalogueEntry& entry, const QStringList& missingTables) {
    const QString verb = entry.statement.section(u' ', 0, 0).toUpper();
    if (verb == u"CREATE" || verb == u"ALTER" || verb == u"DROP")
        return Result::Warning;
    for (const QString& note : entry.notes)
        if (note.startsWith(QStringLiteral("may be refused:")))
            return Result::Warning;
    for (const QString& table : missingTables)
        if (entry.statement.contains(table, Qt::CaseInsensitive))
            return Result::Warning;
    return Result::Failed;
}

QString shortened(const QString& statement) {
    return statement.size() <= 300 ? statement : statement.left(300) + QStringLiteral("...");
}

} // namespace

Findings compileCatalogue(Gateway& db, const QList<CatalogueEntry>& entries,
                          const QList<ExamNames>& exams, const QStringList& missingTables) {
    const QString check = QStringLiteral("Statements compiled");
    if (entries.isEmpty())
        return {{check, Result::Failed,
                 QStringLiteral("The program holds no statement file to compile.")}};
    Findings refused;
    bool on = false, setOn = false;
    QString why;
    try {
        db.execute(statements::noexecOn());
        on = setOn = true;
        // With NOEXEC on, a SELECT returns nothing: a row means it ran, and nothing is compiled.
        if (!db.select(statements::noexecProbe()).rows.isEmpty()) {
            on = false;
            why = QStringLiteral("SET NOEXEC ON did not hold (a SELECT still ran): no statement "
                                 "was compiled.");
        }
    } catch (const DbError& e) {
        why = (on ? QStringLiteral("The probe of NOEXEC failed, so no statement was compiled: ")
                  : QStringLiteral("SET NOEXEC ON was refused, so no statement was compiled: ")) +
              e.description();
        on = false;
    }
    const QStringList control = {statements::noexecOn(), statements::noexecOff(),
                                 statements::noexecProbe()};
    int compiled = 0, total = 0, failed = 0;
    for (int i = 0; on && i < entries.size(); ++i) {
        const CatalogueEntry& entry = entries[i];
        if (control.contains(entry.statement, Qt::CaseInsensitive))
            continue;
        ++total;
        const QString what = QStringLiteral("Compile: ") + entry.operation;
        QString missing;
        const std::optional<QString> text = compilable(entry.statement, exams, &missing);
        if (!text) {
            refused << Finding{what, Result::Warning,
                               missing + QStringLiteral(" Not compiled: ") +
                                   shortened(entry.statement)};
            continue;
        }
        try {
            db.execute(*text);
            ++compiled;
        } catch (const DbError& e) {
            const Result result = refusal(entry, missingTables);
            failed += result == Result::Failed;
            refused << Finding{what, result,
                               e.description() + QStringLiteral("\r\nin: ") +
                                   shortened(entry.statement)};
        }
    }
    // Off again whatever happened: the connection goes on to run the clerks' statements.
    bool off = true;
    QString offFailure;
    try {
        db.execute(statements::noexecOff());
    } catch (const DbError& e) {
        off = false;
        offFailure = e.description();
    }
    Findings out;
    if (!why.isEmpty())
        out << Finding{check, Result::Failed, why};
    else
        out << Finding{check,
                       failed           ? Result::Failed
                       : refused.size() ? Result::Warning
                                        : Result::Ok,
                       QStringLiteral("%1 of the %2 statements on file compiled (SET NOEXEC ON, "
                                      "nothing run).")
                           .arg(compiled)
                           .arg(total)};
    out << refused;
    // Where NOEXEC was never set on, its OFF refused says nothing new.
    if (!off && setOn)
        out << Finding{check, Result::Failed,
                       QStringLiteral("SET NOEXEC OFF was refused: close the program before "
                                      "working on: ") +
                           offFailure};
    return out;
}

} // namespace diagnostics

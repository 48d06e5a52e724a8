#include "DatabaseCheck.h"

#include "core/diagnostics/Expected.h"
#include "core/diagnostics/ServerAnswers.h"
#include "core/diagnostics/ServerStatements.h"

namespace diagnostics {

namespace {

// A name the revenue catalogue gives that may stand in a statement: letters, digits and "_".
bool plainName(const QString& name) {
    if (name.isEmpty())
        return false;
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() || c == u'_'))
            return false;
    return true;
}

} // namespace

Findings checkSqlServer(Gateway& db) {
    Findings out;
    // Runs a question, read whole, and reads its answer; a refused one is a failed finding.
    auto ask = [&](const QString& check, const QString& sql, const auto& read) {
        try {
            read(db.select(sql));
        } catch (const DbError& e) {
            out << Finding{check, Result::Failed, e.description()};
        }
    };
    ask(QStringLiteral("Server version and edition"), statements::server(),
        [&](const ValueTable& t) { out << serverFinding(t); });
    ask(QStringLiteral("Login and database user"), statements::login(),
        [&](const ValueTable& t) { out << loginFinding(t); });
    ask(QStringLiteral("Collations"), statements::collations(),
        [&](const ValueTable& t) { out << collationFindings(t); });

    const QList<ExpectedTable> expected = expectedTables(Dialect::TSql);
    QStringList present, missingOptional;
    bool tablesRead = false;
    ask(QStringLiteral("Tables"), statements::columns(), [&](const ValueTable& t) {
        out << tableFindings(expected, t);
        present = presentTables(t);
        tablesRead = true;
    });
    for (const ExpectedTable& table : expected)
        if (tablesRead && !table.whenMissing.isEmpty() &&
            !present.contains(table.name, Qt::CaseInsensitive))
            missingOptional << table.name;
    ask(QStringLiteral("Indexes"), statements::indexes(),
        [&](const ValueTable& t) { out << indexFindings(expected, present, t); });
    ask(QStringLiteral("Triggers"), statements::triggers(),
        [&](const ValueTable& t) { out << triggerFindings(statements::triggerTables(), t); });

    // The exam tables the revenue catalogue names, and the names its rows give.
    QStringList examTables;
    QList<ExamNames> exams;
    ask(QStringLiteral("Exam tables of tbRevenues"), statements::examCatalogue(),
        [&](const ValueTable& t) {
            const int table = t.column(QStringLiteral("ExamTableName"));
            for (const QList<QVariant>& row : t.rows) {
                ExamNames names{
                    row.value(table).toString().trimmed(),
                    row.value(t.column(QStringLiteral("IDFieldName"))).toString(),
                    row.value(t.column(QStringLiteral("ExamFieldName"))).toString(),
                    row.value(t.column(QStringLiteral("SectionIDFieldName"))).toString()};
                if (!names.examTable.isEmpty() && !examTables.contains(names.examTable))
                    examTables << names.examTable;
                bool plain = plainName(names.examTable);
                for (const QString* name : {&names.idField, &names.examField, &names.sectionField})
                    plain = plain && (name->trimmed().isEmpty() || plainName(name->trimmed()));
                if (plain)
                    exams << names;
            }
        });
    for (const TableRights& rights : neededRights(examTables))
        ask(QStringLiteral("Rights on ") + rights.table,
            statements::rights(rights.database, rights.table),
            [&](const ValueTable& t) { out << rightsFinding(rights, t); });
    ask(QStringLiteral("Right to create tables in Build_FIle"), statements::createTableRight(),
        [&](const ValueTable& t) { out << createTableFinding(t); });

    out << compileCatalogue(db, catalogue(), exams, missingOptional);

    const bool historyPresent =
        !tablesRead || present.contains(QStringLiteral("ESOA_LINK_HISTORY"), Qt::CaseInsensitive);
    for (const QString& link : {QStringLiteral("ESOA_ITEM_LINK"), QStringLiteral("ESOA_ER_LINK")})
        out << roundTrip(db, link, historyPresent);

    try {
        out << encryptionFinding(db.select(statements::encryption()));
    } catch (const DbError& refused) {
        // sys.dm_exec_connections needs VIEW SERVER STATE; the connection's own property not.
        try {
            out << encryptionFinding(db.select(statements::encryptionOfThisConnection()));
        } catch (const DbError& e) {
            out << Finding{QStringLiteral("Encrypted connection"), Result::Failed,
                           refused.description() + QStringLiteral("\r\n") + e.description()};
        }
    }
    return out;
}

Findings checkDatabase(Gateway& db) {
    return db.backend().dialect() == Dialect::TSql ? checkSqlServer(db) : checkEmbedded(db);
}

} // namespace diagnostics

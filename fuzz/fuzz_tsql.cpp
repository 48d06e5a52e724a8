// The rewriting of T-SQL for the embedded database, on any statement: the tokens give the
// statement back, the rewriting ends without a fault, and every closed string literal of the
// statement comes out unchanged and in its order (the rewriting may add literals of its own).
#include "FuzzInput.h"

#include "core/tsql/Lexer.h"
#include "core/tsql/SqliteDialect.h"
#include "core/tsql/StatementShape.h"

namespace {

QStringList literals(const QString& sql) {
    QStringList out;
    for (const tsql::Token& t : tsql::tokenize(sql))
        // A literal left open at the end of a statement (an odd count of quotes) runs to its end
        // and takes whatever follows; the statement is refused either way.
        if (t.kind == tsql::TokenKind::String && t.text.count(u'\'') % 2 == 0)
            out << t.text;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString sql = fuzz::text(data, size);
    QString joined;
    for (const tsql::Token& t : tsql::tokenize(sql))
        joined += t.text;
    if (joined != sql)
        fuzz::fail("tokens do not give the statement back", sql);

    const QString rewritten = tsql::toSqlite(sql);
    // A CREATE statement has its column types mapped and its identity and range clauses rebuilt:
    // only the program's own fixed texts reach it, so for it the rewriting need only end well.
    for (const tsql::Token& t : tsql::tokenize(sql)) {
        if (t.kind == tsql::TokenKind::Space || t.kind == tsql::TokenKind::Comment)
            continue; // the rewriting finds the statement's first word past blanks and comments
        if (t.text.compare(QLatin1String("CREATE"), Qt::CaseInsensitive) == 0)
            return 0;
        break;
    }
    const QStringList before = literals(sql);
    const QStringList after = literals(rewritten);
    qsizetype at = 0;
    for (const QString& literal : before) {
        while (at < after.size() && after[at] != literal)
            ++at;
        if (at == after.size())
            fuzz::fail("a string literal changed", sql + QStringLiteral(" => ") + rewritten);
        ++at;
    }
    (void)tsql::selectTable(sql);

    // Lifting the value literals out keeps every other token, and each value quoted again gives
    // the literal it came from.
    const tsql::Lifted lifted = tsql::liftLiterals(sql);
    const QList<tsql::Token> from = tsql::tokenize(sql);
    const QList<tsql::Token> to = tsql::tokenize(lifted.text);
    if (from.size() != to.size())
        fuzz::fail("lifting changed the tokens", sql + QStringLiteral(" => ") + lifted.text);
    qsizetype next = 0;
    for (qsizetype i = 0; i < from.size(); ++i) {
        if (from[i].text == to[i].text)
            continue;
        const QString quoted =
            u'\'' + lifted.values.value(next++).replace(u'\'', QStringLiteral("''")) + u'\'';
        if (from[i].kind != tsql::TokenKind::String ||
            (from[i].text != quoted && from[i].text != u'N' + quoted &&
             from[i].text != u'n' + quoted))
            fuzz::fail("a lifted literal changed", sql + QStringLiteral(" => ") + lifted.text);
    }
    if (next != lifted.values.size())
        fuzz::fail("lifted values without their markers", sql);
    const QString parameters =
        tsql::markersToParameters(tsql::toSqlite(lifted.text), lifted.values.size());
    if (!parameters.isEmpty() && parameters.count(u'?') < lifted.values.size())
        fuzz::fail("markers lost in the rewriting", sql);
    return 0;
}

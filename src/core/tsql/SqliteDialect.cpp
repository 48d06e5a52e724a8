#include "SqliteDialect.h"

#include "core/tsql/Ddl.h"
#include "core/tsql/Lexer.h"
#include "core/tsql/SqlText.h"

#include <QStringList>

#include <optional>

namespace tsql {

namespace {

// database..table and database.schema.table name the table of an attached schema.
void rewriteNames(Tokens& t) {
    for (qsizetype i = 0; i + 3 < t.size(); ++i) {
        if (!isName(t[i]) || (i > 0 && isPunct(t[i - 1], u".")))
            continue;
        if (isPunct(t[i + 1], u".") && isPunct(t[i + 2], u".") && isName(t[i + 3])) {
            t.removeAt(i + 2);
        } else if (i + 4 < t.size() && isPunct(t[i + 1], u".") && isName(t[i + 2]) &&
                   isPunct(t[i + 3], u".") && isName(t[i + 4]) && sql::isDatabase(bare(t[i]))) {
            t.remove(i + 2, 2);
        }
    }
}

// WITH (NOLOCK) and the other table hints: SQLite reads without shared locks anyway.
void dropTableHints(Tokens& t) {
    static const QStringList hints = {"NOLOCK",   "READUNCOMMITTED", "ROWLOCK",  "UPDLOCK",
                                      "HOLDLOCK", "NOWAIT",          "READPAST", "TABLOCK",
                                      "PAGLOCK",  "READCOMMITTED",   "TABLOCKX"};
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (!is(t[i], u"WITH"))
            continue;
        qsizetype j = nextSig(t, i);
        if (j >= t.size() || !isPunct(t[j], u"("))
            continue;
        qsizetype k = nextSig(t, j);
        qsizetype end = -1;
        while (k < t.size() && t[k].kind == TokenKind::Word &&
               hints.contains(t[k].text, Qt::CaseInsensitive)) {
            qsizetype after = nextSig(t, k);
            if (after < t.size() && isPunct(t[after], u",")) {
                k = nextSig(t, after);
                continue;
            }
            if (after < t.size() && isPunct(t[after], u")"))
                end = after;
            break;
        }
        if (end < 0)
            continue;
        t.remove(i, end - i + 1);
        --i;
    }
}

// SELECT [DISTINCT] TOP n ... becomes SELECT [DISTINCT] ... LIMIT n.
void rewriteTop(Tokens& t) {
    const qsizetype select = findTopLevel(t, u"SELECT");
    if (select >= t.size())
        return;
    qsizetype j = nextSig(t, select);
    if (j < t.size() && (is(t[j], u"DISTINCT") || is(t[j], u"ALL")))
        j = nextSig(t, j);
    if (j >= t.size() || !is(t[j], u"TOP"))
        return;
    const qsizetype k = nextSig(t, j);
    qsizetype end = -1;
    QString limit;
    if (k < t.size() && t[k].kind == TokenKind::Number) {
        limit = t[k].text;
        end = k;
    } else if (k < t.size() && isPunct(t[k], u"(")) {
        const qsizetype m = nextSig(t, k);
        const qsizetype close = nextSig(t, m);
        if (m < t.size() && t[m].kind == TokenKind::Number && close < t.size() &&
            isPunct(t[close], u")")) {
            limit = t[m].text;
            end = close;
        }
    }
    if (end < 0)
        return;
    if (end + 1 < t.size() && t[end + 1].kind == TokenKind::Space)
        ++end;
    t.remove(j, end - j + 1);
    qsizetype last = prevSig(t, t.size());
    if (last >= 0 && isPunct(t[last], u";"))
        last = prevSig(t, last);
    t.insert(last + 1, raw(QStringLiteral(" LIMIT ") + limit));
}

// + next to a string literal, or continuing a chain of texts, joins texts.
void rewriteConcat(Tokens& t) {
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (!isPunct(t[i], u"+"))
            continue;
        qsizetype p = prevSig(t, i);
        qsizetype q = nextSig(t, i);
        bool text = (p >= 0 && t[p].kind == TokenKind::String) ||
                    (q < t.size() && t[q].kind == TokenKind::String);
        if (!text && p >= 0) {
            qsizetype pp = prevSig(t, p);
            text = pp >= 0 && isPunct(t[pp], u"||");
        }
        if (text)
            t[i] = Token{TokenKind::Punct, QStringLiteral("||")};
    }
}

QString convertTo(const QString& type, const QString& expr) {
    QString base = type.section(u'(', 0, 0).trimmed().toUpper();
    base.remove(u'[').remove(u']');
    QString params = type.section(u'(', 1).section(u')', 0, 0);
    if (base == u"DECIMAL" || base == u"NUMERIC") {
        int scale = params.section(u',', 1, 1).trimmed().toInt();
        return QStringLiteral("(CASE WHEN (%1) IS NULL THEN NULL ELSE printf('%.%2f', %1) END)")
            .arg(expr)
            .arg(scale);
    }
    if (base == u"MONEY" || base == u"SMALLMONEY")
        return QStringLiteral("ROUND(%1, 4)").arg(expr);
    if (base == u"INT" || base == u"BIGINT" || base == u"SMALLINT" || base == u"TINYINT" ||
        base == u"BIT")
        return QStringLiteral("CAST(%1 AS INTEGER)").arg(expr);
    if (base == u"FLOAT" || base == u"REAL")
        return QStringLiteral("CAST(%1 AS REAL)").arg(expr);
    return QStringLiteral("CAST(%1 AS TEXT)").arg(expr);
}

// A value of the session as a literal: NULL when it is not known.
QString sessionText(const QString& value) {
    return value.isEmpty() ? QStringLiteral("NULL") : sql::quoted(value);
}

// BEGIN TRANSACTION takes the write lock at once, as SQL Server's first write would: a
// transaction that reads before it writes never finds another writer in its way half-way.
void rewriteBegin(Tokens& t) {
    const qsizetype first = nextSig(t, -1);
    if (first >= t.size() || !is(t[first], u"BEGIN"))
        return;
    const qsizetype second = nextSig(t, first);
    if (second < t.size() && (is(t[second], u"TRANSACTION") || is(t[second], u"TRAN"))) {
        t[second] = raw(QStringLiteral("TRANSACTION"));
        t.insert(second, raw(QStringLiteral("IMMEDIATE ")));
    } else if (second >= t.size()) {
        t.insert(first + 1, raw(QStringLiteral(" IMMEDIATE TRANSACTION")));
    }
}

// The arguments of a call whose parentheses are at open and close, each trimmed; none for "()".
QStringList callArguments(const Tokens& t, qsizetype open, qsizetype close) {
    QStringList args;
    if (close > open + 1)
        for (const auto& [from, to] : listParts(t, open, close))
            args << joined(t, from, to).trimmed();
    return args;
}

// The SQLite text of a call of CONVERT, ISNULL, LEN, GETDATE, SUSER_SNAME or HOST_NAME (`name`
// in capitals) with these arguments, or nothing for a call this rewriting does not know.
std::optional<QString> sqliteCall(const QString& name, const QStringList& args,
                                  const Session& session) {
    // CONVERT keeps only its expression: a type or style that holds a text is no call this
    // rewriting knows, and is left for SQLite to judge rather than lose the text.
    bool convertible = args.size() >= 2;
    for (qsizetype a = 0; convertible && a < args.size(); ++a)
        if (a != 1)
            for (const Token& token : tokenize(args[a]))
                convertible = convertible && token.kind != TokenKind::String;
    if (name == u"CONVERT" && convertible)
        return convertTo(args[0], args[1]);
    if (name == u"ISNULL" && args.size() == 2)
        return QStringLiteral("IFNULL(%1, %2)").arg(args[0], args[1]);
    if (name == u"LEN" && args.size() == 1)
        return QStringLiteral("LENGTH(RTRIM(%1))").arg(args[0]);
    if (name == u"GETDATE" && args.isEmpty())
        return QStringLiteral("DATETIME('now', 'localtime')");
    if (name == u"SUSER_SNAME" && args.isEmpty())
        return sessionText(session.user);
    if (name == u"HOST_NAME" && args.isEmpty())
        return sessionText(session.host);
    return std::nullopt;
}

// CONVERT, ISNULL, LEN, GETDATE and the session's SUSER_SNAME and HOST_NAME, innermost first;
// @@IDENTITY, the key of the row the connection added last.
void rewriteFunctions(Tokens& t, const Session& session) {
    for (qsizetype i = t.size() - 1; i >= 0; --i) {
        if (t[i].kind != TokenKind::Word || (i > 0 && isPunct(t[i - 1], u".")))
            continue;
        const QString name = t[i].text.toUpper();
        if (name == u"@@IDENTITY") {
            t[i] = raw(QStringLiteral("last_insert_rowid()"));
            continue;
        }
        if (name != u"CONVERT" && name != u"ISNULL" && name != u"LEN" && name != u"GETDATE" &&
            name != u"SUSER_SNAME" && name != u"HOST_NAME")
            continue;
        const qsizetype open = nextSig(t, i);
        if (open >= t.size() || !isPunct(t[open], u"("))
            continue;
        const qsizetype close = matching(t, open);
        if (close >= t.size())
            continue;
        const std::optional<QString> call =
            sqliteCall(name, callArguments(t, open, close), session);
        if (!call)
            continue;
        t.remove(i, close - i + 1);
        t.insert(i, raw(*call));
    }
}

} // namespace

QString toSqlite(const QString& sql, const Session& session) {
    Tokens t = tokenize(sql);
    rewriteBegin(t);
    rewriteNames(t);
    dropTableHints(t);
    rewriteCreate(t);
    rewriteTop(t);
    rewriteConcat(t);
    rewriteFunctions(t, session);
    return joined(t, 0, t.size());
}

} // namespace tsql

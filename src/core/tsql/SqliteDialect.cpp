#include "SqliteDialect.h"

#include <QStringList>

#include <optional>

namespace tsql {

namespace {

using Tokens = QList<Token>;

bool isWordStart(QChar c) {
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#';
}
bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

// Index of the end of a quoted run that starts at `from` (the opening quote) and closes with
// `close`, a doubled `close` standing for itself; the index just after the closing quote.
qsizetype endOfQuoted(const QString& s, qsizetype from, QChar close) {
    qsizetype i = from + 1;
    while (i < s.size()) {
        if (s[i] == close) {
            if (i + 1 < s.size() && s[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return s.size();
}

bool isSpace(const Token& t) {
    return t.kind == TokenKind::Space || t.kind == TokenKind::Comment;
}
bool isName(const Token& t) {
    return t.kind == TokenKind::Word || t.kind == TokenKind::Bracketed ||
           t.kind == TokenKind::Quoted;
}
bool is(const Token& t, QStringView text) {
    return (t.kind == TokenKind::Punct || t.kind == TokenKind::Word) &&
           t.text.compare(text, Qt::CaseInsensitive) == 0;
}
bool isPunct(const Token& t, QStringView text) {
    return t.kind == TokenKind::Punct && t.text == text;
}

// A name without its brackets or quotes.
QString bare(const Token& t) {
    if (t.kind == TokenKind::Bracketed)
        return t.text.mid(1, t.text.size() - 2).replace(QStringLiteral("]]"), QStringLiteral("]"));
    if (t.kind == TokenKind::Quoted)
        return t.text.mid(1, t.text.size() - 2)
            .replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return t.text;
}

qsizetype nextSig(const Tokens& t, qsizetype i) {
    for (++i; i < t.size(); ++i)
        if (!isSpace(t[i]))
            return i;
    return t.size();
}

qsizetype prevSig(const Tokens& t, qsizetype i) {
    for (--i; i >= 0; --i)
        if (!isSpace(t[i]))
            return i;
    return -1;
}

// Index of the parenthesis that closes the one at `open`, or t.size().
qsizetype matching(const Tokens& t, qsizetype open) {
    int depth = 0;
    for (qsizetype i = open; i < t.size(); ++i) {
        if (isPunct(t[i], u"("))
            ++depth;
        else if (isPunct(t[i], u")") && --depth == 0)
            return i;
    }
    return t.size();
}

QString joined(const Tokens& t, qsizetype from, qsizetype to) {
    QString s;
    for (qsizetype i = from; i < to && i < t.size(); ++i)
        s += t[i].text;
    return s;
}

Token raw(const QString& text) {
    return Token{TokenKind::Word, text};
}

// CLUSTERED and NONCLUSTERED mean nothing to SQLite: drop them, with one of the blanks around.
void dropClustered(Tokens& t) {
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (!is(t[i], u"CLUSTERED") && !is(t[i], u"NONCLUSTERED"))
            continue;
        const bool spaceAfter = i + 1 < t.size() && t[i + 1].kind == TokenKind::Space;
        const bool spaceBefore = i > 0 && t[i - 1].kind == TokenKind::Space;
        t.remove(i, spaceAfter && spaceBefore ? 2 : 1);
        --i;
    }
}

bool isDatabase(const QString& name) {
    return name.compare(u"Build_File", Qt::CaseInsensitive) == 0 ||
           name.compare(u"Inventory", Qt::CaseInsensitive) == 0;
}

// database..table and database.schema.table name the table of an attached schema.
void rewriteNames(Tokens& t) {
    for (qsizetype i = 0; i + 3 < t.size(); ++i) {
        if (!isName(t[i]) || (i > 0 && isPunct(t[i - 1], u".")))
            continue;
        if (isPunct(t[i + 1], u".") && isPunct(t[i + 2], u".") && isName(t[i + 3])) {
            t.removeAt(i + 2);
        } else if (i + 4 < t.size() && isPunct(t[i + 1], u".") && isName(t[i + 2]) &&
                   isPunct(t[i + 3], u".") && isName(t[i + 4]) && isDatabase(bare(t[i]))) {
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
    int depth = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (isPunct(t[i], u"("))
            ++depth;
        else if (isPunct(t[i], u")"))
            --depth;
        if (depth != 0 || !is(t[i], u"SELECT"))
            continue;
        qsizetype j = nextSig(t, i);
        if (j < t.size() && (is(t[j], u"DISTINCT") || is(t[j], u"ALL")))
            j = nextSig(t, j);
        if (j >= t.size() || !is(t[j], u"TOP"))
            return;
        qsizetype k = nextSig(t, j);
        qsizetype end = -1;
        QString limit;
        if (k < t.size() && t[k].kind == TokenKind::Number) {
            limit = t[k].text;
            end = k;
        } else if (k < t.size() && isPunct(t[k], u"(")) {
            qsizetype m = nextSig(t, k);
            qsizetype close = nextSig(t, m);
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
        return;
    }
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
    if (value.isEmpty())
        return QStringLiteral("NULL");
    return u'\'' + QString(value).replace(u'\'', QStringLiteral("''")) + u'\'';
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
        qsizetype open = nextSig(t, i);
        if (open >= t.size() || !isPunct(t[open], u"("))
            continue;
        qsizetype close = matching(t, open);
        if (close >= t.size())
            continue;
        QStringList args;
        qsizetype from = open + 1;
        int depth = 0;
        for (qsizetype k = open + 1; k < close; ++k) {
            if (isPunct(t[k], u"("))
                ++depth;
            else if (isPunct(t[k], u")"))
                --depth;
            else if (depth == 0 && isPunct(t[k], u",")) {
                args << joined(t, from, k).trimmed();
                from = k + 1;
            }
        }
        if (close > open + 1)
            args << joined(t, from, close).trimmed();
        // CONVERT keeps only its expression: a type or style that holds a text is no call this
        // rewriting knows, and is left for SQLite to judge rather than lose the text.
        bool convertible = args.size() >= 2;
        for (qsizetype a = 0; convertible && a < args.size(); ++a)
            if (a != 1)
                for (const Token& token : tokenize(args[a]))
                    convertible = convertible && token.kind != TokenKind::String;
        QString out;
        if (name == u"CONVERT" && convertible)
            out = convertTo(args[0], args[1]);
        else if (name == u"ISNULL" && args.size() == 2)
            out = QStringLiteral("IFNULL(%1, %2)").arg(args[0], args[1]);
        else if (name == u"LEN" && args.size() == 1)
            out = QStringLiteral("LENGTH(RTRIM(%1))").arg(args[0]);
        else if (name == u"GETDATE" && args.isEmpty())
            out = QStringLiteral("DATETIME('now', 'localtime')");
        else if (name == u"SUSER_SNAME" && args.isEmpty())
            out = sessionText(session.user);
        else if (name == u"HOST_NAME" && args.isEmpty())
            out = sessionText(session.host);
        else
            continue;
        t.remove(i, close - i + 1);
        t.insert(i, raw(out));
    }
}

struct ColumnType {
    QString sqlite;  // the declared type in SQLite
    QString collate; // a collation clause, for texts
    QString check;   // a CHECK condition with %1 for the column, or empty
    bool identity = false;
};

ColumnType mapType(const QString& base, const QString& params, bool identity,
                   const QString& column) {
    const QString up = base.toUpper();
    ColumnType ct;
    auto range = [&](const char* lo, const char* hi, const char* kinds) {
        ct.check = QStringLiteral("typeof(%1) IN (%2) AND %1 BETWEEN %3 AND %4")
                       .arg(column, QLatin1String(kinds), QLatin1String(lo), QLatin1String(hi));
    };
    if (up == u"BIGINT" || up == u"INT" || up == u"INTEGER" || up == u"SMALLINT" ||
        up == u"TINYINT" || up == u"BIT") {
        if (identity) {
            ct.sqlite = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
            ct.identity = true;
            return ct;
        }
        ct.sqlite = up;
        if (up == u"SMALLINT")
            range("-32768", "32767", "'integer','null'");
        else if (up == u"TINYINT")
            range("0", "255", "'integer','null'");
        else if (up == u"BIT")
            range("0", "1", "'integer','null'");
        else if (up == u"INT" || up == u"INTEGER")
            range("-2147483648", "2147483647", "'integer','null'");
        else
            ct.check = QStringLiteral("typeof(%1) IN ('integer','null')").arg(column);
        return ct;
    }
    if (up == u"VARCHAR" || up == u"NVARCHAR" || up == u"CHAR" || up == u"NCHAR" || up == u"TEXT" ||
        up == u"NTEXT" || up == u"SYSNAME") {
        ct.sqlite = params.isEmpty() ? up : up + u'(' + params + u')';
        ct.collate = QStringLiteral(" COLLATE NOCASE");
        bool numeric = false;
        int length = params.trimmed().toInt(&numeric);
        if (numeric)
            ct.check = QStringLiteral("length(%1) <= %2").arg(column).arg(length);
        return ct;
    }
    if (up == u"SMALLMONEY") {
        ct.sqlite = up;
        range("-214748.3648", "214748.3647", "'integer','real','null'");
        return ct;
    }
    if (up == u"MONEY") {
        ct.sqlite = up;
        range("-922337203685477.5808", "922337203685477.5807", "'integer','real','null'");
        return ct;
    }
    if (up == u"DECIMAL" || up == u"NUMERIC" || up == u"FLOAT" || up == u"REAL") {
        ct.sqlite = params.isEmpty() ? up : up + u'(' + params + u')';
        ct.check = QStringLiteral("typeof(%1) IN ('integer','real','null')").arg(column);
        return ct;
    }
    ct.sqlite = params.isEmpty() ? up : up + u'(' + params + u')';
    return ct;
}

// One column definition (or table constraint) of a CREATE TABLE, tokens [from, to).
Tokens rewriteColumn(const Tokens& t, qsizetype from, qsizetype to) {
    Tokens seg = t.mid(from, to - from);
    qsizetype a = nextSig(seg, -1);
    if (a >= seg.size())
        return seg;
    if (seg[a].kind == TokenKind::Word &&
        QStringList{"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK", "FOREIGN", "INDEX"}.contains(
            seg[a].text, Qt::CaseInsensitive)) {
        dropClustered(seg);
        return seg;
    }
    qsizetype b = nextSig(seg, a);
    if (b >= seg.size() || !isName(seg[b]))
        return seg;
    QString base = bare(seg[b]);
    QString params;
    qsizetype typeEnd = b;
    qsizetype p = nextSig(seg, b);
    if (p < seg.size() && isPunct(seg[p], u"(")) {
        qsizetype close = matching(seg, p);
        params = joined(seg, p + 1, close).trimmed();
        typeEnd = close;
    }
    Tokens rest = seg.mid(typeEnd + 1);
    bool identity = false;
    for (qsizetype k = 0; k < rest.size(); ++k) {
        if (is(rest[k], u"IDENTITY")) {
            qsizetype open = nextSig(rest, k);
            qsizetype end = k;
            if (open < rest.size() && isPunct(rest[open], u"("))
                end = matching(rest, open);
            rest.remove(k, qMin(end, rest.size() - 1) - k + 1);
            identity = true;
            break;
        }
    }
    dropClustered(rest);
    ColumnType ct = mapType(base, params, identity, seg[a].text);
    if (ct.identity) {
        // SQLite's rowid key: PRIMARY KEY here, so drop a PRIMARY KEY the column states itself.
        for (qsizetype k = 0; k + 1 < rest.size(); ++k)
            if (is(rest[k], u"PRIMARY"))
                rest.remove(k, nextSig(rest, k) - k + 1);
    }
    Tokens out = seg.mid(0, b);
    out << raw(ct.sqlite + ct.collate);
    qsizetype tail = rest.size();
    while (tail > 0 && isSpace(rest[tail - 1]))
        --tail;
    out << rest.mid(0, tail);
    if (!ct.check.isEmpty())
        out << raw(QStringLiteral(" CHECK (") + ct.check + u')');
    out << rest.mid(tail);
    return out;
}

// Whether the tokens from `from` on hold only storage clauses (ON [PRIMARY], TEXTIMAGE_ON
// [PRIMARY]): words and names, which SQLite has no use for.
bool onlyStorageClauses(const Tokens& t, qsizetype from) {
    for (qsizetype k = from; k < t.size(); ++k)
        if (t[k].kind != TokenKind::Space && t[k].kind != TokenKind::Comment &&
            t[k].kind != TokenKind::Word && t[k].kind != TokenKind::Bracketed)
            return false;
    return true;
}

void rewriteCreateTable(Tokens& t, qsizetype tableKeyword) {
    qsizetype open = tableKeyword;
    while (open < t.size() && !isPunct(t[open], u"("))
        ++open;
    if (open >= t.size())
        return;
    qsizetype close = matching(t, open);
    if (close >= t.size())
        return;
    Tokens body;
    qsizetype from = open + 1;
    int depth = 0;
    QList<Tokens> parts;
    for (qsizetype k = open + 1; k <= close; ++k) {
        if (k < close && isPunct(t[k], u"(")) {
            ++depth;
        } else if (k < close && isPunct(t[k], u")")) {
            --depth;
        } else if (k == close || (depth == 0 && isPunct(t[k], u","))) {
            parts << rewriteColumn(t, from, k);
            from = k + 1;
        }
    }
    for (qsizetype n = 0; n < parts.size(); ++n) {
        const Tokens& part = parts[n];
        bool blank = nextSig(part, -1) >= part.size();
        if (blank && n == parts.size() - 1 && n > 0) {
            // A trailing comma before ")": T-SQL takes it, SQLite does not.
            body.removeLast();
            body << part;
            break;
        }
        body << part;
        if (n + 1 < parts.size())
            body << Token{TokenKind::Punct, QStringLiteral(",")};
    }
    // The storage clauses after the column list (ON [PRIMARY], TEXTIMAGE_ON [PRIMARY]) have no
    // meaning here and are dropped; any other text after it is kept, for SQLite to judge.
    const bool storageOnly = onlyStorageClauses(t, close + 1);
    const Tokens tail = storageOnly ? Tokens() : t.mid(close + 1);
    t = t.mid(0, open + 1) + body;
    t << Token{TokenKind::Punct, QStringLiteral(")")};
    t << tail;
}

// CREATE [UNIQUE] [NON]CLUSTERED INDEX name ON db.table (...): index names share the namespace
// of a schema's tables in SQLite, so each index is named after its table and sits in the schema.
void rewriteCreateIndex(Tokens& t) {
    dropClustered(t);
    qsizetype index = 0;
    while (index < t.size() && !is(t[index], u"INDEX"))
        ++index;
    qsizetype name = nextSig(t, index);
    qsizetype on = nextSig(t, name);
    if (on >= t.size() || !is(t[on], u"ON"))
        return;
    qsizetype tableStart = nextSig(t, on);
    qsizetype open = tableStart;
    while (open < t.size() && !isPunct(t[open], u"("))
        ++open;
    if (open >= t.size())
        return;
    QList<Token> parts;
    for (qsizetype k = tableStart; k < open; ++k) {
        if (isName(t[k]))
            parts << t[k];
        else if (!isPunct(t[k], u".") && t[k].kind != TokenKind::Space &&
                 t[k].kind != TokenKind::Comment)
            return; // no table name: left for SQLite to judge
    }
    if (parts.isEmpty())
        return;
    qsizetype close = matching(t, open);
    // As for a table, storage clauses after the column list are dropped and other text is kept.
    const bool storageOnly = onlyStorageClauses(t, close + 1);
    Tokens out = t.mid(0, name);
    QString indexName = QStringLiteral("[%1__%2]").arg(bare(parts.last()), bare(t[name]));
    if (parts.size() > 1)
        indexName = parts.first().text + u'.' + indexName;
    out << raw(indexName) << t.mid(name + 1, tableStart - name - 1);
    out << parts.last();
    out << t.mid(open, close - open + 1);
    if (!storageOnly)
        out << t.mid(close + 1);
    t = out;
}

} // namespace

QList<Token> tokenize(const QString& sql) {
    QList<Token> out;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        const qsizetype start = i;
        TokenKind kind;
        if (c.isSpace()) {
            while (i < n && sql[i].isSpace())
                ++i;
            kind = TokenKind::Space;
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            while (i < n && sql[i] != u'\n')
                ++i;
            kind = TokenKind::Comment;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            qsizetype e = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = e < 0 ? n : e + 2;
            kind = TokenKind::Comment;
        } else if (c == u'\'') {
            i = endOfQuoted(sql, i, u'\'');
            kind = TokenKind::String;
        } else if ((c == u'N' || c == u'n') && i + 1 < n && sql[i + 1] == u'\'') {
            i = endOfQuoted(sql, i + 1, u'\'');
            kind = TokenKind::String;
        } else if (c == u'[') {
            i = endOfQuoted(sql, i, u']');
            kind = TokenKind::Bracketed;
        } else if (c == u'"') {
            i = endOfQuoted(sql, i, u'"');
            kind = TokenKind::Quoted;
        } else if (c.isDigit()) {
            while (i < n && (sql[i].isDigit() || sql[i] == u'.'))
                ++i;
            if (i < n && (sql[i] == u'e' || sql[i] == u'E') && i + 1 < n &&
                (sql[i + 1].isDigit() || ((sql[i + 1] == u'+' || sql[i + 1] == u'-') && i + 2 < n &&
                                          sql[i + 2].isDigit()))) {
                i += 2;
                while (i < n && sql[i].isDigit())
                    ++i;
            }
            kind = TokenKind::Number;
        } else if (isWordStart(c)) {
            while (i < n && isWordChar(sql[i]))
                ++i;
            kind = TokenKind::Word;
        } else {
            static const QStringList pairs = {"<>", "<=", ">=", "!=", "||"};
            QString two = sql.mid(i, 2);
            i += pairs.contains(two) ? 2 : 1;
            kind = TokenKind::Punct;
        }
        out.append(Token{kind, sql.mid(start, i - start)});
    }
    return out;
}

QString toSqlite(const QString& sql, const Session& session) {
    Tokens t = tokenize(sql);
    rewriteBegin(t);
    rewriteNames(t);
    dropTableHints(t);
    qsizetype first = nextSig(t, -1);
    if (first < t.size() && is(t[first], u"CREATE")) {
        qsizetype second = nextSig(t, first);
        if (second < t.size() && is(t[second], u"TABLE"))
            rewriteCreateTable(t, second);
        else
            for (qsizetype k = second; k < t.size() && t[k].kind != TokenKind::Bracketed; ++k)
                if (is(t[k], u"INDEX")) {
                    rewriteCreateIndex(t);
                    break;
                }
    }
    rewriteTop(t);
    rewriteConcat(t);
    rewriteFunctions(t, session);
    return joined(t, 0, t.size());
}

TableName selectTable(const QString& sql) {
    const Tokens t = tokenize(sql);
    TableName name;
    int depth = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (isPunct(t[i], u"("))
            ++depth;
        else if (isPunct(t[i], u")"))
            --depth;
        if (depth != 0 || !is(t[i], u"FROM"))
            continue;
        qsizetype k = nextSig(t, i);
        QStringList parts;
        while (k < t.size() && (isName(t[k]) || isPunct(t[k], u"."))) {
            name.text += t[k].text;
            if (isName(t[k]))
                parts << bare(t[k]);
            else if (k + 1 < t.size() && isPunct(t[k + 1], u".") && !parts.isEmpty())
                parts << QString();
            ++k;
        }
        if (!parts.isEmpty()) {
            name.table = parts.last();
            if (parts.size() > 1)
                name.database = parts.first();
        }
        break;
    }
    return name;
}

namespace {

// Marker literals hold a character of the private use area, which the program's texts never do.
constexpr char16_t markerChar = u'\uE000';

QString marker(qsizetype index) {
    return QStringLiteral("'") + QChar(markerChar) + QString::number(index) + u'\'';
}

// The text of a complete string literal, or nothing for one left open.
std::optional<QString> literalText(const QString& token) {
    const qsizetype start = token.startsWith(u'\'') ? 1 : 2;
    if (token.size() < start + 1 || !token.endsWith(u'\''))
        return std::nullopt;
    QString body = token.mid(start, token.size() - start - 1);
    if (body.contains(u'\'') && body.count(u'\'') != 2 * body.count(QStringLiteral("''")))
        return std::nullopt;
    body.replace(QStringLiteral("''"), QStringLiteral("'"));
    // An empty literal is an empty text, never a NULL.
    return body.isNull() ? QStringLiteral("") : body;
}

} // namespace

Lifted liftLiterals(const QString& sql) {
    Lifted out{sql, {}, false};
    const Tokens t = tokenize(sql);
    const qsizetype first = nextSig(t, -1);
    if (first >= t.size())
        return out;
    const bool select = is(t[first], u"SELECT");
    // A transaction's start and end hold no values and leave every table as it is.
    if (is(t[first], u"BEGIN") || is(t[first], u"COMMIT") || is(t[first], u"ROLLBACK")) {
        out.data = true;
        return out;
    }
    if (!select && !is(t[first], u"INSERT") && !is(t[first], u"UPDATE") && !is(t[first], u"DELETE"))
        return out;
    out.data = true;
    if (sql.contains(QChar(markerChar)))
        return out;
    bool lifting = !select;
    QString text;
    for (const Token& token : t) {
        if (!lifting && is(token, u"WHERE"))
            lifting = true;
        std::optional<QString> value;
        if (lifting && token.kind == TokenKind::String)
            value = literalText(token.text);
        if (value) {
            // An N literal keeps its N, so that the marker never joins a literal just before it.
            text += (token.text.startsWith(u'\'') ? QString() : token.text.left(1)) +
                    marker(out.values.size());
            out.values << *value;
        } else {
            text += token.text;
        }
    }
    out.text = text;
    return out;
}

QString markersToParameters(const QString& sql, qsizetype count) {
    QString out;
    qsizetype next = 0;
    for (const Token& token : tokenize(sql)) {
        if (token.kind == TokenKind::String && token.text.contains(QChar(markerChar))) {
            const QString quoted = token.text.startsWith(u'\'') ? token.text : token.text.mid(1);
            if (next >= count || quoted != marker(next))
                return {};
            ++next;
            out += u'?';
        } else {
            out += token.text;
        }
    }
    return next == count ? out : QString();
}

} // namespace tsql

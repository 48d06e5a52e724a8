#include "Ddl.h"

#include <QStringList>

namespace tsql {

namespace {

struct ColumnType {
    QString sqlite;  // the declared type in SQLite
    QString collate; // a collation clause, for texts
    QString check;   // a CHECK condition on the column, or empty
    bool identity = false;
};

// The column holds a value of the given SQLite kinds, between the bounds.
QString rangeCheck(const QString& column, const char* lo, const char* hi, const char* kinds) {
    return QStringLiteral("typeof(%1) IN (%2) AND %1 BETWEEN %3 AND %4")
        .arg(column, QLatin1String(kinds), QLatin1String(lo), QLatin1String(hi));
}

QString withParams(const QString& type, const QString& params) {
    return params.isEmpty() ? type : type + u'(' + params + u')';
}

ColumnType integerType(const QString& up, bool identity, const QString& column) {
    ColumnType ct;
    if (identity) {
        ct.sqlite = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        ct.identity = true;
        return ct;
    }
    ct.sqlite = up;
    if (up == u"SMALLINT")
        ct.check = rangeCheck(column, "-32768", "32767", "'integer','null'");
    else if (up == u"TINYINT")
        ct.check = rangeCheck(column, "0", "255", "'integer','null'");
    else if (up == u"BIT")
        ct.check = rangeCheck(column, "0", "1", "'integer','null'");
    else if (up == u"INT" || up == u"INTEGER")
        ct.check = rangeCheck(column, "-2147483648", "2147483647", "'integer','null'");
    else
        ct.check = QStringLiteral("typeof(%1) IN ('integer','null')").arg(column);
    return ct;
}

ColumnType textType(const QString& up, const QString& params, const QString& column) {
    ColumnType ct;
    ct.sqlite = withParams(up, params);
    ct.collate = QStringLiteral(" COLLATE NOCASE");
    bool numeric = false;
    const int length = params.trimmed().toInt(&numeric);
    if (numeric)
        ct.check = QStringLiteral("length(%1) <= %2").arg(column).arg(length);
    return ct;
}

ColumnType mapType(const QString& base, const QString& params, bool identity,
                   const QString& column) {
    const QString up = base.toUpper();
    if (up == u"BIGINT" || up == u"INT" || up == u"INTEGER" || up == u"SMALLINT" ||
        up == u"TINYINT" || up == u"BIT")
        return integerType(up, identity, column);
    if (up == u"VARCHAR" || up == u"NVARCHAR" || up == u"CHAR" || up == u"NCHAR" || up == u"TEXT" ||
        up == u"NTEXT" || up == u"SYSNAME")
        return textType(up, params, column);
    ColumnType ct;
    if (up == u"SMALLMONEY") {
        ct.sqlite = up;
        ct.check = rangeCheck(column, "-214748.3648", "214748.3647", "'integer','real','null'");
    } else if (up == u"MONEY") {
        ct.sqlite = up;
        ct.check = rangeCheck(column, "-922337203685477.5808", "922337203685477.5807",
                              "'integer','real','null'");
    } else if (up == u"DECIMAL" || up == u"NUMERIC" || up == u"FLOAT" || up == u"REAL") {
        ct.sqlite = withParams(up, params);
        ct.check = QStringLiteral("typeof(%1) IN ('integer','real','null')").arg(column);
    } else {
        ct.sqlite = withParams(up, params);
    }
    return ct;
}

// Takes IDENTITY and its seed and increment out of a column's tokens; true when it was there.
bool takeIdentity(Tokens& rest) {
    for (qsizetype k = 0; k < rest.size(); ++k) {
        if (!is(rest[k], u"IDENTITY"))
            continue;
        const qsizetype open = nextSig(rest, k);
        qsizetype end = k;
        if (open < rest.size() && isPunct(rest[open], u"("))
            end = matching(rest, open);
        rest.remove(k, qMin(end, rest.size() - 1) - k + 1);
        return true;
    }
    return false;
}

// One column definition (or table constraint) of a CREATE TABLE, tokens [from, to).
Tokens rewriteColumn(const Tokens& t, qsizetype from, qsizetype to) {
    Tokens seg = t.mid(from, to - from);
    const qsizetype a = nextSig(seg, -1);
    if (a >= seg.size())
        return seg;
    if (seg[a].kind == TokenKind::Word &&
        QStringList{"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK", "FOREIGN", "INDEX"}.contains(
            seg[a].text, Qt::CaseInsensitive)) {
        dropClustered(seg);
        return seg;
    }
    const qsizetype b = nextSig(seg, a);
    if (b >= seg.size() || !isName(seg[b]))
        return seg;
    QString params;
    qsizetype typeEnd = b;
    const qsizetype p = nextSig(seg, b);
    if (p < seg.size() && isPunct(seg[p], u"(")) {
        const qsizetype close = matching(seg, p);
        params = joined(seg, p + 1, close).trimmed();
        typeEnd = close;
    }
    Tokens rest = seg.mid(typeEnd + 1);
    const bool identity = takeIdentity(rest);
    dropClustered(rest);
    const ColumnType ct = mapType(bare(seg[b]), params, identity, seg[a].text);
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
    const qsizetype close = matching(t, open);
    if (close >= t.size())
        return;
    QList<Tokens> parts;
    for (const auto& [from, to] : listParts(t, open, close))
        parts << rewriteColumn(t, from, to);
    Tokens body;
    for (qsizetype n = 0; n < parts.size(); ++n) {
        const Tokens& part = parts[n];
        const bool blank = nextSig(part, -1) >= part.size();
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
    const qsizetype name = nextSig(t, index);
    const qsizetype on = nextSig(t, name);
    if (on >= t.size() || !is(t[on], u"ON"))
        return;
    const qsizetype tableStart = nextSig(t, on);
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
    const qsizetype close = matching(t, open);
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

void rewriteCreate(Tokens& t) {
    const qsizetype first = nextSig(t, -1);
    if (first >= t.size() || !is(t[first], u"CREATE"))
        return;
    const qsizetype second = nextSig(t, first);
    if (second < t.size() && is(t[second], u"TABLE")) {
        rewriteCreateTable(t, second);
        return;
    }
    for (qsizetype k = second; k < t.size() && t[k].kind != TokenKind::Bracketed; ++k)
        if (is(t[k], u"INDEX")) {
            rewriteCreateIndex(t);
            return;
        }
}

} // namespace tsql

#include "Lexer.h"

#include <QStringList>

namespace tsql {

namespace {

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

// The end of a number that starts at `i`: digits and points, then an exponent when a digit
// follows its letter (and sign).
qsizetype endOfNumber(const QString& sql, qsizetype i) {
    const qsizetype n = sql.size();
    while (i < n && (sql[i].isDigit() || sql[i] == u'.'))
        ++i;
    if (i < n && (sql[i] == u'e' || sql[i] == u'E') && i + 1 < n &&
        (sql[i + 1].isDigit() ||
         ((sql[i + 1] == u'+' || sql[i + 1] == u'-') && i + 2 < n && sql[i + 2].isDigit()))) {
        i += 2;
        while (i < n && sql[i].isDigit())
            ++i;
    }
    return i;
}

} // namespace

TokenKind scanToken(const QString& sql, qsizetype& i) {
    const qsizetype n = sql.size();
    const QChar c = sql[i];
    if (c.isSpace()) {
        while (i < n && sql[i].isSpace())
            ++i;
        return TokenKind::Space;
    }
    if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
        while (i < n && sql[i] != u'\n')
            ++i;
        return TokenKind::Comment;
    }
    if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
        const qsizetype e = sql.indexOf(QStringLiteral("*/"), i + 2);
        i = e < 0 ? n : e + 2;
        return TokenKind::Comment;
    }
    if (c == u'\'') {
        i = endOfQuoted(sql, i, u'\'');
        return TokenKind::String;
    }
    if ((c == u'N' || c == u'n') && i + 1 < n && sql[i + 1] == u'\'') {
        i = endOfQuoted(sql, i + 1, u'\'');
        return TokenKind::String;
    }
    if (c == u'[') {
        i = endOfQuoted(sql, i, u']');
        return TokenKind::Bracketed;
    }
    if (c == u'"') {
        i = endOfQuoted(sql, i, u'"');
        return TokenKind::Quoted;
    }
    if (c.isDigit()) {
        i = endOfNumber(sql, i);
        return TokenKind::Number;
    }
    if (isWordStart(c)) {
        while (i < n && isWordChar(sql[i]))
            ++i;
        return TokenKind::Word;
    }
    // The two-character operators: <>, <=, >=, != and ||.
    const QChar next = i + 1 < n ? sql[i + 1] : QChar();
    const bool pair = (c == u'<' && (next == u'>' || next == u'=')) ||
                      ((c == u'>' || c == u'!') && next == u'=') || (c == u'|' && next == u'|');
    i += pair ? 2 : 1;
    return TokenKind::Punct;
}

Tokens tokenize(const QString& sql) {
    Tokens out;
    forEachToken(sql, [&](TokenKind kind, QStringView text) {
        out.append(Token{kind, text.toString()});
    });
    return out;
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

QString bare(const Token& t) {
    if (t.kind == TokenKind::Bracketed)
        return t.text.mid(1, t.text.size() - 2).replace(QStringLiteral("]]"), QStringLiteral("]"));
    if (t.kind == TokenKind::Quoted)
        return t.text.mid(1, t.text.size() - 2)
            .replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return t.text;
}

Token raw(const QString& text) {
    return Token{TokenKind::Word, text};
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

qsizetype findTopLevel(const Tokens& t, QStringView word) {
    int depth = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (isPunct(t[i], u"("))
            ++depth;
        else if (isPunct(t[i], u")"))
            --depth;
        if (depth == 0 && is(t[i], word))
            return i;
    }
    return t.size();
}

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

QList<std::pair<qsizetype, qsizetype>> listParts(const Tokens& t, qsizetype open, qsizetype close) {
    QList<std::pair<qsizetype, qsizetype>> parts;
    qsizetype from = open + 1;
    int depth = 0;
    for (qsizetype k = open + 1; k < close; ++k) {
        if (isPunct(t[k], u"(")) {
            ++depth;
        } else if (isPunct(t[k], u")")) {
            --depth;
        } else if (depth == 0 && isPunct(t[k], u",")) {
            parts.append({from, k});
            from = k + 1;
        }
    }
    parts.append({from, close});
    return parts;
}

} // namespace tsql

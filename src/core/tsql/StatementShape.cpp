#include "StatementShape.h"

#include "core/tsql/Lexer.h"

#include <optional>

namespace tsql {

namespace {

// Marker literals hold a character of the private use area, which the program's texts never do.
constexpr char16_t markerChar = u'\uE000';

QString marker(qsizetype index) {
    return QStringLiteral("'") + QChar(markerChar) + QString::number(index) + u'\'';
}

// The text of a complete string literal, or nothing for one left open.
std::optional<QString> literalText(QStringView token) {
    const qsizetype start = token.startsWith(u'\'') ? 1 : 2;
    if (token.size() < start + 1 || !token.endsWith(u'\''))
        return std::nullopt;
    QString body = token.sliced(start, token.size() - start - 1).toString();
    if (body.contains(u'\'') && body.count(u'\'') != 2 * body.count(QStringLiteral("''")))
        return std::nullopt;
    body.replace(QStringLiteral("''"), QStringLiteral("'"));
    // An empty literal is an empty text, never a NULL.
    return body.isNull() ? QStringLiteral("") : body;
}

bool isWord(TokenKind kind, QStringView text, QStringView word) {
    return kind == TokenKind::Word && text.compare(word, Qt::CaseInsensitive) == 0;
}

} // namespace

TableName selectTable(const QString& sql) {
    const Tokens t = tokenize(sql);
    TableName name;
    const qsizetype from = findTopLevel(t, u"FROM");
    if (from >= t.size())
        return name;
    QStringList parts;
    for (qsizetype k = nextSig(t, from); k < t.size() && (isName(t[k]) || isPunct(t[k], u"."));
         ++k) {
        name.text += t[k].text;
        if (isName(t[k]))
            parts << bare(t[k]);
        else if (k + 1 < t.size() && isPunct(t[k + 1], u".") && !parts.isEmpty())
            parts << QString();
    }
    if (!parts.isEmpty()) {
        name.table = parts.last();
        if (parts.size() > 1)
            name.database = parts.first();
    }
    return name;
}

Lifted liftLiterals(const QString& sql) {
    Lifted out{sql, {}, false};
    // What the statement is, by its first word: decided before anything is lifted.
    enum class Kind { Unknown, Select, Change, Transaction, Other } kind = Kind::Unknown;
    bool lifting = false;
    QString text;
    text.reserve(sql.size());
    forEachToken(sql, [&](TokenKind token, QStringView part) {
        if (kind == Kind::Transaction || kind == Kind::Other)
            return;
        if (kind == Kind::Unknown && token != TokenKind::Space && token != TokenKind::Comment) {
            if (isWord(token, part, u"SELECT"))
                kind = Kind::Select;
            else if (isWord(token, part, u"INSERT") || isWord(token, part, u"UPDATE") ||
                     isWord(token, part, u"DELETE"))
                kind = Kind::Change;
            else if (isWord(token, part, u"BEGIN") || isWord(token, part, u"COMMIT") ||
                     isWord(token, part, u"ROLLBACK"))
                kind = Kind::Transaction;
            else
                kind = Kind::Other;
            lifting = kind == Kind::Change;
        }
        if (!lifting && isWord(token, part, u"WHERE"))
            lifting = true;
        std::optional<QString> value;
        if (lifting && token == TokenKind::String)
            value = literalText(part);
        if (value) {
            // An N literal keeps its N, so that the marker never joins a literal just before it.
            if (!part.startsWith(u'\''))
                text += part.first(1);
            text += marker(out.values.size());
            out.values << *value;
        } else {
            text += part;
        }
    });
    // A transaction's start and end hold no values and leave every table as it is.
    if (kind == Kind::Transaction) {
        out.data = true;
        return out;
    }
    if (kind != Kind::Select && kind != Kind::Change)
        return out;
    out.data = true;
    if (sql.contains(QChar(markerChar))) {
        out.values.clear();
        return out;
    }
    out.text = text;
    return out;
}

Lifted literalsAsParameters(const QString& sql) {
    Lifted out{{}, {}, true};
    for (const Token& token : tokenize(sql)) {
        std::optional<QString> value;
        if (token.kind == TokenKind::String)
            value = literalText(token.text);
        if (value) {
            out.text += u'?';
            out.values << *value;
        } else {
            out.text += token.text;
        }
    }
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

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

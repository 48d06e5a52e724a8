#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <utility>

// The tokens of a T-SQL statement, and the small steps the rewriting passes take over them. The
// passes work on tokens, never on raw text, so string literals pass through untouched.
namespace tsql {

enum class TokenKind { Space, Comment, String, Bracketed, Quoted, Word, Number, Punct };

struct Token {
    TokenKind kind;
    QString text;
};

using Tokens = QList<Token>;

// Splits a statement into tokens; joining the texts of the tokens gives the statement back.
Tokens tokenize(const QString& sql);

// The kind of the token that starts at `i`; `i` is moved to where it ends.
TokenKind scanToken(const QString& sql, qsizetype& i);

// The same tokens as tokenize() gives, each handed to `each(kind, text)` with its text a view of
// the statement: no token is copied (the statements sent most often are read this way).
template <typename Each> void forEachToken(const QString& sql, Each&& each) {
    qsizetype i = 0;
    while (i < sql.size()) {
        const qsizetype start = i;
        const TokenKind kind = scanToken(sql, i);
        each(kind, QStringView(sql).sliced(start, i - start));
    }
}

// Blanks and comments.
bool isSpace(const Token& t);
// A word, or a name in brackets or double quotes.
bool isName(const Token& t);
// A word or punctuation of that text, regardless of case.
bool is(const Token& t, QStringView text);
// Punctuation of exactly that text.
bool isPunct(const Token& t, QStringView text);
// A name without its brackets or quotes.
QString bare(const Token& t);
// Text put in as it is, as one token.
Token raw(const QString& text);

// The next and the previous token that is neither blank nor comment: t.size() and -1 when none.
qsizetype nextSig(const Tokens& t, qsizetype i);
qsizetype prevSig(const Tokens& t, qsizetype i);
// Index of the first word `word` outside any parentheses, or t.size().
qsizetype findTopLevel(const Tokens& t, QStringView word);
// Index of the parenthesis that closes the one at `open`, or t.size().
qsizetype matching(const Tokens& t, qsizetype open);
// The texts of the tokens [from, to) joined.
QString joined(const Tokens& t, qsizetype from, qsizetype to);
// The parts between the commas of a parenthesised list (open and close are its parentheses);
// commas inside nested parentheses do not cut. Each part is the token range [first, second).
QList<std::pair<qsizetype, qsizetype>> listParts(const Tokens& t, qsizetype open, qsizetype close);

} // namespace tsql

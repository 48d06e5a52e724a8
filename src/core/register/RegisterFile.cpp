#include "RegisterFile.h"

#include "core/maintenance/ImportFile.h"
#include "core/register/RegisterStatements.h"

#include <QSet>
#include <QStringView>

#include <algorithm>
#include <array>

namespace drugregister {

namespace {

bool isLineBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

// The records of a CSV text, read one at a time.
class Records {
public:
    explicit Records(QStringView text)
        : m_text(text) {}

    // Reads the next record into `fields`, unquoted: the fields `keep` marks (every field when it
    // is empty) as written, the others as null texts, which costs nothing for the long columns
    // the import passes over. False at the end of the text.
    bool next(QList<QString>& fields, const QList<bool>& keep);
    qsizetype position() const { return m_pos; }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

bool Records::next(QList<QString>& fields, const QList<bool>& keep) {
    fields.clear();
    const qsizetype n = m_text.size();
    if (m_pos >= n)
        return false;
    const QChar* s = m_text.data();
    for (qsizetype index = 0;; ++index) {
        const bool wanted = keep.isEmpty() || (index < keep.size() && keep[index]);
        QString value;
        qsizetype p = m_pos;
        if (p < n && s[p] == u'"') {
            for (++p;;) {
                const qsizetype quote = m_text.indexOf(u'"', p);
                if (quote < 0) { // never closed: the rest of the text is this field
                    if (wanted)
                        value += m_text.sliced(p);
                    p = n;
                    break;
                }
                if (wanted)
                    value += m_text.sliced(p, quote - p);
                if (quote + 1 < n && s[quote + 1] == u'"') {
                    if (wanted)
                        value += u'"';
                    p = quote + 2;
                    continue;
                }
                p = quote + 1;
                break;
            }
        }
        // Up to the comma or the line end: the whole of an unquoted field, and what stands after
        // a closing quote (kept as written, as a spreadsheet keeps it).
        qsizetype end = p;
        while (end < n && s[end] != u',' && !isLineBreak(s[end]))
            ++end;
        if (wanted && end > p)
            value += m_text.sliced(p, end - p);
        fields.append(value);
        if (end < n && s[end] == u',') {
            m_pos = end + 1;
            continue;
        }
        if (end < n && s[end] == u'\r' && end + 1 < n && s[end + 1] == u'\n')
            ++end; // CR LF is one line end
        m_pos = end < n ? end + 1 : end;
        return true;
    }
}

// The character of an entity's name ("amp", "#38", "#x26"), or 0 for none this reading knows.
char32_t entityCode(QStringView name) {
    static const std::array<std::pair<const char16_t*, char32_t>, 5> named = {{
        {u"amp", U'&'},
        {u"lt", U'<'},
        {u"gt", U'>'},
        {u"quot", U'"'},
        {u"apos", U'\''},
    }};
    for (const auto& [text, code] : named)
        if (name == QStringView(text))
            return code;
    if (name.size() < 2 || name[0] != u'#')
        return 0;
    const bool hex = name[1] == u'x' || name[1] == u'X';
    const QStringView digits = name.sliced(hex ? 2 : 1);
    if (digits.isEmpty() || digits.size() > 7)
        return 0;
    // Digits only: toUInt would take a sign and blanks too.
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        const bool digit = (u >= u'0' && u <= u'9') ||
                           (hex && ((u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')));
        if (!digit)
            return 0;
    }
    bool ok = false;
    const uint code = digits.toUInt(&ok, hex ? 16 : 10);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return code;
}

// When `out` ends with an entity, puts its character in its place; false when it does not.
bool reduceEntity(QString& out) {
    constexpr qsizetype longest = 10; // "&#1114111;" and "&#x10FFFF;"
    const qsizetype semicolon = out.size() - 1;
    for (qsizetype amp = semicolon - 1; amp >= 0 && amp >= semicolon - longest + 1; --amp) {
        if (out[amp] == u';')
            return false;
        if (out[amp] != u'&')
            continue;
        const char32_t code = entityCode(QStringView(out).sliced(amp + 1, semicolon - amp - 1));
        if (code == 0)
            return false;
        out.truncate(amp);
        if (QChar::requiresSurrogates(code))
            out += QChar(QChar::highSurrogate(code)), out += QChar(QChar::lowSurrogate(code));
        else
            out += QChar(char16_t(code));
        return true;
    }
    return false;
}

// "&amp;" and its kin as the characters they stand for. An export that escaped its text twice
// ("&amp;amp;") comes out right too: what a decoded entity forms with the text after it is decoded
// in turn, in one pass.
QString decodeEntities(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        out += c;
        while (c == u';' && out.endsWith(u';') && reduceEntity(out)) {
        }
    }
    return out;
}

// Every run of blanks that holds a line break made one blank.
QString collapseLineBreaks(QStringView text) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        if (!text[i].isSpace()) {
            out += text[i++];
            continue;
        }
        qsizetype j = i;
        bool lineBreak = false;
        while (j < n && text[j].isSpace())
            lineBreak = isLineBreak(text[j++]) || lineBreak;
        if (lineBreak)
            out += u' ';
        else
            out += text.sliced(i, j - i);
        i = j;
    }
    return out;
}

// A kept field as the register table keeps it: never a null text (the database would store
// NULL), at most `length` characters.
QString cleanField(const QString& raw, qsizetype length) {
    QString s = raw.contains(u'&') ? decodeEntities(raw) : raw;
    if (s.contains(u'\r') || s.contains(u'\n'))
        s = collapseLineBreaks(s);
    s = s.trimmed();
    if (s.size() > length) {
        s.truncate(length);
        if (s.back().isHighSurrogate()) // never half a character
            s.chop(1);
        s = s.trimmed();
    }
    if (s.isNull())
        s = QStringLiteral("");
    return s;
}

bool isNoBrand(const QString& brand) {
    static const QStringList spellings = {"", "None", "Unbranded", "N/A", "NA", "-", "--"};
    for (const QString& spelling : spellings)
        if (brand.compare(spelling, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The decoded text without a byte-order mark: Qt's decoder drops one from UTF-8, and a file that
// is Windows-1252 after it shows its bytes as "ï»¿".
QString textOf(const QByteArray& bytes) {
    QString text = importfile::decodeText(bytes);
    if (text.startsWith(QStringLiteral(u"\u00EF\u00BB\u00BF")))
        text.remove(0, 3);
    while (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

constexpr qsizetype lengths[] = {registrationNumberLength, genericNameLength, brandNameLength,
                                 dosageStrengthLength, dosageFormLength};
constexpr int progressEvery = 256;

} // namespace

const QStringList& neededColumns() {
    static const QStringList columns = {"Registration Number", "Generic Name", "Brand Name",
                                        "Dosage Strength", "Dosage Form"};
    return columns;
}

Register readRegister(const QByteArray& bytes, const ReadProgress& progress) {
    Register out;
    if (bytes.contains('\0')) {
        out.outcome = Register::Outcome::NotText;
        return out;
    }
    const QString text = textOf(bytes);
    Records records(text);
    QList<QString> fields;
    auto blank = [&fields] {
        for (const QString& field : std::as_const(fields))
            if (!field.trimmed().isEmpty())
                return false;
        return true;
    };
    while (records.next(fields, {}) && blank()) {
    }

    // The columns by their names; the first of two with one name counts.
    const QStringList& needed = neededColumns();
    QList<qsizetype> column(needed.size(), -1);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString name = cleanField(fields[i], fields[i].size());
        for (qsizetype k = 0; k < needed.size(); ++k)
            if (column[k] < 0 && name.compare(needed[k], Qt::CaseInsensitive) == 0)
                column[k] = i;
    }
    for (qsizetype k = 0; k < needed.size(); ++k)
        if (column[k] < 0)
            out.missingColumns << needed[k];
    if (!out.missingColumns.isEmpty()) {
        out.outcome = Register::Outcome::MissingColumns;
        return out;
    }
    QList<bool> keep(*std::max_element(column.begin(), column.end()) + 1, false);
    for (qsizetype c : std::as_const(column))
        keep[c] = true;

    const qint64 total = text.size();
    QSet<QString> brands;
    for (int row = 1; records.next(fields, keep); ++row) {
        if (row % progressEvery == 0 && progress && !progress(records.position(), total)) {
            out.outcome = Register::Outcome::Cancelled;
            out.products.clear();
            return out;
        }
        QString values[5];
        for (int k = 0; k < 5; ++k)
            values[k] = cleanField(fields.value(column[k]), lengths[k]);
        if (isNoBrand(values[2]))
            values[2] = QStringLiteral("");
        if (values[1].isEmpty() && values[2].isEmpty())
            continue; // neither a generic nor a brand: no product
        if (!values[2].isEmpty())
            brands.insert(values[2].toCaseFolded());
        out.products << Product{values[0], values[1], values[2], values[3], values[4]};
    }
    if (progress && !progress(total, total)) {
        out.outcome = Register::Outcome::Cancelled;
        out.products.clear();
        return out;
    }
    out.brandNames = int(brands.size());
    return out;
}

} // namespace drugregister

#include "ImportFile.h"

#include "app/ModBrevant.h"
#include "app/SqlText.h"

namespace importfile {

QString decodeAnsi(const QByteArray& bytes) {
    // Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned codes pass
    // through as their C1 control characters, as Windows' own conversion does.
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        *dst++ = (c >= 0x80 && c <= 0x9F) ? QChar(high[c - 0x80]) : QChar(c);
    }
    return out;
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] != u'\r')
            continue;
        lines << text.mid(start, i - start);
        if (i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

ReferenceRecord decodeLine(QString line, const QString& fileName, const QString& table) {
    using modBrevant::NextField;
    ReferenceRecord r;
    r.code = NextField(line, QStringLiteral("|"));
    r.category = NextField(line, QStringLiteral("|"));
    r.description = NextField(line, QStringLiteral("|"));
    if (fileName == u"ESOA_MEDICINE")
        r.category = QStringLiteral("Medicine");
    if (table == u"ESOA_ER") {
        r.fixedFee = NextField(line, QStringLiteral("|"));
        r.chargingUnit = NextField(line, QStringLiteral("|"));
    }
    return r;
}

QString lookupStatement(const QString& table, const QString& code) {
    return QStringLiteral("SELECT * FROM [Build_FIle].[dbo].") + table +
           QStringLiteral(" WHERE Code = ") + sql::quoted(code) + QStringLiteral("   ");
}

} // namespace importfile

#include "ImportFile.h"

#include "core/db/DbError.h"
#include "core/db/Gateway.h"
#include "core/maintenance/ReferenceAdds.h"
#include "core/text/NextField.h"
#include "core/tsql/SqlText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace importfile {

QString readWhole(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.isOpen() && file.error() == QFileDevice::NoError)
        return QString();
    const QString reason =
        QFileInfo::exists(path) ? file.errorString() : QStringLiteral("File not found");
    return reason + QStringLiteral(": ") + QDir::toNativeSeparators(path);
}

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

bool isUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p++;
        if (c < 0x80)
            continue;
        int more = 0;
        char32_t code = 0, least = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1, code = c & 0x1F, least = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2, code = c & 0x0F, least = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3, code = c & 0x07, least = 0x10000;
        } else {
            return false; // a continuation byte first, or a lead byte no form uses
        }
        if (end - p < more)
            return false;
        for (int i = 0; i < more; ++i) {
            const unsigned char next = *p++;
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
    }
    return true;
}

QString decodeText(const QByteArray& bytes) {
    if (!isUtf8(bytes))
        return decodeAnsi(bytes);
    // Qt's decoder skips one byte-order mark at the start, and only that one.
    return QString::fromUtf8(bytes);
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
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
    return QStringLiteral("SELECT * FROM ") + sql::buildFileName(table) +
           QStringLiteral(" WHERE Code = ") + sql::quoted(code) + QStringLiteral("   ");
}

QString codeKey(const QString& code) {
    qsizetype end = code.size();
    while (end > 0 && code[end - 1].isSpace())
        --end;
    return code.left(end).toCaseFolded();
}

QStringList referenceColumns(const QString& table) {
    QStringList columns{QStringLiteral("Code"), QStringLiteral("Category"),
                        QStringLiteral("Description")};
    if (table == u"ESOA_ER")
        columns << QStringLiteral("FixedFee") << QStringLiteral("ChargingUnit");
    return columns;
}

void mergeRecord(Gateway& gateway, const QString& table, const ReferenceRecord& record,
                 const std::function<void(const QString& description)>& failed,
                 ReferenceAdds* adds) {
    bool allSteps = true;
    auto step = [&](auto&& work) {
        try {
            work();
        } catch (const DbError& e) {
            allSteps = false;
            failed(e.description());
        }
    };
    // A code that may equal one waiting to be written is looked up once that one is written.
    if (adds && adds->mayHold(record.code))
        adds->flush();
    WriteCursor row;
    step([&] { row = gateway.openForWrite(lookupStatement(table, record.code)); });
    bool isNew = true; // a test that fails counts as true: its steps run and fail in turn
    step([&] { isNew = row.atEnd(); });
    const QStringList columns = referenceColumns(table);
    if (isNew) {
        const QString values[] = {record.code, record.category, record.description, record.fixedFee,
                                  record.chargingUnit};
        step([&] { row.addNew(); });
        for (int i = 0; i < columns.size(); ++i)
            step([&] { row.setField(columns[i], values[i]); });
    }
    if (adds && isNew && allSteps && row.adding()) {
        // Every field taken: the row waits to be written with others of the batch.
        QList<QVariant> taken;
        for (const QString& column : columns)
            taken << row.value(column);
        adds->add(std::move(taken));
    } else {
        step([&] {
            try {
                row.update();
            } catch (const AddedMeanwhile&) {
                // Another workstation added the code since the look-up: it is there, as the
                // import wants it, and is kept as it is, like every code found.
            }
        });
    }
    step([&] { row.close(); });
}

} // namespace importfile

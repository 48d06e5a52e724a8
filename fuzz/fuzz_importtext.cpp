// The bytes of an import file: they decode as UTF-8 exactly when they are UTF-8 (checked against
// Qt's own decoder), else one character per byte; the lines hold every character but the line
// ends; and every line cuts into a record.
#include "FuzzInput.h"

#include "core/maintenance/ImportFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::bytes(data, size);
    const bool utf8 = importfile::isUtf8(bytes);
    // Qt's decoder drops a byte-order mark at the start.
    const QByteArray withoutMark = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    if (utf8 != (QString::fromUtf8(bytes).toUtf8() == withoutMark))
        fuzz::fail("the UTF-8 test disagrees with Qt's decoder",
                   QString::fromLatin1(bytes.toHex()));
    const QString text = importfile::decodeText(bytes);
    if (utf8 && text.toUtf8() != withoutMark)
        fuzz::fail("UTF-8 text does not come out as written");
    if (!utf8 && text.size() != bytes.size())
        fuzz::fail("a Windows-1252 byte that is not one character");

    const QStringList lines = importfile::splitLines(text);
    QString kept = text;
    kept.remove(u'\r').remove(u'\n');
    if (lines.join(QString()) != kept)
        fuzz::fail("the lines lose text");
    for (const QString& line : lines) {
        if (line.contains(u'\r') || line.contains(u'\n'))
            fuzz::fail("a line holds a line end");
        const importfile::ReferenceRecord r =
            importfile::decodeLine(line, QStringLiteral("ESOA_ER"), QStringLiteral("ESOA_ER"));
        if (r.code.contains(u'|') || r.category.contains(u'|') || r.description.contains(u'|') ||
            r.fixedFee.contains(u'|'))
            fuzz::fail("a field holds the separator", line);
    }
    return 0;
}

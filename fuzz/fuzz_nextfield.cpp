// Cutting a line into fields: the fields joined with their delimiter give the line back, and the
// cutting ends, for any line and delimiter.
#include "FuzzInput.h"

#include "core/text/NextField.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QString line = fuzz::text(data, size);
    // The first character is the delimiter (a blank when there is none), as the selection cuts
    // at a blank and the import at "|"; a second "|" makes it two characters long.
    QString delimiter = line.isEmpty() ? QStringLiteral(" ") : line.left(1);
    line.remove(0, 1);
    if (line.startsWith(u'|')) {
        delimiter += u'|';
        line.remove(0, 1);
    }
    const QString original = line;
    QStringList fields;
    QString rest = line;
    bool endedAtDelimiter = false;
    do {
        const qsizetype before = rest.size();
        fields << modBrevant::NextField(rest, delimiter);
        endedAtDelimiter = fields.last().size() != before;
        if (fields.size() > original.size() + 1)
            fuzz::fail("NextField does not end", original);
    } while (!rest.isEmpty());
    // A line whose last delimiter ends it has an empty last field that is never returned.
    const QString back = fields.join(delimiter) + (endedAtDelimiter ? delimiter : QString());
    if (back != original)
        fuzz::fail("fields do not give the line back", original);
    // Once the text is used up, further calls give empty texts.
    if (!modBrevant::NextField(rest, delimiter).isEmpty() || !rest.isEmpty())
        fuzz::fail("an empty text gives a field", original);
    return 0;
}

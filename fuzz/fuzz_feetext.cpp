// Fee texts as the save reads them and as the import hands them to a number column: any text
// gives a finite amount or the database's message, never a fault.
#include "FuzzInput.h"

#include "core/db/Backend.h"
#include "core/db/DbError.h"
#include "core/text/FeeText.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = fuzz::text(data, size);
    try {
        if (!std::isfinite(fee::fromText(text)))
            fuzz::fail("a fee that is no finite amount", text);
    } catch (const DbError&) {
    }
    for (const char* type : {"MONEY", "INTEGER", "DECIMAL(18,2)", "VARCHAR(50)"}) {
        try {
            const QVariant value = convertForColumn(QString::fromLatin1(type), text);
            if (value.metaType().id() == QMetaType::Double) {
                const double d = value.toDouble();
                if (!std::isfinite(d))
                    fuzz::fail("a column value that is no finite amount", text);
                if (type[0] == 'M' && std::fabs(d) > 922337203685477.5807)
                    fuzz::fail("an amount no money column holds", text);
            }
        } catch (const DbError&) {
        }
    }
    return 0;
}

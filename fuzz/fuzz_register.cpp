// The bytes of an FDA register export: a file with NUL bytes is never text and one without is;
// the needed columns are missing exactly when the reading says so; every kept product has a
// generic or a brand name, no line break, no "&amp;", no blank at either end and no text longer
// than its column, and is no brand when its brand is one of the no-brand spellings; the brand
// count is the number of distinct brands, case aside; the progress never goes back or past its
// total, and stopping it cancels; and the products, written out again as CSV, read back as
// themselves.
#include "FuzzInput.h"

#include "core/register/RegisterFile.h"
#include "core/register/RegisterStatements.h"

#include <QSet>

namespace {

QByteArray csvField(const QString& text) {
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return '"' + quoted.toUtf8() + '"';
}

void checkField(const QString& text, qsizetype length, const char* column) {
    if (text.contains(u'\r') || text.contains(u'\n'))
        fuzz::fail("a line break in", QString::fromLatin1(column));
    if (text.contains(QStringLiteral("&amp;")))
        fuzz::fail("an &amp; in", QString::fromLatin1(column));
    if (text != text.trimmed())
        fuzz::fail("blanks around", QString::fromLatin1(column));
    if (text.size() > length)
        fuzz::fail("longer than its column:", QString::fromLatin1(column));
    if (text.isNull())
        fuzz::fail("a null text (stored as NULL) in", QString::fromLatin1(column));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using drugregister::Register;
    const QByteArray bytes = fuzz::bytes(data, size);
    qint64 last = -1, total = -1;
    const Register read = drugregister::readRegister(bytes, [&](qint64 done, qint64 all) {
        if (done < last || done > all || (total >= 0 && all != total))
            fuzz::fail("the progress goes back or past its total");
        last = done;
        total = all;
        return true;
    });
    if ((read.outcome == Register::Outcome::NotText) != bytes.contains('\0'))
        fuzz::fail("text is told from not text by anything but NUL bytes");
    if ((read.outcome == Register::Outcome::MissingColumns) != !read.missingColumns.isEmpty())
        fuzz::fail("missing columns without the outcome saying so, or the other way");
    if (read.outcome == Register::Outcome::Cancelled)
        fuzz::fail("cancelled by a progress that never said stop");
    if (read.outcome != Register::Outcome::Read) {
        if (!read.products.isEmpty())
            fuzz::fail("products from a file that was refused");
        return 0;
    }
    if (last != total)
        fuzz::fail("the progress did not reach its total");

    QSet<QString> brands;
    for (const drugregister::Product& p : read.products) {
        checkField(p.registrationNumber, drugregister::registrationNumberLength, "registration");
        checkField(p.genericName, drugregister::genericNameLength, "generic");
        checkField(p.brandName, drugregister::brandNameLength, "brand");
        checkField(p.dosageStrength, drugregister::dosageStrengthLength, "strength");
        checkField(p.dosageForm, drugregister::dosageFormLength, "form");
        if (p.genericName.isEmpty() && p.brandName.isEmpty())
            fuzz::fail("a product with neither a generic nor a brand name");
        for (const char* none : {"None", "Unbranded", "N/A", "NA", "-", "--"})
            if (p.brandName.compare(QLatin1String(none), Qt::CaseInsensitive) == 0)
                fuzz::fail("a no-brand spelling kept as a brand", p.brandName);
        if (!p.brandName.isEmpty())
            brands.insert(p.brandName.toCaseFolded());
    }
    if (read.brandNames != brands.size() || read.brandNames > read.products.size())
        fuzz::fail("the brand count is not the distinct brands");

    // Stopping the progress at its first step cancels (a file of a few hundred rows or more is
    // told at least once before its end, every file at its end).
    const Register stopped =
        drugregister::readRegister(bytes, [](qint64, qint64) { return false; });
    if (stopped.outcome != Register::Outcome::Cancelled || !stopped.products.isEmpty())
        fuzz::fail("a stopped reading was not cancelled");

    // What was kept is what the table keeps: written out again, it reads back unchanged.
    QByteArray again =
        "Brand Name,Dosage Form,Generic Name,Dosage Strength,Registration Number\r\n";
    for (const drugregister::Product& p : read.products)
        again += csvField(p.brandName) + ',' + csvField(p.dosageForm) + ',' +
                 csvField(p.genericName) + ',' + csvField(p.dosageStrength) + ',' +
                 csvField(p.registrationNumber) + "\r\n";
    const Register back = drugregister::readRegister(again);
    if (back.outcome != Register::Outcome::Read || back.products != read.products ||
        back.brandNames != read.brandNames)
        fuzz::fail("the products do not read back as themselves");
    return 0;
}

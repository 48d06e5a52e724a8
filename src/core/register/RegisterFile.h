#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Reading the FDA's list of registered drug products, as its verification portal exports it: CSV
// (RFC 4180) with a header line naming the columns. Only five columns are kept; the others (the
// product information, the classification, the packaging, the companies, the dates) are passed
// over.
namespace drugregister {

// One product of the register, each text as the register table keeps it: trimmed, "&amp;" and
// its kin decoded, line breaks made one blank, cut to its column's length. A product sold under
// its generic name has an empty brand name.
struct Product {
    QString registrationNumber;
    QString genericName;
    QString brandName;
    QString dosageStrength;
    QString dosageForm;
    friend bool operator==(const Product&, const Product&) = default;
};

// The columns the import needs, as the export's header names them, in the order of Product.
const QStringList& neededColumns();

struct Register {
    enum class Outcome {
        Read,           // the products below
        NotText,        // the file holds NUL bytes: a spreadsheet, an archive, an image
        MissingColumns, // the header lacks the columns below
        Cancelled,      // the progress said stop
    };
    Outcome outcome = Outcome::Read;
    // The products kept, in the file's order: every row with a generic or a brand name.
    QList<Product> products;
    // The distinct non-empty brand names, compared as SQL Server compares them (case aside).
    int brandNames = 0;
    // The needed columns the header lacks, in the order of neededColumns().
    QStringList missingColumns;
};

// Told how far the reading is, in characters of the decoded text: `done` of `total`. Returning
// false cancels the reading. Called every few hundred rows and once at the end.
using ReadProgress = std::function<bool(qint64 done, qint64 total)>;

// Reads the bytes of an export. The text is decoded as the PhilHealth lists are (UTF-8 when the
// bytes are valid UTF-8, else Windows-1252; a byte-order mark is skipped); the header is the first
// line that is not blank, its columns found by name in any order, case and surrounding blanks
// aside. Fields in double quotes may hold commas, doubled quotes and line breaks; records end in
// CR LF, LF or CR, the last one maybe without. A quote that is never closed makes the rest of the
// file its field. Rows shorter than the header lack the last fields (read as empty), longer ones
// have fields that are ignored; blank lines are skipped. A brand of "None", "Unbranded", "N/A",
// "NA", "-" or "--" (case aside) is no brand. "?" (a character the export could not write) stays.
Register readRegister(const QByteArray& bytes, const ReadProgress& progress = {});

} // namespace drugregister

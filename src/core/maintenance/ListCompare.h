#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class Gateway;

// A new edition of a PhilHealth list compared with the reference table it replaces: the files
// "b. Scan && Import" reads, read by the same rules, compared with the table by code as SQL
// Server compares codes (case and trailing blanks aside).
namespace listupdate {

// A file of the new list, as read: its name as the import names it ("ESOA_MEDICINE"), its path
// and its bytes.
struct ListFile {
    QString name;
    QString path;
    QByteArray bytes;
};

// The files of a table, in the order they are read: ESOA_ITEM then ESOA_MEDICINE for ESOA_ITEM,
// ESOA_ER for ESOA_ER.
QStringList fileNames(const QString& table);
// Reads the files of `table` from `folder`. Returns why one could not be read, as the import says
// it ("File not found: C:\...\ESOA_ER.csv"), or that it is empty; empty text when all were read.
QString readFiles(const QString& folder, const QString& table, QList<ListFile>& files);

// What a row of the comparison reports.
enum class Change { New, Changed, Retired, Twice };
// As the list shows it: "new", "changed", "no longer listed", "twice in the new list".
QString changeText(Change change);

// A row of the comparison's list: for a changed code one row per changed field (Category,
// Description, FixedFee or ChargingUnit). `now` is the table's value (a retired code's
// Description), `next` the new list's (a new code's Description; for a code twice, the
// Description of the line not used). `links` counts the link table's links to the code.
struct Difference {
    Change change;
    QString code, field, now, next;
    int links = 0;
};

// The value a fee text of a list gives the money column, as the import stores it: empty text is
// 0, an amount is read with "." as the decimal point (thousands separators allowed) and rounded to
// the column's four places; anything else is no amount, NULL.
QVariant feeValue(const QString& text);
// A fee as the comparison shows it: two decimal places, four where the amount needs them.
QString feeText(const QVariant& value);
// A value of a reference column as the comparison shows it and ESOA_LIST_CHANGE keeps it: a fee
// by feeText, anything else as the lists show it (NULL as empty text).
QString valueText(const QString& column, const QVariant& value);

struct Comparison {
    QString table;
    QStringList files;  // the file names, "ESOA_ITEM.csv"
    QStringList sha256; // each file's SHA-256 in hexadecimal, in the same order
    int linesRead = 0;  // every line read, a code twice counted twice
    int newCodes = 0, changedCodes = 0, retiredCodes = 0, unchanged = 0;
    int linksAffected = 0; // links to changed or dropped codes
    int codesNow = 0;      // codes the table lists now
    QList<Difference> rows;

    // What Apply writes. Values are in the order of listedColumns(table), but a retired code's,
    // which are its Category, Description, FixedFee and ChargingUnit.
    struct Added {
        QString code;
        QList<QVariant> values;
    };
    struct Changed {
        QString code;
        QList<qint64> ids; // the table's rows of the code (one, unless the table holds it twice)
        QList<QVariant> now, next;
    };
    struct Retired {
        qint64 id = 0;
        QString code;
        QList<QVariant> values;
    };
    QList<Added> added;
    QList<Changed> changed;
    QList<Retired> retired;
    // The table as it was compared: Apply refuses a table that changed since.
    QByteArray tableDigest;

    // Whether the new list lacks more than a fifth of the codes listed now.
    bool looksCutShort() const { return qint64(retiredCodes) * 5 > codesNow; }
    // The summary line of the comparison.
    QString summary() const;
};

// Compares the files with the table. Raises DbError when the table or its links cannot be read.
Comparison compare(Gateway& db, const QString& table, const QList<ListFile>& files);

// The digest of the reference rows as referenceRowsStatement reads them.
QByteArray digestOf(const QList<QList<QVariant>>& rows);

// Whether two values of a reference field are the same for the update: texts alike but for
// trailing blanks (NULL and empty text alike), fees by amount.
bool sameValue(const QString& column, const QVariant& a, const QVariant& b);

} // namespace listupdate

namespace listupdate {

// A link whose code the reference table lacks: the code was dropped by an update, by an earlier
// one, or went missing for any other reason.
struct LinkToMissingCode {
    QVariant id;
    QString revenueId, itemId, itemDesc, code, description, category, invOrProc, sectionId;
};
// Every such link of the table's link table, in the link table's order. Codes compare as SQL
// Server compares them. Raises DbError when a table cannot be read.
QList<LinkToMissingCode> linksToMissingCodes(Gateway& db, const QString& table);

} // namespace listupdate

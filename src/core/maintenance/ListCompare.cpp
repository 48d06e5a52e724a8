#include "ListCompare.h"

#include "core/db/Gateway.h"
#include "core/maintenance/ImportFile.h"
#include "core/maintenance/ListStatements.h"
#include "core/tsql/SqlText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QHash>
#include <QSet>

#include <cmath>

namespace listupdate {

namespace {

QString withoutTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.left(end);
}

bool isFee(const QString& column) {
    return column == u"FixedFee";
}

// The position of a listed column in the rows referenceRowsStatement reads (ID and Code first).
int referenceColumn(const QString& column) {
    static const QStringList order = {QStringLiteral("ID"),       QStringLiteral("Code"),
                                      QStringLiteral("Category"), QStringLiteral("Description"),
                                      QStringLiteral("FixedFee"), QStringLiteral("ChargingUnit")};
    return int(order.indexOf(column));
}

// A line of the new list: its code and its values in the order of listedColumns().
struct Line {
    QString code;
    QList<QVariant> values;
};

QList<QVariant> lineValues(const importfile::ReferenceRecord& r, const QStringList& columns) {
    QList<QVariant> values;
    for (const QString& column : columns) {
        if (column == u"Category")
            values << r.category;
        else if (column == u"Description")
            values << r.description;
        else if (isFee(column))
            values << feeValue(r.fixedFee);
        else
            values << r.chargingUnit;
    }
    return values;
}

// The links of each code key, counted from the link table's codes.
QHash<QString, int> linksByCode(Gateway& db, const QString& table) {
    QHash<QString, int> links;
    const ValueTable rows = db.select(linkRowsStatement(table, false));
    const int code = rows.column(QStringLiteral("Code"));
    for (const QList<QVariant>& row : rows.rows)
        ++links[importfile::codeKey(row.value(code).toString())];
    return links;
}

} // namespace

QStringList fileNames(const QString& table) {
    if (table == u"ESOA_ITEM")
        return {QStringLiteral("ESOA_ITEM"), QStringLiteral("ESOA_MEDICINE")};
    return {table};
}

QString readFiles(const QString& folder, const QString& table, QList<ListFile>& files) {
    files.clear();
    for (const QString& name : fileNames(table)) {
        ListFile file{name, QDir(folder).filePath(name + QStringLiteral(".csv")), {}};
        if (const QString failure = importfile::readWhole(file.path, file.bytes);
            !failure.isEmpty())
            return failure;
        if (importfile::readLines(file.bytes).isEmpty())
            return QStringLiteral("File is empty: ") + QDir::toNativeSeparators(file.path);
        files << file;
    }
    return QString();
}

QString changeText(Change change) {
    switch (change) {
    case Change::New:
        return QStringLiteral("new");
    case Change::Changed:
        return QStringLiteral("changed");
    case Change::Retired:
        return QStringLiteral("no longer listed");
    case Change::Twice:
        break;
    }
    return QStringLiteral("twice in the new list");
}

QVariant feeValue(const QString& text) {
    // The money column's own rule, thousands separators aside; a text it refuses is no fee.
    QString amount = text;
    amount.remove(u',');
    try {
        const double value = convertForColumn(QStringLiteral("SMALLMONEY"), amount).toDouble();
        return std::round(value * 10000.0) / 10000.0;
    } catch (const DbError&) {
        return QVariant();
    }
}

QString valueText(const QString& column, const QVariant& value) {
    return isFee(column) ? feeText(value) : sql::displayText(value);
}

QString feeText(const QVariant& value) {
    if (value.isNull())
        return QString();
    bool ok = false;
    const double amount = value.toDouble(&ok);
    if (!ok)
        return value.toString();
    QString text = QString::number(amount, 'f', 4);
    while (text.endsWith(u'0') && text.indexOf(u'.') < text.size() - 3)
        text.chop(1);
    return text;
}

bool sameValue(const QString& column, const QVariant& a, const QVariant& b) {
    if (isFee(column)) {
        if (a.isNull() || b.isNull())
            return a.isNull() == b.isNull();
        bool okA = false, okB = false;
        const double x = a.toDouble(&okA), y = b.toDouble(&okB);
        if (!okA || !okB)
            return a.toString() == b.toString();
        return std::llround(x * 10000.0) == std::llround(y * 10000.0);
    }
    return withoutTrailingBlanks(a.toString()) == withoutTrailingBlanks(b.toString());
}

QByteArray digestOf(const QList<QList<QVariant>>& rows) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QList<QVariant>& row : rows) {
        for (const QVariant& value : row) {
            hash.addData(value.isNull() ? QByteArrayView("\x01") : QByteArrayView("\x02"));
            hash.addData(sql::displayText(value).toUtf8());
            hash.addData(QByteArrayView("\x1f"));
        }
        hash.addData(QByteArrayView("\x1e"));
    }
    return hash.result();
}

QString Comparison::summary() const {
    return QStringLiteral("%1 new, %2 changed, %3 no longer listed, %4 unchanged; %5 links to "
                          "changed or dropped codes.")
        .arg(newCodes)
        .arg(changedCodes)
        .arg(retiredCodes)
        .arg(unchanged)
        .arg(linksAffected);
}

Comparison compare(Gateway& db, const QString& table, const QList<ListFile>& files) {
    Comparison out;
    out.table = table;
    const QStringList columns = listedColumns(table);

    // The new list: the first line of each code counts, as the import keeps it.
    QList<Line> lines;
    QHash<QString, qsizetype> lineOf;
    QList<Difference> twice;
    for (const ListFile& file : files) {
        out.files << file.name + QStringLiteral(".csv");
        out.sha256 << QString::fromLatin1(
            QCryptographicHash::hash(file.bytes, QCryptographicHash::Sha256).toHex());
        for (const QString& text : importfile::readLines(file.bytes)) {
            ++out.linesRead;
            const importfile::ReferenceRecord record =
                importfile::decodeLine(text, file.name, table);
            const QString key = importfile::codeKey(record.code);
            if (lineOf.contains(key)) {
                twice << Difference{Change::Twice, record.code, {}, {}, record.description, 0};
                continue;
            }
            lineOf.insert(key, lines.size());
            lines << Line{record.code, lineValues(record, columns)};
        }
    }

    // The table as it is now, each code with its rows.
    const ValueTable now = db.select(referenceRowsStatement(table, false));
    out.tableDigest = digestOf(now.rows);
    QHash<QString, QList<qsizetype>> rowsOf;
    QList<QString> tableKeys; // in the table's order
    for (qsizetype i = 0; i < now.rows.size(); ++i) {
        const QString key = importfile::codeKey(now.rows[i].value(1).toString());
        auto it = rowsOf.find(key);
        if (it == rowsOf.end()) {
            tableKeys << key;
            it = rowsOf.insert(key, {});
        }
        it->append(i);
    }
    out.codesNow = int(tableKeys.size());
    const QHash<QString, int> links = linksByCode(db, table);

    QList<Difference> added, changed, retired;
    for (const Line& line : lines) {
        const QString key = importfile::codeKey(line.code);
        const int linkCount = links.value(key);
        const auto found = rowsOf.constFind(key);
        if (found == rowsOf.cend()) {
            ++out.newCodes;
            added << Difference{Change::New,
                                line.code,
                                {},
                                {},
                                line.values.value(columns.indexOf(u"Description")).toString(),
                                linkCount};
            out.added << Comparison::Added{line.code, line.values};
            continue;
        }
        const QList<QVariant>& row = now.rows[found->first()];
        QList<QVariant> current;
        bool differs = false;
        for (int c = 0; c < columns.size(); ++c) {
            current << row.value(referenceColumn(columns[c]));
            if (sameValue(columns[c], current.last(), line.values[c]))
                continue;
            differs = true;
            changed << Difference{Change::Changed,
                                  line.code,
                                  columns[c],
                                  valueText(columns[c], current.last()),
                                  isFee(columns[c]) && line.values[c].isNull()
                                      ? QString()
                                      : valueText(columns[c], line.values[c]),
                                  linkCount};
        }
        if (!differs) {
            ++out.unchanged;
            continue;
        }
        ++out.changedCodes;
        out.linksAffected += linkCount;
        QList<qint64> ids;
        for (qsizetype i : *found)
            ids << now.rows[i].value(0).toLongLong();
        out.changed << Comparison::Changed{line.code, ids, current, line.values};
    }
    for (const QString& key : tableKeys) {
        if (lineOf.contains(key))
            continue;
        ++out.retiredCodes;
        out.linksAffected += links.value(key);
        const QList<qsizetype>& indexes = rowsOf[key];
        for (qsizetype i : indexes) {
            const QList<QVariant>& row = now.rows[i];
            out.retired << Comparison::Retired{row.value(0).toLongLong(), row.value(1).toString(),
                                               row.mid(2, 4)};
        }
        const QList<QVariant>& first = now.rows[indexes.first()];
        retired << Difference{
            Change::Retired, first.value(1).toString(), {}, sql::displayText(first.value(3)), {},
            links.value(key)};
    }
    for (Difference& d : twice)
        d.links = links.value(importfile::codeKey(d.code));
    out.rows << added << changed << retired << twice;
    return out;
}

} // namespace listupdate

namespace listupdate {

QList<LinkToMissingCode> linksToMissingCodes(Gateway& db, const QString& table) {
    QSet<QString> listed;
    for (const QList<QVariant>& row : db.select(referenceRowsStatement(table, false)).rows)
        listed.insert(importfile::codeKey(row.value(1).toString()));
    const ValueTable links = db.select(linkRowsStatement(table, false));
    auto text = [&](const QList<QVariant>& row, const char* column) {
        return sql::displayText(row.value(links.column(QLatin1String(column))));
    };
    QList<LinkToMissingCode> out;
    for (const QList<QVariant>& row : links.rows) {
        const QString code = text(row, "Code");
        if (listed.contains(importfile::codeKey(code)))
            continue;
        out << LinkToMissingCode{row.value(0),
                                 text(row, "RevenueID"),
                                 text(row, "ItemID"),
                                 text(row, "ItemDesc"),
                                 code,
                                 text(row, "Description"),
                                 text(row, "Category"),
                                 text(row, "InvOrProc"),
                                 text(row, "SectionID")};
    }
    return out;
}

} // namespace listupdate

#pragma once

// What the suggestions keep of their sources between uses, and the helpers their reads share.
// Private to the suggestions' own files.
#include "core/suggest/BrandRegister.h"
#include "core/suggest/Suggestions.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace suggest {

namespace detail {

// A name the catalogue gives that may stand in a statement: letters, digits and "_" only.
bool plainName(const QString& name);
// Raises DbError for a name that may not stand in a statement.
void requirePlainName(const QString& name);
// The link table of a reference table, with its database.
QString linkTableOf(const QString& referenceTable);
// A source's count, highest key and text length, as one text: another text means the source
// changed.
QString signature(Gateway& db, const QString& sql);
QString signatureStatement(const QString& table, const QString& key, const QString& text,
                           const QString& condition);
// The way SQL Server compares a category: without regard to case or trailing blanks.
QString categoryKey(const QString& category);
// Analyses many wordings, on as many threads as the processor runs at once.
std::vector<ItemText> analyseAll(const QStringList& wordings);
// The rows of the revenue catalogue that name an exam table.
QString revenueCatalogueStatement();

} // namespace detail

struct Suggestions::Source {
    QString signature;
    QElapsedTimer checked; // since the source was last asked
    // A hospital item as kept: its id and text in UTF-8, its generic name (one copy for all the
    // items of a generic), its revenue code and section, and its exam table (an index into
    // `tables`; none for an inventory item).
    struct Stored {
        QByteArray itemId, item;
        // The wording the item was analysed as, where the text shown is not it (an inventory item
        // whose name or description is NULL).
        QByteArray wording;
        QString generic, revenueId, sectionId;
        int table = -1;
        QString analysed() const { return QString::fromUtf8(item.isEmpty() ? wording : item); }
    };
    std::vector<Stored> stored;
    std::vector<HospitalItem> tables;
    HospitalItem hospital(size_t i) const {
        const Stored& s = stored[i];
        HospitalItem item = s.table < 0 ? HospitalItem() : tables[size_t(s.table)];
        item.itemId = QString::fromUtf8(s.itemId);
        item.item = QString::fromUtf8(s.item);
        item.generic = s.generic;
        item.revenueId = s.revenueId;
        item.sectionId = s.sectionId;
        return item;
    }
    std::vector<ReferenceItem> reference;
    QHash<QString, int> byCode; // a reference item by its code, upper case, trailing blanks aside
    std::vector<int> byItemId;  // the items in the order of their ids
    Ranker ranker;
    // The items of an id.
    std::vector<int> itemsOf(const QString& itemId) const {
        auto range = std::equal_range(byItemId.begin(), byItemId.end(), -1, [&](int a, int b) {
            const QByteArray id = itemId.toUtf8();
            const QByteArray& left = a < 0 ? id : stored[size_t(a)].itemId;
            const QByteArray& right = b < 0 ? id : stored[size_t(b)].itemId;
            return left < right;
        });
        return std::vector<int>(range.first, range.second);
    }
};

struct Suggestions::Register {
    QString signature;
    QElapsedTimer checked;
    BrandRegister brands;
};

struct Suggestions::Links {
    QString signature;
    QElapsedTimer checked;
    // What finds a link's hospital item and code (the texts are read again for the learning).
    struct Link {
        QString itemId, revenueId, sectionId, code;
    };
    QList<Link> rows;
    QHash<QString, QList<int>> byCode; // upper-cased code -> rows
};

} // namespace suggest

// The hospital items the suggestions rank: the active inventory items with their generic names, or
// the active rows of every exam table the revenue catalogue names.
#include "SuggestionSources.h"

#include "core/platform/Platform.h"
#include "core/suggest/Parallel.h"
#include "core/tsql/SqlText.h"

#include <QSet>

#include <algorithm>

namespace suggest {

using namespace detail;

QString Suggestions::inventoryStatement() {
    return QStringLiteral("SELECT A.ItemID, A.ItemName, A.ItemDesc, B.GenericName FROM "
                          "Inventory..tbInvMaster A WITH (NOLOCK) LEFT OUTER JOIN "
                          "Inventory..tbForGeneric B WITH (NOLOCK) ON A.GenericID = B.GenericID "
                          "WHERE A.itemstatus = 0");
}

QString Suggestions::examStatement(const HospitalItem& table) {
    QString sql = QStringLiteral("SELECT ") + table.idField + QStringLiteral(" AS ItemID, ") +
                  table.nameField + QStringLiteral(" AS Item");
    if (!table.sectionField.isEmpty())
        sql += QStringLiteral(", ") + table.sectionField + QStringLiteral(" AS SectionID");
    return sql + QStringLiteral(" FROM ") + sql::buildFileTable(table.examTable) +
           QStringLiteral(" WITH (NOLOCK) WHERE Status='A'");
}

Suggestions::Source& Suggestions::hospitalSource(Gateway& db, bool inventory) {
    std::unique_ptr<Source>& source = inventory ? m_inventory : m_procedures;
    if (source && fresh(source->checked))
        return *source;
    QString sig;
    std::vector<HospitalItem> tables;
    // The catalogue, read once: for the signature and, when the items are read again, for the
    // revenue codes of the sections.
    ValueTable catalogue;
    // A brand of the drug register stands for its generic where the inventory has none: a new
    // register is a new index.
    const BrandRegister* brands = nullptr;
    if (inventory) {
        const Register& reg = brandRegister(db);
        brands = &reg.brands;
        sig = signature(db, signatureStatement(QStringLiteral("Inventory..tbInvMaster"),
                                               QStringLiteral("ItemID"), QStringLiteral("ItemName"),
                                               QStringLiteral(" WHERE itemstatus = 0"))) +
              QStringLiteral(";register:") + reg.signature;
    } else {
        // Every exam table the catalogue names, once; a table several revenue codes share (the
        // other revenues, by section) goes to the code of each row's section.
        catalogue = db.select(revenueCatalogueStatement());
        QSet<QString> seen;
        for (const QList<QVariant>& row : catalogue.rows) {
            HospitalItem t;
            t.revenueId = row.value(0).toString();
            t.examTable = row.value(1).toString().trimmed();
            t.idField = row.value(2).toString().trimmed();
            t.nameField = row.value(3).toString().trimmed();
            t.sectionField = row.value(4).toString().trimmed();
            if (t.examTable.isEmpty() || seen.contains(t.examTable.toUpper()))
                continue;
            for (const QString& name : {t.examTable, t.idField, t.nameField})
                requirePlainName(name);
            if (!t.sectionField.isEmpty())
                requirePlainName(t.sectionField);
            seen.insert(t.examTable.toUpper());
            tables.push_back(t);
            sig += row.value(0).toString() + u'=' + t.examTable + u':' +
                   signature(db,
                             signatureStatement(sql::buildFileTable(t.examTable), t.idField,
                                                t.nameField, QStringLiteral(" WHERE Status='A'"))) +
                   u';';
        }
        // The revenue code of a section, where a revenue row is named by it.
        for (const QList<QVariant>& row : catalogue.rows)
            sig += row.value(0).toString() + u',';
        if (tables.empty())
            sig.clear();
    }
    if (source && source->signature == sig) {
        source->checked.start();
        return *source;
    }

    auto built = std::make_unique<Source>();
    built->checked.start();
    built->signature = sig;
    built->ranker = Ranker(Ranker::Side::Hospital);
    if (inventory) {
        QStringList wordings;
        // Many items share a generic name: each is analysed once, and kept once.
        QHash<QString, Analysis> generics;
        QSet<QString> genericNames;
        {
            const ValueTable rows = db.select(inventoryStatement());
            built->stored.reserve(size_t(rows.rows.size()));
            wordings.reserve(rows.rows.size());
            const QString pharmacy = QStringLiteral("PH");
            for (const QList<QVariant>& row : rows.rows) {
                Source::Stored item;
                item.itemId = row.value(0).toString().toUtf8();
                const QVariant name = row.value(1), description = row.value(2);
                // As the hospital list shows it: name + ' - ' + description, nothing when either
                // is NULL.
                const QString wording =
                    name.toString() + QStringLiteral(" - ") + description.toString();
                if (!name.isNull() && !description.isNull())
                    item.item =
                        (name.toString() + QStringLiteral(" - ") + description.toString()).toUtf8();
                else
                    item.wording = wording.toUtf8();
                item.generic = *genericNames.insert(row.value(3).toString());
                item.revenueId = pharmacy;
                if (!generics.contains(item.generic))
                    generics.insert(item.generic, analyse(item.generic));
                wordings << wording;
                built->stored.push_back(std::move(item));
            }
        }
        // A part at a time, so that only one part's analyses are held at once.
        constexpr qsizetype part = 8192;
        built->ranker.begin(built->stored.size());
        for (qsizetype from = 0; from < wordings.size(); from += part) {
            std::vector<ItemText> texts(size_t(std::min(part, wordings.size() - from)));
            forEachInParallel(texts.size(), [&](size_t i) {
                const QString& wording = wordings[from + qsizetype(i)];
                Analysis& text = texts[i].text;
                text = analyseItem(wording);
                // A medicine's name beside its generic or its brand: a bare number is its
                // strength.
                if (!built->stored[size_t(from) + i].generic.isEmpty()) {
                    readBareStrength(text);
                } else if (!brands->empty()) {
                    if (auto reading = brands->read(wording, text)) {
                        readBareStrength(text);
                        texts[i].generic = std::move(reading->analysis);
                    }
                }
            });
            for (size_t i = 0; i < texts.size(); ++i) {
                const QString& generic = built->stored[size_t(from) + i].generic;
                if (!generic.isEmpty())
                    texts[i].generic = generics.value(generic);
                built->ranker.add(texts[i]);
            }
        }
        built->ranker.finish();
    } else {
        std::vector<ItemText> texts;
        QSet<QString> revenueIds;
        for (const QList<QVariant>& row : catalogue.rows)
            revenueIds.insert(row.value(0).toString().toUpper());
        built->tables = tables;
        for (size_t t = 0; t < tables.size(); ++t) {
            const ValueTable rows = db.select(examStatement(tables[t]));
            for (const QList<QVariant>& row : rows.rows) {
                Source::Stored item;
                item.table = int(t);
                item.itemId = row.value(0).toString().toUtf8();
                const QString name = row.value(1).toString();
                item.item = name.toUtf8();
                item.revenueId = tables[t].revenueId;
                item.sectionId = row.value(2).toString();
                if (!item.sectionId.isEmpty() && revenueIds.contains(item.sectionId.toUpper()))
                    item.revenueId = item.sectionId.toUpper();
                texts.push_back({analyse(name), Analysis()});
                built->stored.push_back(std::move(item));
            }
        }
        built->ranker.build(texts);
    }
    // The items by id, for the links.
    built->byItemId.resize(built->stored.size());
    for (size_t i = 0; i < built->stored.size(); ++i)
        built->byItemId[i] = static_cast<int>(i);
    std::sort(built->byItemId.begin(), built->byItemId.end(), [&](int a, int b) {
        return built->stored[size_t(a)].itemId < built->stored[size_t(b)].itemId;
    });
    source = std::move(built);
    // What reading and analysing took goes back to the system.
    platform::releaseFreeMemory();
    return *source;
}

} // namespace suggest

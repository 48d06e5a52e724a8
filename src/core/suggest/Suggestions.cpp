#include "Suggestions.h"

#include "core/db/DbError.h"
#include "core/platform/Platform.h"
#include "core/reports/MappingReports.h"
#include "core/tsql/SqlText.h"

#include <QSet>

#include <cmath>
#include <thread>

namespace suggest {

namespace {

// A name the catalogue gives that may stand in a statement: letters, digits and "_" only.
bool plainName(const QString& name) {
    if (name.isEmpty() || name.size() > 128)
        return false;
    for (QChar ch : name)
        if (!(ch.isLetterOrNumber() && ch.unicode() < 128) && ch != u'_')
            return false;
    return true;
}

void requirePlainName(const QString& name) {
    if (!plainName(name))
        throw DbError(QStringLiteral("The name %1 cannot stand in a statement.").arg(name));
}

QString linkTableOf(const QString& referenceTable) {
    return sql::buildFileTable(referenceTable + QStringLiteral("_LINK"));
}

// A source's count, highest key and text length, as one text: another text means the source
// changed.
QString signature(Gateway& db, const QString& sql) {
    const ValueTable t = db.select(sql);
    QStringList parts;
    for (const QList<QVariant>& row : t.rows)
        for (const QVariant& v : row)
            parts << v.toString();
    return parts.join(u'|');
}

QString signatureStatement(const QString& table, const QString& key, const QString& text,
                           const QString& condition) {
    return QStringLiteral("SELECT COUNT(*) AS Items, MAX(") + key +
           QStringLiteral(") AS Last, SUM(LEN(") + text + QStringLiteral(")) AS Letters FROM ") +
           table + QStringLiteral(" WITH (NOLOCK)") + condition;
}

// The way SQL Server compares a category: without regard to case or trailing blanks.
QString categoryKey(const QString& category) {
    QString key = category;
    while (key.endsWith(u' '))
        key.chop(1);
    return key.toUpper();
}

// Analyses many wordings, on as many threads as the processor runs at once.
std::vector<ItemText> analyseAll(const QStringList& wordings) {
    std::vector<ItemText> texts(static_cast<size_t>(wordings.size()));
    const qsizetype count = wordings.size();
    const int threads =
        count < 2000 ? 1 : std::clamp(int(std::thread::hardware_concurrency()), 1, 8);
    auto work = [&](int part) {
        for (qsizetype i = part; i < count; i += threads)
            texts[static_cast<size_t>(i)].text = analyse(wordings[i]);
    };
    std::vector<std::thread> running;
    for (int part = 1; part < threads; ++part)
        running.emplace_back(work, part);
    work(0);
    for (std::thread& t : running)
        t.join();
    return texts;
}

QString revenueCatalogueStatement() {
    return QStringLiteral("SELECT [RevenueID],[ExamTableName],[IDFieldName],[ExamFieldName],"
                          "[SectionIDFieldName] FROM ") +
           sql::buildFileTable(QStringLiteral("tbRevenues")) +
           QStringLiteral(" WITH (NOLOCK) WHERE [ExamTableName] <> ''");
}

} // namespace

int percent(double score) {
    return std::clamp(static_cast<int>(std::lround(score * 100.0)), 0, 99);
}

struct Suggestions::Source {
    QString signature;
    QElapsedTimer checked; // since the source was last asked
    // A hospital item as kept: its id and text in UTF-8, its generic name (one copy for all the
    // items of a generic), its revenue code and section, and its exam table (an index into
    // `tables`; none for an inventory item).
    struct Stored {
        QByteArray itemId, item;
        QString generic, revenueId, sectionId;
        int table = -1;
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
    std::vector<int> byItemId; // the items in the order of their ids
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

Suggestions::Suggestions() = default;
Suggestions::~Suggestions() = default;

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

QString Suggestions::referenceStatement(const QString& referenceTable) {
    return QStringLiteral("SELECT Code, Category, Description, FixedFee, ChargingUnit FROM ") +
           sql::buildFileTable(referenceTable) + QStringLiteral(" WITH (NOLOCK)");
}

QString Suggestions::linkStatement(const QString& referenceTable) {
    return QStringLiteral(
               "SELECT ItemID, RevenueID, SectionID, ItemDesc, Code, Description FROM ") +
           linkTableOf(referenceTable) + QStringLiteral(" WITH (NOLOCK)");
}

bool Suggestions::fresh(const QElapsedTimer& checked) const {
    return checked.isValid() && checked.elapsed() < m_recheckMs;
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
    if (inventory) {
        sig = signature(db, signatureStatement(QStringLiteral("Inventory..tbInvMaster"),
                                               QStringLiteral("ItemID"), QStringLiteral("ItemName"),
                                               QStringLiteral(" WHERE itemstatus = 0")));
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
                if (!name.isNull() && !description.isNull())
                    item.item =
                        (name.toString() + QStringLiteral(" - ") + description.toString()).toUtf8();
                item.generic = *genericNames.insert(row.value(3).toString());
                item.revenueId = pharmacy;
                if (!generics.contains(item.generic))
                    generics.insert(item.generic, analyse(item.generic));
                wordings << name.toString() + u' ' + description.toString();
                built->stored.push_back(std::move(item));
            }
        }
        // A part at a time, so that only one part's analyses are held at once.
        constexpr qsizetype part = 8192;
        built->ranker.begin(built->stored.size());
        for (qsizetype from = 0; from < wordings.size(); from += part) {
            std::vector<ItemText> texts = analyseAll(wordings.mid(from, part));
            for (size_t i = 0; i < texts.size(); ++i) {
                texts[i].generic = generics.value(built->stored[size_t(from) + i].generic);
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

Suggestions::Source& Suggestions::referenceSource(Gateway& db, const QString& referenceTable) {
    requirePlainName(referenceTable);
    const QString table = sql::buildFileTable(referenceTable);
    std::shared_ptr<Source>& source = m_references[referenceTable.toUpper()];
    if (source && fresh(source->checked))
        return *source;
    const QString sig = signature(
        db, signatureStatement(table, QStringLiteral("ID"), QStringLiteral("Description"), {}));
    if (source && source->signature == sig) {
        source->checked.start();
        return *source;
    }
    auto built = std::make_shared<Source>();
    built->checked.start();
    built->signature = sig;
    const TextTable rows = db.query(referenceStatement(referenceTable));
    QStringList descriptions;
    for (const QStringList& row : rows.rows) {
        ReferenceItem item{row.value(0), row.value(1), row.value(2), row.value(3), row.value(4)};
        descriptions << item.description;
        built->reference.push_back(std::move(item));
    }
    const std::vector<ItemText> texts = analyseAll(descriptions);
    built->ranker = Ranker(Ranker::Side::Reference);
    built->ranker.build(texts);
    source = std::move(built);
    return *source;
}

Suggestions::Links& Suggestions::links(Gateway& db, const QString& referenceTable) {
    requirePlainName(referenceTable);
    std::shared_ptr<Links>& links = m_links[referenceTable.toUpper()];
    if (!links)
        links = std::make_shared<Links>();
    if (fresh(links->checked))
        return *links;
    // A reference table without its link table yet has no links.
    QString sig;
    try {
        sig = signature(db, signatureStatement(linkTableOf(referenceTable), QStringLiteral("ID"),
                                               QStringLiteral("Code"), {}));
    } catch (const DbError&) {
        *links = Links();
        links->checked.start();
        return *links;
    }
    if (links->signature == sig && !sig.isEmpty()) {
        links->checked.start();
        return *links;
    }
    Links built;
    built.signature = sig;
    built.checked.start();
    const ValueTable rows = db.select(linkStatement(referenceTable));
    for (const QList<QVariant>& row : rows.rows) {
        Links::Link link{row.value(0).toString(), row.value(1).toString(), row.value(2).toString(),
                         row.value(4).toString()};
        built.byCode[link.code.trimmed().toUpper()].append(static_cast<int>(built.rows.size()));
        built.rows.append(link);
    }
    *links = std::move(built);
    return *links;
}

const Learning& Suggestions::learning(Gateway& db) {
    // Both link tables teach.
    const QStringList tables = {QStringLiteral("ESOA_ITEM"), QStringLiteral("ESOA_ER")};
    QString from;
    for (const QString& t : tables)
        from += links(db, t).signature + u';';
    if (from == m_learnedFrom)
        return m_learning;
    m_learning.clear();
    for (const QString& t : tables) {
        if (links(db, t).signature.isEmpty())
            continue; // no link table yet
        const ValueTable rows = db.select(linkStatement(t));
        for (const QList<QVariant>& row : rows.rows)
            m_learning.add({analyse(row.value(3).toString()), Analysis()},
                           analyse(row.value(5).toString()));
    }
    m_learnedFrom = from;
    return m_learning;
}

QList<HospitalSuggestion> Suggestions::hospitalItemsFor(Gateway& db, const QString& referenceTable,
                                                        const QString& code,
                                                        const QString& description, bool inventory,
                                                        const Routed& routed, int limit) {
    const Source& source = hospitalSource(db, inventory);
    const Source& references = referenceSource(db, referenceTable);
    const Learning& learned = learning(db);
    const Links& linkRows = links(db, referenceTable);

    QList<HospitalSuggestion> out;
    QSet<int> taken;
    // The hospital items already linked to this code come first.
    for (int row : linkRows.byCode.value(code.trimmed().toUpper())) {
        const Links::Link& link = linkRows.rows[row];
        for (int i : source.itemsOf(link.itemId)) {
            const HospitalItem item = source.hospital(size_t(i));
            const bool sameRevenue =
                link.revenueId.compare(item.revenueId, Qt::CaseInsensitive) == 0 ||
                (link.revenueId.isEmpty() &&
                 link.sectionId.compare(item.sectionId, Qt::CaseInsensitive) == 0);
            if (sameRevenue && !taken.contains(i) && out.size() < limit) {
                taken.insert(i);
                out.append({100, item});
            }
        }
    }
    const ItemText query{analyse(description), Analysis()};
    auto routedFirst = [&](int i, double score) {
        const Source::Stored& item = source.stored[size_t(i)];
        const QString examTable =
            item.table < 0 ? QString() : source.tables[size_t(item.table)].examTable;
        const bool isRouted = item.table >= 0 &&
                              examTable.compare(routed.examTable, Qt::CaseInsensitive) == 0 &&
                              (routed.sectionId.isEmpty() ||
                               item.sectionId.compare(routed.sectionId, Qt::CaseInsensitive) == 0);
        return isRouted ? score + 0.006 : score;
    };
    const auto hits = source.ranker.rank(
        query, limit + int(taken.size()), &learned, {},
        inventory ? std::function<double(int, double)>() : routedFirst, &references.ranker);
    for (const Ranker::Hit& hit : hits) {
        if (out.size() >= limit)
            break;
        if (!taken.contains(hit.item))
            out.append({percent(hit.score), source.hospital(size_t(hit.item))});
    }
    return out;
}

QList<QList<CodeProposal>> Suggestions::codesFor(Gateway& db, const QString& referenceTable,
                                                 const QString& category,
                                                 const QList<ListedItem>& items, int perItem) {
    const Source& source = referenceSource(db, referenceTable);
    const Learning& learned = learning(db);
    const QString wanted = category == u"-" ? QString() : categoryKey(category);
    std::vector<char> inCategory(source.reference.size(), 1);
    if (!category.isEmpty())
        for (size_t i = 0; i < source.reference.size(); ++i)
            inCategory[i] = categoryKey(source.reference[i].category) == wanted;
    QList<QList<CodeProposal>> out;
    out.reserve(items.size());
    for (const ListedItem& listed : items) {
        const ItemText query{analyse(listed.item), analyse(listed.generic)};
        QList<CodeProposal> proposals;
        for (const Ranker::Hit& hit : source.ranker.rank(query, perItem, &learned,
                                                         [&](int i) { return inCategory[i] != 0; }))
            proposals.append({percent(hit.score), source.reference[hit.item]});
        out.append(proposals);
    }
    return out;
}

QString Suggestions::linkedCode(Gateway& db, const QString& referenceTable,
                                const QString& revenueId, const QString& itemId) {
    const QString sql =
        reports::linkedCodeStatement(linkTableOf(referenceTable), revenueId, itemId);
    Lookup found = db.lookup(sql, Rowset::ForwardReadOnly);
    const QString code = found.atEnd() ? QString() : sql::displayText(found.field(0));
    found.close();
    return code;
}

void Suggestions::linksChanged() {
    m_links.clear();
    m_learnedFrom.clear();
}

void Suggestions::forgetHospitalItems() {
    m_inventory.reset();
    m_procedures.reset();
}

void Suggestions::forget() {
    forgetHospitalItems();
    m_references.clear();
    linksChanged();
}

} // namespace suggest

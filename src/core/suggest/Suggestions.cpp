#include "Suggestions.h"

#include "SuggestionSources.h"

#include "core/db/DbError.h"
#include "core/platform/Platform.h"
#include "core/reports/MappingReports.h"
#include "core/tsql/SqlText.h"

#include <QSet>

#include <cmath>
#include <thread>

namespace suggest {

using namespace detail;

int percent(double score) {
    return std::clamp(static_cast<int>(std::lround(score * 100.0)), 0, 99);
}

Suggestions::Suggestions() = default;
Suggestions::~Suggestions() = default;

QString Suggestions::referenceStatement(const QString& referenceTable) {
    return QStringLiteral("SELECT Code, Category, Description, FixedFee, ChargingUnit FROM ") +
           sql::buildFileTable(referenceTable) + QStringLiteral(" WITH (NOLOCK)");
}

QString Suggestions::linkStatement(const QString& referenceTable) {
    return QStringLiteral(
               "SELECT ItemID, RevenueID, SectionID, ItemDesc, Code, Description FROM ") +
           linkTableOf(referenceTable) + QStringLiteral(" WITH (NOLOCK)");
}

HospitalWording Suggestions::wordingOf(const Source& source, int item) const {
    const Source::Stored& stored = source.stored[size_t(item)];
    const QString wording = stored.analysed();
    const Analysis analysis = stored.table < 0 ? analyseItem(wording) : analyse(wording);
    HospitalWording out;
    out.dictionary = analysis.brands;
    if (!stored.generic.isEmpty()) {
        out.generic = HospitalWording::Generic::Inventory;
    } else if (stored.table < 0 && m_register) {
        if (const auto reading = m_register->brands.read(wording, analysis)) {
            out.generic = HospitalWording::Generic::Register;
            out.registerBrand = reading->brand;
            out.registerGeneric = reading->generic;
        }
    }
    return out;
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
                out.append({100, item, QStringLiteral("linked to this code already")});
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
    Ranker::Options options;
    options.learning = &learned;
    if (!inventory)
        options.adjust = routedFirst;
    options.querySide = &references.ranker;
    // Where the PhilHealth item's strength lies among its kin's, for an item that says FORTE.
    if (const auto it = references.byCode.find(code.trimmed().toUpper());
        it != references.byCode.end())
        options.queryPlace = references.ranker.strengthPlace(*it);
    std::vector<Ranker::Explanation> why;
    const auto hits = source.ranker.rank(query, limit + int(taken.size()), options, why);
    for (size_t k = 0; k < hits.size(); ++k) {
        const Ranker::Hit& hit = hits[k];
        if (out.size() >= limit)
            break;
        if (!taken.contains(hit.item))
            out.append({percent(hit.score), source.hospital(size_t(hit.item)),
                        whyText(why[k], wordingOf(source, hit.item), false)});
    }
    return out;
}

QList<QList<CodeProposal>> Suggestions::codesFor(Gateway& db, const QString& referenceTable,
                                                 const QString& category,
                                                 const QList<ListedItem>& items, int perItem) {
    const Source& source = referenceSource(db, referenceTable);
    const Learning& learned = learning(db);
    const BrandRegister& brands = brandRegister(db).brands;
    const QString wanted = category == u"-" ? QString() : categoryKey(category);
    std::vector<char> inCategory(source.reference.size(), 1);
    if (!category.isEmpty())
        for (size_t i = 0; i < source.reference.size(); ++i)
            inCategory[i] = categoryKey(source.reference[i].category) == wanted;
    Ranker::Options options;
    options.learning = &learned;
    options.accept = [&](int i) { return inCategory[size_t(i)] != 0; };
    QList<QList<CodeProposal>> out;
    out.reserve(items.size());
    std::vector<Ranker::Explanation> why;
    for (const ListedItem& listed : items) {
        ItemText query{analyseItem(listed.item), analyse(listed.generic)};
        HospitalWording wording;
        wording.dictionary = query.text.brands;
        if (!listed.generic.trimmed().isEmpty()) {
            wording.generic = HospitalWording::Generic::Inventory;
            readBareStrength(query.text);
        } else if (auto reading = brands.read(listed.item, query.text)) {
            readBareStrength(query.text);
            wording.generic = HospitalWording::Generic::Register;
            wording.registerBrand = reading->brand;
            wording.registerGeneric = reading->generic;
            query.generic = std::move(reading->analysis);
        }
        QList<CodeProposal> proposals;
        const auto hits = source.ranker.rank(query, perItem, options, why);
        for (size_t k = 0; k < hits.size(); ++k)
            proposals.append({percent(hits[k].score), source.reference[size_t(hits[k].item)],
                              whyText(why[k], wording, true)});
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

} // namespace suggest

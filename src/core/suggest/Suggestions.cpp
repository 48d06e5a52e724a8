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

} // namespace suggest

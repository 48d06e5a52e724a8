#pragma once

#include "core/db/ResultTables.h"

#include <QString>
#include <QStringList>

class Gateway;

// Reports over a reference table and its link table, each one set-based statement (T-SQL that
// SQL Server takes; the embedded database gets it through the rewriter like every statement).
namespace reports {

// Every link of the table's link table joined with the reference item it points at, with a
// status: "ok", "code not in the list" or "description changed", and its review: its state
// ("Review") and who approved or flagged it when ("Reviewed by", "Reviewed at"; NULL while it is
// "to review"). Without the review (`withReview` false: the tables of the history or the reviews
// are missing) every link is "to review". Ordered by category, code and hospital item.
QString allMappingsStatement(const QString& table, bool withReview);

// The code a hospital item (its revenue code and item id) is linked to in a link table
// ("[Build_FIle].[dbo].[ESOA_ER_LINK]"): the hospital list's check asks it for each row, the
// suggestions for each item they show.
QString linkedCodeStatement(const QString& linkTable, const QString& revenueId,
                            const QString& itemId);

// Per category of the reference table: its reference items, how many of them have a link, the
// links (by their own category) whose code is not in the list, and how many of the items have
// links that are all approved (none without the review).
QString coverageStatement(const QString& table, bool withReview);

struct CoverageRow {
    QString category; // "-" for items without one
    qlonglong items = 0;
    qlonglong mapped = 0;
    qlonglong orphanLinks = 0;
    qlonglong approved = 0;
};

// The coverage rows, worst covered first (categories without items last), then a total row.
QList<CoverageRow> coverage(Gateway& gateway, const QString& table, bool withReview);

// The rows as a table for a grid or a file: Category, Items, Mapped, Per cent, Links not in list,
// Approved, % approved.
TextTable coverageTable(const QList<CoverageRow>& rows);

} // namespace reports

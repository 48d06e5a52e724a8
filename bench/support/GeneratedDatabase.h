#pragma once

#include "core/db/ResultTables.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

#include <vector>

class Gateway;

// The benchmark's database at hospital scale, generated from a fixed seed on top of the sample.
namespace generated {

inline constexpr unsigned seed = 20261208;
inline constexpr int inventoryItems = 100000;
inline constexpr int proceduresPerTable = 5000;
inline constexpr int erLines = 20000;
inline constexpr int links = 30000;
inline constexpr int listedItems = 30000;
inline constexpr int mapAllItems = 500;

// Adds the inventory items, the procedures of the four exam tables and the links of the ER list.
void fill(QSqlDatabase db);

// An ER list as PhilHealth sends it: `erLines` lines, CR LF.
QByteArray erList();

// The hospital items the benchmark lists: ItemID, Description, GenericName, ListCost.
TextTable hospitalItems(Gateway& gw, int count);

} // namespace generated

// One line of the ER list.
struct ErRecord {
    QString code, category, description, fee, unit;
};
std::vector<ErRecord> erRecords(const QByteArray& list);

#pragma once

#include "core/db/Backend.h"

#include <QString>

#include <memory>

// The embedded default: two SQLite files in a data folder, attached to one connection under the
// names of the hospital's databases, Build_FIle and Inventory.
namespace embedded {

// The data folder: the platform's application data location (XDG_DATA_HOME moves it).
QString defaultDataFolder();

// The file that holds the database of that name inside a data folder.
QString databaseFile(const QString& folder, const QString& database);

// True when the folder holds no embedded database yet.
bool isEmpty(const QString& folder);

// Attaches both files of the folder to an open SQLite connection (QSQLITE, or SQLite through
// ODBC) and sets their journal: write-ahead log, every commit synced to disk.
void attach(QSqlDatabase& db, const QString& folder);

// Opens the embedded database of the folder; raises DbError when it cannot.
std::unique_ptr<Backend> open(const QString& folder);

} // namespace embedded

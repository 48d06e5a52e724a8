#include "EmbeddedDatabase.h"

#include "core/db/DbError.h"
#include "core/tsql/SqlText.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

namespace embedded {

QString defaultDataFolder() {
    // The computer's own data folder of the user (%LOCALAPPDATA% on Windows, not the roaming
    // profile that is copied at every logon; ~/.local/share elsewhere).
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

QString databaseFile(const QString& folder, const QString& database) {
    return QDir(folder).filePath(database + QStringLiteral(".sqlite"));
}

bool isEmpty(const QString& folder) {
    // Build_FIle is the last file put in place when the sample is made.
    return !QFileInfo::exists(databaseFile(folder, QStringLiteral("Build_FIle")));
}

void attach(QSqlDatabase& db, const QString& folder) {
    QSqlQuery q(db);
    auto run = [&](const QString& sql) {
        if (!q.exec(sql))
            throw DbError(driverText(q.lastError()));
        while (q.next()) {
        }
        q.finish();
    };
    for (const char* name : sql::databases)
        run(QStringLiteral("ATTACH DATABASE %1 AS [%2]")
                .arg(sql::quoted(databaseFile(folder, QLatin1String(name))), QLatin1String(name)));
    // A saved mapping must survive a crash of the program and of the computer: the write-ahead
    // log keeps readers and the writer apart, and FULL syncs the log at every commit.
    run(QStringLiteral("PRAGMA journal_mode=WAL"));
    for (const char* name : sql::databases)
        run(QStringLiteral("PRAGMA [%1].synchronous=FULL").arg(QLatin1String(name)));
    run(QStringLiteral("PRAGMA busy_timeout=5000"));
}

std::unique_ptr<Backend> open(const QString& folder) {
    if (!QDir().mkpath(folder))
        throw DbError(QStringLiteral("The data folder %1 cannot be created.").arg(folder));
    auto backend = std::make_unique<Backend>(
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), uniqueConnectionName("embedded")),
        Dialect::Sqlite, QStringLiteral("embedded database in %1").arg(folder));
    // The main database is a scratch one in memory; the data lives in the attached files.
    backend->database().setDatabaseName(QStringLiteral(":memory:"));
    if (!backend->database().open())
        throw DbError(driverText(backend->database().lastError()));
    attach(backend->database(), folder);
    return backend;
}

} // namespace embedded

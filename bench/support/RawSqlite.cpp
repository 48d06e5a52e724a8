#include "RawSqlite.h"

#include "core/db/EmbeddedDatabase.h"
#include "core/tsql/SqlText.h"

#include <cstdio>
#include <cstdlib>

#ifdef BREVANT_RAW_SQLITE
#include <sqlite3.h>
#endif

namespace raw {

#ifdef BREVANT_RAW_SQLITE

namespace {
[[noreturn]] void fail(sqlite3* db) {
    std::fprintf(stderr, "bench: %s\n", sqlite3_errmsg(db));
    std::exit(2);
}
} // namespace

bool available() {
    return true;
}

Statement::Statement(sqlite3* db, const char* sql)
    : m_db(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
        fail(db);
}

Statement::~Statement() {
    sqlite3_finalize(m_statement);
}

void Statement::bind(int position, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_bind_text(m_statement, position, utf8.constData(), int(utf8.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        fail(m_db);
}

void Statement::bind(int position, double value) {
    if (sqlite3_bind_double(m_statement, position, value) != SQLITE_OK)
        fail(m_db);
}

bool Statement::step() {
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fail(m_db);
    return false;
}

void Statement::reset() {
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

Connection::Connection(const QString& folder) {
    if (sqlite3_open(":memory:", &m_db) != SQLITE_OK)
        fail(m_db);
    for (const char* name : sql::databases) {
        const QString attach =
            QStringLiteral("ATTACH DATABASE %1 AS [%2]")
                .arg(sql::quoted(embedded::databaseFile(folder, QLatin1String(name))),
                     QLatin1String(name));
        execute(attach.toUtf8().constData());
        execute(QStringLiteral("PRAGMA [%1].synchronous=FULL")
                    .arg(QLatin1String(name))
                    .toUtf8()
                    .constData());
    }
    execute("PRAGMA journal_mode=WAL");
    sqlite3_busy_timeout(m_db, 5000);
}

Connection::~Connection() {
    sqlite3_close(m_db);
}

void Connection::execute(const char* sql) {
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(m_db);
}

#else

bool available() {
    return false;
}

Statement::Statement(sqlite3* db, const char*)
    : m_db(db) {}
Statement::~Statement() = default;
void Statement::bind(int, const QString&) {}
void Statement::bind(int, double) {}
bool Statement::step() {
    return false;
}
void Statement::reset() {}
void Statement::run() {}
Connection::Connection(const QString&) {}
Connection::~Connection() = default;
void Connection::execute(const char*) {}

#endif

} // namespace raw

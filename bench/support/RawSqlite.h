#pragma once

#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// The second floor of the benchmark: SQLite's own C interface, without Qt's driver between, on a
// connection of its own to the same files, set as the program sets its own (the two files
// attached, the write-ahead log, FULL syncs, a busy time-out). Built where libsqlite3 is found;
// elsewhere available() is false and the figures show the first floor alone.
namespace raw {

bool available();

class Statement {
public:
    Statement(sqlite3* db, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binds by position, from 1; a text is bound as its UTF-8 bytes.
    void bind(int position, const QString& text);
    void bind(int position, double value);
    // Steps once: true while a row is there.
    bool step();
    // Ready to run again with other values.
    void reset();
    // Steps to the end of the result and resets.
    void run();

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};

class Connection {
public:
    // Opens the embedded database of the folder; ends the benchmark when it cannot.
    explicit Connection(const QString& folder);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void execute(const char* sql);
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

} // namespace raw

#pragma once

#include <QElapsedTimer>

#include <functional>

class Gateway;

// Row-by-row work committed in batches (the import of a reference list). What the work writes
// between beginRecord() and endRecord() joins one open transaction, which commits once it has
// `records` records or has been open for `milliseconds`, and when finish() is called. A record
// is never split between two commits. Any other write that reaches the gateway while the
// transaction is open (a save the user makes between two lines) commits the batch first and
// then runs on its own, so it is on disk when it returns, as every write of the program is.
class WriteBatch {
public:
    WriteBatch(Gateway& gateway, int records, int milliseconds);
    // Commits what is still open; a failure there is not reported (call finish() to hear it).
    ~WriteBatch();
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // Opens the transaction when none is open. Fails with the database's text.
    void beginRecord();
    // Ends the record and commits when the batch is due.
    void endRecord();
    // Commits what is open. A commit that fails is rolled back (so the connection is never left
    // inside a transaction) and raises the database's text.
    void finish();
    // Work that joins the batch's transaction just before it commits, and before any statement
    // sent between two records (a list the user loads meanwhile): the import writes the rows
    // that wait, so that nothing reads the table without them.
    void setBeforeCommit(std::function<void()> work) { m_beforeCommit = std::move(work); }

private:
    friend class Gateway;
    void commitBeforeOtherWrite();
    void beforeOtherStatement();
    void runBeforeCommit();

    Gateway& m_gateway;
    const int m_records;
    const int m_milliseconds;
    bool m_open = false;
    bool m_inRecord = false;
    int m_pending = 0;
    QElapsedTimer m_since;
    std::function<void()> m_beforeCommit;
    bool m_running = false;
};

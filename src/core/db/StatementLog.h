#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// One statement the program sent: when, how long it took, how many rows it returned or changed,
// its text as the program built it, and the database's error text when it failed.
struct StatementRecord {
    qint64 sentAt = 0;       // milliseconds since the epoch, UTC
    qint64 microseconds = 0; // from the send to the last row read
    qint64 rows = -1;        // rows returned or changed; -1 when the database did not say
    QString statement;
    QString error; // empty when it succeeded
};

// The statements of a connection for hospital IT: the last `kept` of them in memory, newest
// first for the statement log window, and every one of them in a rolling file when one is set
// (at most `maxFileBytes`, then one older file kept beside it). Passwords and connection
// strings never reach either: a text that holds one has it masked.
class StatementLog {
public:
    static constexpr int kept = 2000;
    static constexpr qint64 maxFileBytes = 5 * 1024 * 1024;

    StatementLog() = default;
    ~StatementLog();
    StatementLog(const StatementLog&) = delete;
    StatementLog& operator=(const StatementLog&) = delete;

    // Writes the records from now on to `path` too (its older file is `path` with ".old" before
    // the extension: statements.old.log). An empty path writes no file. Returns false, and
    // keeps only the memory, when the file cannot be opened.
    bool setFile(const QString& path, qint64 maxBytes = maxFileBytes);
    QString filePath() const { return m_path; }
    // The older file of a log file: statements.log -> statements.old.log.
    static QString olderFile(const QString& path);

    void record(StatementRecord r);
    // The records kept, newest first.
    QList<StatementRecord> newestFirst() const;
    qsizetype size() const { return m_ring.size(); }
    void clear();

    // Returns once every record so far is in the file. Records go to the file from a thread of
    // the log's own, so that logging costs the work next to nothing: within a second, a failed
    // statement at once.
    void flush();

    // A record as one line of the file (tab-separated, no line break inside), with its end.
    static QByteArray fileLine(const StatementRecord& r);
    // The text with any password or connection string masked.
    static QString masked(const QString& text);
    // The record with its statement and error masked.
    static StatementRecord maskedRecord(StatementRecord r);

private:
    void writeLoop();
    void stopWriter();
    void writeOut(const QByteArray& bytes);
    // A record (masked already) as a line of the file after its time, added to `out`.
    static void appendLine(QByteArray& out, const StatementRecord& r, QByteArrayView time);
    // The local time of a record as sentAtText gives it, worked out once a second.
    void appendTime(QByteArray& out, qint64 sentAt);
    // The current file becomes the older file, and a new one begins.
    void roll();
    bool openFile();

    QList<StatementRecord> m_ring; // masked
    qsizetype m_next = 0;          // where the next record goes once the ring is full
    QString m_path;
    qint64 m_maxBytes = maxFileBytes;
    // The writer's: the file and the time text of the current second.
    QFile m_file;
    qint64 m_second = -1;
    QByteArray m_secondText;
    // Between the sending thread and the writer.
    std::thread m_writer;
    std::mutex m_mutex;
    std::condition_variable m_wake, m_done;
    QList<StatementRecord> m_pending;
    quint64 m_queued = 0, m_written = 0;
    bool m_urgent = false, m_stop = false;
};

// The statement's duration in milliseconds as the log shows it ("0.4", "12.0", "1520.3").
QString durationText(qint64 microseconds);
// The local time of a record as the log shows it ("2026-12-09 11:43:22.123").
QString sentAtText(qint64 sentAt);

#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>

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

    // Writes what is buffered to the file. Records are buffered briefly so that logging costs
    // the work next to nothing; a failed statement, a second since the last write and a full
    // buffer each write at once.
    void flush();

    // A record as one line of the file (tab-separated, no line break inside), with its end.
    static QByteArray fileLine(const StatementRecord& r);
    // The text with any password or connection string masked.
    static QString masked(const QString& text);

private:
    void writeOut(const QByteArray& bytes);
    bool openFile();

    QList<StatementRecord> m_ring;
    qsizetype m_next = 0; // where the next record goes once the ring is full
    QString m_path;
    qint64 m_maxBytes = maxFileBytes;
    QFile m_file;
    QByteArray m_buffer;
    QElapsedTimer m_sinceWrite;
};

// The statement's duration in milliseconds as the log shows it ("0.4", "12.0", "1520.3").
QString durationText(qint64 microseconds);
// The local time of a record as the log shows it ("2026-12-09 11:43:22.123").
QString sentAtText(qint64 sentAt);

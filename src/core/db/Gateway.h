#pragma once

#include "core/db/Backend.h"
#include "core/db/Cursors.h"
#include "core/db/DbError.h"
#include "core/db/ResultTables.h"
#include "core/db/StatementLog.h"
#include "core/db/StatementPool.h"
#include "core/db/WriteBatch.h"
#include "core/tsql/StatementShape.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

// The four kinds of database operation of the program, on one connection. Every failure
// raises DbError with the driver's text. Every statement sent, whoever built it (an operation,
// a write cursor, a transaction), is recorded in the statement log as the program built it, with
// its time, duration, rows and error.
class Gateway {
public:
    explicit Gateway(std::unique_ptr<Backend> backend);

    // A transaction on the connection. The outermost one sends "BEGIN TRANSACTION" and, at its
    // end, "COMMIT TRANSACTION", or "ROLLBACK TRANSACTION" when it was not committed; one made
    // while another is open (or inside a record of an import's batch) joins it and sends nothing.
    class Transaction {
    public:
        explicit Transaction(Gateway& gateway);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void commit();

    private:
        Gateway& m_gateway;
        bool m_outer = false;
        bool m_open = true;
    };
    bool inTransaction() const;

    // Statement: run the text, read no result.
    void execute(const QString& sql);
    // The same with ? parameters, bound to the values in their order.
    void execute(const QString& sql, const QList<QVariant>& values);
    // Query into values: every row and column of the result as the database gave them.
    ValueTable select(const QString& sql);
    // Query into a grid: every row and column of the result, as text.
    TextTable query(const QString& sql, Rowset mode = Rowset::ForwardReadOnly);
    // Look-up: open, then test atEnd() and read fields of the first row.
    Lookup lookup(const QString& sql, Rowset mode = Rowset::ForwardReadOnly);
    // Write through a query: open an updatable result over a SELECT ... FROM table ....
    WriteCursor openForWrite(const QString& sql);

    // Adds one row with the given values, bound as parameters: values never enter the text.
    void insertRow(const QString& table, const QStringList& columns, const QList<QVariant>& values);
    // Runs an "INSERT INTO table (columns) VALUES (...)" or "... SELECT ..." with ? parameters and
    // returns the ID the row was given, taken from the INSERT itself (OUTPUT INSERTED.[ID], which
    // a trigger on the table cannot change; RETURNING on the embedded database). Nothing when the
    // INSERT added no row (its SELECT found none).
    std::optional<qint64> insertForId(const QString& insert, const QList<QVariant>& values);
    // The T-SQL that insertForId sends to SQL Server for an INSERT.
    static QString withOutputId(const QString& insert);

    // The statements sent, for the statement log window and its file.
    StatementLog& statements() { return *m_statements; }
    void setStatementLog(std::shared_ptr<StatementLog> log) { m_statements = std::move(log); }

    // Whether statements go into the statement log (on unless turned off, for every gateway made
    // after a change of the default: the benchmark measures the program without it).
    void setRecording(bool on) { m_recording = on; }
    static void setRecordingByDefault(bool on);

    // SQL Server's drivers run no statement while another statement's result on the same
    // connection is still open (without MARS): they fail it with "Connection is busy with
    // results for another command". Under this rule the gateway fails such a statement the same
    // way on every connection, so that the tests hold the program to it on the embedded database.
    void setOneOpenResult(bool on) { m_oneOpenResult = on; }
    static void setOneOpenResultByDefault(bool on);
    static QString busyText();

    // The text of every statement sent, in order, when the trace is kept (tests read it; a
    // session of hours keeps only the statement log's last ones).
    void keepTrace(bool on) { m_trace = on; }
    const QStringList& log() const { return m_log; }
    void clearLog() { m_log.clear(); }
    // Called with each statement just before it is sent: a test makes another connection act
    // at a chosen point of an operation with it.
    using BeforeSend = std::function<void(const QString& statement)>;
    void setBeforeSend(BeforeSend hook) { m_beforeSend = std::move(hook); }
    Backend& backend() { return *m_backend; }

private:
    friend class WriteCursor;
    friend class WriteBatch;
    // A statement as it reaches the database: its text, the values bound to it, and the text
    // with its value literals taken out (the same for statements that differ only in them).
    struct Native {
        QString shape;
        QString text;
        QList<QVariant> values;
        bool pooled = false;
    };
    Native native(const QString& tsql, const QList<QVariant>& values);
    // Sends a statement as `work` runs it, and records it: `work` returns the rows it returned
    // or changed. A DbError is recorded with its text and raised again.
    template <typename Work> auto recorded(const QString& tsql, Work&& work);
    // Every write (statement, added or rewritten row) first lets an open batch commit.
    void beforeWrite();
    // The bracketed column names of an INSERT and as many ? marks, each joined by ", ".
    struct ColumnList {
        QString names;
        QString marks;
    };
    static ColumnList columnList(const QStringList& columns);
    // For the write cursor: the first row a statement reads (nothing when none), and the rows a
    // statement changes; both sent and recorded like every statement.
    std::optional<QList<QVariant>> readRow(const QString& tsql, const QList<QVariant>& values);
    qint64 change(const QString& tsql, const QList<QVariant>& values);
    PooledQuery run(const Native& statement, bool forwardOnly);
    PooledQuery send(const Native& statement, bool forwardOnly);
    PooledQuery run(const QString& tsql, bool forwardOnly, const QList<QVariant>& values = {});
    QList<QVariant> bound(const QString& table, const QStringList& columns,
                          const QList<QVariant>& values);
    const tsql::TableName& tableOf(const QString& shape);

    std::unique_ptr<Backend> m_backend;
    std::shared_ptr<StatementLog> m_statements = std::make_shared<StatementLog>();
    bool m_trace = false;
    bool m_recording = true;
    bool m_oneOpenResult = false;
    std::shared_ptr<OpenResults> m_openResults = std::make_shared<OpenResults>();
    QStringList m_log;
    BeforeSend m_beforeSend;
    bool m_inTransaction = false;
    WriteBatch* m_batch = nullptr;
    // Statements already rewritten, by their text with value literals taken out: the rewritten
    // text with ? parameters, or empty for one whose literals must stay in the text.
    QHash<QString, QString> m_rewritten;
    QHash<QString, tsql::TableName> m_tables;
    // Declared after the backend: its statements are finalised before the connection closes.
    std::shared_ptr<StatementPool> m_pool;
};

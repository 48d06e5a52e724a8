// The statement log's rolling file (one older file kept, the current one under its limit, a
// failed statement written at once) and its masking of passwords and connection strings.
#include "core/db/StatementLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

StatementRecord statement(const QString& text, const QString& error = QString()) {
    StatementRecord r;
    r.statement = text;
    r.error = error;
    return r;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The statements of a log file, in order.
QStringList statementsIn(const QString& path) {
    QStringList out;
    const QList<QByteArray> lines = contents(path).split('\n');
    const QByteArray header = lines.value(0);
    if (header != "Time\tDuration (ms)\tRows\tStatement\tError\r")
        qFatal("%s starts with %s", qPrintable(path), header.constData());
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (!lines[i].isEmpty())
            out << QString::fromUtf8(lines[i].split('\t').value(3));
    return out;
}

} // namespace

class TestStatementLog : public QObject {
    Q_OBJECT
private slots:
    void theFileRollsKeepingOneOlderFile();
    void passwordsAndConnectionStringsAreMasked_data();
    void passwordsAndConnectionStringsAreMasked();
};

void TestStatementLog::theFileRollsKeepingOneOlderFile() {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("statements.log"));
    const QString older = QDir(dir.path()).filePath(QStringLiteral("statements.old.log"));
    constexpr qint64 limit = 600;
    StatementLog log;
    QVERIFY(log.setFile(path, limit));
    QStringList written;
    for (int i = 0; i < 40; ++i) {
        written << QStringLiteral("UPDATE T SET N = %1 WHERE ID = 7").arg(i);
        // A failed statement reaches the file at once.
        log.record(statement(written.last(), QStringLiteral("failed")));
        const QStringList now = statementsIn(path);
        QVERIFY(!now.isEmpty() && now.last() == written.last());
        QVERIFY2(QFileInfo(path).size() <= limit, qPrintable(written.last()));
        QVERIFY(QFileInfo(older).size() <= limit);
    }
    // One older file and no more; together the two hold the newest statements in order.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             QStringList({"statements.log", "statements.old.log"}));
    const QStringList kept = statementsIn(older) + statementsIn(path);
    QVERIFY(kept.size() > 4 && kept.size() < written.size());
    QCOMPARE(kept, written.mid(written.size() - kept.size()));
}

void TestStatementLog::passwordsAndConnectionStringsAreMasked_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ODBC failure")
        << QStringLiteral(
               "Login failed: DRIVER={ODBC Driver 18 for SQL Server};SERVER={tcp:h,1433};"
               "Encrypt=Optional;UID={sa};PWD={secret};")
        << QStringLiteral("Login failed: <connection string>");
    QTest::newRow("password alone") << QStringLiteral("Failed with PWD=secret for user 'sa'.")
                                    << QStringLiteral("Failed with PWD=***");
    QTest::newRow("a statement") << QStringLiteral("SELECT [Code] FROM T WHERE X = 'dsn'")
                                 << QStringLiteral("SELECT [Code] FROM T WHERE X = 'dsn'");
    // ODBC takes a value without braces up to the next ";", blanks and all, and doubles a "}"
    // inside braces, as the login's connection string does with a password holding one.
    QTest::newRow("blank in password") << QStringLiteral("SERVER=h;UID=sa;PWD=my secret;")
                                       << QStringLiteral("SERVER=h;UID=sa;PWD=***;");
    QTest::newRow("quoted password") << QStringLiteral("ALTER LOGIN x WITH PASSWORD = N'my secret'")
                                     << QStringLiteral("ALTER LOGIN x WITH PASSWORD = ***");
    QTest::newRow("password with a colon")
        << QStringLiteral("Password: secret") << QStringLiteral("Password: ***");
    QTest::newRow("brace in password")
        << QStringLiteral("DRIVER={FreeTDS};SERVER=h;UID={sa};PWD={a}}secret};")
        << QStringLiteral("<connection string>");
}

void TestStatementLog::passwordsAndConnectionStringsAreMasked() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(StatementLog::masked(text), shown);
    QVERIFY(!StatementLog::fileLine(statement(text, text)).contains("secret"));
    StatementLog log;
    log.record(statement(text, text));
    QVERIFY(!log.newestFirst().first().error.contains(u"secret"));
}

QTEST_GUILESS_MAIN(TestStatementLog)
#include "tst_statementlog.moc"

// The statement log's file after a login: statements.log in the data folder (made also when the
// user logged in to SQL Server), statements written about once a second and a failed one at
// once, complete when the program ends, and never the login's connection string.
#include "ScreenFixture.h"

#include "app/Startup.h"
#include "core/db/EmbeddedDatabase.h"
#include "core/db/SqlServer.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestStatementLogFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void aLoginWritesTheLogToTheDataFolder();
    void theFileIsCompleteWhenTheProgramEnds();
};

void TestStatementLogFile::initTestCase() {
    QCoreApplication::setOrganizationName(QStringLiteral("BrevantTests"));
    QCoreApplication::setApplicationName(QStringLiteral("Brevant"));
}

void TestStatementLogFile::aLoginWritesTheLogToTheDataFolder() {
    TestDatabase server; // stands in for a SQL Server: not in the data folder
    QTemporaryDir home;
    const QString folder = QDir(home.path()).filePath(QStringLiteral("data/Brevant"));
    CurrentUser user;
    user.setDataFolder(folder);
    user.setLogin([&](const LoginDialog::Connector& connect) {
        // A SQL Server login that is refused first, its password in the connection string.
        try {
            connect(LoginChoice{false,
                                SqlServerLogin{QStringLiteral("127.0.0.1"), 1, QStringLiteral("sa"),
                                               QStringLiteral("secret"), false}});
        } catch (const DbError&) {
        }
        return embedded::open(server.folder());
    });
    user.showmain();
    const QString file = QDir(folder).filePath(QStringLiteral("statements.log"));
    QCOMPARE(contents(file), QByteArray("Time\tDuration (ms)\tRows\tStatement\tError\r\n"));

    // The log's writer writes what waits about once a second (flushing waits for it); a failed
    // statement is in the file when its failure is reported.
    Gateway& gw = user.sqlconnection();
    gw.query(QStringLiteral("SELECT Code FROM Build_FIle..ESOA_ER WHERE Code = 'ER0001'"));
    user.flushStatements();
    QVERIFY(contents(file).contains(
        "\t1\tSELECT Code FROM Build_FIle..ESOA_ER WHERE Code = 'ER0001'\t\r\n"));
    QVERIFY_THROWS_EXCEPTION(DbError,
                             gw.execute(QStringLiteral("DELETE FROM Build_FIle..NOWHERE")));
    QVERIFY(contents(file).contains("\tDELETE FROM Build_FIle..NOWHERE\tno such table"));
    // Nothing holds the refused login's password.
    QVERIFY(!contents(file).contains("secret"));
    for (const StatementRecord& r : gw.statements().newestFirst())
        QVERIFY(!r.statement.contains(u"secret") && !r.error.contains(u"secret"));
}

void TestStatementLogFile::theFileIsCompleteWhenTheProgramEnds() {
    QSettings().clear();
    modBrevant::setPrompter(std::make_unique<ScriptedPrompter>());
    TestDatabase db;
    modBrevant::currentUser().setDataFolder(db.folder());
    modBrevant::currentUser().setLogin(embeddedLogin);
    const QString statement =
        QStringLiteral("SELECT Code FROM Build_FIle..ESOA_ER WHERE Code = 'ER0002'");
    QTimer::singleShot(0, [&] {
        modBrevant::currentUser().sqlconnection().query(statement);
        modBrevant::frmESOA_Items()->controls().cmdClose->click();
    });
    QCOMPARE(modBrevant::Main(), 0);
    const QByteArray written =
        contents(QDir(db.folder()).filePath(QStringLiteral("statements.log")));
    QVERIFY(written.contains("\t" + statement.toUtf8() + "\t\r\n"));
    // The screen's start-up loads are there before it.
    const qsizetype load = written.indexOf("ESOA_ITEM");
    QVERIFY(load > 0 && load < written.indexOf(statement.toUtf8()));
}

QTEST_MAIN(TestStatementLogFile)
#include "tst_statementlogfile.moc"

// The ODBC transport, for real: the SQL Server path goes through QODBC, tested here with Debian's
// SQLite ODBC driver and the SQLite dialect (no SQL Server runs on these machines), and with
// FreeTDS against a closed port for the connection failure. Under Wine the same drivers serve
// through Wine's ODBC bridge.
#include "TestDatabase.h"
#include "Wine.h"

#include "core/db/EmbeddedDatabase.h"
#include "core/db/SqlServer.h"
#include "core/history/LinkHistory.h"
#include "core/tsql/SqlText.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTest>

class TestOdbc : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void fourOperationsOverOdbc();
    void theHistorysTransactionOverOdbc();
    void connectionStrings_data();
    void connectionStrings();
    void theNewestSqlServerDriverIsTaken_data();
    void theNewestSqlServerDriverIsTaken();
    void aClosedPortFailsFastAndNamesTheServer();

private:
    TestDatabase m_db;
};

void TestOdbc::initTestCase() {
    QVERIFY2(odbc::installedDrivers().contains(QStringLiteral("SQLite3")),
             "the SQLite ODBC driver (libsqliteodbc) is not installed");
}

void TestOdbc::fourOperationsOverOdbc() {
    QTemporaryDir scratch;
    const QString connection = QStringLiteral("DRIVER={SQLite3};Database=") +
                               wine::pathForDrivers(scratch.filePath(QStringLiteral("main.db")));
    std::unique_ptr<Backend> backend =
        odbc::open(connection, Dialect::Sqlite, QStringLiteral("test"));
    embedded::attach(backend->database(), wine::pathForDrivers(m_db.folder()));
    Gateway gw(std::move(backend));

    const TextTable categories = gw.query(QStringLiteral(
        "SELECT DISTINCT(Category) FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1 "));
    QCOMPARE(categories.columns, QStringList{QStringLiteral("Category")});
    QCOMPARE(categories.rows.size(), 6);

    Lookup found =
        gw.lookup(QStringLiteral("SELECT TOP 1 Code FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH "
                                 "(NOLOCK) WHERE RevenueID = 'PH' "
                                 "AND ItemID='10018' "));
    QVERIFY(!found.atEnd());
    QCOMPARE(found.field(QStringLiteral("Code")).toString(), QStringLiteral("ER0001"));
    found.close();

    WriteCursor w = gw.openForWrite(QStringLiteral(
        "SELECT * FROM [Build_FIle].[dbo].ESOA_ER_LINK  WHERE      RevenueID ='PH' AND "
        "ItemID    ='77'"));
    QVERIFY(w.atEnd());
    w.addNew();
    w.setField(QStringLiteral("ItemID"), QStringLiteral("77"));
    w.setField(QStringLiteral("RevenueID"), QStringLiteral("PH"));
    w.setField(QStringLiteral("Code"), QStringLiteral("ER0005"));
    w.setField(QStringLiteral("FixedFee"), 12.5);
    w.update();
    w.close();
    WriteCursor again = gw.openForWrite(QStringLiteral(
        "SELECT * FROM [Build_FIle].[dbo].ESOA_ER_LINK  WHERE      RevenueID ='PH' AND "
        "ItemID    ='77'"));
    QVERIFY(!again.atEnd());
    again.setField(QStringLiteral("Code"), QStringLiteral("ER0006"));
    again.update();
    again.close();

    gw.execute(QStringLiteral("DELETE FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WHERE ID='1' "));
    const TextTable links = gw.query(QStringLiteral(
        "SELECT Code, FixedFee FROM Build_FIle..ESOA_ER_LINK WHERE ItemID='77' OR ID=1"));
    QCOMPARE(links.rows, (QList<QStringList>{{"ER0006", "12.5"}}));

    try {
        gw.query(
            QStringLiteral("SELECT * FROM [Build_FIle].[dbo].[NOPE] WITH (NOLOCK) WHERE 1=1 "));
        QFAIL("a missing table was read");
    } catch (const DbError& e) {
        QVERIFY2(e.description().contains(QStringLiteral("no such table")),
                 qPrintable(e.description()));
    }
}

// The history's transaction as text through QODBC: committed with the link, or rolled back with it.
void TestOdbc::theHistorysTransactionOverOdbc() {
    QTemporaryDir scratch;
    std::unique_ptr<Backend> backend =
        odbc::open(QStringLiteral("DRIVER={SQLite3};Database=") +
                       wine::pathForDrivers(scratch.filePath(QStringLiteral("main.db"))),
                   Dialect::Sqlite, QStringLiteral("test"));
    embedded::attach(backend->database(), wine::pathForDrivers(m_db.folder()));
    Gateway gw(std::move(backend));
    history::LinkHistory history;
    const auto save = [&](const QString& item) {
        WriteCursor w = gw.openForWrite(
            QStringLiteral("SELECT * FROM [Build_FIle].[dbo].ESOA_ER_LINK  WHERE      RevenueID "
                           "='PH' AND ItemID    =") +
            sql::quoted(item));
        w.addNew();
        w.setField(QStringLiteral("ItemID"), item);
        w.setField(QStringLiteral("RevenueID"), QStringLiteral("PH"));
        w.setField(QStringLiteral("Code"), QStringLiteral("ER0005"));
        history.saveRow(gw, w);
    };
    const QString count = QStringLiteral("SELECT ID FROM Build_FIle..ESOA_ER_LINK WHERE ItemID IN "
                                         "('88', '89')");
    save(QStringLiteral("88"));
    QCOMPARE(countRows(gw, count), 1);
    QCOMPARE(countRows(gw, QStringLiteral("SELECT ID FROM Build_FIle..ESOA_LINK_HISTORY WHERE "
                                          "ItemID='88' AND Action='add'")),
             1);
    QSqlQuery(gw.backend().database())
        .exec(QStringLiteral("CREATE TRIGGER Build_FIle.refuse BEFORE INSERT ON "
                             "ESOA_LINK_HISTORY BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    QVERIFY_THROWS_EXCEPTION(DbError, save(QStringLiteral("89")));
    QCOMPARE(countRows(gw, count), 1);
}

void TestOdbc::connectionStrings_data() {
    QTest::addColumn<QString>("driver");
    QTest::addColumn<bool>("trusted");
    QTest::addColumn<bool>("encrypt");
    QTest::addColumn<QString>("expected");
    const QString password = QStringLiteral("UID={billing};PWD={p;w}}d};");
    const QString windowsLogin = QStringLiteral("Trusted_Connection=yes;");
    const QString server18 =
        QStringLiteral("DRIVER={ODBC Driver 18 for SQL Server};SERVER={tcp:dbhost,1433};");
    const QString server17 =
        QStringLiteral("DRIVER={ODBC Driver 17 for SQL Server};SERVER={tcp:dbhost,1433};");
    // Unless the login requires it, encryption only where the server insists, and no
    // certificate check; required, a certificate the driver cannot check is refused.
    const QString d18 = server18 + QStringLiteral("Encrypt=Optional;TrustServerCertificate=yes;");
    const QString d17 = server17 + QStringLiteral("Encrypt=no;TrustServerCertificate=yes;");
    const QString d18Encrypted =
        server18 + QStringLiteral("Encrypt=Mandatory;TrustServerCertificate=no;");
    const QString d17Encrypted =
        server17 + QStringLiteral("Encrypt=yes;TrustServerCertificate=no;");
    const QString windows =
        QStringLiteral("DRIVER={SQL Server};SERVER=dbhost,1433;Network=DBMSSOCN;");
    const QString tds = QStringLiteral(
        "DRIVER={FreeTDS};SERVER={dbhost};PORT=1433;TDS_Version=7.4;ClientCharset=UTF-8;");
    QTest::newRow("FreeTDS") << "FreeTDS" << false << false << tds + password;
    QTest::newRow("18, password") << "ODBC Driver 18 for SQL Server" << false << false
                                  << d18 + password;
    QTest::newRow("18, Windows") << "ODBC Driver 18 for SQL Server" << true << false
                                 << d18 + windowsLogin;
    QTest::newRow("17, Windows") << "ODBC Driver 17 for SQL Server" << true << false
                                 << d17 + windowsLogin;
    // The driver every Windows has.
    QTest::newRow("SQL Server, password") << "SQL Server" << false << false << windows + password;
    QTest::newRow("SQL Server, Windows") << "SQL Server" << true << false << windows + windowsLogin;
    QTest::newRow("18, password, encrypted")
        << "ODBC Driver 18 for SQL Server" << false << true << d18Encrypted + password;
    QTest::newRow("18, Windows, encrypted")
        << "ODBC Driver 18 for SQL Server" << true << true << d18Encrypted + windowsLogin;
    QTest::newRow("17, password, encrypted")
        << "ODBC Driver 17 for SQL Server" << false << true << d17Encrypted + password;
    QTest::newRow("SQL Server, encrypted")
        << "SQL Server" << true << true << windows + QStringLiteral("Encrypt=yes;") + windowsLogin;
    QTest::newRow("FreeTDS, encrypted")
        << "FreeTDS" << false << true << tds + QStringLiteral("Encryption=require;") + password;
}

void TestOdbc::connectionStrings() {
    QFETCH(QString, driver);
    QFETCH(bool, trusted);
    QFETCH(bool, encrypt);
    QFETCH(QString, expected);
    const SqlServerLogin login{QStringLiteral("dbhost"), 1433,    QStringLiteral("billing"),
                               QStringLiteral("p;w}d"),  trusted, encrypt};
    QCOMPARE(sqlserver::connectionString(login, driver), expected);
}

void TestOdbc::theNewestSqlServerDriverIsTaken_data() {
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("taken");
    const QString d18 = QStringLiteral("ODBC Driver 18 for SQL Server");
    const QString d17 = QStringLiteral("ODBC Driver 17 for SQL Server");
    const QString windows = QStringLiteral("SQL Server");
    const QString tds = QStringLiteral("FreeTDS");
    QTest::newRow("18 before all") << QStringList{tds, windows, d17, d18} << d18;
    QTest::newRow("17 before the old driver") << QStringList{windows, d17} << d17;
    QTest::newRow("a Windows without Microsoft's drivers") << QStringList{windows, tds} << windows;
    QTest::newRow("Linux with FreeTDS") << QStringList{QStringLiteral("SQLite3"), tds} << tds;
    QTest::newRow("named as the list spells it")
        << QStringList{QStringLiteral("sql server")} << QStringLiteral("sql server");
    QTest::newRow("none") << QStringList{QStringLiteral("SQLite3")} << QString();
}

void TestOdbc::theNewestSqlServerDriverIsTaken() {
    QFETCH(QStringList, installed);
    QFETCH(QString, taken);
    QCOMPARE(sqlserver::preferredDriver(installed), taken);
}

void TestOdbc::aClosedPortFailsFastAndNamesTheServer() {
    QVERIFY2(!sqlserver::preferredDriver(odbc::installedDrivers()).isEmpty(),
             "no SQL Server ODBC driver (tdsodbc) is installed");
    // A port that was just free: nothing listens there.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    QElapsedTimer timer;
    timer.start();
    try {
        sqlserver::open(SqlServerLogin{QStringLiteral("127.0.0.1"), port, QStringLiteral("sa"),
                                       QStringLiteral("x"), false});
        QFAIL("connected to a closed port");
    } catch (const DbError& e) {
        const QString expected =
            QStringLiteral("Cannot connect to SQL Server 127.0.0.1,%1: ").arg(port);
        QVERIFY2(e.description().startsWith(expected), qPrintable(e.description()));
        QVERIFY(e.description().size() > expected.size());
    }
    QVERIFY2(timer.elapsed() < 5500, qPrintable(QString::number(timer.elapsed())));
}

QTEST_MAIN(TestOdbc)
#include "tst_odbc.moc"

// The T-SQL to SQLite rewriting, statement form by statement form, without a database.
#include "core/tsql/Lexer.h"
#include "core/tsql/SqliteDialect.h"
#include "core/tsql/StatementShape.h"

#include <QTest>

class TestRewriter : public QObject {
    Q_OBJECT
private slots:
    void tokensJoinBackToTheStatement();
    void rewrites_data();
    void rewrites();
    void stringLiteralsStayUntouched();
    void selectTableNamesTheWrittenTable_data();
    void selectTableNamesTheWrittenTable();
    void valueLiteralsAreLiftedOut();
    void sessionFunctionsAndTransactions();
};

void TestRewriter::tokensJoinBackToTheStatement() {
    const QString sql = QStringLiteral(
        " SELECT TOP 500 A.ItemID , A.ItemName + ' - ' + A.ItemDesc AS Description -- note\n"
        "FROM [Build_FIle].[dbo].[x]]y] WHERE a<>b AND c='it''s' /* c */ AND d=N'n' AND e=1.5e3");
    QString joined;
    for (const tsql::Token& t : tsql::tokenize(sql))
        joined += t.text;
    QCOMPARE(joined, sql);
}

void TestRewriter::rewrites_data() {
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("two dots, any case of the database name")
        << "ALTER TABLE INVENTORY..tbInvMaster DROP COLUMN ESOA_Code   "
        << "ALTER TABLE INVENTORY.tbInvMaster DROP COLUMN ESOA_Code   ";
    QTest::newRow("three-part bracketed name") << "DROP TABLE [Build_FIle].[dbo].[ESOA_ER]"
                                               << "DROP TABLE [Build_FIle].[ESOA_ER]";
    QTest::newRow("three-part plain name") << "SELECT * FROM Build_FIle.dbo.tbRevenues"
                                           << "SELECT * FROM Build_FIle.tbRevenues";
    QTest::newRow("two-part alias.column stays") << "SELECT a.ItemID FROM Inventory..tbInvMaster a"
                                                 << "SELECT a.ItemID FROM Inventory.tbInvMaster a";
    QTest::newRow("distinct categories, hint dropped")
        << "SELECT DISTINCT(Category) FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1 "
        << "SELECT DISTINCT(Category) FROM [Build_FIle].[ESOA_ER]  WHERE 1=1 ";
    QTest::newRow("inventory search: TOP, +, CONVERT, two databases")
        << " SELECT TOP 500 A.ItemID , A.ItemName + ' - ' + A.ItemDesc AS "
           "Description,B.GenericName,   "
           "CONVERT(DECIMAL(15,2),ListCost) AS ListCost     FROM Inventory..tbInvMaster A  WITH "
           "(NOLOCK)  "
           "  LEFT OUTER JOIN inventory..tbForGeneric B ON a.GenericID=b.GenericID  WHERE  "
           "a.itemstatus = 0 "
           " order by a.ItemName"
        << " SELECT A.ItemID , A.ItemName || ' - ' || A.ItemDesc AS Description,B.GenericName,   "
           "(CASE WHEN (ListCost) IS NULL THEN NULL ELSE printf('%.2f', ListCost) END) AS ListCost "
           "    "
           "FROM Inventory.tbInvMaster A      LEFT OUTER JOIN inventory.tbForGeneric B ON "
           "a.GenericID=b.GenericID  WHERE  a.itemstatus = 0  order by a.ItemName LIMIT 500";
    QTest::newRow("TOP 1 1 keeps the trailing blank")
        << "SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH (NOLOCK) WHERE Code='X' "
        << "SELECT 1 FROM [Build_FIle].[ESOA_ER_LINK]  WHERE Code='X' LIMIT 1 ";
    QTest::newRow("TOP in parentheses") << "SELECT DISTINCT TOP (3) Code FROM t"
                                        << "SELECT DISTINCT Code FROM t LIMIT 3";
    QTest::newRow("reference table DDL")
        << "CREATE TABLE [Build_FIle].[dbo].[ESOA_ER](    [ID]                [bigint] "
           "IDENTITY(1,1) NOT NULL,"
           "    [Code]              [varchar](50) NULL,    [FixedFee]          SMALLMONEY NULL,)"
        << "CREATE TABLE [Build_FIle].[ESOA_ER](    [ID]                INTEGER PRIMARY KEY "
           "AUTOINCREMENT  "
           "NOT NULL,    [Code]              VARCHAR(50) COLLATE NOCASE NULL CHECK (length([Code]) "
           "<= 50),"
           "    [FixedFee]          SMALLMONEY NULL CHECK (typeof([FixedFee]) IN "
           "('integer','real','null') "
           "AND [FixedFee] BETWEEN -214748.3648 AND 214748.3647))";
    QTest::newRow("smallint range")
        << "CREATE TABLE [Build_FIle].[dbo].[L](    [SortOrder]         [smallint] NULL )"
        << "CREATE TABLE [Build_FIle].[L](    [SortOrder]         SMALLINT NULL CHECK "
           "(typeof([SortOrder]) "
           "IN ('integer','null') AND [SortOrder] BETWEEN -32768 AND 32767) )";
    QTest::newRow("table constraint loses CLUSTERED, ON [PRIMARY] dropped")
        << "CREATE TABLE Inventory..G([GenericID] [int] NOT NULL, CONSTRAINT [PK] PRIMARY KEY "
           "CLUSTERED "
           "([GenericID] ASC)) ON [PRIMARY]"
        << "CREATE TABLE Inventory.G([GenericID] INT NOT NULL CHECK (typeof([GenericID]) IN "
           "('integer','null') AND [GenericID] BETWEEN -2147483648 AND 2147483647), CONSTRAINT "
           "[PK] "
           "PRIMARY KEY ([GenericID] ASC))";
    QTest::newRow("clustered index named per table")
        << "CREATE CLUSTERED INDEX [by_ID] ON [Build_File].[dbo].[ESOA_ER](    [ID] Asc)"
        << "CREATE INDEX [Build_File].[ESOA_ER__by_ID] ON [ESOA_ER](    [ID] Asc)";
    QTest::newRow("nonclustered index with trailing blanks")
        << "CREATE NONCLUSTERED INDEX [by_ItemID] ON [Build_File].[dbo].[ESOA_ER_LINK](    "
           "[RevenueID] Asc,"
           "     [ItemID] Asc )"
        << "CREATE INDEX [Build_File].[ESOA_ER_LINK__by_ItemID] ON [ESOA_ER_LINK](    [RevenueID] "
           "Asc,"
           "     [ItemID] Asc )";
    QTest::newRow("ISNULL, LEN, GETDATE")
        << "SELECT ISNULL(a, 'x'), LEN(b), GETDATE() FROM t"
        << "SELECT IFNULL(a, 'x'), LENGTH(RTRIM(b)), DATETIME('now', 'localtime') FROM t";
    QTest::newRow("CONVERT to text and integer")
        << "SELECT CONVERT(VARCHAR(10), n) + 'x', CONVERT(INT, '5') FROM t"
        << "SELECT CAST(n AS TEXT) || 'x', CAST('5' AS INTEGER) FROM t";
    QTest::newRow("a chain of texts") << "SELECT 'a' + b + c FROM t"
                                      << "SELECT 'a' || b || c FROM t";
    QTest::newRow("numbers still add") << "SELECT a + 1 FROM t"
                                       << "SELECT a + 1 FROM t";
}

void TestRewriter::rewrites() {
    QFETCH(QString, tsql);
    QFETCH(QString, sqlite);
    QCOMPARE(tsql::toSqlite(tsql), sqlite);
}

void TestRewriter::stringLiteralsStayUntouched() {
    const QString literal =
        QStringLiteral("'%Build_FIle..x [dbo].[y] WITH (NOLOCK) TOP 5 a+b CONVERT(INT,1) it''s%'");
    const QString out = tsql::toSqlite(QStringLiteral("SELECT * FROM t WHERE d like ") + literal);
    QCOMPARE(out, QStringLiteral("SELECT * FROM t WHERE d like ") + literal);
    // An unterminated literal swallows the rest: nothing after it is rewritten.
    QCOMPARE(tsql::toSqlite(QStringLiteral("SELECT 'a WITH (NOLOCK)")),
             QStringLiteral("SELECT 'a WITH (NOLOCK)"));
}

void TestRewriter::selectTableNamesTheWrittenTable_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("table");
    QTest::newRow("save look-up")
        << "SELECT * FROM [Build_FIle].[dbo].ESOA_ER_LINK  WHERE      RevenueID ='PH'"
        << "[Build_FIle].[dbo].ESOA_ER_LINK"
        << "Build_FIle"
        << "ESOA_ER_LINK";
    QTest::newRow("two dots") << "select x from Inventory..tbInvMaster a"
                              << "Inventory..tbInvMaster"
                              << "Inventory"
                              << "tbInvMaster";
    QTest::newRow("no database") << "SELECT * FROM t WHERE (SELECT 1 FROM u)=1"
                                 << "t"
                                 << ""
                                 << "t";
    QTest::newRow("no FROM") << "SELECT 1"
                             << ""
                             << ""
                             << "";
}

void TestRewriter::selectTableNamesTheWrittenTable() {
    QFETCH(QString, sql);
    const tsql::TableName name = tsql::selectTable(sql);
    QTEST(name.text, "text");
    QTEST(name.database, "database");
    QTEST(name.table, "table");
}

void TestRewriter::valueLiteralsAreLiftedOut() {
    auto marker = [](int i) { return u'\'' + QChar(0xE000) + QString::number(i) + u'\''; };
    // After WHERE: quotes undone, an N literal and an empty literal (a text, never NULL).
    tsql::Lifted l = tsql::liftLiterals(
        QStringLiteral("SELECT 'x' AS y FROM t WHERE a = 'O''Brien' AND b = N'\u00D1' OR c = ''"));
    QCOMPARE(l.text, QStringLiteral("SELECT 'x' AS y FROM t WHERE a = ") + marker(0) +
                         QStringLiteral(" AND b = N") + marker(1) + QStringLiteral(" OR c = ") +
                         marker(2));
    QCOMPARE(l.values, (QStringList{"O'Brien", QStringLiteral("\u00D1"), ""}));
    QVERIFY(!l.values[2].isNull());
    // Two statements that differ only in values share their lifted text.
    QCOMPARE(tsql::liftLiterals(QStringLiteral("DELETE FROM t WHERE Code='A'")).text,
             tsql::liftLiterals(QStringLiteral("DELETE FROM t WHERE Code='B'")).text);
    QCOMPARE(tsql::liftLiterals(QStringLiteral("UPDATE t SET a='1' WHERE b='2'")).values,
             (QStringList{"1", "2"}));
    // Left as they are: definitions, a SELECT without WHERE, a literal left open.
    for (const QString& kept :
         {QStringLiteral("CREATE TABLE t (a varchar(5) DEFAULT 'x')"),
          QStringLiteral("SELECT 'a' FROM t"), QStringLiteral("SELECT * FROM t WHERE a = 'open")}) {
        QCOMPARE(tsql::liftLiterals(kept).text, kept);
        QVERIFY(tsql::liftLiterals(kept).values.isEmpty());
    }

    // The rewritten text takes ? for the markers, joined texts included.
    l = tsql::liftLiterals(QStringLiteral("SELECT * FROM db..t WHERE a = 'E' + 'R' AND b='%'"));
    QCOMPARE(tsql::markersToParameters(tsql::toSqlite(l.text), l.values.size()),
             QStringLiteral("SELECT * FROM db.t WHERE a = ? || ? AND b=?"));
    // An N literal right after another literal stays a literal of its own.
    l = tsql::liftLiterals(QStringLiteral("DELETE FROM t WHERE a = 'x'N'y'"));
    QCOMPARE(l.values, (QStringList{"x", "y"}));
    QCOMPARE(tsql::markersToParameters(l.text, 2), QStringLiteral("DELETE FROM t WHERE a = ??"));
    // Markers missing, repeated or out of order refuse.
    QCOMPARE(tsql::markersToParameters(marker(1) + u' ' + marker(0), 2), QString());
    QCOMPARE(tsql::markersToParameters(marker(0), 2), QString());
    QCOMPARE(tsql::markersToParameters(marker(0) + u' ' + marker(0), 1), QString());
    QCOMPARE(tsql::markersToParameters(QStringLiteral("SELECT 1"), 0), QStringLiteral("SELECT 1"));
}

void TestRewriter::sessionFunctionsAndTransactions() {
    const tsql::Session session{QStringLiteral("o'neil"), QStringLiteral("WS-12")};
    QCOMPARE(tsql::toSqlite(QStringLiteral("INSERT INTO db..h (a, b, c, d) VALUES (GETDATE(), "
                                           "SUSER_SNAME(), HOST_NAME(), ?)"),
                            session),
             QStringLiteral("INSERT INTO db.h (a, b, c, d) VALUES (DATETIME('now', 'localtime'), "
                            "'o''neil', 'WS-12', ?)"));
    // Not known: NULL, never an empty name.
    QCOMPARE(tsql::toSqlite(QStringLiteral("SELECT SUSER_SNAME(), HOST_NAME()")),
             QStringLiteral("SELECT NULL, NULL"));
    QCOMPARE(tsql::toSqlite(QStringLiteral("SELECT @@IDENTITY AS [ID]")),
             QStringLiteral("SELECT last_insert_rowid() AS [ID]"));
    QCOMPARE(tsql::toSqlite(QStringLiteral("BEGIN TRANSACTION")),
             QStringLiteral("BEGIN IMMEDIATE TRANSACTION"));
    QCOMPARE(tsql::toSqlite(QStringLiteral("BEGIN TRAN")),
             QStringLiteral("BEGIN IMMEDIATE TRANSACTION"));
    QCOMPARE(tsql::toSqlite(QStringLiteral("COMMIT TRANSACTION")),
             QStringLiteral("COMMIT TRANSACTION"));
    // A transaction's start and end leave the tables' shape: prepared statements stay usable.
    for (const char* text : {"BEGIN TRANSACTION", "COMMIT TRANSACTION", "ROLLBACK TRANSACTION"})
        QVERIFY(tsql::liftLiterals(QLatin1String(text)).data);
    QVERIFY(!tsql::liftLiterals(QStringLiteral("DROP TABLE t")).data);
}

QTEST_APPLESS_MAIN(TestRewriter)
#include "tst_rewriter.moc"

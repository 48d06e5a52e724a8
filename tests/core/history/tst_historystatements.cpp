// The T-SQL of the history as SQL Server gets it: the table, the history row, the undo's
// statements. The embedded database runs each through the rewriter (see tst_linkhistory).
#include "core/history/HistoryStatements.h"

#include <QTest>

class TestHistoryStatements : public QObject {
    Q_OBJECT
private slots:
    void statementTexts();
};

void TestHistoryStatements::statementTexts() {
    const QString values =
        "[OldCode], [OldCategory], [OldDescription], [OldFixedFee], [OldChargingUnit], "
        "[OldItemDesc], [OldInvOrProc], [OldSectionID], [NewCode], [NewCategory], "
        "[NewDescription], [NewFixedFee], [NewChargingUnit], [NewItemDesc], [NewInvOrProc], "
        "[NewSectionID]";
    QCOMPARE(
        history::insertStatement(),
        "INSERT INTO [Build_FIle].[dbo].[ESOA_LINK_HISTORY] ([ChangedAt], [ChangedBy], "
        "[Workstation], [LinkTable], [LinkID], [Action], [RevenueID], [ItemID], " +
            values +
            ", [BatchNo], [How]) VALUES (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    // A table made before the column How gets it, or its rows go on without it.
    QVERIFY(
        history::insertStatement(false).endsWith(", [BatchNo]) VALUES (GETDATE(), SUSER_SNAME(), "
                                                 "HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                                 "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    QCOMPARE(history::addHowStatement(),
             "ALTER TABLE [Build_FIle].[dbo].[ESOA_LINK_HISTORY] ADD [How] varchar(40) NULL");
    const QStringList create = history::createStatements();
    QCOMPARE(create.size(), 5);
    QVERIFY(create[0].startsWith(
        "CREATE TABLE [Build_FIle].[dbo].[ESOA_LINK_HISTORY](    [ID]                [bigint] "
        "IDENTITY(1,1) NOT NULL,    [ChangedAt]         [datetime]      NOT NULL,    [ChangedBy]  "
        "       [nvarchar](128) NULL,    [Workstation]       [nvarchar](128) NULL,"));
    QVERIFY(create[0].contains("    [OldFixedFee]       SMALLMONEY     NULL,"));
    QVERIFY(create[0].endsWith("    [BatchNo]           [bigint]        NULL,"
                               "    [How]               [varchar](40)   NULL)"));
    QCOMPARE(create[2], "CREATE NONCLUSTERED INDEX [by_Item] ON "
                        "[Build_File].[dbo].[ESOA_LINK_HISTORY](    [LinkTable] Asc,    "
                        "[RevenueID] Asc,    [ItemID] Asc)");
    for (const QString& statement : create)
        QVERIFY(!statement.contains("DROP") && !statement.contains("DELETE"));
    QCOMPARE(history::newestBatchStatement("ESOA_ER_LINK"),
             "SELECT TOP 1 [BatchNo], COUNT(DISTINCT [LinkID]) AS [Links], MAX([NewCode]) AS "
             "[Code], COUNT(DISTINCT [NewCode]) AS [Codes], MAX(CASE WHEN [Action]='refresh' "
             "THEN 1 ELSE 0 END) AS [Refresh] FROM "
             "[Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE "
             "[LinkTable]='ESOA_ER_LINK' AND [BatchNo] IS NOT NULL AND [Action] IN ('add', "
             "'rewrite', 'refresh') AND [BatchNo] NOT IN (SELECT [BatchNo] FROM "
             "[Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [Action]='undo' AND "
             "[BatchNo] IS NOT NULL) GROUP BY [BatchNo] ORDER BY [BatchNo] DESC");
    QCOMPARE(history::linkRowStatement("ESOA_ER_LINK", "1'2"),
             "SELECT * FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH (UPDLOCK, HOLDLOCK) WHERE "
             "ID='1''2' ");
    QCOMPARE(history::restoreStatement("ESOA_ER_LINK"),
             "UPDATE [Build_FIle].[dbo].[ESOA_ER_LINK] SET [Code] = ?, [Category] = ?, "
             "[Description] = ?, [FixedFee] = ?, [ChargingUnit] = ?, [ItemDesc] = ?, "
             "[InvOrProc] = ?, [SectionID] = ? WHERE [ID] = ?");
    QCOMPARE(history::removeStatement("ESOA_ER_LINK"),
             "DELETE FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WHERE [ID] = ?");
    QCOMPARE(
        history::itemHistoryStatement("ESOA_ER_LINK", "P'H", "10020"),
        "SELECT CONVERT(varchar(19), [ChangedAt], 120) AS [When], [ChangedBy] AS [Who], "
        "[Workstation], [Action], [OldCode] AS [Old code], [OldDescription] AS [Old "
        "description], [NewCode] AS [New code], [NewDescription] AS [New description], "
        "[BatchNo] AS [Map ALL], [ID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) "
        "WHERE [LinkTable]='ESOA_ER_LINK' AND [RevenueID]='P''H' AND [ItemID]='10020' ORDER "
        "BY [ID] DESC");
    QCOMPARE(history::laterChangesStatement("ESOA_ER_LINK", 7, 3),
             "SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] "
             "WHERE [LinkTable]='ESOA_ER_LINK' AND [ID] > 3 AND ([BatchNo] IS NULL OR ([BatchNo] "
             "<> 7 AND [BatchNo] NOT IN (SELECT [BatchNo] FROM "
             "[Build_FIle].[dbo].[ESOA_LINK_HISTORY] WHERE [Action]='undo' AND [BatchNo] IS NOT "
             "NULL))) GROUP BY [LinkID]");
}

QTEST_APPLESS_MAIN(TestHistoryStatements)
#include "tst_historystatements.moc"

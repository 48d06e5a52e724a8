#include "HistoryStatements.h"

#include "core/db/OwnTables.h"
#include "core/tsql/SqlText.h"

namespace history {

namespace {

QString table() {
    return sql::buildFileTable(QLatin1String(tableName));
}

// The Old or New columns, bracketed and separated by commas.
QString valueColumns(const QString& prefix) {
    QStringList names;
    for (const QString& column : linkColumns())
        names << u'[' + prefix + column + u']';
    return names.join(QStringLiteral(", "));
}

} // namespace

const QStringList& linkColumns() {
    static const QStringList columns = {
        QStringLiteral("Code"),      QStringLiteral("Category"),     QStringLiteral("Description"),
        QStringLiteral("FixedFee"),  QStringLiteral("ChargingUnit"), QStringLiteral("ItemDesc"),
        QStringLiteral("InvOrProc"), QStringLiteral("SectionID"),
    };
    return columns;
}

QStringList createStatements() {
    QString values;
    for (const char* prefix : {"Old", "New"})
        values += QStringLiteral("    [%1Code]           [varchar](50)  NULL,"
                                 "    [%1Category]       [varchar](50)  NULL,"
                                 "    [%1Description]    [varchar](250) NULL,"
                                 "    [%1FixedFee]       SMALLMONEY     NULL,"
                                 "    [%1ChargingUnit]   [varchar](50)  NULL,"
                                 "    [%1ItemDesc]       [varchar](250) NULL,"
                                 "    [%1InvOrProc]      [varchar](20)  NULL,"
                                 "    [%1SectionID]      [varchar](20)  NULL,")
                      .arg(QLatin1String(prefix));
    const QString on = QStringLiteral("ON ") + sql::indexedTable(QLatin1String(tableName)) + u'(';
    return {
        QStringLiteral("CREATE TABLE ") + table() +
            QStringLiteral("("
                           "    [ID]                [bigint] IDENTITY(1,1) NOT NULL,"
                           "    [ChangedAt]         [datetime]      NOT NULL,"
                           "    [ChangedBy]         [nvarchar](128) NULL,"
                           "    [Workstation]       [nvarchar](128) NULL,"
                           "    [LinkTable]         [varchar](128)  NOT NULL,"
                           "    [LinkID]            [bigint]        NULL,"
                           "    [Action]            [varchar](10)   NOT NULL,"
                           "    [RevenueID]         [varchar](20)   NULL,"
                           "    [ItemID]            [varchar](50)   NULL,") +
            values +
            QStringLiteral("    [BatchNo]           [bigint]        NULL,"
                           "    [How]               [varchar](40)   NULL)"),
        QStringLiteral("CREATE CLUSTERED INDEX [by_ID] ") + on + QStringLiteral("    [ID] Asc)"),
        QStringLiteral("CREATE NONCLUSTERED INDEX [by_Item] ") + on +
            QStringLiteral("    [LinkTable] Asc,    [RevenueID] Asc,    [ItemID] Asc)"),
        QStringLiteral("CREATE NONCLUSTERED INDEX [by_Link] ") + on +
            QStringLiteral("    [LinkTable] Asc,    [LinkID] Asc)"),
        QStringLiteral("CREATE NONCLUSTERED INDEX [by_BatchNo] ") + on +
            QStringLiteral("    [BatchNo] Asc)"),
    };
}

QString addHowStatement() {
    return QStringLiteral("ALTER TABLE ") + table() + QStringLiteral(" ADD [How] varchar(40) NULL");
}

QString probeStatement() {
    return owntables::probeStatement(QLatin1String(tableName));
}

QString probeHowStatement() {
    return QStringLiteral("SELECT TOP 1 [How] FROM ") + table() + QStringLiteral(" WITH (NOLOCK)");
}

QString insertStatement(bool withHow) {
    return insertRowsStatement(1, withHow);
}

QString insertRowsStatement(int rows, bool withHow) {
    QString marks;
    for (int i = 0; i < (withHow ? 23 : 22); ++i)
        marks += i ? QStringLiteral(", ?") : QStringLiteral("?");
    const QString row = QStringLiteral("(GETDATE(), SUSER_SNAME(), HOST_NAME(), ") + marks + u')';
    QString out =
        QStringLiteral("INSERT INTO ") + table() +
        QStringLiteral(" ([ChangedAt], [ChangedBy], [Workstation], [LinkTable], [LinkID], "
                       "[Action], [RevenueID], [ItemID], ") +
        valueColumns(QStringLiteral("Old")) + QStringLiteral(", ") +
        valueColumns(QStringLiteral("New")) +
        (withHow ? QStringLiteral(", [BatchNo], [How]) VALUES ")
                 : QStringLiteral(", [BatchNo]) VALUES "));
    for (int i = 0; i < rows; ++i)
        out += (i ? QStringLiteral(", ") : QString()) + row;
    return out;
}

QString setBatchStatement() {
    return QStringLiteral("UPDATE ") + table() +
           QStringLiteral(" SET [BatchNo] = ? WHERE [ID] = ?");
}

QString itemHistoryStatement(const QString& linkTable, const QString& revenueId,
                             const QString& itemId) {
    return QStringLiteral("SELECT CONVERT(varchar(19), [ChangedAt], 120) AS [When], "
                          "[ChangedBy] AS [Who], [Workstation], [Action], "
                          "[OldCode] AS [Old code], [OldDescription] AS [Old description], "
                          "[NewCode] AS [New code], [NewDescription] AS [New description], "
                          "[BatchNo] AS [Map ALL], [ID] FROM ") +
           table() + QStringLiteral(" WITH (NOLOCK) WHERE [LinkTable]=") + sql::quoted(linkTable) +
           QStringLiteral(" AND [RevenueID]=") + sql::quoted(revenueId) +
           QStringLiteral(" AND [ItemID]=") + sql::quoted(itemId) +
           QStringLiteral(" ORDER BY [ID] DESC");
}

QString newestBatchStatement(const QString& linkTable) {
    return QStringLiteral(
               "SELECT TOP 1 [BatchNo], COUNT(DISTINCT [LinkID]) AS [Links], "
               "MAX([NewCode]) AS [Code], COUNT(DISTINCT [NewCode]) AS [Codes], "
               "MAX(CASE WHEN [Action]='refresh' THEN 1 ELSE 0 END) AS [Refresh] FROM ") +
           table() + QStringLiteral(" WITH (NOLOCK) WHERE [LinkTable]=") + sql::quoted(linkTable) +
           QStringLiteral(" AND [BatchNo] IS NOT NULL AND [Action] IN ('add', 'rewrite', 'refresh')"
                          " AND [BatchNo] NOT IN (SELECT [BatchNo] FROM ") +
           table() +
           QStringLiteral(" WITH (NOLOCK) WHERE [Action]='undo' AND [BatchNo] IS NOT NULL)"
                          " GROUP BY [BatchNo] ORDER BY [BatchNo] DESC");
}

QString batchRowsStatement(const QString& linkTable, qint64 batch) {
    return QStringLiteral("SELECT [ID], [LinkID], [Action], [RevenueID], [ItemID], ") +
           valueColumns(QStringLiteral("Old")) + QStringLiteral(", ") +
           valueColumns(QStringLiteral("New")) + QStringLiteral(" FROM ") + table() +
           QStringLiteral(" WHERE [LinkTable]=") + sql::quoted(linkTable) +
           QStringLiteral(" AND [BatchNo]=") + QString::number(batch) +
           QStringLiteral(" AND [Action] IN ('add', 'rewrite', 'refresh') ORDER BY [ID]");
}

QString laterChangesStatement(const QString& linkTable, qint64 batch, qint64 fromId) {
    return QStringLiteral("SELECT [LinkID], MAX([ID]) AS [LastID] FROM ") + table() +
           QStringLiteral(" WHERE [LinkTable]=") + sql::quoted(linkTable) +
           QStringLiteral(" AND [ID] > ") + QString::number(fromId) +
           QStringLiteral(" AND ([BatchNo] IS NULL OR ([BatchNo] <> ") + QString::number(batch) +
           QStringLiteral(" AND [BatchNo] NOT IN (SELECT [BatchNo] FROM ") + table() +
           QStringLiteral(" WHERE [Action]='undo' AND [BatchNo] IS NOT NULL)))"
                          " GROUP BY [LinkID]");
}

QString linkRowStatement(const QString& name, const QString& id) {
    return QStringLiteral("SELECT * FROM ") + sql::buildFileTable(name) +
           QStringLiteral(" WITH (UPDLOCK, HOLDLOCK) WHERE ID=") + sql::quoted(id) + u' ';
}

QString restoreStatement(const QString& name) {
    QStringList sets;
    for (const QString& column : linkColumns())
        sets << u'[' + column + QStringLiteral("] = ?");
    return QStringLiteral("UPDATE ") + sql::buildFileTable(name) + QStringLiteral(" SET ") +
           sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE [ID] = ?");
}

QString removeStatement(const QString& name) {
    return QStringLiteral("DELETE FROM ") + sql::buildFileTable(name) +
           QStringLiteral(" WHERE [ID] = ?");
}

} // namespace history

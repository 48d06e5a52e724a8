#include "ReviewStatements.h"

#include "core/db/OwnTables.h"
#include "core/history/HistoryStatements.h"
#include "core/tsql/SqlText.h"

namespace review {

namespace {

QString table() {
    return sql::buildFileTable(QLatin1String(tableName));
}

QString historyTable() {
    return sql::buildFileTable(QLatin1String(history::tableName));
}

QString idList(const QList<qint64>& ids) {
    QString out;
    for (qsizetype i = 0; i < ids.size(); ++i)
        out += (i ? QStringLiteral(", ") : QString()) + QString::number(ids[i]);
    return out;
}

QString linkColumnsOf(const QString& alias) {
    QString out;
    for (const QString& column : history::linkColumns())
        out += QStringLiteral(", ") + alias + QStringLiteral(".[") + column + u']';
    return out;
}

} // namespace

QStringList createStatements() {
    const QString on = QStringLiteral("ON ") + sql::indexedTable(QLatin1String(tableName)) + u'(';
    return {
        QStringLiteral("CREATE TABLE ") + table() +
            QStringLiteral("("
                           "    [ID]                [bigint] IDENTITY(1,1) NOT NULL,"
                           "    [TableName]         [varchar](128)  NOT NULL,"
                           "    [LinkID]            [bigint]        NOT NULL,"
                           "    [State]             [varchar](20)   NOT NULL,"
                           "    [ReviewedBy]        [nvarchar](128) NULL,"
                           "    [ReviewedAt]        [datetime]      NOT NULL,"
                           "    [Workstation]       [nvarchar](128) NULL,"
                           "    [Note]              [nvarchar](250) NULL,"
                           "    [HistoryID]         [bigint]        NULL)"),
        QStringLiteral("CREATE CLUSTERED INDEX [by_ID] ") + on + QStringLiteral("    [ID] Asc)"),
        QStringLiteral("CREATE NONCLUSTERED INDEX [by_Link] ") + on +
            QStringLiteral("    [TableName] Asc,    [LinkID] Asc)"),
    };
}

QString probeStatement() {
    return owntables::probeStatement(QLatin1String(tableName));
}

QString loginStatement() {
    return QStringLiteral("SELECT SUSER_SNAME() AS [Login]");
}

QString reviewJoins(const QString& linkTable) {
    const QString name = sql::quoted(linkTable);
    return QStringLiteral(" LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM ") +
           historyTable() + QStringLiteral(" WITH (NOLOCK) WHERE [LinkTable]=") + name +
           QStringLiteral(" GROUP BY [LinkID]) HL ON HL.[LinkID] = L.[ID]"
                          " LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM ") +
           table() + QStringLiteral(" WITH (NOLOCK) WHERE [TableName]=") + name +
           QStringLiteral(" GROUP BY [LinkID]) RL ON RL.[LinkID] = L.[ID]"
                          " LEFT OUTER JOIN ") +
           table() + QStringLiteral(" RV WITH (NOLOCK) ON RV.[ID] = RL.[LastID]");
}

QString stateExpression() {
    return QStringLiteral("CASE WHEN RV.[ID] IS NULL OR ISNULL(HL.[LastID], 0) > "
                          "ISNULL(RV.[HistoryID], 0) THEN 'to review' ELSE RV.[State] END");
}

QString linksStatement(const QString& linkTable, bool historyHasHow) {
    return QStringLiteral("SELECT L.[ID], L.[RevenueID], L.[ItemID]") +
           linkColumnsOf(QStringLiteral("L")) +
           QStringLiteral(", H.[ID] AS [HistoryID], H.[ChangedBy] AS [SavedBy], "
                          "CONVERT(varchar(19), H.[ChangedAt], 120) AS [SavedAt], H.[Action], "
                          "H.[BatchNo], ") +
           (historyHasHow ? QStringLiteral("H.[How]") : QStringLiteral("NULL AS [How]")) +
           QStringLiteral(", RV.[State], RV.[ReviewedBy], "
                          "CONVERT(varchar(19), RV.[ReviewedAt], 120) AS [ReviewedAt], RV.[Note], "
                          "RV.[HistoryID] AS [ReviewedHistoryID] FROM ") +
           sql::buildFileTable(linkTable) + QStringLiteral(" L WITH (NOLOCK)") +
           reviewJoins(linkTable) + QStringLiteral(" LEFT OUTER JOIN ") + historyTable() +
           QStringLiteral(" H WITH (NOLOCK) ON H.[ID] = HL.[LastID]"
                          " ORDER BY L.[Category], L.[Code], L.[RevenueID], L.[ItemID], L.[ID]");
}

QString lockedLinksStatement(const QString& linkTable, const QList<qint64>& ids) {
    return QStringLiteral("SELECT L.[ID], L.[RevenueID], L.[ItemID]") +
           linkColumnsOf(QStringLiteral("L")) + QStringLiteral(" FROM ") +
           sql::buildFileTable(linkTable) +
           QStringLiteral(" L WITH (UPDLOCK, HOLDLOCK) WHERE L.[ID] IN (") + idList(ids) + u')';
}

QString lastChangesStatement(const QString& linkTable, const QList<qint64>& ids) {
    return QStringLiteral("SELECT H.[LinkID], H.[ID], H.[ChangedBy] FROM ") + historyTable() +
           QStringLiteral(" H INNER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM ") +
           historyTable() + QStringLiteral(" WHERE [LinkTable]=") + sql::quoted(linkTable) +
           QStringLiteral(" AND [LinkID] IN (") + idList(ids) +
           QStringLiteral(") GROUP BY [LinkID]) M ON H.[ID] = M.[LastID]");
}

QList<QList<qint64>> idLists(const QList<qint64>& ids) {
    static const int sizes[] = {1, 8, 64, idsPerStatement};
    QList<QList<qint64>> lists;
    for (qsizetype first = 0; first < ids.size(); first += idsPerStatement) {
        QList<qint64> list = ids.mid(first, idsPerStatement);
        int size = idsPerStatement;
        for (int s : sizes)
            if (s >= list.size()) {
                size = s;
                break;
            }
        while (list.size() < size)
            list << list.last();
        lists << list;
    }
    return lists;
}

QString insertRowsStatement(int rows) {
    const QString row = QStringLiteral("(?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?)");
    QString out = QStringLiteral("INSERT INTO ") + table() +
                  QStringLiteral(" ([TableName], [LinkID], [State], [ReviewedBy], [ReviewedAt], "
                                 "[Workstation], [Note], [HistoryID]) VALUES ");
    for (int i = 0; i < rows; ++i)
        out += (i ? QStringLiteral(", ") : QString()) + row;
    return out;
}

QString itemReviewsStatement(const QString& linkTable, const QString& revenueId,
                             const QString& itemId) {
    const QString name = sql::quoted(linkTable);
    return QStringLiteral(
               "SELECT CONVERT(varchar(19), [ReviewedAt], 120) AS [When], "
               "[ReviewedBy] AS [Who], [Workstation], [State], [Note], [HistoryID] FROM ") +
           table() + QStringLiteral(" WITH (NOLOCK) WHERE [TableName]=") + name +
           QStringLiteral(" AND ([LinkID] IN (SELECT [LinkID] FROM ") + historyTable() +
           QStringLiteral(" WITH (NOLOCK) WHERE [LinkTable]=") + name +
           QStringLiteral(" AND [RevenueID]=") + sql::quoted(revenueId) +
           QStringLiteral(" AND [ItemID]=") + sql::quoted(itemId) +
           QStringLiteral(") OR [LinkID] IN (SELECT [ID] FROM ") + sql::buildFileTable(linkTable) +
           QStringLiteral(" WITH (NOLOCK) WHERE [RevenueID]=") + sql::quoted(revenueId) +
           QStringLiteral(" AND [ItemID]=") + sql::quoted(itemId) +
           QStringLiteral(")) ORDER BY [ID] DESC");
}

} // namespace review

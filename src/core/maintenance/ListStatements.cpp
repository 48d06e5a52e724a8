#include "ListStatements.h"

#include "core/history/HistoryStatements.h"
#include "core/tsql/SqlText.h"

namespace listupdate {

namespace {

QString joined(const QStringList& columns) {
    QStringList names;
    for (const QString& column : columns)
        names << sql::bracketed(column);
    return names.join(QStringLiteral(", "));
}

QString index(const char* kind, const char* name, const char* table, const char* columns) {
    return QStringLiteral("CREATE %1 INDEX [%2] ON ")
               .arg(QLatin1String(kind), QLatin1String(name)) +
           sql::indexedTable(QLatin1String(table)) + u'(' + QLatin1String(columns) + u')';
}

QString create(const char* table, const char* columns) {
    return QStringLiteral("CREATE TABLE ") + sql::buildFileTable(QLatin1String(table)) + u'(' +
           QLatin1String(columns) + u')';
}

} // namespace

QStringList createStatements() {
    return {
        create(versionTable, "    [ID]                [bigint] IDENTITY(1,1) NOT NULL,"
                             "    [TableName]         [varchar](128)  NOT NULL,"
                             "    [Files]             [nvarchar](1000) NULL,"
                             "    [Sha256]            [varchar](1000) NULL,"
                             "    [LinesRead]         [int]           NULL,"
                             "    [NewCodes]          [int]           NULL,"
                             "    [ChangedCodes]      [int]           NULL,"
                             "    [RetiredCodes]      [int]           NULL,"
                             "    [LinksRefreshed]    [int]           NULL,"
                             "    [AppliedAt]         [datetime]      NOT NULL,"
                             "    [AppliedBy]         [nvarchar](128) NULL,"
                             "    [Workstation]       [nvarchar](128) NULL"),
        index("CLUSTERED", "by_ID", versionTable, "    [ID] Asc"),
        create(retiredTable, "    [ID]                [bigint] IDENTITY(1,1) NOT NULL,"
                             "    [TableName]         [varchar](128)  NOT NULL,"
                             "    [Code]              [varchar](50)   NULL,"
                             "    [Category]          [varchar](50)   NULL,"
                             "    [Description]       [varchar](250)  NULL,"
                             "    [FixedFee]          SMALLMONEY      NULL,"
                             "    [ChargingUnit]      [varchar](50)   NULL,"
                             "    [VersionID]         [bigint]        NOT NULL"),
        index("CLUSTERED", "by_ID", retiredTable, "    [ID] Asc"),
        index("NONCLUSTERED", "by_Code", retiredTable, "    [TableName] Asc,    [Code] Asc"),
        create(changeTable, "    [ID]                [bigint] IDENTITY(1,1) NOT NULL,"
                            "    [VersionID]         [bigint]        NOT NULL,"
                            "    [TableName]         [varchar](128)  NOT NULL,"
                            "    [Change]            [varchar](20)   NOT NULL,"
                            "    [Code]              [varchar](50)   NULL,"
                            "    [Field]             [varchar](20)   NULL,"
                            "    [OldValue]          [varchar](250)  NULL,"
                            "    [NewValue]          [varchar](250)  NULL"),
        index("CLUSTERED", "by_ID", changeTable, "    [ID] Asc"),
        index("NONCLUSTERED", "by_VersionID", changeTable, "    [VersionID] Asc"),
    };
}

QString referenceRowsStatement(const QString& table, bool locked) {
    return QStringLiteral("SELECT [ID], [Code], [Category], [Description], [FixedFee], "
                          "[ChargingUnit] FROM ") +
           sql::buildFileTable(table) +
           (locked ? QStringLiteral(" WITH (TABLOCKX, HOLDLOCK)")
                   : QStringLiteral(" WITH (NOLOCK)")) +
           QStringLiteral(" ORDER BY [ID]");
}

QString linkRowsStatement(const QString& table, bool locked) {
    return QStringLiteral("SELECT [ID], [RevenueID], [ItemID], ") + joined(history::linkColumns()) +
           QStringLiteral(" FROM ") + sql::buildFileTable(table + QStringLiteral("_LINK")) +
           (locked ? QStringLiteral(" WITH (UPDLOCK, HOLDLOCK)")
                   : QStringLiteral(" WITH (NOLOCK)")) +
           QStringLiteral(" ORDER BY [ID]");
}

QString insertVersionStatement() {
    return QStringLiteral("INSERT INTO ") + sql::buildFileTable(QLatin1String(versionTable)) +
           QStringLiteral(" ([TableName], [Files], [Sha256], [LinesRead], [NewCodes], "
                          "[ChangedCodes], [RetiredCodes], [LinksRefreshed], [AppliedAt], "
                          "[AppliedBy], [Workstation]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, GETDATE(), "
                          "SUSER_SNAME(), HOST_NAME())");
}

QString insertRowsStatement(const QString& table, const QStringList& columns, int rows,
                            const QString& tail) {
    QString marks;
    for (int i = 0; i < columns.size(); ++i)
        marks += i ? QStringLiteral(", ?") : QStringLiteral("?");
    if (!tail.isEmpty())
        marks += QStringLiteral(", ") + tail;
    const QString row = u'(' + marks + u')';
    QString out = QStringLiteral("INSERT INTO ") + sql::buildFileTable(table) +
                  QStringLiteral(" (") + joined(columns) + QStringLiteral(") VALUES ");
    out.reserve(out.size() + rows * (row.size() + 2));
    for (int i = 0; i < rows; ++i)
        out += (i ? QStringLiteral(", ") : QString()) + row;
    return out;
}

QStringList listedColumns(const QString& table) {
    QStringList columns{QStringLiteral("Category"), QStringLiteral("Description")};
    if (table == u"ESOA_ER")
        columns << QStringLiteral("FixedFee") << QStringLiteral("ChargingUnit");
    return columns;
}

QStringList copiedColumns(const QString& table) {
    QStringList columns = listedColumns(table);
    columns.removeFirst();
    return columns;
}

QString updateByIdStatement(const QString& table, const QStringList& columns) {
    QStringList sets;
    for (const QString& column : columns)
        sets << sql::bracketed(column) + QStringLiteral(" = ?");
    return QStringLiteral("UPDATE ") + sql::buildFileTable(table) + QStringLiteral(" SET ") +
           sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE [ID] = ?");
}

QString deleteByIdStatement(const QString& table) {
    return QStringLiteral("DELETE FROM ") + sql::buildFileTable(table) +
           QStringLiteral(" WHERE [ID] = ?");
}

QStringList retiredColumns() {
    return {QStringLiteral("TableName"), QStringLiteral("Code"),
            QStringLiteral("Category"),  QStringLiteral("Description"),
            QStringLiteral("FixedFee"),  QStringLiteral("ChargingUnit"),
            QStringLiteral("VersionID")};
}

QStringList changeColumns() {
    return {QStringLiteral("VersionID"), QStringLiteral("TableName"), QStringLiteral("Change"),
            QStringLiteral("Code"),      QStringLiteral("Field"),     QStringLiteral("OldValue"),
            QStringLiteral("NewValue")};
}

QString versionsStatement() {
    return QStringLiteral(
               "SELECT [ID] AS [Version], [TableName] AS [Table], "
               "CONVERT(varchar(19), [AppliedAt], 120) AS [Applied at], [AppliedBy] AS [By], "
               "[Workstation], [Files], [LinesRead] AS [Lines read], [NewCodes] AS [New], "
               "[ChangedCodes] AS [Changed], [RetiredCodes] AS [No longer listed], "
               "[LinksRefreshed] AS [Links refreshed], [Sha256] AS [SHA-256] FROM ") +
           sql::buildFileTable(QLatin1String(versionTable)) +
           QStringLiteral(" WITH (NOLOCK) ORDER BY [ID] DESC");
}

} // namespace listupdate

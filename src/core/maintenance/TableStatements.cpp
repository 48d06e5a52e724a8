#include "TableStatements.h"

#include "core/tsql/SqlText.h"

namespace tables {

namespace {

// "CREATE [NON]CLUSTERED INDEX [name] ON [Build_File].[dbo].[table](columns)".
QString createIndex(const char* kind, const char* name, const QString& table,
                    const QString& columns) {
    return QStringLiteral("CREATE %1 INDEX [%2] ON ")
               .arg(QLatin1String(kind), QLatin1String(name)) +
           sql::indexedTable(table) + u'(' + columns + u')';
}

// A table of Build_FIle with its index by ID and its index by category and description.
QStringList createTable(const QString& table, const QString& columns) {
    return {
        QStringLiteral("CREATE TABLE ") + sql::buildFileTable(table) + u'(' + columns + u')',
        createIndex("CLUSTERED", "by_ID", table, QStringLiteral("    [ID] Asc")),
        createIndex("NONCLUSTERED", "by_Category_Description", table,
                    QStringLiteral("    [Category] Asc,    [Description] Asc")),
    };
}

} // namespace

QStringList referenceTableStatements(const QString& t) {
    const QString l = t + QStringLiteral("_LINK");
    const QString referenceColumns =
        QStringLiteral("    [ID]                [bigint] IDENTITY(1,1) NOT NULL,"
                       "    [Code]              [varchar](50) NULL,"
                       "    [Category]          [varchar](50) NULL,"
                       "    [Description]       [varchar](250) NULL,"
                       "    [FixedFee]          SMALLMONEY NULL,"
                       "    [ChargingUnit]      [varchar](50) NULL,");
    const QString linkColumns =
        QStringLiteral("    [ID]                [bigint] IDENTITY(1,1) NOT NULL,"
                       "    [Code]              [varchar](50)  NULL,"
                       "    [Category]          [varchar](50)  NULL,"
                       "    [Description]       [varchar](250) NULL,"
                       "    [FixedFee]          SMALLMONEY     NULL,"
                       "    [ChargingUnit]      [varchar](50)  NULL,"
                       "    [ItemID]            [varchar](50)  NULL, "
                       "    [ItemDesc]          [varchar](250) NULL, "
                       "    [InvOrProc]         [varchar](20)  NULL, "
                       "    [RevenueID]         [varchar](20)  NULL, "
                       "    [SectionID]         [varchar](20)  NULL, "
                       "    [SortOrder]         [smallint] NULL ");
    QStringList statements = {
        QStringLiteral("ALTER TABLE INVENTORY..tbInvMaster DROP COLUMN ESOA_Code   "),
        QStringLiteral("ALTER TABLE BUILD_FILE..tbCoXrayExam DROP COLUMN ESOA_Code   "),
        QStringLiteral("ALTER TABLE BUILD_FILE..tbcoUltraExam DROP COLUMN ESOA_Code  "),
        QStringLiteral("ALTER TABLE BUILD_FILE..tbcoCTExam DROP COLUMN ESOA_Code "),
        QStringLiteral("DROP TABLE ") + sql::buildFileTable(t),
    };
    statements << createTable(t, referenceColumns) << createTable(l, linkColumns);
    statements << createIndex("NONCLUSTERED", "by_ItemID", l,
                              QStringLiteral("    [RevenueID] Asc,     [ItemID] Asc "));
    return statements;
}

QStringList codeIndexStatements(const QString& t) {
    const QString byCode = QStringLiteral("    [Code] Asc");
    return {
        createIndex("NONCLUSTERED", "by_Code", t, byCode),
        createIndex("NONCLUSTERED", "by_Code", t + QStringLiteral("_LINK"), byCode),
    };
}

} // namespace tables

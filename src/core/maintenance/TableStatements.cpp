#include "TableStatements.h"

namespace tables {

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
    const QString byId =
        QStringLiteral("](") + QStringLiteral("    [ID] Asc") + QStringLiteral(")");
    const QString byCategory = QStringLiteral("](") + QStringLiteral("    [Category] Asc,") +
                               QStringLiteral("    [Description] Asc") + QStringLiteral(")");
    return {
        QStringLiteral("ALTER TABLE INVENTORY..tbInvMaster DROP COLUMN ESOA_Code   "),
        QStringLiteral("ALTER TABLE BUILD_FILE..tbCoXrayExam DROP COLUMN ESOA_Code   "),
        QStringLiteral("ALTER TABLE BUILD_FILE..tbcoUltraExam DROP COLUMN ESOA_Code  "),
        QStringLiteral("ALTER TABLE BUILD_FILE..tbcoCTExam DROP COLUMN ESOA_Code "),
        QStringLiteral("DROP TABLE [Build_FIle].[dbo].[") + t + QStringLiteral("]"),
        QStringLiteral("CREATE TABLE [Build_FIle].[dbo].[") + t + QStringLiteral("](") +
            referenceColumns + QStringLiteral(")"),
        QStringLiteral("CREATE CLUSTERED INDEX [by_ID] ON [Build_File].[dbo].[") + t + byId,
        QStringLiteral("CREATE NONCLUSTERED INDEX [by_Category_Description] ON "
                       "[Build_File].[dbo].[") +
            t + byCategory,
        QStringLiteral("CREATE TABLE [Build_FIle].[dbo].[") + l + QStringLiteral("](") +
            linkColumns + QStringLiteral(")"),
        QStringLiteral("CREATE CLUSTERED INDEX [by_ID] ON [Build_File].[dbo].[") + l + byId,
        QStringLiteral("CREATE NONCLUSTERED INDEX [by_Category_Description] ON "
                       "[Build_File].[dbo].[") +
            l + byCategory,
        QStringLiteral("CREATE NONCLUSTERED INDEX [by_ItemID] ON [Build_File].[dbo].[") + l +
            QStringLiteral("](") + QStringLiteral("    [RevenueID] Asc, ") +
            QStringLiteral("    [ItemID] Asc ") + QStringLiteral(")"),
    };
}

QStringList codeIndexStatements(const QString& t) {
    const QString byCode = QStringLiteral("](") + QStringLiteral("    [Code] Asc") + u')';
    return {
        QStringLiteral("CREATE NONCLUSTERED INDEX [by_Code] ON [Build_File].[dbo].[") + t + byCode,
        QStringLiteral("CREATE NONCLUSTERED INDEX [by_Code] ON [Build_File].[dbo].[") + t +
            QStringLiteral("_LINK") + byCode,
    };
}

} // namespace tables

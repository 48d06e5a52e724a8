#include "RegisterStatements.h"

#include "core/db/OwnTables.h"
#include "core/tsql/SqlText.h"

namespace drugregister {

namespace {

QString table() {
    return sql::buildFileTable(QLatin1String(tableName));
}

} // namespace

QStringList createStatements() {
    const QString on = QStringLiteral("ON ") + sql::indexedTable(QLatin1String(tableName)) + u'(';
    return {
        QStringLiteral("CREATE TABLE ") + table() +
            QStringLiteral("("
                           "    [ID]                 [bigint] IDENTITY(1,1) NOT NULL,"
                           "    [RegistrationNumber] [varchar](50)   NULL,"
                           "    [GenericName]        [varchar](1000) NULL,"
                           "    [BrandName]          [varchar](250)  NULL,"
                           "    [DosageStrength]     [varchar](250)  NULL,"
                           "    [DosageForm]         [varchar](250)  NULL,"
                           "    [ImportedAt]         [datetime]      NOT NULL,"
                           "    [ImportedBy]         [nvarchar](128) NULL)"),
        QStringLiteral("CREATE CLUSTERED INDEX [by_ID] ") + on + QStringLiteral("    [ID] Asc)"),
        QStringLiteral("CREATE NONCLUSTERED INDEX [by_BrandName] ") + on +
            QStringLiteral("    [BrandName] Asc)"),
    };
}

QString probeStatement() {
    return owntables::probeStatement(QLatin1String(tableName));
}

QString deleteStatement() {
    return QStringLiteral("DELETE FROM ") + table();
}

QString insertStatement(int rows) {
    QString out = QStringLiteral("INSERT INTO ") + table() +
                  QStringLiteral(" ([RegistrationNumber], [GenericName], [BrandName], "
                                 "[DosageStrength], [DosageForm], [ImportedAt], [ImportedBy]) "
                                 "VALUES ");
    const QString row = QStringLiteral("(?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME())");
    out.reserve(out.size() + rows * (row.size() + 2));
    for (int i = 0; i < rows; ++i) {
        if (i)
            out += QStringLiteral(", ");
        out += row;
    }
    return out;
}

QList<int> statementRows(int products) {
    return sql::statementRows(products, rowsPerStatement);
}

} // namespace drugregister

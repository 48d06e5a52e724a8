#include "SampleData.h"

#include "core/db/DbError.h"
#include "core/db/EmbeddedDatabase.h"
#include "core/db/Gateway.h"
#include "core/history/HistoryStatements.h"
#include "core/maintenance/ImportFile.h"
#include "core/maintenance/TableStatements.h"
#include "core/tsql/SqlText.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSqlError>

namespace sample {

namespace {

QByteArray resource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("The sample data %1 cannot be read.").arg(path));
    return file.readAll();
}

void createHospitalTables(Gateway& gateway) {
    const QString script =
        QString::fromUtf8(resource(QStringLiteral(":/sample/hospital/schema.sql")));
    QString statement;
    for (const QString& line : script.split(u'\n')) {
        if (line.trimmed().compare(u"GO", Qt::CaseInsensitive) == 0) {
            gateway.execute(statement);
            statement.clear();
        } else if (!line.trimmed().startsWith(u"--")) {
            statement += line + u'\n';
        }
    }
}

// Each file "Database.table.txt" holds a header line of column names, then one row per line,
// fields separated by "|"; an empty field is NULL.
void loadHospitalRows(Gateway& gateway) {
    QDirIterator it(QStringLiteral(":/sample/hospital"), {QStringLiteral("*.txt")});
    while (it.hasNext()) {
        const QString path = it.next();
        const QString base = it.fileName().chopped(4);
        const QString table =
            base.section(u'.', 0, 0) + QStringLiteral("..") + base.section(u'.', 1);
        QStringList lines = QString::fromUtf8(resource(path)).split(u'\n', Qt::SkipEmptyParts);
        const QStringList columns = lines.takeFirst().trimmed().split(u'|');
        for (const QString& line : lines) {
            const QStringList fields = line.split(u'|');
            QList<QVariant> values;
            for (int i = 0; i < columns.size(); ++i) {
                const QString f = fields.value(i).trimmed();
                values << (f.isEmpty() || f == u"\\N" ? QVariant() : QVariant(f));
            }
            gateway.insertRow(table, columns, values);
        }
    }
}

void createReferenceTables(Gateway& gateway, const QString& table) {
    // The sample keeps the old ESOA_Code columns, so that "a. Create Tables" finds them.
    const QStringList statements = tables::referenceTableStatements(table);
    for (int i = tables::createReferenceTable; i < statements.size(); ++i)
        gateway.execute(statements[i]);
    for (const QString& index : tables::codeIndexStatements(table))
        gateway.execute(index);
}

void importReferenceFile(Gateway& gateway, const QString& name, const QString& table) {
    for (const QString& line : importfile::readLines(resource(importFilePath(name))))
        importfile::mergeRecord(gateway, table, importfile::decodeLine(line, name, table),
                                [](const QString& description) { throw DbError(description); });
}

void saveLinks(Gateway& gateway) {
    QStringList lines = QString::fromUtf8(resource(QStringLiteral(":/sample/links.txt")))
                            .split(u'\n', Qt::SkipEmptyParts);
    lines.removeFirst();
    for (const QString& line : lines) {
        const QStringList f = line.trimmed().split(u'|');
        const QString table = f.value(0), code = f.value(1);
        Lookup reference =
            gateway.lookup(QStringLiteral("SELECT * FROM ") + sql::buildFileTable(table) +
                           QStringLiteral(" WHERE Code=") + sql::quoted(code));
        if (reference.atEnd())
            throw DbError(QStringLiteral("The sample link names no reference item %1.").arg(code));
        // Read and closed before the link is written: a connection runs one result at a time.
        const QVariant description = reference.field(QStringLiteral("Description"));
        const QVariant fee = reference.field(QStringLiteral("FixedFee"));
        const QVariant unit = reference.field(QStringLiteral("ChargingUnit"));
        reference.close();
        WriteCursor link = gateway.openForWrite(
            QStringLiteral("SELECT * FROM ") + sql::buildFileName(table) +
            QStringLiteral("_LINK  WHERE      RevenueID =") + sql::quoted(f.value(6)) +
            QStringLiteral(" AND ItemID    =") + sql::quoted(f.value(3)));
        if (link.atEnd()) {
            link.addNew();
            link.setField(QStringLiteral("ItemID"), f.value(3));
            link.setField(QStringLiteral("RevenueID"), f.value(6));
        }
        link.setField(QStringLiteral("ItemDesc"), f.value(4));
        link.setField(QStringLiteral("InvOrProc"), f.value(5));
        link.setField(QStringLiteral("CODE"), code);
        link.setField(QStringLiteral("SectionID"), f.value(7));
        link.setField(QStringLiteral("Category"), f.value(2));
        link.setField(QStringLiteral("Description"), description);
        link.setField(QStringLiteral("FixedFee"), fee);
        link.setField(QStringLiteral("ChargingUnit"), unit);
        link.update();
        link.close();
    }
}

} // namespace

QString importFilePath(const QString& name) {
    return QStringLiteral(":/sample/") + name + QStringLiteral(".csv");
}

void create(const QString& folder) {
    QDir dir(folder);
    const QString work = dir.filePath(QStringLiteral(".sample-in-progress"));
    QDir(work).removeRecursively();
    if (!QDir().mkpath(work))
        throw DbError(QStringLiteral("The data folder %1 cannot be written.").arg(folder));
    {
        Gateway gateway(embedded::open(work));
        QSqlDatabase& db = gateway.backend().database();
        if (!db.transaction())
            throw DbError(driverText(db.lastError()));
        createHospitalTables(gateway);
        loadHospitalRows(gateway);
        for (const QString& table : {QStringLiteral("ESOA_ITEM"), QStringLiteral("ESOA_ER")})
            createReferenceTables(gateway, table);
        for (const QString& statement : history::createStatements())
            gateway.execute(statement);
        importReferenceFile(gateway, QStringLiteral("ESOA_ITEM"), QStringLiteral("ESOA_ITEM"));
        importReferenceFile(gateway, QStringLiteral("ESOA_MEDICINE"), QStringLiteral("ESOA_ITEM"));
        importReferenceFile(gateway, QStringLiteral("ESOA_ER"), QStringLiteral("ESOA_ER"));
        saveLinks(gateway);
        if (!db.commit())
            throw DbError(driverText(db.lastError()));
    }
    // Build_FIle, the first of the databases, is put in place last: it tells that the sample is
    // complete.
    for (auto it = sql::databases.rbegin(); it != sql::databases.rend(); ++it) {
        const QString name = QLatin1String(*it);
        const QString from = embedded::databaseFile(work, name);
        const QString to = embedded::databaseFile(folder, name);
        QFile::remove(to);
        if (!QFile::rename(from, to))
            throw DbError(QStringLiteral("The sample database cannot be moved to %1.").arg(to));
    }
    QDir(work).removeRecursively();
}

} // namespace sample

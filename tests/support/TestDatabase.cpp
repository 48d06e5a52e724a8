#include "TestDatabase.h"

#include "core/db/EmbeddedDatabase.h"
#include "core/maintenance/SampleData.h"
#include "core/tsql/SqlText.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

QString TestDatabase::sampleFolder() {
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        sample::create(dir.path());
        made = true;
    }
    return dir.path();
}

TestDatabase::TestDatabase()
    : m_folder(m_dir.path()) {
    const QString from = sampleFolder();
    for (const char* name : sql::databases)
        if (!QFile::copy(embedded::databaseFile(from, QLatin1String(name)),
                         embedded::databaseFile(m_folder, QLatin1String(name))))
            qFatal("cannot copy the sample database");
}

Gateway& TestDatabase::gateway() {
    if (!m_gateway) {
        m_gateway = std::make_unique<Gateway>(embedded::open(m_folder));
        m_gateway->keepTrace(true);
    }
    return *m_gateway;
}

int countRows(Gateway& gateway, const QString& sql) {
    return static_cast<int>(gateway.query(sql).rows.size());
}

QStringList builtStatements(const QStringList& log) {
    // The write cursor's own statements: its add (with the ID it returns), its locked check,
    // rewrite and re-read by ID.
    static const QRegularExpression cursor(QStringLiteral(
        R"(^(SET NOCOUNT ON; DECLARE @added |INSERT INTO \S+ \(\[\w+\](, \[\w+\])*\) VALUES \(\?(, \?)*\)$|UPDATE \S+ SET \[\w+\] = \?.* WHERE \[ID\] = \?$|SELECT \* FROM \S+( WITH \(UPDLOCK, HOLDLOCK\))? WHERE \[ID\] = \?$))"));
    QStringList out;
    for (const QString& statement : log)
        if (!statement.contains(QStringLiteral("ESOA_LINK_HISTORY")) &&
            !statement.endsWith(QStringLiteral(" TRANSACTION")) &&
            !statement.contains(QStringLiteral(" WITH (UPDLOCK, HOLDLOCK) WHERE ID=")) &&
            !cursor.match(statement).hasMatch())
            out << statement;
    return out;
}

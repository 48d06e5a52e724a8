#include "SqlServer.h"

#include "core/db/DbError.h"
#include "core/platform/Platform.h"

#include <QSqlError>

namespace odbc {

QStringList installedDrivers() {
    return platform::odbcDrivers();
}

std::unique_ptr<Backend> open(const QString& connectionString, Dialect dialect,
                              const QString& what) {
    // The backend holds the only handle of the connection, so that it is removed with it.
    auto backend = std::make_unique<Backend>(
        QSqlDatabase::addDatabase(QStringLiteral("QODBC"), uniqueConnectionName("odbc")), dialect,
        what);
    QSqlDatabase& db = backend->database();
    db.setDatabaseName(connectionString);
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1")
                             .arg(sqlserver::loginTimeoutSeconds));
    if (dialect == Dialect::TSql)
        db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!backend->database().open())
        throw DbError(driverText(backend->database().lastError()));
    return backend;
}

} // namespace odbc

namespace sqlserver {

namespace {
// An ODBC attribute value in braces, so that ; and = in it stay part of it.
QString braced(const QString& value) {
    return u'{' + QString(value).replace(QStringLiteral("}"), QStringLiteral("}}")) + u'}';
}
} // namespace

QStringList knownDrivers() {
    return {QStringLiteral("ODBC Driver 18 for SQL Server"),
            QStringLiteral("ODBC Driver 17 for SQL Server"), QStringLiteral("SQL Server"),
            QStringLiteral("FreeTDS")};
}

QString preferredDriver(const QStringList& installed) {
    for (const QString& name : knownDrivers())
        for (const QString& driver : installed)
            if (driver.compare(name, Qt::CaseInsensitive) == 0)
                return driver;
    return QString();
}

QString serverName(const SqlServerLogin& login) {
    return login.server + u',' + QString::number(login.port);
}

QString connectionString(const SqlServerLogin& login, const QString& driver) {
    QString s = QStringLiteral("DRIVER=") + braced(driver) + u';';
    if (driver.startsWith(u"ODBC Driver", Qt::CaseInsensitive)) {
        // Driver 18 encrypts by default and checks the server's certificate, which a hospital's
        // own server seldom has from a public authority: unless the login requires encryption,
        // it is used only where the server insists. 17 knows only yes and no.
        const bool eighteen = driver.startsWith(u"ODBC Driver 18", Qt::CaseInsensitive);
        s += QStringLiteral("SERVER=") + braced(QStringLiteral("tcp:") + serverName(login));
        if (login.encrypt)
            s +=
                (eighteen ? QStringLiteral(";Encrypt=Mandatory") : QStringLiteral(";Encrypt=yes")) +
                QStringLiteral(";TrustServerCertificate=no;");
        else
            s += (eighteen ? QStringLiteral(";Encrypt=Optional") : QStringLiteral(";Encrypt=no")) +
                 QStringLiteral(";TrustServerCertificate=yes;");
    } else if (driver.compare(u"SQL Server", Qt::CaseInsensitive) == 0) {
        // The driver every Windows has: "server,port" over TCP/IP (the DBMSSOCN library). Asked
        // to encrypt, it checks the certificate against the computer's trusted authorities.
        s += QStringLiteral("SERVER=") + serverName(login) + QStringLiteral(";Network=DBMSSOCN;");
        if (login.encrypt)
            s += QStringLiteral("Encrypt=yes;");
    } else {
        // FreeTDS checks the certificate where its configuration names the authorities' file.
        s += QStringLiteral("SERVER=") + braced(login.server) + QStringLiteral(";PORT=") +
             QString::number(login.port) + QStringLiteral(";TDS_Version=7.4;ClientCharset=UTF-8;");
        if (login.encrypt)
            s += QStringLiteral("Encryption=require;");
    }
    if (login.trusted)
        s += QStringLiteral("Trusted_Connection=yes;");
    else
        s += QStringLiteral("UID=") + braced(login.user) + QStringLiteral(";PWD=") +
             braced(login.password) + u';';
    return s;
}

std::unique_ptr<Backend> open(const SqlServerLogin& login) {
    const QString name = serverName(login);
    const QString driver = preferredDriver(odbc::installedDrivers());
    if (driver.isEmpty())
        throw DbError(QStringLiteral("Cannot connect to SQL Server %1: no SQL Server ODBC driver "
                                     "is installed (%2).")
                          .arg(name, knownDrivers().join(QStringLiteral(", "))));
    try {
        return odbc::open(connectionString(login, driver), Dialect::TSql,
                          QStringLiteral("SQL Server %1").arg(name));
    } catch (const DbError& e) {
        throw DbError(
            QStringLiteral("Cannot connect to SQL Server %1: %2").arg(name, e.description()));
    }
}

} // namespace sqlserver

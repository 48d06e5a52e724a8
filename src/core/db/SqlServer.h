#pragma once

#include "core/db/Backend.h"

#include <QString>

#include <memory>

// What the login asks for a SQL Server instance.
struct SqlServerLogin {
    QString server;
    int port = 1433;
    QString user;
    QString password;
    bool trusted = false; // the platform's own login, where the driver offers it
    // An encrypted connection required, to a server whose certificate the driver checks.
    bool encrypt = false;
};

namespace odbc {

// The installed ODBC drivers, as the driver manager lists them (the registry on Windows,
// odbcinst.ini elsewhere).
QStringList installedDrivers();

// Opens an ODBC connection; raises DbError with the driver's text when it cannot. `what` names
// the data source in messages.
std::unique_ptr<Backend> open(const QString& connectionString, Dialect dialect,
                              const QString& what);

} // namespace odbc

namespace sqlserver {

inline constexpr int loginTimeoutSeconds = 5;

// The SQL Server drivers the program can use, the preferred first: Microsoft's ODBC Driver 18,
// then 17, then the "SQL Server" driver that every Windows has, then FreeTDS.
QStringList knownDrivers();

// The first of the known drivers that is installed (as the installed list spells it); empty when
// none is.
QString preferredDriver(const QStringList& installed);

// "server,port" as messages name the instance.
QString serverName(const SqlServerLogin& login);

QString connectionString(const SqlServerLogin& login, const QString& driver);

// Connects with a login time-out of five seconds. T-SQL goes to the server unchanged. A failure
// raises DbError with a message that names the server and gives the driver's text.
std::unique_ptr<Backend> open(const SqlServerLogin& login);

} // namespace sqlserver

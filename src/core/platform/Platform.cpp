#include "Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QtGlobal>

#include <iterator>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <psapi.h>
#include <sql.h>
#include <sqlext.h>
#endif

namespace platform {

QString userName() {
    for (const char* name : {"USER", "USERNAME", "LOGNAME"}) {
        const QString user = qEnvironmentVariable(name);
        if (!user.isEmpty())
            return user;
    }
#ifdef Q_OS_UNIX
    // A service or a shell started without a login leaves the variables unset.
    if (const passwd* account = getpwuid(geteuid()))
        return QString::fromLocal8Bit(account->pw_name);
#endif
    return QString();
}

QStringList odbcDrivers() {
    QStringList drivers;
#ifdef Q_OS_WIN
    // The driver manager's own list (it reads the registry), so that a 64-bit program sees the
    // 64-bit drivers, which are those it can load.
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return drivers;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLWCHAR name[512];
    SQLWCHAR attributes[2048];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDriversW(env, direction, name, SQLSMALLINT(std::size(name)),
                                     &nameLength, attributes, SQLSMALLINT(std::size(attributes)),
                                     &attributesLength))) {
        const qsizetype length =
            qBound(qsizetype(0), qsizetype(nameLength), qsizetype(std::size(name) - 1));
        drivers << QString::fromUtf16(reinterpret_cast<const char16_t*>(name), length);
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
#else
    QStringList files;
    const QByteArray sysIni = qgetenv("ODBCSYSINI");
    files << QDir(sysIni.isEmpty() ? QStringLiteral("/etc") : QString::fromLocal8Bit(sysIni))
                 .filePath(QStringLiteral("odbcinst.ini"));
    files << QDir::home().filePath(QStringLiteral(".odbcinst.ini"));
    for (const QString& file : files) {
        if (!QFileInfo::exists(file))
            continue;
        const QSettings ini(file, QSettings::IniFormat);
        for (const QString& group : ini.childGroups())
            if (group != u"ODBC" && !drivers.contains(group))
                drivers << group;
    }
#endif
    return drivers;
}

ResidentMemory residentMemory() {
    ResidentMemory memory;
#ifdef Q_OS_WIN
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
        memory.now = static_cast<long long>(counters.WorkingSetSize / 1024);
        memory.peak = static_cast<long long>(counters.PeakWorkingSetSize / 1024);
    }
#else
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                memory.now = line.mid(6).trimmed().split(' ').value(0).toLongLong();
            if (line.startsWith("VmHWM:"))
                memory.peak = line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
#endif
    return memory;
}

void releaseFreeMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace platform

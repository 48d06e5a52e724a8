#pragma once

#include <QString>
#include <QStringList>

// What the program asks of the operating system beyond Qt. Everything that differs between
// Windows and the POSIX systems lives in Platform.cpp.
namespace platform {

// The operating-system user the program runs as: from the environment (USER, USERNAME, LOGNAME),
// else from the account; empty when neither tells.
QString userName();

// The ODBC drivers installed on this computer, by name: on Windows as the driver manager lists
// them (SQLDrivers, from the registry); elsewhere the sections of unixODBC's odbcinst.ini files
// (the system's, in ODBCSYSINI or /etc, then the user's).
QStringList odbcDrivers();

// This process's resident memory now and at its peak, in KiB (the working set on Windows,
// VmRSS and VmHWM on Linux); zeros where the system does not tell.
struct ResidentMemory {
    long long now = 0;
    long long peak = 0;
};
ResidentMemory residentMemory();

// Gives the memory the process freed back to the system where the C library keeps it (glibc);
// elsewhere nothing to do.
void releaseFreeMemory();

} // namespace platform

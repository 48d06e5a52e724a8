#pragma once

#include <QString>

// What the program asks of the operating system beyond Qt. Everything that differs between
// Windows and the POSIX systems lives in Platform.cpp.
namespace platform {

// The operating-system user the program runs as: from the environment (USER, USERNAME, LOGNAME),
// else from the account; empty when neither tells.
QString userName();

} // namespace platform

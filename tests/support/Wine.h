#pragma once

#include <QDir>
#include <QString>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

// Under Wine a Windows program runs on Linux: its ODBC calls reach Linux's driver manager and the
// Linux drivers it lists (Wine's ODBC is a bridge), and those open files by their Linux paths.
namespace wine {

#ifdef Q_OS_WIN
template <typename Function> Function function(const wchar_t* module, const char* name) {
    const HMODULE handle = GetModuleHandleW(module);
    const FARPROC address = handle ? GetProcAddress(handle, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}
#endif

// True when this Windows program runs under Wine.
inline bool running() {
#ifdef Q_OS_WIN
    return function<const char* (*)()>(L"ntdll.dll", "wine_get_version") != nullptr;
#else
    return false;
#endif
}

// The path as a driver of this machine opens it: the Linux path under Wine, else the path itself.
inline QString pathForDrivers(const QString& path) {
#ifdef Q_OS_WIN
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = function<ToUnix>(L"kernel32.dll", "wine_get_unix_file_name");
    if (!toUnix)
        return path;
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    char* unixPath = toUnix(native.c_str());
    if (!unixPath)
        return path;
    const QString result = QString::fromUtf8(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
#else
    return path;
#endif
}

} // namespace wine

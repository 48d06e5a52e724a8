#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The entry point every target defines; libFuzzer calls it, and so does the replay driver.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz {

inline QByteArray bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input as text the way a line of an import file or a typed box reaches the program.
inline QString text(const std::uint8_t* data, std::size_t size) {
    return QString::fromUtf8(bytes(data, size));
}

// A property that does not hold: report it and stop, so the fuzzer keeps the input.
[[noreturn]] inline void fail(const char* what, const QString& detail = QString()) {
    std::fprintf(stderr, "property broken: %s %s\n", what, qPrintable(detail));
    std::abort();
}

} // namespace fuzz

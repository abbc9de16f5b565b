#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace vistrel::fuzz {

// The engine reads QByteArray; libFuzzer hands out a raw buffer.
inline QByteArray inputBytes(const std::uint8_t *data, std::size_t size) {
    if (size == 0)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// A broken invariant is a finding like a crash: aborting makes libFuzzer keep
// the input as a crash file, and the text says which rule it broke.
[[noreturn]] inline void fail(const char *what, const QString &detail = QString()) {
    std::fprintf(stderr, "\n*** invariant broken: %s\n", what);
    if (!detail.isEmpty())
        std::fprintf(stderr, "%s\n", detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

inline void require(bool condition, const char *what, const QString &detail = QString()) {
    if (!condition)
        fail(what, detail);
}

} // namespace vistrel::fuzz

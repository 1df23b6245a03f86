#pragma once

// Invariant checks for the fuzz targets: a broken invariant aborts, so libFuzzer keeps the input as a
// crash just as it does for a memory error.

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace torvane::fuzz {

[[noreturn]] inline void fail(const char* file, int line, const char* condition, const QString& detail) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    if (!detail.isEmpty()) {
        std::fprintf(stderr, "  %s\n", detail.toUtf8().constData());
    }
    std::abort();
}

// For messages: the text with every non-printable or non-ASCII character written as \x{...}.
inline QString shown(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            out += c;
        } else {
            out += QStringLiteral("\\x{%1}").arg(c.unicode(), 0, 16);
        }
    }
    return QLatin1Char('"') + out + QLatin1Char('"');
}

} // namespace torvane::fuzz

#define FUZZ_CHECK(condition, detail)                                                                        \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            ::torvane::fuzz::fail(__FILE__, __LINE__, #condition, (detail));                                 \
        }                                                                                                    \
    } while (false)

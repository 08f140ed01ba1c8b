// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: its input as parts, and checks that end the run with a report.
namespace corvella::fuzz {

// The input split at NUL bytes: the parts of one case (two texts, the arguments of a command).
inline QList<QByteArray> Parts(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
}

// The first two parts as texts, the second empty when there is none.
inline std::pair<QString, QString> TwoTexts(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts = Parts(data, size);
    return {QString::fromUtf8(parts.value(0)), QString::fromUtf8(parts.value(1))};
}

[[noreturn]] inline void Fail(const char* check, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, check);
    std::abort();
}

}  // namespace corvella::fuzz

// A failed check is a finding, like a crash: libFuzzer stores the input that caused it.
#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : corvella::fuzz::Fail(#condition, __FILE__, __LINE__))

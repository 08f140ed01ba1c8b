// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

namespace corvella {

// What a long comparison knows of its caller: called now and then, it lets the caller keep a
// window live; returning false stops the comparison, which then throws ComparisonStopped.
using Progress = std::function<bool()>;

struct ComparisonStopped {};

inline void Tick(const Progress& progress) {
    if (progress && !progress()) throw ComparisonStopped{};
}

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "diff/layout/LayoutOptions.h"

// The options of corvella-diff that only the layout-free comparison takes: --exact-typography,
// --ignore-case, --ignore-numbers and --ignore-punctuation.
namespace corvella::DiffProgram {

// Sets the option the argument names; false when it names none of them.
bool TakeLayoutOption(const QString& argument, LayoutCompare::Options& options);

// Why the options cannot be taken without --ignore-layout ("--ignore-case works only with
// --ignore-layout"), or an empty text.
QString LayoutOptionProblem(bool ignoreLayout, const LayoutCompare::Options& options);

}  // namespace corvella::DiffProgram

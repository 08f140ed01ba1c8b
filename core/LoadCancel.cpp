// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/LoadCancel.h"

#include <vector>

namespace corvella::LoadCancel {

namespace {
// One entry per load under way, innermost last: whether it was asked to stop.
std::vector<bool>& loads() {
    static std::vector<bool> requested;
    return requested;
}
}  // namespace

Scope::Scope() { loads().push_back(false); }
Scope::~Scope() { loads().pop_back(); }

void Request() {
    if (!loads().empty()) loads().back() = true;
}

bool Requested() { return !loads().empty() && loads().back(); }

}  // namespace corvella::LoadCancel

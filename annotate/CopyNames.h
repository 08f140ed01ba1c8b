// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "core/Side.h"

namespace corvella::CopyNames {

// Where the annotated copies of the two compared files go in `folder`: each under its own file
// name; "-1" and "-2" before the suffix when both have one name, and "-annotated" where a name
// would stand for either compared file itself, so neither is ever written over.
BySide<QString> In(const QString& folder, const BySide<QString>& files);

}  // namespace corvella::CopyNames

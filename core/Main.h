// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "core/EventPump.h"

// Shared file helpers; neither ever reports anything.
namespace corvella::Main {

// True when the file's last-modified date and time can be read; false on any failure.
bool FileExists(const QString& path);

// Lets pending window events run once, then deletes the file; every failure is ignored.
void DeleteFileQuietly(EventPump& events, const QString& path);

}  // namespace corvella::Main

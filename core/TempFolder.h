// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace corvella {

// The program's private temp folder: a folder "corvella-<user id>" inside $TEMP, else $TMPDIR,
// else /tmp, created with mode 0700 when missing. An existing one must be a real folder (not a
// symbolic link) owned by this user that no one else can enter; anything else is refused with a
// Failure, since fixed file names in a folder others can write would let them plant or redirect
// files.
QString TempFolder();

// A path inside the private temp folder, e.g. TempPath("1.txt").
QString TempPath(const QString& name);

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Main.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace corvella::Main {

bool FileExists(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    return info.exists() && info.lastModified().isValid();
}

void DeleteFileQuietly(EventPump& events, const QString& path) {
    events.processEvents();
    // Removing a name needs only the folder's write right here, so a read-only file needs no
    // second, forced attempt.
    if (!path.isEmpty()) QFile::remove(path);
}

}  // namespace corvella::Main

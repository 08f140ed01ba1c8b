// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include "core/MainWindow.h"

namespace corvella {

// Why a file given from outside the window (the command line, a drop) cannot be loaded, as the
// message that names it; empty when it can be read.
QString UnloadableFileMessage(const QString& path);

// Loads a file given from outside the window into pane 1 or 2 through that pane's load command.
// A file that cannot be read is named in a warning box instead, and the pane stays as it was.
void LoadGivenFile(MainWindow& window, int paneNumber, const QString& path);

// The files named on the command line: the first into pane 1, the second into pane 2.
void LoadGivenFiles(MainWindow& window, const QStringList& paths);

}  // namespace corvella

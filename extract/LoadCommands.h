// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include "core/MainWindow.h"
#include "extract/PageRanges.h"

namespace corvella {

// "Load PDF File #1" and "Load PDF File #2": the user picks one or several PDFs; each is turned
// into text and loaded into the pane, the last one that loads staying there. A load stopped while
// extracting (LoadCancel) gives the pane back its text and ends without a message.
void PushButton3_Click(MainWindow& window);
void PushButton4_Click(MainWindow& window);
// The same for pane 1 or 2 with the files already chosen (the command line, a drop): every step
// but the dialog, with the same messages and error-report locations. An empty list changes
// nothing. With `pages` (ascending, within each document), only those pages of each are loaded.
void LoadChosenFiles(MainWindow& window, int paneNumber, const QStringList& chosenPaths,
                     const std::vector<PageRanges::Range>& pages = {});

// The open-file dialog's settings for both load commands.
OpenFilesRequest LoadDialogRequest();

// The chosen files as a selection list: the one full path, or for several files their folder
// followed by their names.
QStringList SelectionList(const QStringList& chosenPaths);

// Collapses doubled separators: every "//" becomes "/" (pairs do not overlap). A path that starts
// with two or more separators names a network location and keeps exactly two at its start.
QString FixDoubleBackslash(const QString& path);

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "core/ErrorReport.h"
#include "core/MainWindow.h"

namespace corvella {

// The word processor as the word-processor comparison method uses it. The program's
// implementation drives the office suite; tests script it.
class Word1 {
public:
    virtual ~Word1() = default;

    // True when an instance of the word processor that the user would see is already running.
    virtual bool IsWordRunning() = 0;

    // Has the word processor build a new document that shows the changes from text 1 to text 2,
    // shows it and leaves it open. Throws Failure when any step fails.
    virtual void CompareInWord(const QString& path1, const QString& path2) = 0;
};

// True when a word processor is running; a missing or failing service counts as none running.
bool IsWordRunning(Word1* word);

// Warns when the word processor is running and asks whether to go on; true means stop.
bool CancelIfWordOpen(Word1* word, Dialogs& dialogs);

// The word-processor branch of "Find Differences (Words)": writes the texts of panes 1 and 2 to
// "1.txt" and "2.txt" in the temp folder, has the word processor compare them and removes the
// files again. Its steps are lines 106 to 126 of the command's own procedure.
void CompareWithWordProcessor(MainWindow& window, Procedure& proc);

}  // namespace corvella

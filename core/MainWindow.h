// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

#include "core/PaneDocument.h"
#include "core/Services.h"
#include "core/Side.h"

namespace corvella {

// The window's pointer; the numbers are the shape codes the commands set.
enum class PointerShape { Default = 0, Hourglass = 11, Hand = 99 };

// What the commands see of the main window: its four panes, its option buttons, its pointer and
// the two flags it owns. The real window is Form1; tests may supply their own.
class MainWindow {
public:
    virtual ~MainWindow() = default;

    // Panes 1 to 4 (RichTextBox1..RichTextBox4).
    virtual PaneDocument& pane(int number) = 0;
    // A side's text pane (1 or 2) and the work pane that lists its differences (3 or 4).
    PaneDocument& textPane(Side side) { return pane(TextPaneOf(side)); }
    PaneDocument& workPane(Side side) { return pane(WorkPaneOf(side)); }
    // Option1..Option4.
    virtual bool isOptionSelected(int number) const = 0;
    // Selects the option and runs its click behaviour.
    virtual void selectOption(int number) = 0;

    virtual PointerShape pointer() const = 0;
    virtual void setPointer(PointerShape shape) = 0;

    virtual Services& services() = 0;

    // A load has put the text of these PDFs, in order, into text pane `paneNumber`: a window that
    // writes annotated copies or extracts chosen pages keeps their names.
    virtual void textLoadedFrom(int paneNumber, const QStringList& pdfs) {
        Q_UNUSED(paneNumber);
        Q_UNUSED(pdfs);
    }

    // A Find Differences command is running.
    bool BusyFlag = false;
    // The work panes hold the result of comparing the texts now in panes 1 and 2.
    bool ComparisonDone = false;
};

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/LinesCommand.h"

#include "compare/RTB.h"
#include "core/ErrorReport.h"
#include "display/ShowRTF.h"

namespace corvella {

void PushButton1_Click(MainWindow& window, Comparison* result) {
    Services& services = window.services();
    Procedure proc(services.dialogs, QStringLiteral("Form1.PushButton1_Click"));
    bool alreadyRunning = false;
    proc.step(100, [&] { alreadyRunning = window.BusyFlag; });
    if (alreadyRunning) return;
    proc.step(102, [&] { window.BusyFlag = true; });
    proc.step(104, [&] { services.events.processEvents(); });
    proc.step(106, [&] { window.setPointer(PointerShape::Hourglass); });
    // Black over whatever each pane has selected, which is what the previous comparison left.
    proc.step(108, [&] { window.pane(1).setSelColor(kBlack); });
    proc.step(110, [&] { window.pane(2).setSelColor(kBlack); });
    Comparison found;
    proc.step(112, [&] {
        RTB::FindDifferencesIn1(window.pane(1), window.pane(2), window.pane(3), services,
                                result ? &found.side(Side::One) : nullptr);
    });
    proc.step(114, [&] {
        RTB::FindDifferencesIn2(window.pane(2), window.pane(1), window.pane(4), services,
                                result ? &found.side(Side::Two) : nullptr);
    });
    proc.step(116, [&] { window.setPointer(PointerShape::Default); });
    proc.step(118, [&] { window.ComparisonDone = true; });
    proc.step(120, [&] { ShowRTF(window); });
    proc.step(122, [&] { window.BusyFlag = false; });
    if (result) *result = std::move(found);
}

}  // namespace corvella

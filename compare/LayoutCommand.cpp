// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/LayoutCommand.h"

#include "core/ErrorReport.h"
#include "core/PaneText.h"
#include "diff/layout/LayoutComparison.h"
#include "display/ShowRTF.h"

namespace corvella {

namespace {

void paintBlack(PaneDocument& pane) { pane.colorRanges({{0, pane.textLength()}}, kBlack); }

// Lists the side's runs in the work pane and colours their words red in the pane.
void show(const ComparedSide& side, PaneDocument& pane, PaneDocument& work) {
    QString entries;
    for (size_t i = 0; i < side.differences.size(); ++i) {
        entries += PaneText::kBreak;
        entries += LayoutEntry(side.differences[i], side.differenceWords[i]);
    }
    work.setText(entries);
    pane.colorRanges(side.differenceMarks(), kRed);
}

}  // namespace

QString LayoutEntry(const Difference& run, const QString& words) {
    return QStringLiteral("p%1:l%2 ").arg(run.page).arg(run.line) + words;
}

void FindDifferencesIgnoringLayout(MainWindow& window, Comparison* result) {
    Services& services = window.services();
    Procedure proc(services.dialogs, QStringLiteral("Form1.FindDifferencesIgnoringLayout"));
    bool alreadyRunning = false;
    proc.step(100, [&] { alreadyRunning = window.BusyFlag; });
    if (alreadyRunning) return;
    proc.step(102, [&] { window.BusyFlag = true; });
    proc.step(104, [&] { services.events.processEvents(); });
    proc.step(106, [&] { window.setPointer(PointerShape::Hourglass); });
    proc.step(108, [&] { paintBlack(window.pane(1)); });
    proc.step(110, [&] { paintBlack(window.pane(2)); });

    Comparison found;
    proc.step(112, [&] {
        const QString text1 = window.pane(1).text();
        const QString text2 = window.pane(2).text();
        // Two thousand pages take a while: the window stays live.
        TimeSlicedYield yield(services.events, services.yieldSlice);
        found = LayoutCompare::Compare(text1, text2, [&] {
            yield.maybeYield();
            return true;
        });
    });
    proc.step(114, [&] { show(found.side(Side::One), window.pane(1), window.pane(3)); });
    proc.step(116, [&] { show(found.side(Side::Two), window.pane(2), window.pane(4)); });
    proc.step(118, [&] { window.setPointer(PointerShape::Default); });
    proc.step(120, [&] { window.ComparisonDone = true; });
    proc.step(122, [&] { ShowRTF(window); });
    proc.step(124, [&] { window.BusyFlag = false; });
    if (result) *result = std::move(found);
}

}  // namespace corvella

#include "compare/LayoutCommand.h"

#include "compare/ShowRTF.h"
#include "core/ErrorReport.h"
#include "core/PaneText.h"

namespace corvella {

namespace {

void paintBlack(PaneDocument& pane) { pane.colorRanges({{0, pane.textLength()}}, kBlack); }

// Lists the runs in the work pane and colours their words red in the pane.
void show(const std::vector<LayoutRun>& runs, PaneDocument& pane, PaneDocument& work,
          std::vector<TextRange>* listed) {
    QString entries;
    std::vector<TextRange> red;
    for (const LayoutRun& run : runs) {
        entries += PaneText::kBreak;
        entries += LayoutEntry(run);
        red.insert(red.end(), run.ranges.begin(), run.ranges.end());
        if (listed) listed->push_back(run.span);
    }
    work.setText(entries);
    pane.colorRanges(red, kRed);
}

}  // namespace

QString LayoutEntry(const LayoutRun& run) {
    return QStringLiteral("p%1:l%2 ").arg(run.page).arg(run.line) + run.words;
}

void FindDifferencesIgnoringLayout(MainWindow& window, LayoutComparison* result) {
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

    LayoutComparison found;
    proc.step(112, [&] {
        const QString text1 = window.pane(1).text();
        const QString text2 = window.pane(2).text();
        // Two thousand pages take a while: the window stays live.
        TimeSlicedYield yield(services.events, services.yieldSlice);
        found = LayoutCompare::Compare(text1, text2, &yield);
    });
    ListedDifferences* listed = window.listedDifferences;
    if (listed) *listed = {};
    proc.step(114, [&] {
        show(found.only1, window.pane(1), window.pane(3), listed ? &listed->inPane1 : nullptr);
    });
    proc.step(116, [&] {
        show(found.only2, window.pane(2), window.pane(4), listed ? &listed->inPane2 : nullptr);
    });
    proc.step(118, [&] { window.setPointer(PointerShape::Default); });
    proc.step(120, [&] { window.ComparisonDone = true; });
    proc.step(122, [&] { ShowRTF(window); });
    proc.step(124, [&] { window.BusyFlag = false; });
    if (result) *result = std::move(found);
}

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <vector>

#include "core/PaneDocument.h"
#include "core/Services.h"
#include "diff/Comparison.h"
#include "diff/LineDiff.h"

// The line comparison: which lines of one pane have no equal line anywhere in the other pane.
namespace corvella::RTB {

// Colours red, in pane 1, every line that has no equal line in pane 2 and lists those lines in
// work pane 3, one per row. When asked, gives the listed lines as the comparison found them, with
// the ranges coloured for them as their marks.
void FindDifferencesIn1(PaneDocument& pane1, PaneDocument& pane2, PaneDocument& pane3,
                        Services& services, ComparedSide* found = nullptr);
// The same for pane 2 against pane 1, listing into work pane 4.
void FindDifferencesIn2(PaneDocument& pane2, PaneDocument& pane1, PaneDocument& pane4,
                        Services& services, ComparedSide* found = nullptr);

// What a colouring coloured: the occurrences of each search text in the text it coloured them in.
struct Painted {
    QString text;
    LineDiff::Occurrences occurrences;
};

// Colour red every occurrence of each search text followed by a CR, taking the search texts in
// order; the selection ends on the last occurrence coloured. ColorRedByString1 lets failures reach
// its caller; ColorRedByString2 reports them itself. `painted`, when given, receives what was
// coloured.
void ColorRedByString1(PaneDocument& pane1, const std::vector<QStringView>& searchTexts,
                       Services& services, Painted* painted = nullptr);
void ColorRedByString2(PaneDocument& pane2, const std::vector<QStringView>& searchTexts,
                       Services& services, Painted* painted = nullptr);

}  // namespace corvella::RTB

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>
#include <optional>
#include <vector>

namespace corvella {

// Where the marks of a whole text fall on a scroll bar's track of `pixels` pixels: one entry per
// pixel, made once per comparison or resize, so that painting costs the track's height and not
// the number of differences.
struct OverviewSummary {
    enum Kind : quint8 { kNone = 0, kMoved = 1, kDifference = 2 };
    struct Mark {
        int line = 0;  // the view line it starts on
        Kind kind = kDifference;
    };

    // `marks` in any order; `totalLines` the lines the whole track stands for.
    static OverviewSummary Of(const std::vector<Mark>& marks, int totalLines, int pixels);

    int pixels() const { return int(kinds.size()); }
    int pixelOf(int line) const;
    // The mark nearest to the pixel within `reach` pixels (a difference before a move on the
    // same pixel), as its index in the marks given.
    std::optional<int> markNear(int pixel, int reach) const;

    std::vector<Kind> kinds;  // the strongest kind on each pixel
    std::vector<int> first;   // per pixel: the first mark of its kind there, or -1
    int totalLines = 1;
};

}  // namespace corvella

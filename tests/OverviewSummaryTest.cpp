// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The scroll bar's per-pixel summary of the marks, and the row of a view that leads the other.
#include <gtest/gtest.h>

#include "window/review/OverviewSummary.h"
#include "window/review/ScrollLink.h"

namespace corvella {
namespace {

using Kind = OverviewSummary::Kind;

TEST(OverviewSummaryTest, MarksFallOnThePixelsOfTheirShareOfTheText) {
    // 1,000 lines on a 100-pixel track: ten lines a pixel.
    const std::vector<OverviewSummary::Mark> marks = {{250, Kind::kDifference},
                                                      {255, Kind::kMoved},
                                                      {600, Kind::kMoved},
                                                      {999, Kind::kDifference},
                                                      {5000, Kind::kDifference}};
    const OverviewSummary summary = OverviewSummary::Of(marks, 1000, 100);
    struct Case {
        int pixel;
        Kind kind;
        int first;
    } cases[] = {
        {25, Kind::kDifference, 0},  // a difference outweighs a move on its pixel
        {60, Kind::kMoved, 2},      {99, Kind::kDifference, 3},  // the last line, and past it
        {24, Kind::kNone, -1},      {0, Kind::kNone, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pixel);
        EXPECT_EQ(summary.kinds[size_t(c.pixel)], c.kind);
        EXPECT_EQ(summary.first[size_t(c.pixel)], c.first);
    }
    EXPECT_EQ(summary.markNear(27, 2), std::optional<int>(0));
    EXPECT_EQ(summary.markNear(58, 2), std::optional<int>(2));
    EXPECT_EQ(summary.markNear(40, 2), std::nullopt);
    EXPECT_EQ(OverviewSummary::Of(marks, 1000, 0).pixels(), 0);
}

TEST(OverviewSummaryTest, TheLeadingRowMovesToTheTopAndBottomNearTheEnds) {
    struct Case {
        int value;
        int maximum;
        int pageStep;
        int row;
    } cases[] = {
        {0, 1000, 20, 0},    {4, 1000, 20, 4},     {10, 1000, 20, 10}, {500, 1000, 20, 10},
        {995, 1000, 20, 15}, {1000, 1000, 20, 20}, {0, 0, 20, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScrollLink::AnchorRow(c.value, c.maximum, c.pageStep), c.row)
            << c.value << " of " << c.maximum;
}

}  // namespace
}  // namespace corvella

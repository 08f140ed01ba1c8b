// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Which differences a walked place meets, and where it stands in the other text.
#include <gtest/gtest.h>

#include "diff/OtherSide.h"

namespace corvella {
namespace {

Difference at(qsizetype start, qsizetype length, TextRange other) {
    Difference difference;
    difference.span = {start, length};
    difference.other = other;
    return difference;
}

// Lines 10-19 and 22-31 differ (their counterparts 40-45 and 50-52), an empty line at 35 (not
// placed), and a word at 60 whose text the other side lacks (the point 70).
const std::vector<Difference> kDifferences = {at(10, 10, {40, 6}), at(22, 10, {50, 3}),
                                              at(35, 0, {-1, 0}), at(60, 4, {70, 0})};

TEST(OtherSideTest, APlaceStandsWhereItsDifferencesStandInTheOtherText) {
    struct Case {
        TextRange place;
        std::vector<size_t> meeting;
        std::optional<TextRange> other;
    } cases[] = {
        {{10, 10}, {0}, TextRange{40, 6}},      // one line
        {{10, 22}, {0, 1}, TextRange{40, 13}},  // two lines joined across their break
        {{12, 3}, {0}, TextRange{40, 6}},       // a word of a run
        {{20, 2}, {}, std::nullopt},            // the break between them
        {{35, 0}, {2}, std::nullopt},           // an empty line, not placed
        {{60, 4}, {3}, TextRange{70, 0}},       // the point where it would stand
        {{64, 0}, {3}, TextRange{70, 0}},       // the caret just after it
        {{90, 5}, {}, std::nullopt},            // after every difference
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "place " << c.place.start << "+" << c.place.length);
        EXPECT_EQ(OtherSide::Meeting(kDifferences, c.place), c.meeting);
        const std::optional<TextRange> other = OtherSide::Of(kDifferences, c.place);
        ASSERT_EQ(other.has_value(), c.other.has_value());
        if (other) {
            EXPECT_EQ(other->start, c.other->start);
            EXPECT_EQ(other->length, c.other->length);
        }
    }
    EXPECT_EQ(OtherSide::Holding(kDifferences, 25), std::optional<size_t>(1));
    EXPECT_EQ(OtherSide::Holding(kDifferences, 21), std::nullopt);
}

}  // namespace
}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of the annotated copies: the boxes of a range of a page's text are those of its own
// words, whatever the text and the words differ in; a run of differences is one marking with a
// note on the other file; two files of one name get copies of two names.
#include <gtest/gtest.h>

#include "annotate/CopyNames.h"
#include "annotate/Markings.h"
#include "diff/Alignment.h"
#include "diff/LineComparison.h"
#include "diff/WordComparison.h"
#include "diff/layout/LayoutComparison.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/WordLayout.h"

using namespace corvella;

namespace {

TEST(BoxMatcherTest, BoxesAreThoseOfTheRangesOwnWords) {
    struct Case {
        QString text;
        QStringList lines;  // the words, a line each
        QString range;      // the first place of this in the text
        std::vector<QRectF> boxes;
    };
    const Case cases[] = {
        {"alpha beta\r\ngamma", {"alpha beta", "gamma"}, "beta", {{54, 0, 40, 10}}},
        // A word over a line's end: the text drops its hyphen, each line keeps its box.
        {"one extraordinary\r\nday",
         {"one extra-", "ordinary day"},
         "extraordinary",
         {{34, 0, 60, 10}, {0, 20, 80, 10}}},
        {"alpha beta", {"alpha beta"}, "lph", {{10, 0, 30, 10}}},  // part of a word
        {"alpha beta gamma", {"alpha beta gamma"}, "alpha beta", {{0, 0, 94, 10}}},  // one line
        {"alpha XYZ beta", {"alpha beta"}, "XYZ", {}},  // text the words lack
        {"alpha beta", {"alpha junk beta"}, "alpha beta", {{0, 0, 50, 10}, {98, 0, 40, 10}}},
    };
    for (const Case& c : cases) {
        const std::vector<BoxMatcher::WordBox> words = corvella::testing::WordLayout(c.lines);
        const BoxMatcher::PageMatch match(c.text, 100, words);  // the page starts at 100
        std::vector<QRectF> boxes;
        for (const BoxMatcher::Box& box : BoxMatcher::JoinedAlongLines(
                 match.boxesOf({100 + c.text.indexOf(c.range), c.range.size()})))
            boxes.push_back(box.rect);
        EXPECT_EQ(boxes, c.boxes) << c.text.toStdString();
    }
}

TEST(MarkingsTest, ARunOfDifferencesIsOneMarkingWithANoteOnTheOtherFile) {
    struct Case {
        Method method;
        QString one, two;
        QString note;
        size_t ranges;  // of the marking
    };
    const Case cases[] = {
        {Method::Words, "alpha beta gamma\r\n\f", "alpha BETA GAMMA\r\n\f",
         "Changed: two.pdf has “BETA GAMMA” (page 1, line 1).", 2},
        {Method::Lines, "same\r\nold one\r\nold two\r\nend\r\n\f", "same\r\nnew\r\nend\r\n\f",
         "Changed: two.pdf has “new” (page 1, line 2).", 2},
        // Words only written in another typography, marked in their own colour.
        {Method::IgnoringLayout, "We say “hello” to all\r\n\f", "We say \"hello\" to all\r\n\f",
         "Typography changed: two.pdf writes “\"hello\"” (page 1, line 1).", 1},
    };
    for (const Case& c : cases) {
        Comparison comparison = c.method == Method::Words   ? WordCompare::Compare(c.one, c.two)
                                : c.method == Method::Lines ? LineCompare::Compare(c.one, c.two)
                                                            : LayoutCompare::Compare(c.one, c.two);
        PlaceInOther(comparison, AlignWords(c.one, c.two), c.one, c.two);
        const std::vector<Markings::Marking> markings =
            Markings::Of(comparison, Side::One, {{{"one.pdf", "two.pdf"}}, {{c.one, c.two}}});
        ASSERT_EQ(markings.size(), 1u) << c.note.toStdString();
        EXPECT_EQ(markings[0].note, c.note);
        EXPECT_EQ(markings[0].ranges.size(), c.ranges);
    }
}

TEST(CopyNamesTest, TwoFilesOfOneNameGetCopiesOfTwoNames) {
    const BySide<QString> copies = CopyNames::In("out", {{"old/guide.pdf", "new/guide.pdf"}});
    EXPECT_EQ(copies[Side::One], "out/guide-1.pdf");
    EXPECT_EQ(copies[Side::Two], "out/guide-2.pdf");
}

}  // namespace

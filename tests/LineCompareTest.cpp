// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The line comparison on real panes: its documented cases, and equality with the literal
// step-by-step algorithm on thousands of random texts.
#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "compare/RTB.h"
#include "tests/support/CountingPump.h"
#include "tests/support/LiteralLineCompare.h"
#include "tests/support/MemoryPane.h"
#include "tests/support/PaneInspection.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/ScriptedDialogs.h"
#include "window/pane/RichTextPane.h"

using namespace corvella;
using corvella::testing::CountingPump;
using corvella::testing::MemoryPane;
using corvella::testing::RedMask;
using corvella::testing::ScribbleRed;
using corvella::testing::ScriptedDialogs;

namespace {

class LineCompareTest : public ::testing::Test {
protected:
    void compare(const QString& text1, const QString& text2) {
        pane1.setText(text1);
        pane2.setText(text2);
        RTB::FindDifferencesIn1(pane1, pane2, pane3, services);
        RTB::FindDifferencesIn2(pane2, pane1, pane4, services);
    }

    ScriptedDialogs dialogs;
    CountingPump pump;
    Services services{dialogs, pump};
    RichTextPane pane1, pane2, pane3, pane4;
};

TEST_F(LineCompareTest, DifferingLinesAreRedAndListedInBothDirections) {
    compare("1\r2\r3\r4\r5\r6\r7\r\r", "1\r2\r3\rx\r5\rx\r7\r\r");
    EXPECT_EQ(RedMask(pane1), "...^.^.");
    EXPECT_EQ(RedMask(pane2), "...^.^.");
    EXPECT_EQ(pane3.text(), "4\r\n6\r\n");
    EXPECT_EQ(pane4.text(), "x\r\nx\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LineCompareTest, EmptyPanes) {
    compare("", "one\rtwo\r");
    EXPECT_EQ(pane3.text(), "");
    EXPECT_EQ(RedMask(pane1), "");
    // Every line of the non-empty pane is a difference, the empty last piece included.
    EXPECT_EQ(pane4.text(), "one\r\ntwo\r\n\r\n");
    EXPECT_EQ(RedMask(pane2), "^^^^^^");
}

TEST_F(LineCompareTest, OrderAndRepetitionDoNotMatter) {
    compare("top\rb\rc\rb\r", "top\rc\rb\r");
    EXPECT_EQ(pane3.text(), "");
    EXPECT_EQ(pane4.text(), "");
    EXPECT_EQ(RedMask(pane1), QString(6, u'.'));
}

TEST_F(LineCompareTest, CaseAndTrailingSpacesCount) {
    compare("x\rAbc\rabc \r", "x\rabc\rabc\r");
    EXPECT_EQ(pane3.text(), "Abc\r\nabc \r\n");
    EXPECT_EQ(pane4.text(), "abc\r\nabc\r\n");
}

TEST_F(LineCompareTest, FirstLineIsEqualOnlyToAFirstLine) {
    // "a" stands first in pane 1 but further down in pane 2: a difference in both directions.
    compare("a\rb\r", "b\ra\r");
    EXPECT_EQ(pane3.text(), "a\r\nb\r\n");
    EXPECT_EQ(pane4.text(), "b\r\na\r\n");
}

TEST_F(LineCompareTest, BlankLinesBelowTheFirstAreEqualWherever) {
    compare("t\r\ru\r", "t\ru\r\r\r");
    EXPECT_EQ(pane3.text(), "");
}

TEST_F(LineCompareTest, LastLineWithoutBreakIsListedButNotColoured) {
    compare("same\rlast", "same\rother");
    EXPECT_EQ(pane3.text(), "last\r\n");
    EXPECT_EQ(RedMask(pane1), "........");
}

TEST_F(LineCompareTest, DifferingFirstLineAlsoColoursLongerLinesEndingWithIt) {
    compare("ab\rxab\rzz\r", "q\rxab\rzz\r");
    EXPECT_EQ(pane3.text(), "ab\r\n");
    // "ab" + CR also occurs at the end of "xab".
    EXPECT_EQ(RedMask(pane1), "^^.^^..");
}

TEST_F(LineCompareTest, EachCopyOfARepeatedDifferenceIsColouredAndListed) {
    compare("k\rd\rd\rm\rd\r", "k\rm\r");
    EXPECT_EQ(RedMask(pane1), ".^^.^");
    EXPECT_EQ(pane3.text(), "d\r\nd\r\nd\r\n");
}

TEST_F(LineCompareTest, SelectionEndsOnTheLastOccurrenceColoured) {
    compare("s\rd\re\rd\rz", "s\r");
    // Last colouring call is for "d" (the final "z" has no break after it): its last copy.
    const QString text = pane1.text();
    EXPECT_EQ(pane1.selStart(), text.lastIndexOf(QStringLiteral("\nd\r")));
    EXPECT_EQ(pane1.selLength(), 3);
}

TEST_F(LineCompareTest, WorkPaneIsClearedOnEveryRun) {
    compare("a\rb\r", "a\r");
    compare("a\r", "a\r");
    EXPECT_EQ(pane3.text(), "");
    EXPECT_EQ(pane4.text(), "");
}

TEST_F(LineCompareTest, YieldsOncePerTimeSliceWhileComparing) {
    QString a, b;
    for (int i = 0; i < 2000; ++i) {
        a += QStringLiteral("line %1\r").arg(i);
        b += QStringLiteral("line %1\r").arg(i + 7);
    }
    services.yieldSlice = std::chrono::milliseconds(0);  // every yield point yields
    compare(a, b);
    EXPECT_GE(pump.count, 2 * 2001);  // at least once per piece, in each direction
    const int sliced = pump.count;
    services.yieldSlice = std::chrono::hours(1);  // no slice ever runs out
    compare(a, b);
    EXPECT_EQ(pump.count, sliced);
}

// ---- Equality with the literal algorithm ------------------------------------------------------

class RandomTexts {
public:
    explicit RandomTexts(quint32 seed) : random_(seed) {}

    QString text() {
        static const QStringList vocabulary = {
            "",  "a",      "b",     "ab",   "xab",    "b a",   " a", "a ", "A", "a  b", "\t",
            "é", "日本語", "Ωμέγα", "عربى", "\u00a0", "ab ab", "b",  "zz", "x", "😀"};
        static const QStringList breaks = {"\r", "\r\n", "\n\r", "\r\r", "\n", "\u2029"};
        const int lines = int(random_.bounded(12));
        QString out;
        for (int i = 0; i < lines; ++i) {
            out += vocabulary[int(random_.bounded(vocabulary.size()))];
            if (i + 1 < lines || random_.bounded(2))
                out += breaks[int(random_.bounded(breaks.size()))];
        }
        return out;
    }

    // Some red and a selection left behind, as an earlier command would.
    void scribble(PaneDocument& a, PaneDocument& b) { ScribbleRed(random_, a, b); }

private:
    QRandomGenerator random_;
};

TEST(LineCompareOracleTest, SameColoursListsAndSelectionAsTheLiteralSteps) {
    ScriptedDialogs dialogs;
    CountingPump pump;
    Services services{dialogs, pump};
    RichTextPane fast1, fast2, fast3, fast4;
    RandomTexts random(20261208);

    for (int round = 0; round < 3000; ++round) {
        const QString text1 = random.text();
        const QString text2 = random.text();
        MemoryPane slow1(text1), slow2(text2), slow3, slow4;
        fast1.setText(text1);
        fast2.setText(text2);
        ASSERT_EQ(fast1.text(), slow1.text());
        random.scribble(slow1, fast1);
        random.scribble(slow2, fast2);

        // Twice, so that the second run starts from what the first left behind.
        for (int run = 0; run < 2; ++run) {
            corvella::testing::Literal::FindDifferences(slow1, slow2, slow3, pump);
            corvella::testing::Literal::FindDifferences(slow2, slow1, slow4, pump);
            RTB::FindDifferencesIn1(fast1, fast2, fast3, services);
            RTB::FindDifferencesIn2(fast2, fast1, fast4, services);

            SCOPED_TRACE(QStringLiteral("round %1 run %2\ntext1=%3\ntext2=%4")
                             .arg(round)
                             .arg(run)
                             .arg(QString(text1).replace(u'\r', u'R').replace(u'\n', u'N'))
                             .arg(QString(text2).replace(u'\r', u'R').replace(u'\n', u'N'))
                             .toStdString());
            ASSERT_EQ(RedMask(fast1), RedMask(slow1));
            ASSERT_EQ(RedMask(fast2), RedMask(slow2));
            ASSERT_EQ(fast3.text(), slow3.text());
            ASSERT_EQ(fast4.text(), slow4.text());
            ASSERT_EQ(fast1.selStart(), slow1.selStart());
            ASSERT_EQ(fast1.selLength(), slow1.selLength());
            ASSERT_EQ(fast2.selStart(), slow2.selStart());
            ASSERT_EQ(fast2.selLength(), slow2.selLength());
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace

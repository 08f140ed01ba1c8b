// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The layout-free comparison's edit script keeps its promises (LayoutDiff::Verify) on random word
// sequences, and the alignment it gives pairs equal words in order.
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringList>

#include "diff/layout/LayoutComparison.h"
#include "diff/layout/LayoutDiff.h"
#include "tests/support/QStringPrinter.h"

using namespace corvella;

namespace {

// A sequence of words from a small alphabet, and another made from it by replacing, inserting,
// deleting and moving runs, so that anchors, moves and reorders all occur.
std::pair<std::vector<int>, std::vector<int>> editedPair(QRandomGenerator& random) {
    std::vector<int> a(random.bounded(1, 120));
    for (int& word : a) word = int(random.bounded(random.bounded(2) ? 6 : 60));
    std::vector<int> b = a;
    for (int edit = int(random.bounded(6)); edit > 0; --edit) {
        const size_t at = random.bounded(quint32(b.size() + 1));
        switch (random.bounded(4)) {
            case 0:
                if (at < b.size()) b[at] = int(random.bounded(60));
                break;
            case 1:
                b.insert(b.begin() + qsizetype(at), int(random.bounded(60)));
                break;
            case 2:
                if (at < b.size()) b.erase(b.begin() + qsizetype(at));
                break;
            default: {  // a run moved to the end
                const size_t length = std::min<size_t>(b.size() - std::min(at, b.size()), 7);
                std::vector<int> run(b.begin() + qsizetype(at), b.begin() + qsizetype(at + length));
                b.erase(b.begin() + qsizetype(at), b.begin() + qsizetype(at + length));
                b.insert(b.end(), run.begin(), run.end());
            }
        }
    }
    return {a, b};
}

TEST(EditScriptTest, KeepsItsPromisesOnRandomSequences) {
    QRandomGenerator random(7);
    for (int round = 0; round < 2000; ++round) {
        const auto [a, b] = editedPair(random);
        LayoutDiff::Edits edits = LayoutDiff::ShortestEdits(a, b);
        const std::vector<LayoutDiff::Move> moves = LayoutDiff::FindMoves(a, b, edits, 5);
        LayoutDiff::FindReorders(a, b, a, b, edits, 5);
        ASSERT_EQ(LayoutDiff::Verify(a, b, a, b, edits, moves), "") << "round " << round;
    }
    // And it notices a broken script: a kept pair that is not equal.
    LayoutDiff::Edits wrong{{LayoutDiff::Common}, {LayoutDiff::Common}};
    EXPECT_NE(LayoutDiff::Verify({1}, {2}, {1}, {2}, wrong, {}), "");
}

TEST(EditScriptTest, TheAlignmentPairsEqualWordsInOrder) {
    const QString text1 = QStringLiteral("one two three four\r\nfive six seven\r\n\feight nine");
    const QString text2 = QStringLiteral("zero one two\r\nfour five SIX seven eight\r\n\fnine");
    const Alignment alignment = LayoutCompare::Align(text1, text2);
    QStringList paired;
    qsizetype end1 = 0, end2 = 0;
    for (const Alignment::Pair& pair : alignment.pairs()) {
        EXPECT_EQ(text1.mid(pair.in1.start, pair.in1.length),
                  text2.mid(pair.in2.start, pair.in2.length));
        EXPECT_GE(pair.in1.start, end1);
        EXPECT_GE(pair.in2.start, end2);
        end1 = pair.in1.start + pair.in1.length;
        end2 = pair.in2.start + pair.in2.length;
        paired << text1.mid(pair.in1.start, pair.in1.length);
    }
    EXPECT_EQ(paired.join(u' '), "one two four five seven eight nine");

    // "three" and "six" stand where their counterparts stand; "zero" only text 2 has stands
    // where text 1 starts.
    const Comparison found = LayoutCompare::Compare(text1, text2);
    const auto counterparts = [&](int side) {
        const QString& other = side == 1 ? text2 : text1;
        QStringList out;
        for (const Difference& d : found.side(SideOfPane(side)).differences)
            out << QStringLiteral("%1@%2")
                       .arg(other.mid(d.other.start, d.other.length))
                       .arg(d.other.start);
        return out.join(u' ');
    };
    EXPECT_EQ(counterparts(1), "@14 SIX@24");
    EXPECT_EQ(counterparts(2), "@0 six@25");
    // Positions map through the pairs, and between pairs by their share of the way.
    EXPECT_EQ(alignment.map(Side::One, text1.indexOf("five")), text2.indexOf("five"));
    EXPECT_EQ(alignment.map(Side::Two, text2.indexOf("nine") + 2), text1.indexOf("nine") + 2);
}

}  // namespace

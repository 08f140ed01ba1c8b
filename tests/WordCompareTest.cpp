// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The word comparison: its documented cases on real panes, and equality with the literal
// step-by-step algorithm on thousands of random texts.
#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "compare/WordsCommand.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/LiteralWordCompare.h"
#include "tests/support/PaneInspection.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestServices.h"
#include "window/pane/RichTextPane.h"

using namespace corvella;
using corvella::testing::FakeWindow;
using corvella::testing::RedMask;
using corvella::testing::ScribbleRed;
using corvella::testing::TestServices;

namespace {

// ---- The comparison on real panes --------------------------------------------------------------

// A window made of four real panes, showing all lines, with the standard method.
class PaneWindow : public MainWindow {
public:
    PaneDocument& pane(int number) override { return panes[number - 1]; }
    bool isOptionSelected(int number) const override { return number == 1 || number == 3; }
    void selectOption(int) override {}
    PointerShape pointer() const override { return PointerShape::Default; }
    void setPointer(PointerShape) override {}
    Services& services() override { return all.services; }

    TestServices all;
    RichTextPane panes[4];
};

class WordCompareTest : public ::testing::Test {
protected:
    void compare(const QString& text1, const QString& text2) {
        window.pane(1).setText(text1);
        window.pane(2).setText(text2);
        PushButton6_Click(window);
        ASSERT_TRUE(window.all.dialogs.messages.empty());
    }
    PaneDocument& pane(int number) { return window.pane(number); }

    PaneWindow window;
};

TEST_F(WordCompareTest, DifferingWordsAreRedAndListedOnePerLineAfterABreak) {
    compare("The quick fox\rjumps over it\r", "The slow fox\rjumps over it\r");
    EXPECT_EQ(RedMask(pane(1)), "....^^^^^" + QString(17, u'.'));
    EXPECT_EQ(RedMask(pane(2)), "....^^^^" + QString(17, u'.'));
    EXPECT_EQ(pane(3).text(), "\r\nquick");
    EXPECT_EQ(pane(4).text(), "\r\nslow");
}

TEST_F(WordCompareTest, EqualTextsLeaveNothingRedAndTheWholeTextSelected) {
    compare("same words\rhere\r", "same words\rhere\r");
    EXPECT_EQ(RedMask(pane(1)), QString(14, u'.'));
    EXPECT_EQ(pane(3).text(), "");
    EXPECT_EQ(pane(4).text(), "");
    EXPECT_EQ(pane(1).selStart(), 0);
    EXPECT_EQ(pane(1).selLength(), pane(1).textLength());
}

TEST_F(WordCompareTest, AnEmptyPaneComparesNothing) {
    compare("one two\rthree\r", "");
    EXPECT_EQ(RedMask(pane(1)), QString(12, u'.'));
    EXPECT_EQ(pane(3).text(), "");
    EXPECT_EQ(pane(4).text(), "");
    compare("", "one two\r");
    EXPECT_EQ(RedMask(pane(2)), QString(7, u'.'));
    EXPECT_EQ(pane(3).text(), "");
    EXPECT_EQ(pane(4).text(), "");
}

TEST_F(WordCompareTest, ExtraLinesAreComparedWithTheLastLineReached) {
    // Pane 2 stops at "b c": every further line of pane 1 is compared with it.
    compare("a\rb c\rc b\rx c", "a\rb c");
    EXPECT_EQ(pane(3).text(), "\r\nb\r\nx");
    EXPECT_EQ(RedMask(pane(1)), "......^^..");
    // Pass 2 only has the two lines of pane 2, paired with the first two of pane 1.
    EXPECT_EQ(pane(4).text(), "");
}

TEST_F(WordCompareTest, AFinalEmptyLineStopsTheOtherPaneOnTheLineBeforeIt) {
    // Pane 2's text ends with a break: nothing follows the break after "q", so j stays there and
    // the empty last line of pane 2 is never used.
    compare("p\rq\rr\r", "p\rq\r");
    EXPECT_EQ(pane(3).text(), "\r\nr");
    EXPECT_EQ(RedMask(pane(1)), "..^");
    // Pass 2: "p", "q" and the empty last line ("" has no words) against pane 1's lines.
    EXPECT_EQ(pane(4).text(), "");
}

TEST_F(WordCompareTest, AnUnmatchedEmptyWordAddsAnEmptyLineButNoColour) {
    compare("a  b\r", "a b\r");
    EXPECT_EQ(pane(3).text(), "\r\n");
    EXPECT_EQ(RedMask(pane(1)), "....");
    // The selection lies on the empty word, between the two spaces.
    EXPECT_EQ(pane(1).selStart(), 2);
    EXPECT_EQ(pane(1).selLength(), 0);
}

TEST_F(WordCompareTest, SelectionEndsOnTheLastWordColoured) {
    compare("keep one\rkeep two three\r", "keep\rkeep\r");
    EXPECT_EQ(pane(3).text(), "\r\none\r\ntwo\r\nthree");
    EXPECT_EQ(pane(1).selStart(), pane(1).text().indexOf("three"));
    EXPECT_EQ(pane(1).selLength(), 5);
}

TEST_F(WordCompareTest, TheBlackRepaintRemovesEarlierRed) {
    compare("x y\r", "x z\r");
    EXPECT_EQ(RedMask(pane(1)), "..^");
    pane(2).setText("x y\r");
    PushButton6_Click(window);
    EXPECT_EQ(RedMask(pane(1)), "...");
    EXPECT_EQ(pane(3).text(), "");
}

TEST_F(WordCompareTest, NonAsciiWordsAreColouredAtTheirPlaces) {
    compare("日本 😀 Ωμέγα\r", "日本 Ωμέγα\r");
    EXPECT_EQ(pane(3).text(), "\r\n😀");
    EXPECT_EQ(RedMask(pane(1)), "...^^......");
}

// ---- Equality with the literal algorithm ------------------------------------------------------

class RandomTexts {
public:
    explicit RandomTexts(quint32 seed) : random_(seed) {}

    QString text() {
        const int lines = int(random_.bounded(9));
        QStringList out;
        for (int i = 0; i < lines; ++i) out << line();
        return join(out);
    }

    // A text like the given one, with some words and lines changed, dropped or added.
    QString variant(const QString& text) {
        QStringList lines = text.isEmpty() ? QStringList{} : text.split(QStringLiteral("\r\n"));
        for (QString& line : lines) {
            if (random_.bounded(3) != 0) continue;
            QStringList words = line.split(u' ');
            const int changes = 1 + int(random_.bounded(3));
            for (int c = 0; c < changes; ++c) {
                const int at = int(random_.bounded(words.size() + 1));
                switch (random_.bounded(4)) {
                    case 0:
                        words.insert(at, word());
                        break;
                    case 1:
                        if (at < words.size()) words.removeAt(at);
                        break;
                    case 2:
                        if (at < words.size()) words[at] = word();
                        break;
                    default:
                        if (at + 1 < words.size()) words.swapItemsAt(at, at + 1);
                }
            }
            line = words.join(u' ');
        }
        if (random_.bounded(3) == 0 && !lines.isEmpty())
            lines.removeAt(int(random_.bounded(lines.size())));
        if (random_.bounded(3) == 0) lines.insert(int(random_.bounded(lines.size() + 1)), line());
        return join(lines);
    }

    bool oneIn(quint32 n) { return random_.bounded(n) == 0; }

    // Some red and a selection left behind, as an earlier command would.
    void scribble(PaneDocument& a, PaneDocument& b) { ScribbleRed(random_, a, b); }

private:
    QString word() {
        static const QStringList vocabulary = {"a", "b",    "c", "A",    "a,",     "the", "",
                                               "é", "日本", "😀", "x\ty", "\u00a0", "ab",  "Ωμέγα"};
        return vocabulary[int(random_.bounded(vocabulary.size()))];
    }

    QString line() {
        // Now and then a long line from few words, so that windows pass the plain scan.
        const bool longLine = random_.bounded(8) == 0;
        const int words = longLine ? 20 + int(random_.bounded(80)) : int(random_.bounded(7));
        QStringList out;
        for (int i = 0; i < words; ++i)
            out << (longLine ? QString(QChar(u'a' + int(random_.bounded(4)))) : word());
        return out.join(u' ');
    }

    // Lines joined by CR or CR LF, with zero to two breaks after the last.
    QString join(const QStringList& lines) {
        QString out;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) out += random_.bounded(2) ? QStringLiteral("\r") : QStringLiteral("\r\n");
            out += lines[i];
        }
        if (!lines.isEmpty()) out += QString(int(random_.bounded(3)), u'\r');
        return out;
    }

    QRandomGenerator random_;
};

TEST(WordCompareOracleTest, SameColoursListsAndSelectionsAsTheLiteralSteps) {
    PaneWindow fast;
    FakeWindow slow;
    RandomTexts random(20261208);

    for (int round = 0; round < 3000; ++round) {
        const QString text1 = random.text();
        const QString text2 = random.oneIn(4) ? random.text() : random.variant(text1);
        fast.pane(1).setText(text1);
        fast.pane(2).setText(text2);
        slow.pane(1).setText(text1);
        slow.pane(2).setText(text2);
        ASSERT_EQ(fast.pane(1).text(), slow.pane(1).text());
        ASSERT_EQ(fast.pane(2).text(), slow.pane(2).text());
        random.scribble(slow.pane(1), fast.pane(1));
        random.scribble(slow.pane(2), fast.pane(2));

        // Twice, so that the second run starts from what the first left behind.
        for (int run = 0; run < 2; ++run) {
            corvella::testing::Literal::WordComparisonCommand(slow);
            PushButton6_Click(fast);

            SCOPED_TRACE(QStringLiteral("round %1 run %2\ntext1=%3\ntext2=%4")
                             .arg(round)
                             .arg(run)
                             .arg(QString(text1).replace(u'\r', u'R').replace(u'\n', u'N'))
                             .arg(QString(text2).replace(u'\r', u'R').replace(u'\n', u'N'))
                             .toStdString());
            for (int number : {1, 2}) {
                ASSERT_EQ(RedMask(fast.pane(number)), RedMask(slow.pane(number))) << number;
                ASSERT_EQ(fast.pane(number).selStart(), slow.pane(number).selStart()) << number;
                ASSERT_EQ(fast.pane(number).selLength(), slow.pane(number).selLength()) << number;
            }
            ASSERT_EQ(fast.pane(3).text(), slow.pane(3).text());
            ASSERT_EQ(fast.pane(4).text(), slow.pane(4).text());
        }
    }
    EXPECT_TRUE(fast.all.dialogs.messages.empty());
    EXPECT_TRUE(slow.dialogs.messages.empty());
}

}  // namespace

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The word comparison's text core: cutting lines and words, the window, the forward-only cursor.
#include <gtest/gtest.h>

#include <QStringList>

#include "diff/WordDiff.h"
#include "tests/support/QStringPrinter.h"

using namespace corvella;

namespace {

QStringList toStrings(const std::vector<QStringView>& views) {
    QStringList out;
    for (QStringView view : views) out << view.toString();
    return out;
}

std::vector<TextRange> missing(const QString& own, const QString& other) {
    std::vector<TextRange> out;
    WordDiff::MissingWords(own, WordDiff::OtherLine(other), out);
    return out;
}

// The missing words themselves, for readable expectations.
QStringList missingWords(const QString& own, const QString& other) {
    QStringList out;
    for (const TextRange& range : missing(own, other)) out << own.mid(range.start, range.length);
    return out;
}

TEST(WordDiffTest, LinesAreCutAtCRLFOnly) {
    EXPECT_EQ(toStrings(WordDiff::CutAtCRLF(u"a b\r\nc\r\n")), (QStringList{"a b", "c", ""}));
    EXPECT_EQ(toStrings(WordDiff::CutAtCRLF(u"\r\n")), (QStringList{"", ""}));
    EXPECT_EQ(toStrings(WordDiff::CutAtCRLF(u"x")), QStringList{"x"});
    EXPECT_TRUE(WordDiff::CutAtCRLF(u"").empty());
}

TEST(WordDiffTest, WordsAreCutAtEverySingleSpace) {
    EXPECT_EQ(toStrings(WordDiff::CutAtSpaces(u"a  b")), (QStringList{"a", "", "b"}));
    EXPECT_EQ(toStrings(WordDiff::CutAtSpaces(u" a")), (QStringList{"", "a"}));
    EXPECT_EQ(toStrings(WordDiff::CutAtSpaces(u"a ")), (QStringList{"a", ""}));
    EXPECT_EQ(toStrings(WordDiff::CutAtSpaces(u"a,\tb\u00a0c")), QStringList{"a,\tb\u00a0c"});
    EXPECT_TRUE(WordDiff::CutAtSpaces(u"").empty());
}

TEST(WordDiffTest, WindowIsHalfTheLastIndexPlusOneRoundedHalfToEven) {
    const std::vector<qsizetype> expected = {1, 2, 2, 2, 3, 4, 4, 4, 5, 6, 6, 6, 7, 8};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(WordDiff::Window(qsizetype(i) + 1), expected[i]) << "words: " << i + 1;
}

TEST(WordDiffTest, AWordMissingWithinTheWindowIsADifference) {
    // A matches, B is not among the next two (C and nothing), C is then found at the cursor.
    EXPECT_EQ(missingWords("A B C", "A C"), QStringList{"B"});
    const auto ranges = missing("A B C", "A C");
    ASSERT_EQ(ranges.size(), 1u);
    EXPECT_EQ(ranges[0].start, 2);
    EXPECT_EQ(ranges[0].length, 1);
}

TEST(WordDiffTest, TheWindowLimitsHowFarAWordIsLookedFor) {
    // Seven own words: window 4. "w" three places after the cursor is found and the rest
    // follows; four places after it is not, the cursor stays and no later word is reached either.
    EXPECT_EQ(missingWords("w 2 3 4 5 6 7", "x x x w 2 3 4 5 6 7"), QStringList{});
    EXPECT_EQ(missingWords("w 2 3 4 5 6 7", "x x x x w 2 3 4 5 6 7"),
              (QStringList{"w", "2", "3", "4", "5", "6", "7"}));
}

TEST(WordDiffTest, LongLinesKeepTheWindowExactly) {
    // Forty own words: window 20, beyond the plain scan. The first own word stands at index 19 or
    // 20 of the other line; only at 19 does the whole line match.
    QStringList own;
    for (int i = 0; i < 40; ++i) own << QStringLiteral("w%1").arg(i);
    const QString ownLine = own.join(u' ');
    const QString near = QStringList(19, QStringLiteral("f")).join(u' ') + u' ' + ownLine;
    const QString far = QStringList(20, QStringLiteral("f")).join(u' ') + u' ' + ownLine;
    EXPECT_EQ(missingWords(ownLine, near), QStringList{});
    // The cursor never moves, so no own word is found: their places (20 on) lie past the window.
    EXPECT_EQ(missingWords(ownLine, far), own);
}

TEST(WordDiffTest, CaseAndPunctuationCount) {
    EXPECT_EQ(missingWords("Word end", "word end"), QStringList{"Word"});
    EXPECT_EQ(missingWords("word, end", "word end"), QStringList{"word,"});
}

TEST(WordDiffTest, EmptyWordsMatchOnlyEmptyWords) {
    EXPECT_EQ(missingWords("a  b", "a  b"), QStringList{});
    EXPECT_EQ(missingWords("a  b", "a b"), QStringList{""});
    const auto ranges = missing("a  b", "a b");
    ASSERT_EQ(ranges.size(), 1u);
    EXPECT_EQ(ranges[0].start, 2);
    EXPECT_EQ(ranges[0].length, 0);
}

TEST(WordDiffTest, TheCursorOnlyMovesForward) {
    // The second copy is a difference unless another copy follows within the window.
    EXPECT_EQ(missingWords("the the", "the"), QStringList{"the"});
    EXPECT_EQ(missingWords("the x the", "the y the"), QStringList{"x"});
    // Other words skipped over by a match are never tried again.
    EXPECT_EQ(missingWords("b a", "a b"), QStringList{"a"});
    // A miss leaves the cursor: the next word is looked for in the same place.
    EXPECT_EQ(missingWords("q a b", "a b"), QStringList{"q"});
}

TEST(WordDiffTest, AnEmptyOtherLineMissesEveryWord) {
    EXPECT_EQ(missingWords("one two", ""), (QStringList{"one", "two"}));
    EXPECT_EQ(missingWords("", "one"), QStringList{});
}

}  // namespace

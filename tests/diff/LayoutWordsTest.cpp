// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The layout-free comparison's rules on small texts: what page furniture is, how hyphenated words
// and leader dots read, where runs and moves stand in the panes, and which words only changed
// their order.
#include <gtest/gtest.h>

#include <tuple>

#include "diff/layout/LayoutComparison.h"
#include "diff/layout/LayoutFreeWords.h"
#include "tests/support/QStringPrinter.h"

using namespace corvella;

namespace {

// Pages as pdftotext gives them, in a pane: lines end with CR LF, pages after the first start
// with a form feed.
QString pages(const QStringList& list) {
    QStringList crlf;
    for (QString page : list) crlf << page.replace(u'\n', QStringLiteral("\r\n"));
    return crlf.join(QStringLiteral("\r\n\f"));
}

// The runs' words, " | " between runs.
QString joined(const std::vector<QString>& runs) {
    QStringList words(runs.begin(), runs.end());
    return words.join(QStringLiteral(" | "));
}

QStringList sortedWords(const QString& run) {
    QStringList words = run.split(u' ');
    words.sort();
    return words;
}

QString readWords(const QString& text) {
    LayoutFreeWords::Dictionary dictionary;
    QStringList words;
    for (const LayoutFreeWords::Word& word : LayoutFreeWords::Read(text, dictionary))
        words << dictionary.text(word.id).toString();
    return words.join(u' ');
}

TEST(LayoutWordsTest, FurnitureHyphensAndLeaderDots) {
    const struct {
        const char* rule;
        QStringList pages;
        QString words;
    } cases[] = {
        {"a running header and a page footer recur on nearby pages, digits aside",
         {"Chapter 2: Trees\nroots grow\nPage 1 of 3", "Chapter 2: Trees\nleaves fall\nPage 2 of 3",
          "Chapter 3: Rivers\nwater runs\nPage 3 of 3"},
         "roots grow leaves fall Chapter 3: Rivers water runs"},
        {"page numbers at an edge go, arabic and roman, with what lies above them",
         {"xiv\nfirst words\nmore words\n42\nlast words\n15",
          "7.3. OBJECTS INSIDE\n179\nbody text\nend text\nmore end"},
         "first words more words 42 last words body text end text more end"},
        {"a browser's page of so many is a page number, spaced or not",
         {"a b\nc d\ne f\n1/3", "2 / 3\ng h\ni j\nk l", "m 1/2 n\no p\nq r\n3/3"},
         "a b c d e f g h i j k l m 1/2 n o p q r"},
        {"a line without letters or far from its repeat is text",
         {"}\nalpha one\nomega one", "}\nalpha two\nomega two", "Note well\nalpha three\nomega",
          "p\nq", "r\ns", "t\nu", "Note well\nfinal"},
         "} alpha one omega one } alpha two omega two Note well alpha three omega p q r s t u Note "
         "well final"},
        {"a hyphen at a line end joins, also over page furniture",
         {"Head\nthe docu-\nment was long-\nPage 1", "Head\nwinded in-\nPage 2",
          "Head\ndeed\nPage 3"},
         "the document was longwinded indeed"},
        {"a word written with its hyphen elsewhere keeps it; a capital starts a new word",
         {"a non-empty set\nsome non-\nempty sets, some well-\nKnown ones"},
         "a non-empty set some non-empty sets, some well- Known ones"},
        {"a line may end in a soft hyphen and U+2010; a rule of dashes is nothing",
         {QStringLiteral("the sur\u00AD\u2010\nren\u00ADder\n----------\nend \u2013 or")},
         QStringLiteral("the surren\u00ADder end \u2013 or")},
        {"leader dots are nothing, a lone full stop is a word",
         {"Intro . . . . . . 5\nMore ........ 7\nthe . operator"},
         "Intro 5 More 7 the . operator"},
    };
    for (const auto& c : cases) EXPECT_EQ(readWords(pages(c.pages)), c.words) << c.rule;
}

TEST(LayoutWordsTest, RunsAndMovesStandOnTheirPagesAndLines) {
    const QString text1 =
        pages({"one two three four\nfive six sixty", "seven eight nine ten eleven\ntwelve"});
    const QString text2 =
        pages({"seven eight nine ten eleven\none two", "THREE four five\nsix sixty twelve"});
    const Comparison found = LayoutCompare::Compare(text1, text2);
    const ComparedSide& in1 = found.side(Side::One);
    const ComparedSide& in2 = found.side(Side::Two);

    ASSERT_EQ(in1.differences.size(), 1u);
    const Difference& removed = in1.differences[0];
    EXPECT_EQ(in1.differenceWords[0], "three");
    EXPECT_EQ(std::make_pair(removed.page, removed.line), std::make_pair(1, 1));
    EXPECT_EQ(removed.firstWord, 2);
    EXPECT_EQ(text1.mid(removed.span.start, removed.span.length), "three");

    ASSERT_EQ(in2.differences.size(), 1u);
    EXPECT_EQ(in2.differenceWords[0], "THREE");
    EXPECT_EQ(std::make_pair(in2.differences[0].page, in2.differences[0].line),
              std::make_pair(2, 1));

    ASSERT_EQ(in1.moved.size(), 1u);
    EXPECT_EQ(in1.movedWords[0], "seven eight nine ten eleven");
    EXPECT_EQ(std::make_pair(in1.moved[0].page, in1.moved[0].line), std::make_pair(2, 1));
    EXPECT_EQ(std::make_pair(in2.moved[0].page, in2.moved[0].line), std::make_pair(1, 1));
    EXPECT_EQ(found.differingWords(), 2);

    // Numbers line up as numbers: a changed page reference is still a difference.
    const Comparison renumbered = LayoutCompare::Compare(pages({"see index, 12, 40 here"}),
                                                         pages({"see index, 13, 40 here"}));
    EXPECT_EQ(joined(renumbered.side(Side::One).differenceWords), "12,");
    EXPECT_EQ(joined(renumbered.side(Side::Two).differenceWords), "13,");

    // A joined word is coloured in both its parts, and only there.
    const QString hyphen1 = pages({"a docu-\nment b", "c"});
    const Comparison joinedWord = LayoutCompare::Compare(hyphen1, pages({"a b", "c"}));
    ASSERT_EQ(joinedWord.side(Side::One).differences.size(), 1u);
    const std::vector<TextRange> parts = joinedWord.side(Side::One).differenceMarks();
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(hyphen1.mid(parts[0].start, parts[0].length), "docu-");
    EXPECT_EQ(hyphen1.mid(parts[1].start, parts[1].length), "ment");
}

TEST(LayoutWordsTest, WordsReorderedInOnePlaceAreNoChange) {
    const QString before = QStringLiteral("we open with these steady words");
    const QString after = QStringLiteral("and we close with steady words");
    const struct {
        const char* rule;
        QString text1, text2;
        QString only1, only2;
        qsizetype reordered;  // words on each side
        size_t moved;
    } cases[] = {
        {"a brace read after the comment instead of before it", "} // done", "// done }", "", "", 1,
         0},
        {"an index read across its two columns in one text and down them in the other",
         "apple cherry banana date elder fig", "apple banana elder cherry date fig", "", "", 2, 0},
        {"a word that crosses four unchanged words stays in its place", "} one two three four",
         "one two three four }", "", "", 1, 0},
        {"a replaced word next to a reorder is still a change", "} // done", "// finished }",
         "done", "finished", 1, 0},
        {"a rewritten passage is a change in all its words, also one it shares with the old",
         "cats sleep all day", "all day long dogs chase cats", "cats sleep", "long dogs chase cats",
         0, 0},
        {"a changed number among reordered words is still a change", "see 12 } // it",
         "see 13 // it }", "12", "13", 1, 0},
        {"a word that crosses five unchanged words moved too far", "} one two three four five",
         "one two three four five }", "}", "}", 0, 0},
        {"a run of five words that moved far is a move", "a b c d e one two three four five",
         "one two three four five a b c d e", "", "", 0, 1},
    };
    for (const auto& c : cases) {
        const Comparison found =
            LayoutCompare::Compare(pages({before + u' ' + c.text1 + u' ' + after}),
                                   pages({before + u' ' + c.text2 + u' ' + after}));
        const ComparedSide& in1 = found.side(Side::One);
        const ComparedSide& in2 = found.side(Side::Two);
        EXPECT_EQ(joined(in1.differenceWords), c.only1) << c.rule;
        EXPECT_EQ(joined(in2.differenceWords), c.only2) << c.rule;
        EXPECT_EQ(in1.moved.size(), c.moved) << c.rule;
        qsizetype reordered = 0;
        for (size_t r = 0; r < in1.reordered.size(); ++r) {
            EXPECT_EQ(sortedWords(in1.reorderedWords[r]), sortedWords(in2.reorderedWords[r]))
                << c.rule;
            reordered += in1.reordered[r].wordCount;
        }
        EXPECT_EQ(reordered, c.reordered) << c.rule;
    }

    // Reordered words stand apart, at their first word's place in each text, placed at each other.
    const Comparison swapped =
        LayoutCompare::Compare(pages({before, "x\n} // done"}), pages({before + " // done\n}"}));
    ASSERT_EQ(swapped.side(Side::One).reordered.size(), 1u);
    const Difference& in1 = swapped.side(Side::One).reordered[0];
    const Difference& in2 = swapped.side(Side::Two).reordered[0];
    EXPECT_EQ(swapped.side(Side::One).reorderedWords[0], "}");
    EXPECT_EQ(std::make_tuple(in1.page, in1.line, in2.page, in2.line), std::make_tuple(2, 2, 1, 2));
    EXPECT_EQ(in1.other.start, in2.span.start);
    EXPECT_EQ(in2.other.start, in1.span.start);
}

}  // namespace

// The layout-free comparison's rules on small texts: what page furniture is, how hyphenated words
// and leader dots read, and where runs and moves stand in the panes.
#include <gtest/gtest.h>

#include "compare/LayoutComparison.h"
#include "compare/LayoutFreeWords.h"
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
    const LayoutComparison found = LayoutCompare::Compare(text1, text2);

    ASSERT_EQ(found.only1.size(), 1u);
    const LayoutRun& removed = found.only1[0];
    EXPECT_EQ(removed.words, "three");
    EXPECT_EQ(std::make_pair(removed.page, removed.line), std::make_pair(1, 1));
    EXPECT_EQ(removed.firstWord, 2);
    EXPECT_EQ(text1.mid(removed.span.start, removed.span.length), "three");

    ASSERT_EQ(found.only2.size(), 1u);
    EXPECT_EQ(found.only2[0].words, "THREE");
    EXPECT_EQ(std::make_pair(found.only2[0].page, found.only2[0].line), std::make_pair(2, 1));

    ASSERT_EQ(found.moved.size(), 1u);
    const LayoutMove& move = found.moved[0];
    EXPECT_EQ(move.from.words, "seven eight nine ten eleven");
    EXPECT_EQ(std::make_pair(move.from.page, move.from.line), std::make_pair(2, 1));
    EXPECT_EQ(std::make_pair(move.to.page, move.to.line), std::make_pair(1, 1));
    EXPECT_EQ(found.differingWords(), 2);

    // Numbers line up as numbers: a changed page reference is still a difference.
    const LayoutComparison renumbered = LayoutCompare::Compare(pages({"see index, 12, 40 here"}),
                                                               pages({"see index, 13, 40 here"}));
    ASSERT_EQ(renumbered.only1.size(), 1u);
    EXPECT_EQ(renumbered.only1[0].words, "12,");
    ASSERT_EQ(renumbered.only2.size(), 1u);
    EXPECT_EQ(renumbered.only2[0].words, "13,");

    // A joined word is coloured in both its parts, and only there.
    const QString hyphen1 = pages({"a docu-\nment b", "c"});
    const LayoutComparison joined = LayoutCompare::Compare(hyphen1, pages({"a b", "c"}));
    ASSERT_EQ(joined.only1.size(), 1u);
    ASSERT_EQ(joined.only1[0].ranges.size(), 2u);
    EXPECT_EQ(hyphen1.mid(joined.only1[0].ranges[0].start, joined.only1[0].ranges[0].length),
              "docu-");
    EXPECT_EQ(hyphen1.mid(joined.only1[0].ranges[1].start, joined.only1[0].ranges[1].length),
              "ment");
}

}  // namespace

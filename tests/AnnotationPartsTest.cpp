// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of the annotated copies: the boxes of a range of a page's text are those of its own
// words, whatever the text and the words differ in; a run of differences is one marking with a
// note on the other file; the copies take names of their own.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "annotate/BoxMatcher.h"
#include "annotate/CopyNames.h"
#include "annotate/Markings.h"
#include "diff/Alignment.h"
#include "diff/LineComparison.h"
#include "diff/WordComparison.h"
#include "diff/layout/LayoutComparison.h"
#include "tests/support/QStringPrinter.h"

using namespace corvella;
using BoxMatcher::WordBox;

namespace {

// Words laid out as a typesetter would: ten points a character, a line of words per string.
std::vector<WordBox> Layout(const QStringList& lines) {
    std::vector<WordBox> words;
    for (qsizetype line = 0; line < lines.size(); ++line) {
        double x = 0;
        for (const QString& text : lines[line].split(u' ', Qt::SkipEmptyParts)) {
            WordBox word{
                text, QRectF(x, 20.0 * double(line), 10.0 * double(text.size()), 10), 0, {}};
            for (qsizetype i = 0; i < text.size(); ++i)
                word.glyphs.push_back(QRectF(x + 10.0 * double(i), 20.0 * double(line), 10, 10));
            words.push_back(word);
            x += 10.0 * double(text.size()) + 5;
        }
    }
    return words;
}

struct MatchCase {
    const char* name;
    QString text;
    QStringList lines;  // the words, a line each
    QString range;      // the first place of this in the text
    std::vector<QRectF> boxes;
};

std::vector<QRectF> Rects(const std::vector<BoxMatcher::Box>& boxes) {
    std::vector<QRectF> rects;
    for (const BoxMatcher::Box& box : boxes) rects.push_back(box.rect);
    return rects;
}

TEST(BoxMatcherTest, BoxesAreThoseOfTheRangesOwnWords) {
    const std::vector<MatchCase> cases = {
        {"the same text",
         "alpha beta\r\ngamma",
         {"alpha beta", "gamma"},
         "beta",
         {{55, 0, 40, 10}}},
        {"a word over a line's end, its hyphen dropped",
         "one extraordinary\r\nday",
         {"one extra-", "ordinary day"},
         "extraordinary",
         {{35, 0, 60, 10}, {0, 20, 80, 10}}},
        {"part of a word", "alpha beta", {"alpha beta"}, "lph", {{10, 0, 30, 10}}},
        {"a range with words on one line",
         "alpha beta gamma",
         {"alpha beta gamma"},
         "alpha beta",
         {{0, 0, 95, 10}}},
        {"text the words lack", "alpha XYZ beta", {"alpha beta"}, "XYZ", {}},
        {"words the text lacks",
         "alpha beta",
         {"alpha junk beta"},
         "alpha beta",
         {{0, 0, 50, 10}, {100, 0, 40, 10}}},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<WordBox> words = Layout(c.lines);
        const qsizetype start = 100;  // the page's place in its whole text
        const BoxMatcher::PageMatch match(c.text, start, words);
        const TextRange range{start + c.text.indexOf(c.range), c.range.size()};
        EXPECT_EQ(Rects(BoxMatcher::JoinedAlongLines(match.boxesOf(range))), c.boxes);
        EXPECT_LE(match.paired(), match.visible());
    }
    // A page read otherwise pairs too little to be trusted.
    const std::vector<WordBox> others = Layout({"nothing alike here"});
    const BoxMatcher::PageMatch otherwise(QStringLiteral("entirely different"), 0, others);
    EXPECT_LT(otherwise.paired() * 2, otherwise.visible());
}

// Neighbours on one line are joined whichever way they read, words of other lines never.
TEST(BoxMatcherTest, JoinsOnlyNeighboursOnOneLine) {
    struct Case {
        int rotation;
        QPointF next;  // where the next word's box stands from the first's
        bool joined;
    };
    const Case cases[] = {
        {0, {45, 1}, true},   {0, {60, 0}, false}, {0, {45, 12}, false},
        {2, {-45, 0}, true},  {2, {45, 0}, false}, {1, {0, 45}, true},
        {1, {12, 45}, false}, {3, {0, -45}, true}, {3, {0, 45}, false},
    };
    for (const Case& c : cases) {
        const QRectF first = c.rotation % 2 == 0 ? QRectF(0, 0, 40, 10) : QRectF(0, 0, 10, 40);
        const std::vector<BoxMatcher::Box> boxes = {{first, c.rotation},
                                                    {first.translated(c.next), c.rotation}};
        const std::vector<BoxMatcher::Box> joined = BoxMatcher::JoinedAlongLines(boxes);
        EXPECT_EQ(joined.size(), c.joined ? 1u : 2u) << c.rotation << " " << c.next.x();
        if (c.joined) {
            EXPECT_EQ(joined[0].rect, first | first.translated(c.next));
        }
    }
}

TEST(MarkingsTest, ARunOfDifferencesIsOneMarkingWithANoteOnTheOtherFile) {
    struct Case {
        Method method;
        QString one;
        QString two;
        QStringList notes;  // of the first file's markings
        size_t ranges;      // of its first marking
    };
    const Case cases[] = {
        {Method::Words,
         "alpha beta gamma\r\n\f",
         "alpha BETA GAMMA\r\n\f",
         {"Changed: two.pdf has \u201cBETA GAMMA\u201d (page 1, line 1)."},
         2},
        {Method::Lines,
         "same\r\nold one\r\nold two\r\nend\r\n\f",
         "same\r\nnew\r\nend\r\n\f",
         {"Changed: two.pdf has \u201cnew\u201d (page 1, line 2)."},
         2},
        {Method::IgnoringLayout,
         "a b c d e f\r\n\f",
         "a b e f\r\n\f",
         {"Changed: not in two.pdf, where it would stand on page 1, line 1."},
         2},
    };
    for (const Case& c : cases) {
        Comparison comparison = c.method == Method::Words   ? WordCompare::Compare(c.one, c.two)
                                : c.method == Method::Lines ? LineCompare::Compare(c.one, c.two)
                                                            : LayoutCompare::Compare(c.one, c.two);
        PlaceInOther(comparison, AlignWords(c.one, c.two), c.one, c.two);
        const std::vector<Markings::Marking> markings =
            Markings::Of(comparison, Side::One, {{{"one.pdf", "two.pdf"}}, {{c.one, c.two}}});
        QStringList notes;
        for (const Markings::Marking& marking : markings) notes << marking.note;
        EXPECT_EQ(notes, c.notes);
        ASSERT_FALSE(markings.empty());
        EXPECT_EQ(markings[0].ranges.size(), c.ranges);
    }
}

TEST(CopyNamesTest, NeverAnInputsNameNorOneNameTwice) {
    QTemporaryDir root;
    for (const char* folder : {"old", "new", "out"}) QDir(root.path()).mkdir(folder);
    for (const char* file : {"old/guide.pdf", "new/guide.pdf", "new/notes.pdf"}) {
        QFile pdf(root.filePath(file));
        ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    }
    struct Case {
        const char* one;
        const char* two;
        const char* folder;
        const char* copy1;
        const char* copy2;
    };
    const Case cases[] = {
        {"old/guide.pdf", "new/notes.pdf", "out", "out/guide.pdf", "out/notes.pdf"},
        {"old/guide.pdf", "new/guide.pdf", "out", "out/guide-1.pdf", "out/guide-2.pdf"},
        {"new/notes.pdf", "old/guide.pdf", "new", "new/notes-annotated.pdf", "new/guide.pdf"},
        {"new/guide.pdf", "new/guide.pdf", "new", "new/guide-1.pdf", "new/guide-2.pdf"},
        {"old/guide.pdf", "new/guide.pdf", "new", "new/guide-1.pdf", "new/guide-2.pdf"},
    };
    for (const Case& c : cases) {
        const BySide<QString> copies =
            CopyNames::In(root.filePath(c.folder), {{root.filePath(c.one), root.filePath(c.two)}});
        EXPECT_EQ(copies[Side::One], root.filePath(c.copy1)) << c.one << " " << c.two;
        EXPECT_EQ(copies[Side::Two], root.filePath(c.copy2)) << c.one << " " << c.two;
    }
}

}  // namespace

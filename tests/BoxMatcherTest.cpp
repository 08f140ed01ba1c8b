// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The boxes of a range of a page's text are those of its own words, whatever the text and the
// words differ in; the annotated copies take names of their own.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "annotate/BoxMatcher.h"
#include "annotate/CopyNames.h"

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

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// "Find Differences (Ignoring Layout)" on a book with a known answer: typeset twice on other paper
// with other margins and type size it has no difference; a second edition's edits are reported,
// each where it stands, and nothing else; a moved paragraph is listed apart.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <set>

#include "compare/LayoutCommand.h"
#include "core/MemoryDocument.h"
#include "diff/layout/LayoutComparison.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/LayoutBook.h"

using namespace corvella;
namespace LayoutBook = corvella::testing::LayoutBook;
using corvella::testing::FakeWindow;

namespace {

struct Outcome {
    int status = -1;
    QByteArray out;
};

Outcome diff(const QStringList& arguments) {
    QProcess process;
    process.start(qEnvironmentVariable("CORVELLA_DIFF"), arguments);
    process.waitForFinished(120000);
    return {process.exitCode(), process.readAllStandardOutput()};
}

// The book once on small pages in a small type, once on large pages in a large type with wide
// margins, and its second edition in the large type.
class LayoutBookTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new QTemporaryDir;
        first = LayoutBook::Generate(24, 18);
        second = LayoutBook::Edit(first, 2026);
        const LayoutBook::Geometry small{QPageSize::A5, {15, 15, 15, 15}, 11};
        const LayoutBook::Geometry large{QPageSize::Letter, {30, 25, 20, 25}, 14};
        smallPages = LayoutBook::Typeset(first, small, path("small.pdf"));
        largePages = LayoutBook::Typeset(first, large, path("large.pdf"));
        LayoutBook::Typeset(second.book, large, path("edited.pdf"));
    }
    static void TearDownTestSuite() { delete folder; }
    static QString path(const char* name) { return folder->filePath(QLatin1String(name)); }

    static QTemporaryDir* folder;
    static LayoutBook::Book first;
    static LayoutBook::Edition second;
    static int smallPages;
    static int largePages;
};

QTemporaryDir* LayoutBookTest::folder = nullptr;
LayoutBook::Book LayoutBookTest::first;
LayoutBook::Edition LayoutBookTest::second;
int LayoutBookTest::smallPages = 0;
int LayoutBookTest::largePages = 0;

TEST_F(LayoutBookTest, TwoTypesettingsOfOneTextHaveNoDifference) {
    ASSERT_GE(std::min(smallPages, largePages), 200);
    ASSERT_NE(smallPages, largePages);
    const Comparison same = LayoutCompare::Compare(LayoutBook::PaneText(path("small.pdf")),
                                                   LayoutBook::PaneText(path("large.pdf")));
    for (const ComparedSide& side : same.sides) {
        EXPECT_TRUE(side.differences.empty()) << side.differenceWords.front().toStdString();
        EXPECT_TRUE(side.moved.empty());
        EXPECT_TRUE(side.reordered.empty());
    }

    const Outcome run = diff({"--ignore-layout", path("small.pdf"), path("large.pdf")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
}

// Every word of a reported run stands within one word of an edited word, and every edited word
// within one word of a reported one.
void expectSameWithin1(const std::set<qsizetype>& reported, const std::set<qsizetype>& edited,
                       const char* side) {
    auto near = [](const std::set<qsizetype>& in, qsizetype w) {
        return in.count(w) || in.count(w - 1) || in.count(w + 1);
    };
    for (qsizetype w : reported) EXPECT_TRUE(near(edited, w)) << side << " reported word " << w;
    for (qsizetype w : edited) EXPECT_TRUE(near(reported, w)) << side << " edited word " << w;
}

TEST_F(LayoutBookTest, EveryKnownEditIsReportedInItsPlaceAndNothingElse) {
    ASSERT_GE(second.edits, 50);
    FakeWindow window;
    window.pane(1).setText(LayoutBook::PaneText(path("small.pdf")));
    window.pane(2).setText(LayoutBook::PaneText(path("edited.pdf")));
    Comparison found;
    FindDifferencesIgnoringLayout(window, &found);
    const ComparedSide& in1 = found.side(Side::One);
    const ComparedSide& in2 = found.side(Side::Two);
    EXPECT_TRUE(window.dialogs.messages.empty());

    // What the edits removed from the first edition and added in the second, by word index.
    const std::vector<qsizetype> origins = LayoutBook::Origins(second.book);
    std::set<qsizetype> removed, added;
    const qsizetype firstWords = LayoutBook::Words(first).size();
    for (qsizetype w = 0; w < firstWords; ++w) removed.insert(w);
    for (size_t w = 0; w < origins.size(); ++w) {
        if (origins[w] < 0)
            added.insert(qsizetype(w));
        else
            removed.erase(origins[w]);
    }
    std::set<qsizetype> reported1, reported2;
    for (const Difference& run : in1.differences)
        for (qsizetype w = run.firstWord; w < run.firstWord + run.wordCount; ++w)
            reported1.insert(w);
    for (const Difference& run : in2.differences)
        for (qsizetype w = run.firstWord; w < run.firstWord + run.wordCount; ++w)
            reported2.insert(w);
    expectSameWithin1(reported1, removed, "first");
    expectSameWithin1(reported2, added, "second");
    // Replaced words, inserted sentences and deleted paragraphs are no reordered words.
    EXPECT_TRUE(in1.reordered.empty()) << in1.reorderedWords.front().toStdString();

    // The moved paragraph is no difference: listed apart, whole.
    ASSERT_EQ(in1.moved.size(), 1u);
    EXPECT_EQ(in1.moved[0].firstWord, second.movedOrigins.front());
    EXPECT_EQ(in1.moved[0].wordCount, qsizetype(second.movedOrigins.size()));

    // Each run's entry in the work pane is its page and line, then its words; the words are red.
    const QStringList entries = window.pane(4).text().split("\r\n").mid(1);
    ASSERT_EQ(entries.size(), qsizetype(in2.differences.size()));
    const QString text2 = window.pane(2).text();
    for (size_t r = 0; r < in2.differences.size(); ++r) {
        const Difference& run = in2.differences[r];
        EXPECT_EQ(entries[qsizetype(r)], LayoutEntry(run, in2.differenceWords[r]));
        const QString before = text2.left(run.span.start);
        EXPECT_EQ(run.page, before.count(u'\f') + 1);
        const qsizetype pageStart = before.lastIndexOf(u'\f') + 1;
        EXPECT_EQ(run.line, before.mid(pageStart).count(QStringLiteral("\r\n")) + 1);
        EXPECT_EQ(window.pane(2).colorAt(in2.marksOf(run).front().start), kRed);
        EXPECT_EQ(window.pane(2).colorAt(in2.marksOf(run).back().start), kRed);
    }
}

TEST_F(LayoutBookTest, CommandLineListsRunsAndMovesWithTheirPlaces) {
    const Outcome run =
        diff({"--ignore-layout", "--format", "json", path("small.pdf"), path("edited.pdf")});
    EXPECT_EQ(run.status, 1);
    const QJsonObject report = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(report["method"].toString(), "ignore-layout");
    EXPECT_EQ(report["file1"].toObject()["pages"].toInt(), smallPages);
    EXPECT_EQ(report["file2"].toObject()["differences"].toArray().size() > 0, true);
    const QJsonArray moved = report["moved"].toArray();
    ASSERT_EQ(moved.size(), 1);
    const QJsonObject move = moved[0].toObject();
    EXPECT_TRUE(
        move["text"].toString().startsWith(LayoutBook::Words(first)[second.movedOrigins.front()]));
    // From the last chapter of the first edition to the second chapter of the second.
    EXPECT_GE(move["file1"].toObject()["page"].toInt(), smallPages - smallPages / 24);
    EXPECT_LT(move["file2"].toObject()["page"].toInt(), largePages / 4);
    EXPECT_GE(move["file2"].toObject()["line"].toInt(), 1);
}

}  // namespace

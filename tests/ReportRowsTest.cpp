// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of the web-page report: both texts cut where their content corresponds, a change
// beside what replaced it, long unchanged stretches a screenful at a time.
#include <gtest/gtest.h>

#include "diff/Alignment.h"
#include "report/ReportRows.h"
#include "tests/support/QStringPrinter.h"

using namespace corvella;

namespace {

using Cells = std::pair<QString, QString>;

// Each row's text of both sides.
std::vector<Cells> rowTexts(const QString& text1, const QString& text2,
                            const std::vector<TextRange>& marks1 = {},
                            const std::vector<TextRange>& marks2 = {}) {
    const ReportRows::Side side1{text1, &marks1, {}};
    const ReportRows::Side side2{text2, &marks2, {}};
    std::vector<Cells> rows;
    qsizetype at1 = 0, at2 = 0;
    for (const ReportRows::Row& row : ReportRows::Cut(AlignWords(text1, text2), side1, side2)) {
        EXPECT_EQ(row.in[0].start, at1) << "rows cover text 1 in order";
        EXPECT_EQ(row.in[1].start, at2) << "rows cover text 2 in order";
        at1 = row.in[0].start + row.in[0].length;
        at2 = row.in[1].start + row.in[1].length;
        rows.emplace_back(text1.mid(row.in[0].start, row.in[0].length),
                          text2.mid(row.in[1].start, row.in[1].length));
    }
    EXPECT_EQ(at1, text1.size());
    EXPECT_EQ(at2, text2.size());
    return rows;
}

// Lines "<word><n> ... " of distinct words, `perLine` words each.
QString numberedLines(int from, int lines, int perLine, const QString& word) {
    QString text;
    for (int line = 0; line < lines; ++line) {
        for (int w = 0; w < perLine; ++w)
            text += (w ? " " : "") + word + QString::number((from + line) * perLine + w);
        text += "\r\n";
    }
    return text;
}

TEST(ReportRowsTest, EachRowHoldsCorrespondingStretches) {
    const QString before = numberedLines(0, 6, 4, "w");
    const QString after = numberedLines(6, 6, 4, "w");
    const QString inserted = numberedLines(0, 2, 8, "new");  // 16 words: rows of its own
    const struct {
        const char* what;
        QString text1;
        QString text2;
        std::vector<Cells> rows;
    } cases[] = {
        {"the same words wrapped otherwise stand in one row",
         "alpha beta gamma\r\ndelta\r\n",
         "alpha beta\r\ngamma delta\r\n",
         {{"alpha beta gamma\r\ndelta\r\n", "alpha beta\r\ngamma delta\r\n"}}},
        {"a replaced word stays in the lines around it",
         "one two three\r\nfour five\r\n",
         "one two 3\r\nfour five\r\n",
         {{"one two three\r\nfour five\r\n", "one two 3\r\nfour five\r\n"}}},
        {"an inserted paragraph stands beside an empty cell",
         before + after,
         before + inserted + after,
         {{before, before}, {"", inserted}, {after, after}}},
        {"a deleted paragraph too",
         before + inserted + after,
         before + after,
         {{before, before}, {inserted, ""}, {after, after}}},
        {"a replaced paragraph stands beside what replaced it",
         before + numberedLines(0, 3, 5, "old") + after,
         before + inserted + after,
         {{before, before}, {numberedLines(0, 3, 5, "old"), inserted}, {after, after}}},
        {"texts without a common word",
         inserted,
         numberedLines(0, 1, 12, "other"),
         {{inserted, numberedLines(0, 1, 12, "other")}}},
        {"empty texts", "", "", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(rowTexts(c.text1, c.text2), c.rows) << c.what;
}

TEST(ReportRowsTest, LongStretchesAreCutIntoRowsOfAScreenfulAtMost) {
    const struct {
        const char* what;
        QString text1;
        QString text2;
    } cases[] = {
        {"unchanged", numberedLines(0, 300, 3, "w"), numberedLines(0, 300, 3, "w")},
        {"unchanged, wrapped otherwise", numberedLines(0, 300, 3, "w"),
         numberedLines(0, 150, 6, "w")},
        {"inserted", numberedLines(0, 5, 3, "w"),
         numberedLines(0, 5, 3, "w") + numberedLines(0, 300, 3, "new")},
    };
    for (const auto& c : cases) {
        const std::vector<Cells> rows = rowTexts(c.text1, c.text2);
        EXPECT_GE(rows.size(), 300u / ReportRows::kMaxLines) << c.what;
        for (const Cells& row : rows) {
            EXPECT_LE(row.first.count('\n'), ReportRows::kMaxLines) << c.what;
            EXPECT_LE(row.second.count('\n'), ReportRows::kMaxLines) << c.what;
            // Unchanged text is cut where both texts start a line.
            EXPECT_TRUE(row.first.isEmpty() || row.first.endsWith('\n')) << c.what;
            EXPECT_TRUE(row.second.isEmpty() || row.second.endsWith('\n')) << c.what;
        }
    }
}

TEST(ReportRowsTest, ARowNeverCutsAMarkWhenItCanHelpIt) {
    // The same words, four to a line in text 1 and two words out of step in text 2: no line of
    // text 2 starts where one of text 1 does, so rows are cut inside text 2's lines, unless the
    // line method marked them whole.
    const QString text1 = numberedLines(0, 120, 4, "w");
    QString text2;
    for (int w = 0; w < 480; ++w)
        text2 += "w" + QString::number(w) + (w % 4 == 1 || w == 479 ? "\r\n" : " ");
    std::vector<TextRange> lines2;
    for (qsizetype start = 0; start < text2.size();) {
        const qsizetype end = text2.indexOf(QStringLiteral("\r\n"), start);
        lines2.push_back({start, end - start});
        start = end + 2;
    }
    const struct {
        const char* what;
        std::vector<TextRange> marks2;
        bool wholeLines;
    } cases[] = {
        {"every line of text 2 marked", lines2, true},
        {"nothing marked", {}, false},
    };
    for (const auto& c : cases) {
        const std::vector<Cells> rows = rowTexts(text1, text2, {}, c.marks2);
        EXPECT_GE(rows.size(), 3u) << c.what;
        bool whole = true;
        for (const Cells& row : rows) whole = whole && row.second.endsWith('\n');
        EXPECT_EQ(whole, c.wholeLines) << c.what;
    }
}

}  // namespace

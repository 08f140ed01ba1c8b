// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Chosen pages: how "1-12,15" and "5-" read against a document's page count, which pages the
// extractor runs for them, and which pages of an extracted text they keep.
#include <gtest/gtest.h>

#include "cli/ChosenPages.h"
#include "core/PageSelection.h"
#include "extract/PageRanges.h"
#include "tests/support/QStringPrinter.h"

using namespace corvella;

namespace {

TEST(PageSelectionTest, RangesReadAgainstThePageCount) {
    const struct {
        QString text;
        int pages;
        QString chosen;   // the spans written back, when they choose pages
        QString problem;  // otherwise, contained in the problem
    } cases[] = {
        {"1-12,15", 20, "1-12,15", ""},
        {" 1 - 3 , 5-13 ", 13, "1-3,5-13", ""},
        {"5-", 9, "5-9", ""},
        {"7", 7, "7", ""},
        {"", 9, "", "no pages given"},
        {"1-3,,5", 9, "", "an empty range between commas"},
        {"7-3", 9, "", "'7-3' runs backwards"},
        {"0-3", 9, "", "'0-3' is not a page range"},
        {"-5", 9, "", "'-5' is not a page range"},
        {"3-x", 9, "", "'3-x' is not a page range"},
        {"1-2-3", 9, "", "'1-2-3' is not a page range"},
        {"99999999999", 9, "", "'99999999999' is not a page range"},
        {"5-8,3", 9, "", "'3' does not come after page 8"},
        {"5-,7", 9, "", "'7' does not come after page 5"},
        {"1-12", 9, "", "page 12 is past the last page"},
        {"10-", 9, "", "page 10 is past the last page"},
    };
    for (const auto& c : cases) {
        const PageSelection::Parsed parsed = PageSelection::Resolve(c.text, c.pages);
        EXPECT_EQ(PageSelection::Text(parsed.spans), c.chosen) << c.text.toStdString();
        EXPECT_TRUE(c.problem.isEmpty() ? parsed.ok() : parsed.problem.contains(c.problem))
            << c.text.toStdString() << ": " << parsed.problem.toStdString();
    }
    // Before the page count is known, an open range stays open.
    EXPECT_EQ(PageSelection::Text(PageSelection::Parse(u"2,5-").spans), "2,5-");
}

TEST(PageSelectionTest, OnlyTheChosenPagesAreExtractedAndKept) {
    const std::vector<PageSelection::Span> chosen = {{1, 3}, {5, 13}, {40, 79}};
    // The plan for 52 pages in two runs, laid on the chosen pages: cut where they skip some.
    const struct {
        std::vector<PageRanges::Range> plan;
        QString ranges;
    } cases[] = {
        {PageRanges::Plan(52, 2), "1-3,5-13,40-53,54-79"},
        {PageRanges::Plan(52, 1), "1-3,5-13,40-79"},
        {{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PageSelection::Text(PageRanges::OnChosen(c.plan, chosen)), c.ranges);
    EXPECT_EQ(PageSelection::Text(PageRanges::OnChosen(PageRanges::Plan(30, 1), {})), "1-30");

    // A text's pages each end with a form feed; the closing break stays at the end.
    const QString text = "one\r\n\ftwo\r\n\fthree\r\n\ffour\r\n\f\r\n";
    EXPECT_EQ(DiffProgram::KeepPages(text, {{2, 3}}), "two\r\n\fthree\r\n\f\r\n");
    EXPECT_EQ(DiffProgram::KeepPages(text, {{1, 1}, {4, 4}}), "one\r\n\ffour\r\n\f\r\n");
}

}  // namespace

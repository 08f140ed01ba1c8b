// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// Pages chosen from a document by their numbers, as a reader writes them: "1-12,15", or "5-" for
// page 5 to the last. Only those pages are extracted and compared; the places reported keep the
// document's own page numbers.
namespace corvella::PageSelection {

// The end of an open span ("5-") before the document's page count is known.
inline constexpr int kLastPage = 0;

// Pages `first` to `last`, counted from 1, both included.
struct Span {
    int first = 1;
    int last = 1;
};

struct Parsed {
    std::vector<Span> spans;  // ascending and apart; empty when there is a problem
    QString problem;          // why the text chooses no pages, for a reader; empty when it does

    bool ok() const { return problem.isEmpty(); }
};

// Reads spans written "N", "N-M" (N up to M) or "N-", comma-separated, ascending without overlap;
// spaces around numbers and commas are allowed. An open span ends at kLastPage.
Parsed Parse(QStringView text);

// Parse for a document of `pages` pages: an open span ends at the last page, and a span past it is
// a problem.
Parsed Resolve(QStringView text, int pages);

// The document's number of each chosen page, in order.
std::vector<int> PageNumbers(const std::vector<Span>& spans);

// The spans written back: "1-3,5-13".
QString Text(const std::vector<Span>& spans);

}  // namespace corvella::PageSelection

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/PageSelection.h"

// Splitting a document's extraction into page ranges that run at the same time.
namespace corvella::PageRanges {

// No range is made shorter than this: below it, starting another extractor costs more than it
// saves.
inline constexpr int kMinimumPages = 20;

// Pages `first` to `last`, from 1, both included.
using Range = PageSelection::Span;

// How many extractor runs share a document on a machine with this many cores: two per core, since
// pages differ in cost and cores in what they deliver (two virtual cores rarely give twice one),
// and runs that finish early leave a core idle; one on a single core, where splitting gains
// nothing.
int RunsFor(int cores);

// Contiguous ranges covering pages 1 to `pages`, at most `runs` of them and none shorter than
// kMinimumPages, their sizes differing by at most one page. A single range means: run once.
std::vector<Range> Plan(int pages, int runs);

// A text read while it is extracted comes in page order: its ranges run one per core at a time,
// in order, so the first pages come first, and there are four per core, so little is left to read
// after the last one ends.
int RunsInOrderFor(int cores);
int RunsAtOnceInOrder(int cores);

// The ranges of such a text: Plan's, with each range of the last round (the last `atOnce`) cut in
// two where both halves keep kMinimumPages. The ranges that end last then end closer together, so
// a core waits less for the last one, and less of the text is left to take in after it ends.
std::vector<Range> PlanInOrder(int pages, int runs, int atOnce);

// A plan for the count of the chosen pages (Plan or PlanInOrder of their number) as ranges of the
// document's pages: the n-th page of the plan is the n-th chosen page, and a range is cut where the
// chosen pages skip some. Without chosen pages, the plan as it is.
std::vector<Range> OnChosen(const std::vector<Range>& plan, const std::vector<Range>& chosen);

// How many pages the ranges hold together.
int PageCount(const std::vector<Range>& ranges);

// What the document information says about a PDF.
struct DocumentInfo {
    std::optional<int> pages;  // unknown when the information could not be read
    bool encrypted = false;
    bool copyingForbidden = false;
};

// Reads the page count and the encryption line of the document information as it prints them.
DocumentInfo ParseDocumentInfo(const QByteArray& information);

// Appends the files, in order, to `target` (created or replaced). Returns false, leaving no target
// behind, when one of them cannot be read or the target cannot be written.
bool JoinFiles(const QStringList& parts, const QString& target);

}  // namespace corvella::PageRanges

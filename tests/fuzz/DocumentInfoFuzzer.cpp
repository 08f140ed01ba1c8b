// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The document information as the page counter prints it: any bytes give a page count or none,
// and every page count gives ranges that cover the document once, as planned or read in order.
#include "extract/PageRanges.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace corvella;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray information(reinterpret_cast<const char*>(data), qsizetype(size));
    const PageRanges::DocumentInfo info = PageRanges::ParseDocumentInfo(information);
    if (!info.pages) return 0;
    FUZZ_CHECK(*info.pages > 0);
    FUZZ_CHECK(information.contains("Pages:"));
    for (int runs = 1; runs <= 16; ++runs) {
        const std::vector<PageRanges::Range> ranges = PageRanges::Plan(*info.pages, runs);
        FUZZ_CHECK(!ranges.empty() && int(ranges.size()) <= runs);
        // Read in order, the last round is cut in halves: at most two more, none short either.
        const std::vector<PageRanges::Range> inOrder =
            PageRanges::PlanInOrder(*info.pages, runs, 2);
        FUZZ_CHECK(inOrder.size() >= ranges.size() && inOrder.size() <= ranges.size() + 2);
        for (const std::vector<PageRanges::Range>* plan : {&ranges, &inOrder}) {
            qint64 next = 1;
            for (const PageRanges::Range& range : *plan) {
                FUZZ_CHECK(range.first == next && range.last >= range.first);
                const int pages = range.last - range.first + 1;
                FUZZ_CHECK(plan->size() == 1 || pages >= PageRanges::kMinimumPages);
                const int first = ranges.front().last - ranges.front().first + 1;
                FUZZ_CHECK(plan == &inOrder || pages == first || pages == first - 1);
                next = qint64(range.last) + 1;
            }
            FUZZ_CHECK(next - 1 == *info.pages);
        }
    }
    return 0;
}

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as chosen pages of a document of any page count: either a problem and no pages, or
// ascending spans within the document that read back the same, and an extraction plan that runs
// exactly those pages, in order.
#include "core/PageSelection.h"
#include "extract/PageRanges.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace corvella;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 512) return -1;
    // The first two bytes are the page count, the rest the ranges as typed.
    const int pages = 1 + ((data[0] << 8) | data[1]) % 3000;
    const QString ranges =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    const PageSelection::Parsed parsed = PageSelection::Resolve(ranges, pages);
    if (!parsed.ok()) {
        FUZZ_CHECK(parsed.spans.empty());
        return 0;
    }
    FUZZ_CHECK(!parsed.spans.empty());
    int last = 0;
    for (const PageSelection::Span& span : parsed.spans) {
        FUZZ_CHECK(span.first > last && span.first <= span.last && span.last <= pages);
        last = span.last;
    }
    const PageSelection::Parsed again =
        PageSelection::Resolve(PageSelection::Text(parsed.spans), pages);
    FUZZ_CHECK(again.ok() && again.spans.size() == parsed.spans.size());
    const std::vector<int> chosen = PageSelection::PageNumbers(parsed.spans);
    for (int runs = 1; runs <= 8; runs += 7) {
        std::vector<int> planned;
        for (const PageRanges::Range& range :
             PageRanges::OnChosen(PageRanges::Plan(int(chosen.size()), runs), parsed.spans))
            for (int page = range.first; page <= range.last; ++page) planned.push_back(page);
        FUZZ_CHECK(planned == chosen);
    }
    return 0;
}

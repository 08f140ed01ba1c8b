// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// "Find Differences (Lines)" on two texts against the literal steps: the same colours, lists and
// selections in every pane; what it colours is what it records.
#include "compare/RTB.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/LiteralLineCompare.h"
#include "tests/support/MemoryPane.h"
#include "tests/support/PaneInspection.h"
#include "tests/support/TestServices.h"

using namespace corvella;
using corvella::testing::MemoryPane;
using corvella::testing::RedMask;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return -1;  // the literal steps are slow on purpose
    const auto [text1, text2] = fuzz::TwoTexts(data, size);
    testing::TestServices test;
    MemoryPane fast[4];
    MemoryPane slow[4];
    for (MemoryPane* panes : {fast, slow}) {
        panes[0].setText(text1);
        panes[1].setText(text2);
    }
    // Twice, so that the second run starts from what the first left behind.
    for (int run = 0; run < 2; ++run) {
        ComparedSide found[2];
        RTB::FindDifferencesIn1(fast[0], fast[1], fast[2], test.services, &found[0]);
        RTB::FindDifferencesIn2(fast[1], fast[0], fast[3], test.services, &found[1]);
        testing::Literal::FindDifferences(slow[0], slow[1], slow[2], test.pump);
        testing::Literal::FindDifferences(slow[1], slow[0], slow[3], test.pump);
        for (int i = 0; i < 4; ++i) {
            FUZZ_CHECK(fast[i].text() == slow[i].text());
            FUZZ_CHECK(RedMask(fast[i]) == RedMask(slow[i]));
            FUZZ_CHECK(fast[i].selStart() == slow[i].selStart());
            FUZZ_CHECK(fast[i].selLength() == slow[i].selLength());
        }
        for (int i = 0; i < 2; ++i)
            FUZZ_CHECK(testing::MarkedMask(fast[i].text(), found[i]) == RedMask(fast[i]));
    }
    FUZZ_CHECK(test.dialogs.messages.empty());
    return 0;
}

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// "Find Differences (Words)" on two texts against the literal steps: the same colours, lists,
// selections and messages; what it colours is what it records.
#include "compare/WordsCommand.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/LiteralWordCompare.h"
#include "tests/support/PaneInspection.h"

using namespace corvella;
using corvella::testing::FakeWindow;
using corvella::testing::RedMask;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return -1;  // the literal steps are slow on purpose
    const auto [text1, text2] = fuzz::TwoTexts(data, size);
    FakeWindow fast;
    FakeWindow slow;
    for (FakeWindow* window : {&fast, &slow}) {
        window->pane(1).setText(text1);
        window->pane(2).setText(text2);
    }
    // Twice, so that the second run starts from what the first left behind.
    for (int run = 0; run < 2; ++run) {
        Comparison found;
        PushButton6_Click(fast, &found);
        for (const Side side : kBothSides)
            FUZZ_CHECK(testing::MarkedMask(fast.pane(TextPaneOf(side)).text(), found.side(side)) ==
                       RedMask(fast.pane(TextPaneOf(side))));
        testing::Literal::WordComparisonCommand(slow);
        for (int number = 1; number <= 4; ++number) {
            FUZZ_CHECK(fast.pane(number).text() == slow.pane(number).text());
            FUZZ_CHECK(RedMask(fast.pane(number)) == RedMask(slow.pane(number)));
            FUZZ_CHECK(fast.pane(number).selStart() == slow.pane(number).selStart());
            FUZZ_CHECK(fast.pane(number).selLength() == slow.pane(number).selLength());
        }
        FUZZ_CHECK(fast.dialogs.texts() == slow.dialogs.texts());
    }
    return 0;
}

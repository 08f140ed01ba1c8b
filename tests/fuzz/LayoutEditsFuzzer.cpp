// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The layout-free comparison's edit script on two word sequences keeps its promises
// (LayoutDiff::Verify), and the whole comparison on the same words as texts gives differences and
// an alignment inside the texts, in order.
#include "diff/layout/LayoutComparison.h"
#include "diff/layout/LayoutDiff.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace corvella;

namespace {

// Each byte a word of a small alphabet; a 0 byte ends the first sequence, a 1 byte a line.
QString asText(const std::vector<int>& words) {
    QString text;
    for (int word : words)
        text += word == 1 ? QStringLiteral("\r\n") : QStringLiteral("w%1 ").arg(word);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 8192) return -1;
    std::vector<int> sequences[2];
    int side = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && side == 0)
            side = 1;
        else
            sequences[side].push_back(data[i] % 24);
    }
    const std::vector<int>& a = sequences[0];
    const std::vector<int>& b = sequences[1];
    LayoutDiff::Edits edits = LayoutDiff::ShortestEdits(a, b);
    const std::vector<LayoutDiff::Move> moves = LayoutDiff::FindMoves(a, b, edits, 5);
    LayoutDiff::FindReorders(a, b, a, b, edits, 5);
    const std::string broken = LayoutDiff::Verify(a, b, a, b, edits, moves);
    if (!broken.empty()) fuzz::Fail(broken.c_str(), __FILE__, __LINE__);

    const QString text1 = asText(a), text2 = asText(b);
    Alignment alignment;
    const Comparison found = LayoutCompare::Compare(text1, text2, {}, &alignment);
    qsizetype end1 = 0, end2 = 0;
    for (const Alignment::Pair& pair : alignment.pairs()) {
        FUZZ_CHECK(pair.in1.start >= end1 && pair.in2.start >= end2);
        FUZZ_CHECK(text1.mid(pair.in1.start, pair.in1.length) ==
                   text2.mid(pair.in2.start, pair.in2.length));
        end1 = pair.in1.start + pair.in1.length;
        end2 = pair.in2.start + pair.in2.length;
    }
    FUZZ_CHECK(end1 <= text1.size() && end2 <= text2.size());
    for (int number = 1; number <= 2; ++number) {
        const qsizetype own = number == 1 ? text1.size() : text2.size();
        const qsizetype other = number == 1 ? text2.size() : text1.size();
        for (const Difference& d : found.side(SideOfPane(number)).differences) {
            FUZZ_CHECK(d.span.start >= 0 && d.span.start + d.span.length <= own);
            FUZZ_CHECK(d.other.start >= 0 && d.other.start + d.other.length <= other);
        }
    }
    return 0;
}

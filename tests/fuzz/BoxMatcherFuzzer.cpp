// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// A page's text paired with any words: every box of a range is within one word's box, joining
// boxes along lines loses none of them, and a text that is the words themselves pairs entirely.
#include "annotate/BoxMatcher.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/WordLayout.h"

using namespace corvella;
using BoxMatcher::Box;
using BoxMatcher::WordBox;

namespace {

bool Within(const QRectF& inner, const std::vector<WordBox>& words) {
    for (const WordBox& word : words)
        if (word.box.contains(inner)) return true;
    return false;
}

void CheckRanges(const QString& text, const std::vector<WordBox>& words, const QByteArray& ranges) {
    const BoxMatcher::PageMatch match(text, 7, words);
    FUZZ_CHECK(match.paired() <= match.visible());
    for (qsizetype i = 0; i + 1 < ranges.size(); i += 2) {
        const TextRange range{7 + quint8(ranges[i]) % (text.size() + 1), quint8(ranges[i + 1])};
        const std::vector<Box> boxes = match.boxesOf(range);
        for (const Box& box : boxes) FUZZ_CHECK(Within(box.rect, words));
        const std::vector<Box> joined = BoxMatcher::JoinedAlongLines(boxes);
        FUZZ_CHECK(joined.size() <= boxes.size());
        for (const Box& box : boxes) {
            bool kept = false;
            for (const Box& line : joined) kept = kept || line.rect.contains(box.rect);
            FUZZ_CHECK(kept);
        }
    }
}

}  // namespace

// The input: the page's text, the words (a line each), then pairs of bytes, each the start and
// length of a range of the text; parts apart at NUL bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return -1;
    const QList<QByteArray> parts = fuzz::Parts(data, size);
    const QString text = QString::fromUtf8(parts.value(0));
    const QString lines = QString::fromUtf8(parts.value(1));
    // Each line turned otherwise, so that boxes are joined every way words read.
    const std::vector<WordBox> words =
        testing::WordLayout(lines.split(u'\n'), [](int line) { return line % 4; });
    CheckRanges(text, words, parts.value(2));
    // The words' own text pairs every character with its glyph.
    QString own = lines;
    own.replace(u'\n', QStringLiteral("\r\n"));
    const BoxMatcher::PageMatch itself(own, 0, words);
    FUZZ_CHECK(itself.paired() == itself.visible());
    CheckRanges(own, words, parts.value(2));
    return 0;
}

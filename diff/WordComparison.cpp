// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/WordComparison.h"

#include <optional>

#include "diff/TextPlaces.h"
#include "diff/WordDiff.h"

namespace corvella::WordCompare {

std::vector<Difference> Pass(QStringView own, QStringView other, DifferenceKind kind,
                             const Progress& progress) {
    const std::vector<QStringView> ownLines = WordDiff::CutAtCRLF(own);
    const std::vector<QStringView> otherLines = WordDiff::CutAtCRLF(other);
    // Room for every word of `own` at once: grown as it fills, the list would be copied whole each
    // time its room ran out, the old copy and the new one held together. Room never used is never
    // touched, and a large block's untouched pages take no memory.
    std::vector<Difference> words;
    words.reserve(size_t(own.count(u' ')) + ownLines.size());
    std::vector<TextRange> missing;
    std::optional<WordDiff::OtherLine> otherLine;
    qsizetype j = 0;
    qsizetype otherPos = 0;  // where line j starts
    for (const QStringView line : ownLines) {
        Tick(progress);
        if (j >= qsizetype(otherLines.size())) continue;
        const QStringView against = otherLines[size_t(j)];
        if (!otherLine) otherLine.emplace(against);
        missing.clear();
        WordDiff::MissingWords(line, *otherLine, missing);
        const qsizetype lineStart = line.data() - own.data();
        for (const TextRange& word : missing) {
            Difference difference;
            difference.kind = kind;
            difference.span = {lineStart + word.start, word.length};
            words.push_back(difference);
        }
        if (other.size() > otherPos + against.size() + 2) {
            otherPos += against.size() + 2;
            ++j;
            otherLine.reset();
        }
    }
    return words;
}

Comparison Compare(QStringView text1, QStringView text2, const Progress& progress) {
    Comparison result;
    result.method = Method::Words;
    result.side(Side::One).differences = Pass(text1, text2, DifferenceKind::Only1, progress);
    result.side(Side::Two).differences = Pass(text2, text1, DifferenceKind::Only2, progress);
    TextPlaces::Locate(text1, result.side(Side::One).differences);
    TextPlaces::Locate(text2, result.side(Side::Two).differences);
    return result;
}

}  // namespace corvella::WordCompare

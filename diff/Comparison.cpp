// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/Comparison.h"

namespace corvella {

namespace {

void appendMarks(const ComparedSide& side, const Difference& difference,
                 std::vector<TextRange>& out) {
    if (difference.markCount == 0) {
        out.push_back(difference.span);
        return;
    }
    const auto first = side.marks.begin() + difference.firstMark;
    out.insert(out.end(), first, first + difference.markCount);
}

}  // namespace

std::vector<TextRange> ComparedSide::marksOf(const Difference& difference) const {
    std::vector<TextRange> out;
    appendMarks(*this, difference, out);
    return out;
}

std::vector<TextRange> ComparedSide::differenceMarks() const {
    std::vector<TextRange> all;
    all.reserve(differences.size());
    std::vector<bool> given(marks.size(), false);
    for (const Difference& difference : differences) {
        if (difference.markCount > 0) {
            if (given[size_t(difference.firstMark)]) continue;
            given[size_t(difference.firstMark)] = true;
        }
        appendMarks(*this, difference, all);
    }
    return all;
}

std::vector<CharacterChange> ComparedSide::changesOf(size_t index) const {
    if (index + 1 >= changeStarts.size()) return {};
    return {changes.begin() + changeStarts[index], changes.begin() + changeStarts[index + 1]};
}

qsizetype Comparison::differingWords() const {
    qsizetype count = 0;
    for (const ComparedSide& side : sides)
        for (const Difference& difference : side.differences) count += difference.wordCount;
    return count;
}

}  // namespace corvella

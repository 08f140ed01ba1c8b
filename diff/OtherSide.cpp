// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/OtherSide.h"

#include <algorithm>

namespace corvella::OtherSide {

namespace {
qsizetype end(const TextRange& range) { return range.start + range.length; }

bool meets(const TextRange& span, const TextRange& place) {
    // An empty range (an empty line, an insertion point) meets what it stands in or beside.
    if (span.length == 0 || place.length == 0)
        return span.start <= end(place) && place.start <= end(span);
    return span.start < end(place) && place.start < end(span);
}
}  // namespace

std::vector<size_t> Meeting(const std::vector<Difference>& differences, TextRange place) {
    std::vector<size_t> found;
    // The first span that does not end before the place.
    auto it = std::lower_bound(
        differences.begin(), differences.end(), place.start,
        [](const Difference& difference, qsizetype start) { return end(difference.span) < start; });
    for (; it != differences.end() && it->span.start <= end(place); ++it)
        if (meets(it->span, place)) found.push_back(size_t(it - differences.begin()));
    return found;
}

std::optional<TextRange> Of(const std::vector<Difference>& differences, TextRange place,
                            const std::vector<TextRange>* others) {
    std::optional<TextRange> other;
    for (size_t index : Meeting(differences, place)) {
        const TextRange counterpart = others != nullptr && index < others->size()
                                          ? (*others)[index]
                                          : differences[index].other;
        if (counterpart.start < 0) continue;
        if (!other) {
            other = counterpart;
            continue;
        }
        const qsizetype from = std::min(other->start, counterpart.start);
        const qsizetype to = std::max(end(*other), end(counterpart));
        other = TextRange{from, to - from};
    }
    return other;
}

std::optional<size_t> Holding(const std::vector<Difference>& differences, qsizetype position) {
    for (size_t i = 0; i < differences.size(); ++i) {
        const TextRange& span = differences[i].span;
        if (span.start <= position && position <= end(span)) return i;
    }
    return std::nullopt;
}

}  // namespace corvella::OtherSide

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/KnownColours.h"

#include <algorithm>

#include "core/PaneText.h"

namespace corvella {

namespace {

qsizetype endOf(const TextRange& range) { return range.start + range.length; }

// The runs with the ranges taken out.
std::vector<TextRange> without(const std::vector<TextRange>& runs,
                               const std::vector<TextRange>& ranges) {
    std::vector<TextRange> left;
    auto range = ranges.begin();
    for (TextRange run : runs) {
        // Ranges ending before the run cannot touch it, nor any run after it.
        while (range != ranges.end() && endOf(*range) <= run.start) ++range;
        for (auto cut = range; cut != ranges.end() && cut->start < endOf(run); ++cut) {
            if (cut->start > run.start) left.push_back({run.start, cut->start - run.start});
            const qsizetype rest = std::max(run.start, endOf(*cut));
            run = {rest, std::max<qsizetype>(0, endOf(run) - rest)};
            if (run.length == 0) break;
        }
        if (run.length > 0) left.push_back(run);
    }
    return left;
}

// The runs with the ranges' characters added, line breaks left out.
std::vector<TextRange> with(const std::vector<TextRange>& runs, const QString& text,
                            const std::vector<TextRange>& ranges) {
    std::vector<TextRange> pieces;
    for (const TextRange& range : ranges) {
        qsizetype from = range.start;
        for (qsizetype i = range.start; i <= endOf(range); ++i) {
            const bool atBreak =
                i < endOf(range) && (text.at(i) == PaneText::kCR || text.at(i) == PaneText::kLF);
            if (i < endOf(range) && !atBreak) continue;
            if (i > from) pieces.push_back({from, i - from});
            from = i + 1;
        }
    }
    std::vector<TextRange> all;
    all.reserve(runs.size() + pieces.size());
    std::merge(runs.begin(), runs.end(), pieces.begin(), pieces.end(), std::back_inserter(all),
               [](const TextRange& a, const TextRange& b) { return a.start < b.start; });
    std::vector<TextRange> joined;
    for (const TextRange& run : all) {
        if (!joined.empty() && run.start <= endOf(joined.back()))
            joined.back().length = std::max(endOf(joined.back()), endOf(run)) - joined.back().start;
        else
            joined.push_back(run);
    }
    return joined;
}

}  // namespace

void KnownColours::paint(const QString& text, const std::vector<TextRange>& ranges, Color color) {
    for (auto it = runs_.begin(); it != runs_.end();) {
        if (it->first != color) it->second = without(it->second, ranges);
        it = it->second.empty() && it->first != color ? runs_.erase(it) : std::next(it);
    }
    if (color != kBlack) runs_[color] = with(runs_[color], text, ranges);
}

std::vector<TextRange> KnownColours::runsOf(Color color) const {
    const auto found = runs_.find(color);
    return found == runs_.end() ? std::vector<TextRange>{} : found->second;
}

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/pane/KnownColours.h"

#include <algorithm>

#include "core/PaneText.h"

namespace corvella {

namespace {

qsizetype endOf(const TextRange& range) { return range.start + range.length; }

// The runs with the ranges taken out. Each run is kept whole or cut, mostly into one part: the
// room for as many runs as before is enough but when a range cuts one in two.
std::vector<TextRange> without(const std::vector<TextRange>& runs,
                               const std::vector<TextRange>& ranges) {
    std::vector<TextRange> left;
    left.reserve(runs.size());
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

// The runs with the ranges' characters added, line breaks left out. The ranges' pieces between
// breaks are merged with the runs by start as they are cut, runs first where both start
// together, and joined where they touch: only the runs and their result are held at once, not a
// list of pieces and an unjoined merge beside them.
std::vector<TextRange> with(const std::vector<TextRange>& runs, const QString& text,
                            const std::vector<TextRange>& ranges) {
    std::vector<TextRange> joined;
    joined.reserve(runs.size() + ranges.size());
    auto add = [&](const TextRange& run) {
        if (!joined.empty() && run.start <= endOf(joined.back()))
            joined.back().length = std::max(endOf(joined.back()), endOf(run)) - joined.back().start;
        else
            joined.push_back(run);
    };
    auto run = runs.begin();
    for (const TextRange& range : ranges) {
        qsizetype from = range.start;
        for (qsizetype i = range.start; i <= endOf(range); ++i) {
            const bool atBreak =
                i < endOf(range) && (text.at(i) == PaneText::kCR || text.at(i) == PaneText::kLF);
            if (i < endOf(range) && !atBreak) continue;
            if (i > from) {
                while (run != runs.end() && run->start <= from) add(*run++);
                add({from, i - from});
            }
            from = i + 1;
        }
    }
    while (run != runs.end()) add(*run++);
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

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/review/ShownComparison.h"

#include <algorithm>

#include "compare/WorkPaneEntries.h"
#include "window/review/DifferenceNavigation.h"

namespace corvella {

namespace {

ShownComparison::Stage::Ranges shared(std::vector<TextRange> ranges) {
    return std::make_shared<const std::vector<TextRange>>(std::move(ranges));
}

}  // namespace

void ShownComparison::show(Comparison comparison, Panes panes) {
    auto stage = std::make_shared<Stage>();
    stage->comparison = std::make_shared<const Comparison>(std::move(comparison));
    stage->panes = std::move(panes);
    for (const Side side : kBothSides) {
        const ComparedSide& compared = stage->comparison->side(side);
        stage->stops[side] = shared(
            DifferenceNavigation::Stops(stage->panes.texts[side], compared.differenceMarks()));
        std::vector<TextRange> entries = WorkPaneEntries(stage->comparison->method, compared);
        std::vector<TextRange> listStops;
        std::copy_if(entries.begin(), entries.end(), std::back_inserter(listStops),
                     [](const TextRange& entry) { return entry.length > 0; });
        stage->entries[side] = shared(std::move(entries));
        stage->listStops[side] = shared(std::move(listStops));
    }
    stage_ = std::move(stage);
    emit shown();
}

void ShownComparison::link(const std::shared_ptr<const Stage>& of, std::optional<Comparison> placed,
                           Alignment alignment) {
    if (of != stage_ || !stage_) return;
    // Everything else is shared with the stage before.
    auto stage = std::make_shared<Stage>(*stage_);
    if (placed) stage->comparison = std::make_shared<const Comparison>(std::move(*placed));
    stage->alignment = std::make_shared<const Alignment>(std::move(alignment));
    stage_ = std::move(stage);
    emit linked();
}

const Comparison& ShownComparison::comparison() const {
    static const Comparison none;
    return stage_ ? *stage_->comparison : none;
}

qsizetype ShownComparison::Stage::entryAt(Side side, qsizetype position) const {
    const std::vector<TextRange>& all = *entries[side];
    const auto after =
        std::upper_bound(all.begin(), all.end(), position,
                         [](qsizetype at, const TextRange& entry) { return at < entry.start; });
    if (after == all.begin()) return -1;
    const TextRange& entry = *std::prev(after);
    return position <= entry.start + entry.length ? after - all.begin() - 1 : -1;
}

}  // namespace corvella

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
    stage_ = std::make_shared<const Stage>(
        std::make_shared<const Comparison>(std::move(comparison)), std::move(panes));
    emit shown();
}

void ShownComparison::link(const std::shared_ptr<const Stage>& of,
                           std::optional<BySide<std::vector<TextRange>>> others,
                           Alignment alignment) {
    if (of != stage_ || !stage_) return;
    // Everything else is shared with the stage before.
    auto stage = std::make_shared<Stage>(*stage_);
    if (others)
        stage->others = std::make_shared<const BySide<std::vector<TextRange>>>(std::move(*others));
    stage->alignment = std::make_shared<const Alignment>(std::move(alignment));
    stage_ = std::move(stage);
    emit linked();
}

const Comparison& ShownComparison::comparison() const {
    static const Comparison none;
    return stage_ ? *stage_->comparison : none;
}

ShownComparison::Stage::Stage(std::shared_ptr<const Comparison> comparison, Panes panes)
    : comparison(std::move(comparison)), panes(std::move(panes)) {}

ShownComparison::Stage::Ranges ShownComparison::Stage::stops(Side side) const {
    if (!made_->stops[side])
        made_->stops[side] = shared(DifferenceNavigation::Stops(
            panes.texts[side], comparison->side(side).differenceMarks()));
    return made_->stops[side];
}

std::optional<TextRange> ShownComparison::Stage::firstStop(Side side) const {
    if (made_->stops[side])
        return made_->stops[side]->empty() ? std::nullopt
                                           : std::optional(made_->stops[side]->front());
    const std::vector<TextRange> first =
        DifferenceNavigation::Stops(panes.texts[side], comparison->side(side).differenceMarks(), 1);
    return first.empty() ? std::nullopt : std::optional(first.front());
}

ShownComparison::Stage::Ranges ShownComparison::Stage::entries(Side side) const {
    if (!made_->entries[side])
        made_->entries[side] = shared(WorkPaneEntries(comparison->method, comparison->side(side)));
    return made_->entries[side];
}

ShownComparison::Stage::Ranges ShownComparison::Stage::listStops(Side side) const {
    if (!made_->listStops[side]) {
        const Ranges all = entries(side);
        std::vector<TextRange> listed;
        std::copy_if(all->begin(), all->end(), std::back_inserter(listed),
                     [](const TextRange& entry) { return entry.length > 0; });
        made_->listStops[side] = shared(std::move(listed));
    }
    return made_->listStops[side];
}

qsizetype ShownComparison::Stage::entryAt(Side side, qsizetype position) const {
    const std::vector<TextRange>& all = *entries(side);
    const auto after =
        std::upper_bound(all.begin(), all.end(), position,
                         [](qsizetype at, const TextRange& entry) { return at < entry.start; });
    if (after == all.begin()) return -1;
    const TextRange& entry = *std::prev(after);
    return position <= entry.start + entry.length ? after - all.begin() - 1 : -1;
}

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/review/DifferenceNavigation.h"

#include <algorithm>

#include "core/PaneText.h"

namespace corvella {

namespace DifferenceNavigation {

namespace {

bool isBreak(QChar c) { return c == PaneText::kCR || c == PaneText::kLF; }

}  // namespace

std::vector<TextRange> Stops(QStringView text, std::vector<TextRange> marks, std::size_t most) {
    auto byStart = [](const TextRange& a, const TextRange& b) { return a.start < b.start; };
    if (!std::is_sorted(marks.begin(), marks.end(), byStart))
        std::sort(marks.begin(), marks.end(), byStart);
    std::vector<TextRange> stops;
    for (const TextRange& mark : marks) {
        qsizetype from = std::clamp<qsizetype>(mark.start, 0, text.size());
        qsizetype to = std::clamp<qsizetype>(mark.start + mark.length, from, text.size());
        while (from < to && isBreak(text[from])) ++from;
        while (to > from && isBreak(text[to - 1])) --to;
        if (from == to) continue;
        if (!stops.empty()) {
            // Touching or overlapping the last stop, or parted from it by line breaks alone.
            TextRange& last = stops.back();
            const qsizetype lastEnd = last.start + last.length;
            if (from <= lastEnd ||
                std::all_of(text.begin() + lastEnd, text.begin() + from, isBreak)) {
                last.length = std::max(lastEnd, to) - last.start;
                continue;
            }
        }
        if (stops.size() == most) break;
        stops.push_back({from, to - from});
    }
    return stops;
}

std::optional<TextRange> Step(const std::vector<TextRange>& differences, TextRange selection,
                              Direction direction, bool fromStart) {
    if (differences.empty()) return std::nullopt;
    if (fromStart)
        return direction == Direction::Next ? std::optional(differences.front()) : std::nullopt;
    // The first difference that starts at the selection or after it.
    auto it = std::lower_bound(
        differences.begin(), differences.end(), selection.start,
        [](const TextRange& difference, qsizetype start) { return difference.start < start; });
    if (direction == Direction::Previous)
        return it == differences.begin() ? std::nullopt : std::optional(*std::prev(it));
    if (it != differences.end() && it->start == selection.start && it->length == selection.length)
        ++it;
    return it == differences.end() ? std::nullopt : std::optional(*it);
}

}  // namespace DifferenceNavigation

ShownComparison::Stage::Ranges DifferenceReview::stops(const PaneDocument& pane, int number) const {
    const std::shared_ptr<const ShownComparison::Stage> stage = shown_.stage();
    const Side side = SideOfPane(number);
    if (!stage) return nullptr;
    if (IsWorkPane(number)) return stage->holdsList(side, pane) ? stage->listStops(side) : nullptr;
    return stage->holdsText(side, pane) ? stage->stops(side) : nullptr;
}

std::optional<TextRange> DifferenceReview::step(const PaneDocument& pane, int number,
                                                TextRange selection, Direction direction,
                                                bool fromStart) const {
    const ShownComparison::Stage::Ranges places = stops(pane, number);
    if (!places) return std::nullopt;
    return DifferenceNavigation::Step(*places, selection, direction, fromStart);
}

BySide<std::optional<TextRange>> DifferenceReview::comparisonEnded(MainWindow& window) {
    for (int number = 1; number <= 4; ++number) {
        PaneDocument& pane = window.pane(number);
        left_[number] = LeftSelection{pane.selStart(), pane.selLength(), pane.textRevision()};
    }
    // The first stop alone: all of them are made later, in turns of their own.
    BySide<std::optional<TextRange>> first;
    if (const std::shared_ptr<const ShownComparison::Stage> stage = shown_.stage())
        for (const Side side : kBothSides)
            if (stage->holdsText(side, window.textPane(side))) first[side] = stage->firstStop(side);
    return first;
}

std::optional<TextRange> DifferenceReview::go(MainWindow& window, int number, Direction direction) {
    PaneDocument& pane = window.pane(number);
    const TextRange selection{pane.selStart(), pane.selLength()};
    std::optional<LeftSelection>& left = left_[number];
    const bool fromStart = left && left->start == selection.start &&
                           left->length == selection.length &&
                           left->revision == pane.textRevision();
    std::optional<TextRange> target;
    if (!window.BusyFlag) target = step(pane, number, selection, direction, fromStart);
    if (!target) {
        if (window.services().beep) window.services().beep();
        return std::nullopt;
    }
    select(window, number, *target);
    return target;
}

void DifferenceReview::select(MainWindow& window, int number, TextRange place) {
    left_[number].reset();
    PaneDocument& pane = window.pane(number);
    pane.setSelStart(place.start);
    pane.setSelLength(place.length);
}

}  // namespace corvella

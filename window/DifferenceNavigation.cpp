// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/DifferenceNavigation.h"

#include <algorithm>

#include "core/PaneText.h"

namespace corvella {

namespace DifferenceNavigation {

std::vector<TextRange> JoinAcrossBreaks(QStringView text, const std::vector<TextRange>& runs) {
    std::vector<TextRange> joined;
    for (const TextRange& run : runs) {
        if (!joined.empty()) {
            TextRange& last = joined.back();
            const qsizetype gapStart = last.start + last.length;
            const QStringView gap =
                text.mid(gapStart, std::max<qsizetype>(0, run.start - gapStart));
            const bool onlyBreaks = std::all_of(gap.begin(), gap.end(), [](QChar c) {
                return c == PaneText::kCR || c == PaneText::kLF;
            });
            if (run.start >= gapStart && onlyBreaks) {
                last.length = run.start + run.length - last.start;
                continue;
            }
        }
        joined.push_back(run);
    }
    return joined;
}

std::vector<TextRange> Entries(QStringView text) {
    std::vector<TextRange> entries;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(PaneText::kCR, start);
        if (end < 0) end = text.size();
        if (end > start) entries.push_back({start, end - start});
        start = end + (text.mid(end, 2) == PaneText::kBreak ? 2 : 1);
    }
    return entries;
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

std::vector<TextRange> DifferenceReview::differences(PaneDocument& pane, int number) {
    const QString text = pane.text();
    if (number >= 3) return DifferenceNavigation::Entries(text);
    return DifferenceNavigation::JoinAcrossBreaks(text, pane.runsOfColor(kRed));
}

std::array<std::optional<TextRange>, 4> DifferenceReview::comparisonEnded(MainWindow& window) {
    std::array<std::optional<TextRange>, 4> first;
    for (int number = 1; number <= 4; ++number) {
        PaneDocument& pane = window.pane(number);
        left_[size_t(number - 1)] =
            LeftSelection{pane.selStart(), pane.selLength(), pane.textRevision()};
        const std::vector<TextRange> all = differences(pane, number);
        if (!all.empty()) first[size_t(number - 1)] = all.front();
    }
    return first;
}

std::optional<TextRange> DifferenceReview::go(MainWindow& window, int number, Direction direction) {
    PaneDocument& pane = window.pane(number);
    const TextRange selection{pane.selStart(), pane.selLength()};
    std::optional<LeftSelection>& left = left_[size_t(number - 1)];
    const bool fromStart = left && left->start == selection.start &&
                           left->length == selection.length &&
                           left->revision == pane.textRevision();
    std::optional<TextRange> target;
    if (!window.BusyFlag)
        target =
            DifferenceNavigation::Step(differences(pane, number), selection, direction, fromStart);
    if (!target) {
        if (window.services().beep) window.services().beep();
        return std::nullopt;
    }
    select(window, number, *target);
    return target;
}

void DifferenceReview::select(MainWindow& window, int number, TextRange place) {
    left_[size_t(number - 1)].reset();
    PaneDocument& pane = window.pane(number);
    pane.setSelStart(place.start);
    pane.setSelLength(place.length);
}

}  // namespace corvella

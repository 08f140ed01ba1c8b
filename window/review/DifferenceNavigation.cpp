// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/review/DifferenceNavigation.h"

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

namespace {

// Whether an entry of Entries starts at `at`: a character that is no CR, after a CR or a CR LF
// (an LF right after a CR belongs to that break).
bool EntryStartsAt(QStringView text, qsizetype at) {
    if (at < 0 || at >= text.size() || text[at] == PaneText::kCR) return false;
    if (at == 0) return true;
    if (text[at - 1] == PaneText::kCR) return text[at] != PaneText::kLF;
    return text[at - 1] == PaneText::kLF && at >= 2 && text[at - 2] == PaneText::kCR;
}

TextRange EntryAt(QStringView text, qsizetype start) {
    const qsizetype end = text.indexOf(PaneText::kCR, start);
    return {start, (end < 0 ? text.size() : end) - start};
}

std::optional<TextRange> EntryFrom(QStringView text, qsizetype from) {
    for (qsizetype at = std::max<qsizetype>(0, from); at < text.size(); ++at)
        if (EntryStartsAt(text, at)) return EntryAt(text, at);
    return std::nullopt;
}

}  // namespace

std::optional<TextRange> StepEntries(QStringView text, TextRange selection, Direction direction,
                                     bool fromStart) {
    if (fromStart) return direction == Direction::Next ? EntryFrom(text, 0) : std::nullopt;
    if (direction == Direction::Previous) {
        for (qsizetype at = std::min(selection.start, text.size()) - 1; at >= 0; --at)
            if (EntryStartsAt(text, at)) return EntryAt(text, at);
        return std::nullopt;
    }
    std::optional<TextRange> next = EntryFrom(text, selection.start);
    if (next && next->start == selection.start && next->length == selection.length)
        next = EntryFrom(text, next->start + 1);
    return next;
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

DifferenceReview::Places DifferenceReview::places(const PaneDocument& pane, int number) const {
    Read& read = read_[size_t(number - 1)];
    if (read.places == nullptr || read.pane != &pane || read.textRevision != pane.textRevision() ||
        read.colourRevision != pane.colourRevision()) {
        read.places.reset();  // the old places go before the new ones are read
        auto runs = pane.runsOfColor(kRed);
        // Read after the runs: reading a long document may let other work change it meanwhile.
        read = {&pane, pane.textRevision(), pane.colourRevision(),
                std::make_shared<const std::vector<TextRange>>(
                    DifferenceNavigation::JoinAcrossBreaks(pane.text(), runs))};
    }
    return read.places;
}

std::optional<TextRange> DifferenceReview::step(const PaneDocument& pane, int number,
                                                TextRange selection, Direction direction,
                                                bool fromStart) const {
    if (number >= 3)
        return DifferenceNavigation::StepEntries(pane.text(), selection, direction, fromStart);
    return DifferenceNavigation::Step(*places(pane, number), selection, direction, fromStart);
}

std::array<std::optional<TextRange>, 4> DifferenceReview::comparisonEnded(MainWindow& window) {
    std::array<std::optional<TextRange>, 4> first;
    for (int number = 1; number <= 4; ++number) {
        PaneDocument& pane = window.pane(number);
        left_[size_t(number - 1)] =
            LeftSelection{pane.selStart(), pane.selLength(), pane.textRevision()};
        first[size_t(number - 1)] = step(pane, number, {}, Direction::Next, true);
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
    if (!window.BusyFlag) target = step(pane, number, selection, direction, fromStart);
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

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "core/MainWindow.h"
#include "window/review/ShownComparison.h"

namespace corvella {

enum class Direction { Next, Previous };

// Finding the next or previous difference in a pane, without any widget.
namespace DifferenceNavigation {

// Where the walk stops in a text whose differences have these marks: every stretch of marked
// characters, without the line breaks at either end (their colour is never seen), those that only
// line breaks part as one (a block of differing lines is walked in one step); in text order. With
// `most`, only the first so many.
std::vector<TextRange> Stops(QStringView text, std::vector<TextRange> marks,
                             std::size_t most = std::size_t(-1));

// The difference to go to from the selection, or none when there is no further one. A selection
// exactly on a difference moves past it; `fromStart` walks as from before the first one.
std::optional<TextRange> Step(const std::vector<TextRange>& differences, TextRange selection,
                              Direction direction, bool fromStart);

}  // namespace DifferenceNavigation

// Walks the differences of the comparison shown in the window's panes: the stops of panes 1 and 2
// while they hold the texts compared, the entries of work panes 3 and 4 while they hold its lists.
// A comparison leaves each pane's selection at its end; while that selection stays, the walk
// starts from the first difference.
class DifferenceReview {
public:
    explicit DifferenceReview(const ShownComparison& shown) : shown_(shown) {}

    // Call when a comparison has ended. Returns each text's first difference.
    BySide<std::optional<TextRange>> comparisonEnded(MainWindow& window);

    // Selects the pane's next or previous difference and returns it; when there is none, or a
    // comparison is running, beeps and changes nothing.
    std::optional<TextRange> go(MainWindow& window, int pane, Direction direction);
    // Selects a place of the pane (one of its differences) as going there would.
    void select(MainWindow& window, int pane, TextRange place);

    // Where the walk stops in the pane while it holds what the comparison shown compared or
    // listed; none otherwise.
    ShownComparison::Stage::Ranges stops(const PaneDocument& pane, int number) const;

private:
    struct LeftSelection {
        qsizetype start = 0;
        qsizetype length = 0;
        quint64 revision = 0;
    };
    std::optional<TextRange> step(const PaneDocument& pane, int number, TextRange selection,
                                  Direction direction, bool fromStart) const;

    const ShownComparison& shown_;
    ByPane<std::optional<LeftSelection>> left_;
};

}  // namespace corvella

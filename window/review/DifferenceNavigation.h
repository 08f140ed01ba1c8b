// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "core/MainWindow.h"

namespace corvella {

enum class Direction { Next, Previous };

// Finding the next or previous difference in a pane, without any widget.
namespace DifferenceNavigation {

// The differences of a text pane: its red runs, where runs that only line breaks separate are one
// difference (a block of differing lines is walked in one step).
std::vector<TextRange> JoinAcrossBreaks(QStringView text, const std::vector<TextRange>& runs);

// Step over the entries of a work pane, its lines that hold any text (a line ends at a CR or a
// CR LF), read only around the selection: a list of a million entries is not cut into lines for
// each key.
std::optional<TextRange> StepEntries(QStringView text, TextRange selection, Direction direction,
                                     bool fromStart);

// The difference to go to from the selection, or none when there is no further one. A selection
// exactly on a difference moves past it; `fromStart` walks as from before the first one.
std::optional<TextRange> Step(const std::vector<TextRange>& differences, TextRange selection,
                              Direction direction, bool fromStart);

}  // namespace DifferenceNavigation

// Walks the differences of the window's panes: red runs in panes 1 and 2, entries in work panes 3
// and 4. A comparison leaves each pane's selection at its end; while that selection stays, the
// walk starts from the first difference.
class DifferenceReview {
public:
    // Call when a comparison has ended. Returns each pane's first difference.
    std::array<std::optional<TextRange>, 4> comparisonEnded(MainWindow& window);

    // Selects the pane's next or previous difference and returns it; when there is none, or a
    // comparison is running, beeps and changes nothing.
    std::optional<TextRange> go(MainWindow& window, int pane, Direction direction);
    // Selects a place of the pane (one of its differences) as going there would.
    void select(MainWindow& window, int pane, TextRange place);

    using Places = std::shared_ptr<const std::vector<TextRange>>;
    // The places the walk goes to in text pane 1 or 2, read once per text and colouring: the
    // keys, the scroll bar's marks and the work panes' entries share them.
    Places places(const PaneDocument& pane, int number) const;

private:
    struct LeftSelection {
        qsizetype start = 0;
        qsizetype length = 0;
        quint64 revision = 0;
    };
    // What going from the selection in the pane finds: its entries (work panes) or its places.
    std::optional<TextRange> step(const PaneDocument& pane, int number, TextRange selection,
                                  Direction direction, bool fromStart) const;

    struct Read {
        const PaneDocument* pane = nullptr;
        quint64 textRevision = 0;
        quint64 colourRevision = 0;
        Places places;
    };

    std::array<std::optional<LeftSelection>, 4> left_;
    mutable std::array<Read, 2> read_;
};

}  // namespace corvella

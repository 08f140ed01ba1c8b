// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <future>
#include <memory>
#include <optional>
#include <vector>

#include "core/PaneDocument.h"
#include "core/Side.h"
#include "diff/Alignment.h"
#include "diff/Comparison.h"

namespace corvella {

// The last comparison the window made in its panes, as every view of it reads it: what each
// text's differences and marks are, where the difference walk stops in each text, where each
// difference stands in its work pane's list, and, once prepared on a thread of its own, the
// alignment of both texts and each difference's place in the other text. Nothing here is read
// back out of a pane. A stage once made never changes: the alignment and the other sides arrive
// as a new stage, and a view may keep the stage it shows.
class ShownComparison : public QObject {
    Q_OBJECT
public:
    // What a stage knows besides the comparison: the texts compared, and the revisions of the text
    // panes and of the work panes once the command had written them.
    struct Panes {
        BySide<QString> texts;
        BySide<quint64> textRevisions{};
        BySide<quint64> listRevisions{};
    };
    class Stage;

    explicit ShownComparison(QObject* parent = nullptr) : QObject(parent) {}

    // A new comparison, made in panes that now stand as `panes` says.
    void show(Comparison comparison, Panes panes);
    // The alignment of both texts of the stage shown now, and where each difference stands in the
    // other text (lines and words; the layout-free comparison placed its own).
    void link(const std::shared_ptr<const Stage>& of,
              std::optional<BySide<std::vector<TextRange>>> others, Alignment alignment);

    std::shared_ptr<const Stage> stage() const { return stage_; }
    const Comparison& comparison() const;

signals:
    // A new comparison is shown; and the one shown is linked.
    void shown();
    void linked();

private:
    std::shared_ptr<const Stage> stage_;
};

// One stage of a comparison shown. Where the walk stops is made on a thread of its own as the first
// stage is made, and the work panes' entries when first asked for, once for every stage of the
// comparison: a million differing words take a while.
class ShownComparison::Stage {
public:
    using Ranges = std::shared_ptr<const std::vector<TextRange>>;

    Stage(std::shared_ptr<const Comparison> comparison, Panes panes);

    const std::shared_ptr<const Comparison> comparison;
    const Panes panes;
    // Once linked: the alignment of both texts, and where each difference stands in the other
    // text when the comparison did not place them itself.
    std::shared_ptr<const Alignment> alignment;
    std::shared_ptr<const BySide<std::vector<TextRange>>> others;

    // Where the walk stops in a text: the marks of its differences, those that only line breaks
    // part as one (a block of lines is walked in one step); and the first of them alone.
    Ranges stops(Side side) const;
    std::optional<TextRange> firstStop(Side side) const;
    // The stops are made: asking for them waits for nothing.
    bool stopsMade() const;
    // Each difference's entry in its work pane; those that hold any text, which the walk stops
    // at there.
    Ranges entries(Side side) const;
    Ranges listStops(Side side) const;
    // The index of the difference whose entry holds a position of the work pane, or -1.
    qsizetype entryAt(Side side, qsizetype position) const;
    // The places of a side's differences in the other text, when linked so; else none.
    const std::vector<TextRange>* othersOf(Side side) const {
        return others ? &(*others)[side] : nullptr;
    }

    // The text pane still holds the text compared, or the work pane the list written.
    bool holdsText(Side side, const PaneDocument& pane) const {
        return pane.textRevision() == panes.textRevisions[side];
    }
    bool holdsList(Side side, const PaneDocument& work) const {
        return work.textRevision() == panes.listRevisions[side];
    }

private:
    struct Made {
        std::shared_future<BySide<Ranges>> stops;
        BySide<Ranges> entries;
        BySide<Ranges> listStops;
    };
    std::shared_ptr<Made> made_ = std::make_shared<Made>();
};

}  // namespace corvella

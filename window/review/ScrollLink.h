// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QObject>
#include <memory>

#include "core/Side.h"
#include "diff/Alignment.h"

namespace corvella {

class RichTextPane;

// Panes 1 and 2 scrolling together: when one scrolls by any means, the other scrolls so that the
// text corresponding to the line at the middle of the first one's view (through the alignment of
// their contents) stands at the same height in its own view. Near either end of a text that
// height moves to the top or the bottom, so a pane at its top or bottom keeps the other there
// too. Only the other pane's view moves, and its own scrolling then does not lead back.
class ScrollLink : public QObject {
public:
    ScrollLink(BySide<RichTextPane*> panes, QObject* parent);

    // Links the panes as their texts now are; any new text drops the link.
    void link(std::shared_ptr<const Alignment> alignment);
    void drop();
    // Both texts still are those the alignment was made of.
    bool ready() const;
    const Alignment& alignment() const { return *alignment_; }

    // "Scroll Panes Together": on after each link.
    void setFollowing(bool on) { following_ = on; }
    bool following() const { return following_; }

    // Scrolls the pane of side `to` so that the line of `toPosition` stands at the height of the
    // line of `fromPosition` in the other pane; the other pane does not follow it.
    void showAtSameHeight(Side to, qsizetype toPosition, qsizetype fromPosition);

    // The row of the view (in lines from its top) whose text leads the other pane.
    static int AnchorRow(int value, int maximum, int pageStep);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(Side leader);
    // Scrolls the pane so that the line of the position stands `row` lines below its top.
    void placeAtRow(Side pane, qsizetype position, int row);
    void scrollFollower(Side pane, int value, bool bottom = false);

    BySide<RichTextPane*> panes_;
    std::shared_ptr<const Alignment> alignment_;
    BySide<quint64> revisions_{};
    bool linked_ = false;
    bool following_ = true;
    bool moving_ = false;  // a follower's scroll is under way: it leads nowhere
    // Scrolled to follow the other, with no input of its own since: its relayouts lead nowhere.
    BySide<bool> followed_{};
    BySide<QList<QObject*>> inputs_;
    BySide<bool> atBottom_{};  // followed to its bottom
    BySide<int> values_{};     // each bar's value when last seen
};

}  // namespace corvella

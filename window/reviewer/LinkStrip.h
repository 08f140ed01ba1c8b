// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "core/Side.h"
#include "core/TextRange.h"

namespace corvella {

class RichTextPane;
struct Reviewed;

// The narrow strip between the two texts: a band from each change in view on one side to its
// other side, so the eye follows a change across however the texts are paged. Red for the
// differences, blue for the moves; drawn only for what is in view.
class LinkStrip : public QWidget {
public:
    // A change's place in each text.
    struct Band {
        BySide<TextRange> place;
        bool moved = false;
    };

    LinkStrip(BySide<RichTextPane*> panes, QWidget* parent);

    void setReviewed(std::shared_ptr<const Reviewed> reviewed);
    void clear();

    // The bands with a side in view, as painted last (for tests and the accessible description).
    const std::vector<Band>& painted() const { return painted_; }
    QSize sizeHint() const override { return {48, 0}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The text range each pane shows now.
    TextRange inView(Side side) const;
    // The bands with a side in `views`: found by the differences' order in their texts, so that
    // a paint looks at what is in view and not at every change of a long comparison.
    std::vector<Band> bandsIn(const BySide<TextRange>& views) const;
    // The height in this strip of a text position of a pane, clamped to the strip: a position out
    // of `view` lies beyond its edge.
    int heightOf(Side side, qsizetype position, const TextRange& view) const;

    BySide<RichTextPane*> panes_;
    std::shared_ptr<const Reviewed> reviewed_;
    std::vector<Band> painted_;
};

}  // namespace corvella

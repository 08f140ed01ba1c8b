// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QObject>
#include <QRect>
#include <QStyle>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/TextRange.h"
#include "window/review/OverviewSummary.h"

class QScrollBar;

namespace corvella {

class RichTextPane;

// Marks on a pane's vertical scroll bar where the differences and moved runs stand in the whole
// text, and the current difference apart. It paints on the bar's track after the bar has painted
// itself, so no control moves or changes size; a click on a mark reports the mark instead of
// paging. The marks are bucketed per track pixel once per comparison, resize or relayout.
class OverviewMarks : public QObject {
public:
    // In the pane's text, in text order; shared with the difference walk.
    using Places = std::shared_ptr<const std::vector<TextRange>>;
    static inline const QColor kDifference{0xE0, 0x00, 0x00};
    static inline const QColor kCurrent{0x40, 0x00, 0x00};

    OverviewMarks(RichTextPane& pane, std::function<void(int place)> clicked, QObject* parent);

    // `moved` tells which places are moved runs; empty when none is.
    void setPlaces(Places places, std::vector<bool> moved);
    // What a click reports: mark `place` of these.
    const std::vector<TextRange>& places() const { return *places_; }
    bool moved(size_t place) const { return place < moved_.size() && moved_[place]; }
    void setCurrent(std::optional<qsizetype> position);
    void clear();
    bool empty() const { return places_->empty(); }

    // The bar's track, in the bar's coordinates.
    QRect track() const;
    const OverviewSummary& summary() const { return summary_; }
    // Made for the track and the lines as they are now.
    bool summaryIsCurrent() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void summarize();
    QRect part(QStyle::SubControl control) const;
    int totalLines() const;
    void paintMarks();

    RichTextPane& pane_;
    QScrollBar* bar_;
    std::function<void(int)> clicked_;
    Places places_ = std::make_shared<const std::vector<TextRange>>();
    std::vector<bool> moved_;
    std::optional<qsizetype> current_;
    OverviewSummary summary_;
    // A relayout changes the lines while the user scrolls: the marks follow a moment later.
    QTimer resummarize_;
    bool painting_ = false;
};

}  // namespace corvella

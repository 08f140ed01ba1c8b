// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/LinkStrip.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>

#include "window/pane/RichTextPane.h"
#include "window/reviewer/ReviewColours.h"
#include "window/reviewer/Reviewed.h"

namespace corvella {

namespace {

// So many bands in view are a wash of colour: the strip draws no more.
constexpr size_t kMostBands = 400;

bool meets(const TextRange& place, const TextRange& view) {
    return place.start <= view.start + view.length && place.start + place.length >= view.start;
}

}  // namespace

LinkStrip::LinkStrip(BySide<RichTextPane*> panes, QWidget* parent)
    : QWidget(parent), panes_(panes) {
    setObjectName(QStringLiteral("LinkStrip"));
    setAccessibleName(QStringLiteral("Links between the changes of both texts"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    for (RichTextPane* pane : panes_)
        connect(pane, &QPlainTextEdit::updateRequest, this, [this] { update(); });
}

void LinkStrip::setReviewed(std::shared_ptr<const Reviewed> reviewed) {
    reviewed_ = std::move(reviewed);
    update();
}

void LinkStrip::clear() {
    reviewed_.reset();
    painted_.clear();
    update();
}

TextRange LinkStrip::inView(Side side) const {
    RichTextPane* pane = panes_[side];
    const QRect view = pane->viewport()->rect();
    const qsizetype from = pane->toText(pane->cursorForPosition(view.topLeft())).at;
    const qsizetype to = pane->toText(pane->cursorForPosition(view.bottomRight())).at;
    return {from, to - from};
}

std::vector<LinkStrip::Band> LinkStrip::bandsIn(const BySide<TextRange>& views) const {
    std::vector<Band> bands;
    const Comparison& comparison = *reviewed_->comparison;
    // A side's differences stand in its text's order without overlapping: those in view are one
    // stretch of them.
    auto meeting = [&](Side side) {
        const std::vector<Difference>& differences = comparison.side(side).differences;
        const TextRange& view = views[side];
        const auto first = std::partition_point(
            differences.begin(), differences.end(),
            [&](const Difference& d) { return d.span.start + d.span.length < view.start; });
        const auto end = std::partition_point(first, differences.end(), [&](const Difference& d) {
            return d.span.start <= view.start + view.length;
        });
        return std::pair{size_t(first - differences.begin()), size_t(end - differences.begin())};
    };
    const auto [from1, to1] = meeting(Side::One);
    const std::vector<Difference>& in1 = comparison.side(Side::One).differences;
    const std::vector<Difference>& in2 = comparison.side(Side::Two).differences;
    auto add = [&](Side side, size_t index) {
        const TextRange other = reviewed_->otherPlace(side, index);
        if (other.start < 0 || bands.size() == kMostBands) return;
        Band band;
        band.place[side] = comparison.side(side).differences[index].span;
        band.place[Other(side)] = other;
        bands.push_back(band);
    };
    for (size_t i = from1; i < to1; ++i) add(Side::One, i);
    const auto [from2, to2] = meeting(Side::Two);
    for (size_t j = from2; j < to2; ++j) {
        // A replaced run is one band, drawn from file 1's side.
        const qint32 opposite = in2[j].opposite;
        if (opposite < 0)
            add(Side::Two, j);
        else if (size_t(opposite) < in1.size() &&
                 (size_t(opposite) < from1 || size_t(opposite) >= to1))
            add(Side::One, size_t(opposite));
    }
    const std::vector<Difference>& moved = comparison.side(Side::One).moved;
    for (size_t i = 0; i < moved.size() && bands.size() < kMostBands; ++i) {
        const Band band{{{moved[i].span, moved[i].other}}, true};
        if (moved[i].placed() && (meets(band.place[Side::One], views[Side::One]) ||
                                  meets(band.place[Side::Two], views[Side::Two])))
            bands.push_back(band);
    }
    return bands;
}

int LinkStrip::heightOf(Side side, qsizetype position, const TextRange& view) const {
    if (position < view.start) return -2;
    if (position > view.start + view.length) return height() + 2;
    RichTextPane* pane = panes_[side];
    const int y = pane->viewport()->mapTo(window(), QPoint(0, pane->lineMiddleY(position))).y() -
                  mapTo(window(), QPoint(0, 0)).y();
    return std::clamp(y, -2, height() + 2);
}

void LinkStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ReviewColours colours = ReviewColours::For(panes_[Side::One]->palette());
    painter.fillRect(rect(), colours.ground);
    painted_.clear();
    if (!reviewed_) return;
    const BySide<TextRange> views{{inView(Side::One), inView(Side::Two)}};
    painted_ = bandsIn(views);
    // Without antialiasing: a screen of word differences is dozens of bands, each repaint.
    // Bands between the same lines (the words of one line, say) are drawn once.
    std::vector<std::array<int, 4>> drawn;
    for (const Band& band : painted_) {
        BySide<std::pair<int, int>> ends;
        for (const Side side : kBothSides) {
            const TextRange& place = band.place[side];
            const int top = heightOf(side, place.start, views[side]);
            const int bottom = heightOf(side, place.start + place.length, views[side]);
            ends[side] = {std::min(top, bottom) - 2, std::max(top, bottom) + 2};
        }
        const std::array<int, 4> span{ends[Side::One].first, ends[Side::One].second,
                                      ends[Side::Two].first, ends[Side::Two].second};
        if (std::find(drawn.begin(), drawn.end(), span) != drawn.end()) continue;
        drawn.push_back(span);
        QPainterPath path;
        const qreal w = width();
        path.moveTo(0, ends[Side::One].first);
        path.cubicTo(w / 2, ends[Side::One].first, w / 2, ends[Side::Two].first, w,
                     ends[Side::Two].first);
        path.lineTo(w, ends[Side::Two].second);
        path.cubicTo(w / 2, ends[Side::Two].second, w / 2, ends[Side::One].second, 0,
                     ends[Side::One].second);
        path.closeSubpath();
        QColor fill = band.moved ? colours.moved : colours.difference;
        fill.setAlpha(90);
        painter.fillPath(path, fill);
        painter.setPen(band.moved ? colours.moved : colours.difference);
        painter.drawPath(path);
    }
}

}  // namespace corvella

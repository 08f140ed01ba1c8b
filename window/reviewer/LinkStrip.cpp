// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/LinkStrip.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

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
    bands_.clear();
    const Comparison& comparison = *reviewed->comparison;
    for (const Side side : kBothSides) {
        const std::vector<Difference>& differences = comparison.side(side).differences;
        for (size_t i = 0; i < differences.size(); ++i) {
            // A replaced run is one band, drawn from file 1's side.
            const TextRange other = reviewed->otherPlace(side, i);
            if (other.start < 0 || (side == Side::Two && differences[i].opposite >= 0)) continue;
            Band band;
            band.place[side] = differences[i].span;
            band.place[Other(side)] = other;
            bands_.push_back(band);
        }
    }
    for (const Difference& move : comparison.side(Side::One).moved)
        if (move.placed()) bands_.push_back({{{move.span, move.other}}, true});
    update();
}

void LinkStrip::clear() {
    bands_.clear();
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

int LinkStrip::heightOf(Side side, qsizetype position) const {
    RichTextPane* pane = panes_[side];
    QTextCursor cursor(pane->document());
    cursor.setPosition(int(std::min<qsizetype>(pane->toDocument({position}).at,
                                               pane->document()->characterCount() - 1)));
    const QRect line = pane->cursorRect(cursor);
    const int y = pane->viewport()->mapToGlobal(QPoint(0, line.center().y())).y() -
                  mapToGlobal(QPoint(0, 0)).y();
    return std::clamp(y, -2, height() + 2);
}

void LinkStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ReviewColours colours = ReviewColours::For(panes_[Side::One]->palette());
    painter.fillRect(rect(), colours.ground);
    painted_.clear();
    if (bands_.empty()) return;
    const BySide<TextRange> views{{inView(Side::One), inView(Side::Two)}};
    for (const Band& band : bands_) {
        if (painted_.size() == kMostBands) break;
        if (meets(band.place[Side::One], views[Side::One]) ||
            meets(band.place[Side::Two], views[Side::Two]))
            painted_.push_back(band);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Band& band : painted_) {
        BySide<std::pair<int, int>> ends;
        for (const Side side : kBothSides) {
            const TextRange& place = band.place[side];
            const int top = heightOf(side, place.start);
            const int bottom = heightOf(side, place.start + place.length);
            ends[side] = {std::min(top, bottom) - 2, std::max(top, bottom) + 2};
        }
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

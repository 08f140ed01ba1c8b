// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/PlaceMargin.h"

#include <QPainter>
#include <QScrollBar>

#include "window/pane/RichTextPane.h"
#include "window/reviewer/ReviewColours.h"

namespace corvella {

PlaceMargin::PlaceMargin(RichTextPane& pane, QWidget* parent) : QWidget(parent), pane_(pane) {
    setAccessibleName(QStringLiteral("Pages and lines"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    connect(&pane_, &QPlainTextEdit::updateRequest, this, [this] { update(); });
}

void PlaceMargin::setText(const QString& text, std::vector<int> pageNumbers) {
    text_ = text;
    locator_ = std::make_unique<TextPlaces::Locator>(text_);
    pageNumbers_ = std::move(pageNumbers);
    updateGeometry();
    update();
}

QString PlaceMargin::placeOf(qsizetype position) const {
    if (!locator_) return {};
    const TextPlaces::Place place = locator_->of({position, 0});
    const int page = place.page >= 1 && size_t(place.page) <= pageNumbers_.size()
                         ? pageNumbers_[size_t(place.page - 1)]
                         : place.page;
    return QStringLiteral("%1:%2").arg(page).arg(place.line);
}

QSize PlaceMargin::sizeHint() const {
    return {fontMetrics().horizontalAdvance(QStringLiteral("0000:000")) + 8, 0};
}

void PlaceMargin::paintEvent(QPaintEvent*) {
    const ReviewColours colours = ReviewColours::For(pane_.palette());
    QPainter painter(this);
    painter.fillRect(rect(), colours.ground);
    shown_.clear();
    if (!locator_ || pane_.text() != text_) return;
    painter.setPen(colours.margin);
    painter.setFont(pane_.font());
    QWidget* viewport = pane_.viewport();
    const int offset = viewport->mapToGlobal(QPoint(0, 0)).y() - mapToGlobal(QPoint(0, 0)).y();
    for (int y = 0; y < viewport->height();) {
        const QTextCursor cursor = pane_.cursorForPosition(QPoint(2, y));
        const QRect line = pane_.cursorRect(cursor);
        const QString place = placeOf(pane_.toText(cursor).at);
        // A line wrapped in view shows its place once, at its first row.
        if (shown_.isEmpty() || shown_.back() != place) {
            painter.drawText(QRect(0, line.top() + offset, width() - 4, line.height()),
                             Qt::AlignRight | Qt::AlignVCenter, place);
            shown_ << place;
        }
        y = std::max(y + 1, line.bottom() + 1);
    }
}

}  // namespace corvella

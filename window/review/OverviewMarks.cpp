// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/review/OverviewMarks.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTextBlock>
#include <QTextLayout>

#include "window/pane/PanePlaces.h"
#include "window/pane/RichTextPane.h"
#include "window/review/PaneOverlay.h"

namespace corvella {

namespace {
constexpr int kReach = 2;  // pixels either side of a mark that a click still hits
constexpr int kResummaryMs = 150;
}  // namespace

OverviewMarks::OverviewMarks(RichTextPane& pane, std::function<void(int)> clicked, QObject* parent)
    : QObject(parent), pane_(pane), bar_(pane.verticalScrollBar()), clicked_(std::move(clicked)) {
    resummarize_.setSingleShot(true);
    resummarize_.setInterval(kResummaryMs);
    connect(&resummarize_, &QTimer::timeout, this, [this] {
        summarize();
        bar_->update();
    });
    bar_->installEventFilter(this);
    // While lines keep coming or the bar keeps changing size, the older summary is stretched to
    // the track: the marks are summed up once it rests.
    connect(bar_, &QScrollBar::rangeChanged, this, [this] {
        if (!empty()) resummarize_.start();
    });
}

void OverviewMarks::setPlaces(Places places, std::vector<bool> moved) {
    places_ = std::move(places);
    moved_ = std::move(moved);
    summarize();
    bar_->update();
}

void OverviewMarks::setCurrent(std::optional<qsizetype> position) {
    current_ = position;
    bar_->update();
}

void OverviewMarks::clear() {
    places_ = std::make_shared<const std::vector<TextRange>>();
    moved_.clear();
    current_.reset();
    summary_ = {};
    bar_->update();
}

QRect OverviewMarks::track() const { return part(QStyle::SC_ScrollBarGroove); }

QRect OverviewMarks::part(QStyle::SubControl control) const {
    QStyleOptionSlider option;
    option.initFrom(bar_);
    option.subControls = QStyle::SC_All;
    option.orientation = bar_->orientation();
    option.minimum = bar_->minimum();
    option.maximum = bar_->maximum();
    option.sliderPosition = bar_->sliderPosition();
    option.sliderValue = bar_->value();
    option.singleStep = bar_->singleStep();
    option.pageStep = bar_->pageStep();
    option.upsideDown = bar_->invertedAppearance();
    return bar_->style()->subControlRect(QStyle::CC_ScrollBar, &option, control, bar_);
}

int OverviewMarks::totalLines() const { return bar_->maximum() + bar_->pageStep(); }

bool OverviewMarks::summaryIsCurrent() const {
    return summary_.pixels() == track().height() && summary_.totalLines == totalLines();
}

void OverviewMarks::summarize() {
    // One sweep over the paragraphs and the lines for places in text order.
    const std::vector<TextRange>& places = *places_;
    std::vector<OverviewSummary::Mark> marks(places.size());
    PanePlaces::ViewLines lines(pane_);
    for (size_t i = 0; i < places.size(); ++i)
        marks[i] = {lines.lineOf(places[i].start),
                    moved(i) ? OverviewSummary::kMoved : OverviewSummary::kDifference};
    summary_ = OverviewSummary::Of(marks, totalLines(), track().height());
}

bool OverviewMarks::eventFilter(QObject* watched, QEvent* event) {
    if (watched != bar_ || empty()) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Resize) resummarize_.start();
    if (event->type() == QEvent::Paint && !painting_) {
        painting_ = true;
        QCoreApplication::sendEvent(bar_, event);  // the bar paints itself first
        painting_ = false;
        paintMarks();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QRect groove = track();
        const QPoint at = mouse->position().toPoint();
        // A press on the slider drags it, whatever mark lies under it.
        if (mouse->button() != Qt::LeftButton || !groove.contains(at) || !summaryIsCurrent() ||
            part(QStyle::SC_ScrollBarSlider).contains(at))
            return false;
        if (const std::optional<int> mark = summary_.markNear(at.y() - groove.top(), kReach)) {
            clicked_(*mark);
            return true;
        }
    }
    return false;
}

void OverviewMarks::paintMarks() {
    if (!summaryIsCurrent() && !resummarize_.isActive()) resummarize_.start();
    const QRect groove = track();
    if (groove.height() <= 0 || summary_.pixels() <= 0) return;
    QPainter painter(bar_);
    const int left = groove.left() + 2;
    const int width = std::max(1, groove.width() - 4);
    // An older summary is stretched to the track until the new one is made.
    const double scale = double(groove.height()) / summary_.pixels();
    for (OverviewSummary::Kind kind : {OverviewSummary::kMoved, OverviewSummary::kDifference}) {
        const QColor color =
            kind == OverviewSummary::kMoved ? PaneOverlay::kMovedText : kDifference;
        for (int p = 0; p < summary_.pixels(); ++p) {
            if (summary_.kinds[size_t(p)] != kind) continue;
            painter.fillRect(left, groove.top() + int(p * scale) - 1, width, 3, color);
        }
    }
    if (current_) {
        const int line = PanePlaces::LineOf(pane_, *current_);
        const int y = groove.top() + int(summary_.pixelOf(line) * scale);
        painter.fillRect(groove.left(), y - 2, groove.width(), 5, kCurrent);
    }
}

}  // namespace corvella

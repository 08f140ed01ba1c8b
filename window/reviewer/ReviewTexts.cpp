// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/ReviewTexts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>

#include "window/reviewer/ReviewColours.h"

namespace corvella {

namespace {

Color paneColor(const QColor& colour) {
    return Color(colour.red()) | Color(colour.green()) << 8 | Color(colour.blue()) << 16;
}

// The pane's text where a text range stands, as a cursor over it.
QTextCursor cursorOver(RichTextPane& pane, const TextRange& range) {
    QTextCursor cursor(pane.document());
    const qsizetype end = pane.document()->characterCount() - 1;
    cursor.setPosition(int(std::min(pane.toDocument({range.start}).at, end)));
    cursor.setPosition(int(std::min(pane.toDocument({range.start + range.length}).at, end)),
                       QTextCursor::KeepAnchor);
    return cursor;
}

}  // namespace

ReviewTexts::ReviewTexts(EventPump* events, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("TextsSplitter"));
    splitter_->setChildrenCollapsible(false);
    layout->addWidget(splitter_);
    for (const Side side : kBothSides) {
        auto* holder = new QWidget(splitter_);
        auto* row = new QHBoxLayout(holder);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        RichTextPane* pane = panes_[side] = new RichTextPane(holder);
        pane->setObjectName(QStringLiteral("ReviewText%1").arg(TextPaneOf(side)));
        pane->setAccessibleName(QStringLiteral("Text of file %1").arg(TextPaneOf(side)));
        pane->setReadOnly(true);
        pane->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
        pane->setTabChangesFocus(true);
        pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        if (events) pane->keepLive(*events, std::chrono::milliseconds(15));
        margins_[side] = new PlaceMargin(*pane, holder);
        margins_[side]->setObjectName(QStringLiteral("Places%1").arg(TextPaneOf(side)));
        marks_[side] = new OverviewMarks(
            *pane,
            [this, side](int mark) {
                const std::vector<TextRange>& places = marks_[side]->places();
                if (mark >= 0 && size_t(mark) < places.size())
                    panes_[side]->showNearTop(places[size_t(mark)].start);
            },
            this);
        row->addWidget(margins_[side]);
        row->addWidget(pane, 1);
        splitter_->addWidget(holder);
    }
    strip_ = new LinkStrip(panes_, nullptr);
    splitter_->insertWidget(1, strip_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    splitter_->setStretchFactor(2, 1);
    link_ = new ScrollLink(panes_, this);
    basePoints_ = panes_[Side::One]->font().pointSizeF();
}

void ReviewTexts::review(std::shared_ptr<const Reviewed> reviewed) {
    reviewed_ = std::move(reviewed);
    redMarks_ = {};
    current_.reset();
    link_->drop();
    for (const Side side : kBothSides) {
        panes_[side]->setText(reviewed_->texts[side]);
        margins_[side]->setText(panes_[side]->text(), reviewed_->pageNumbers[side]);
    }
    paint();
    if (reviewed_->alignment) link(reviewed_);
    // A million differences take a while to sort into marks: on a thread, then painted.
    preparing_.start<Marks>(
        [comparison = reviewed_->comparison](const BackgroundWork::KeepGoing&) {
            return MarksOf(*comparison);
        },
        [this](Marks marks) {
            redMarks_ = std::move(marks.red);
            paint();
            // Each scroll bar's marks in a turn of the event loop of its own: 700,000 of them
            // take a while to sort into the bar's pixels.
            for (const Side side : kBothSides)
                QTimer::singleShot(0, marks_[side],
                                   [this, side, bar = std::move(marks.bar[side]),
                                    moved = std::move(marks.moved[side])] {
                                       marks_[side]->setPlaces(bar, moved);
                                   });
            strip_->setReviewed(reviewed_);
        });
}

void ReviewTexts::link(std::shared_ptr<const Reviewed> reviewed) {
    if (!reviewed_ || !reviewed->alignment) return;
    reviewed_ = std::move(reviewed);
    link_->link(reviewed_->alignment);
    link_->setFollowing(true);
    if (!busy()) strip_->setReviewed(reviewed_);
}

void ReviewTexts::clear() {
    preparing_.stop();
    redMarks_ = {};
    reviewed_.reset();
    current_.reset();
    link_->drop();
    strip_->clear();
    for (const Side side : kBothSides) {
        panes_[side]->setText(QString());
        panes_[side]->setExtraSelections({});
        margins_[side]->setText(QString(), {});
        marks_[side]->clear();
    }
}

void ReviewTexts::paint(bool repaint) {
    const ReviewColours colours = ReviewColours::For(palette());
    for (const Side side : kBothSides) {
        RichTextPane* pane = panes_[side];
        QPalette look = pane->palette();
        look.setColor(QPalette::Base, colours.ground);
        look.setColor(QPalette::Text, colours.text);
        pane->setPalette(look);
        if (!reviewed_ || redMarks_[side].empty()) continue;
        // A text just written has the palette's colour: only a new palette paints it again.
        if (repaint) pane->colorRanges({{0, pane->textLength()}}, paneColor(colours.text));
        pane->colorRanges(redMarks_[side], paneColor(colours.difference));
    }
    overlay(current_);
}

ReviewTexts::Marks ReviewTexts::MarksOf(const Comparison& comparison) {
    Marks marks;
    for (const Side side : kBothSides) {
        const ComparedSide& compared = comparison.side(side);
        marks.red[side] = compared.differenceMarks();
        std::vector<std::pair<TextRange, bool>> places;
        places.reserve(compared.differences.size() + compared.moved.size());
        for (const Difference& difference : compared.differences)
            places.push_back({difference.span, false});
        for (const Difference& move : compared.moved) places.push_back({move.span, true});
        // The layout-free differences stand in text order already: the few moves are merged in.
        auto byStart = [](const auto& a, const auto& b) { return a.first.start < b.first.start; };
        const auto movesFrom = places.begin() + qsizetype(compared.differences.size());
        if (std::is_sorted(places.begin(), movesFrom, byStart)) {
            std::sort(movesFrom, places.end(), byStart);
            std::inplace_merge(places.begin(), movesFrom, places.end(), byStart);
        } else {
            std::stable_sort(places.begin(), places.end(), byStart);
        }
        auto ranges = std::make_shared<std::vector<TextRange>>();
        ranges->reserve(places.size());
        for (const auto& [range, isMove] : places) {
            ranges->push_back(range);
            if (!compared.moved.empty()) marks.moved[side].push_back(isMove);
        }
        marks.bar[side] = std::move(ranges);
    }
    return marks;
}

void ReviewTexts::overlay(std::optional<BySide<TextRange>> current) {
    current_ = current;
    if (!reviewed_) return;
    const ReviewColours colours = ReviewColours::For(palette());
    for (const Side side : kBothSides) {
        RichTextPane& pane = *panes_[side];
        QList<QTextEdit::ExtraSelection> shown;
        for (const Difference& move : reviewed_->comparison->side(side).moved) {
            QTextEdit::ExtraSelection selection{cursorOver(pane, move.span), {}};
            selection.format.setForeground(colours.moved);
            selection.format.setBackground(colours.movedGround);
            shown << selection;
        }
        if (current_ && marked_[side]) {
            QTextEdit::ExtraSelection selection{cursorOver(pane, (*current_)[side]), {}};
            selection.format.setBackground(colours.otherGround);
            selection.format.setForeground(colours.text);
            if ((*current_)[side].length == 0)
                selection.format.setProperty(QTextFormat::FullWidthSelection, true);
            shown << selection;
        }
        pane.setExtraSelections(shown);
    }
}

void ReviewTexts::goTo(const ChangeList& list, const Change& change) {
    if (!reviewed_) return;
    BySide<TextRange> places;
    for (const Side side : kBothSides) {
        const Difference* own = list.on(change, side);
        const Difference* other = list.on(change, Other(side));
        places[side] = {0, 0};
        if (own)
            places[side] = own->span;
        else if (other && change.source != ChangeSource::Differences)
            places[side] = other->other;
        else if (other &&
                 reviewed_->otherPlace(Other(side), size_t(change.index[Other(side)])).start >= 0)
            places[side] = reviewed_->otherPlace(Other(side), size_t(change.index[Other(side)]));
        marked_[side] = own == nullptr;
    }
    const Side lead = change.has(Side::One) ? Side::One : Side::Two;
    panes_[lead]->showNearTop(places[lead].start);
    link_->showAtSameHeight(Other(lead), places[Other(lead)].start, places[lead].start);
    if (!link_->ready()) panes_[Other(lead)]->showNearTop(places[Other(lead)].start);
    for (const Side side : kBothSides) {
        // The scroll bar marks the change gone to apart.
        marks_[side]->setCurrent(places[side].start);
        if (marked_[side]) continue;
        panes_[side]->setSelStart(places[side].start);
        panes_[side]->setSelLength(places[side].length);
    }
    overlay(places);
}

bool ReviewTexts::find(const QString& text, Qt::CaseSensitivity caseSensitivity, bool backward) {
    if (text.isEmpty()) return false;
    const Side first = panes_[Side::Two]->hasFocus()   ? Side::Two
                       : panes_[Side::One]->hasFocus() ? Side::One
                                                       : lastFound_;
    auto search = [&](Side side, qsizetype from) -> qsizetype {
        const QString& all = panes_[side]->text();
        return backward ? all.lastIndexOf(text, from, caseSensitivity)
                        : all.indexOf(text, from, caseSensitivity);
    };
    // From the selection on in the first text, then the whole of the other, then the first
    // round from its other end.
    auto whole = [&](Side side) { return backward ? panes_[side]->textLength() : 0; };
    RichTextPane* pane = panes_[first];
    const qsizetype start = backward ? pane->selStart() - 1 : pane->selStart() + pane->selLength();
    const std::pair<Side, qsizetype> tries[] = {
        {first, start}, {Other(first), whole(Other(first))}, {first, whole(first)}};
    for (const auto& [side, from] : tries) {
        const qsizetype at = from < 0 ? -1 : search(side, from);
        if (at < 0) continue;
        RichTextPane* found = panes_[side];
        found->setSelStart(at);
        found->setSelLength(text.size());
        found->bringIntoView(at);
        lastFound_ = side;
        return true;
    }
    return false;
}

void ReviewTexts::zoom(int steps) {
    const qreal points = std::clamp(pointSize() + steps, 4.0, 72.0);
    if (points == pointSize()) return;
    for (const Side side : kBothSides) {
        QFont font = panes_[side]->font();
        font.setPointSizeF(points);
        panes_[side]->setFont(font);
        margins_[side]->setFont(font);
        margins_[side]->updateGeometry();
    }
}

void ReviewTexts::resetZoom() { zoom(int(basePoints_ - pointSize())); }

qreal ReviewTexts::pointSize() const { return panes_[Side::One]->font().pointSizeF(); }

void ReviewTexts::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) paint(true);
    QWidget::changeEvent(event);
}

}  // namespace corvella

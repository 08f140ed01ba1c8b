// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/review/SideBySideReview.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "diff/OtherSide.h"
#include "window/pane/PanePlaces.h"

namespace corvella {

namespace {

TextRange trimmed(QStringView text, TextRange range) {
    qsizetype from = std::clamp<qsizetype>(range.start, 0, text.size());
    qsizetype to = std::clamp<qsizetype>(range.start + range.length, from, text.size());
    while (from < to && text[from].isSpace()) ++from;
    while (to > from && text[to - 1].isSpace()) --to;
    return {from, to - from};
}

bool isInput(QEvent::Type type) {
    return type == QEvent::KeyPress || type == QEvent::MouseButtonPress || type == QEvent::Wheel;
}

}  // namespace

SideBySideReview::SideBySideReview(MainWindow& window, const std::array<RichTextPane*, 4>& panes,
                                   ReviewKeys& keys, ShownComparison& shown, QObject* parent)
    : QObject(parent),
      window_(window),
      texts_{{panes[0], panes[1]}},
      lists_{{panes[2], panes[3]}},
      keys_(keys),
      shown_(shown),
      link_(texts_, this) {
    scrollTogether_ = new QAction(kScrollTogether, this);
    scrollTogether_->setObjectName(QStringLiteral("ScrollPanesTogether"));
    scrollTogether_->setCheckable(true);
    scrollTogether_->setEnabled(false);
    connect(scrollTogether_, &QAction::toggled, this, [this](bool on) { link_.setFollowing(on); });

    for (const Side side : kBothSides) {
        RichTextPane* pane = texts_[side];
        overlays_[side] = std::make_unique<PaneOverlay>(*pane);
        marks_[side] = new OverviewMarks(
            *pane, [this, side](int mark) { clickedMark(side, mark); }, this);
        auto* go = new QAction(kGoToOtherPlace, pane);
        go->setObjectName(QStringLiteral("GoToOtherPlace%1").arg(TextPaneOf(side)));
        go->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
        go->setShortcutContext(Qt::WidgetShortcut);
        connect(go, &QAction::triggered, this, [this, side, pane] {
            if (!showOtherPlaceOf(side, pane->selStart()) && window_.services().beep)
                window_.services().beep();
        });
        pane->addAction(go);
        goToOtherPlace_[side] = go;
        for (QObject* watched :
             {static_cast<QObject*>(pane), static_cast<QObject*>(pane->viewport()),
              static_cast<QObject*>(pane->verticalScrollBar())})
            watched->installEventFilter(this);
        // New text in either pane ends the review of the texts compared.
        connect(pane, &RichTextPane::textRevised, this, [this] {
            if (!reviewing_ || checkScheduled_) return;
            checkScheduled_ = true;
            // Once the command that writes it has written it all.
            QMetaObject::invokeMethod(
                this, [this] { checkTexts(); }, Qt::QueuedConnection);
        });
        lists_[side]->installEventFilter(this);
        listViewports_[side] = lists_[side]->viewport();
        listViewports_[side]->installEventFilter(this);
    }
    keys_.setOnWent([this](int pane, TextRange place) { went(pane, place); });
    keys_.setMenuAddition([this](int pane, const QPoint& position, QMenu& menu, QAction* before) {
        addToMenu(pane, position, menu, before);
    });
}

void SideBySideReview::checkTexts() {
    checkScheduled_ = false;
    const std::shared_ptr<const ShownComparison::Stage> stage = shown_.stage();
    if (reviewing_ && (!stage || !stage->holdsText(Side::One, *texts_[Side::One]) ||
                       !stage->holdsText(Side::Two, *texts_[Side::Two])))
        endReview();
}

void SideBySideReview::endReview() {
    reviewing_ = false;
    ++generation_;
    preparation_.stop();
    link_.drop();
    for (const Side side : kBothSides) {
        overlays_[side]->clear();
        marks_[side]->clear();
    }
    scrollTogether_->setEnabled(false);
}

void SideBySideReview::comparisonStarting() { endReview(); }

void SideBySideReview::comparisonEnded(bool linkable) {
    endReview();
    if (!linkable || !window_.ComparisonDone || !shown_.stage()) return;
    reviewing_ = true;
    scrollTogether_->setEnabled(true);
    scrollTogether_->setChecked(true);
    if (shown_.comparison().method == Method::IgnoringLayout) {
        for (const Side side : kBothSides) {
            std::vector<TextRange> moves;
            for (const Difference& move : compared(side).moved) moves.push_back(move.span);
            overlays_[side]->setMoves(std::move(moves));
        }
    }
    // The marks of a thousand pages of differing words take a while: each pane's in a turn of
    // the event loop of its own, then the link's preparation starts.
    setUpLater(1);
}

void SideBySideReview::setUpLater(int step) {
    setUpPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, step, generation = generation_] {
            setUpPending_ = false;
            if (generation != generation_ || !reviewing_) return;
            if (step <= 2) {
                markOverview(step == 1 ? Side::One : Side::Two);
                setUpLater(step + 1);
            } else {
                prepareLink();
            }
        },
        Qt::QueuedConnection);
}

void SideBySideReview::prepareLink() {
    const std::shared_ptr<const ShownComparison::Stage> stage = shown_.stage();
    const BySide<QString>& texts = stage->panes.texts;
    // The alignment of two texts of five thousand pages each would hold the window's memory past
    // a gigabyte on top of the texts and the comparison: such panes stay unlinked, with their
    // marks.
    constexpr qsizetype kLargestLinkedCharacters = 20'000'000;
    if (texts[Side::One].size() + texts[Side::Two].size() > kLargestLinkedCharacters) return;
    // The line and word comparisons' differences get their places in the other text with the
    // alignment; the layout-free one placed its own.
    std::shared_ptr<const Comparison> toPlace;
    if (stage->comparison->method != Method::IgnoringLayout) toPlace = stage->comparison;
    preparation_.start(
        texts[Side::One], texts[Side::Two], std::move(toPlace),
        [this, stage](LinkPreparation::Ready ready) { linkReadyNow(std::move(ready), stage); });
}

void SideBySideReview::linkReadyNow(LinkPreparation::Ready ready,
                                    const std::shared_ptr<const ShownComparison::Stage>& stage) {
    if (stage != shown_.stage() || !reviewing_) return;
    shown_.link(stage, std::move(ready.others), std::move(ready.alignment));
    link_.link(shown_.stage()->alignment);
    link_.setFollowing(scrollTogether_->isChecked());
}

std::optional<TextRange> SideBySideReview::otherSideOf(Side side, TextRange place) const {
    std::optional<TextRange> other =
        OtherSide::Of(compared(side).differences, place, shown_.stage()->othersOf(side));
    if (!other && link_.ready())
        other = trimmed(texts_[Other(side)]->text(), link_.alignment().counterpart(side, place));
    return other;
}

void SideBySideReview::went(int pane, TextRange place) {
    if (IsWorkPane(pane) || !reviewing_) return;
    const Side side = SideOfPane(pane);
    marks_[side]->setCurrent(place.start);
    clearHighlights();
    if (const std::optional<TextRange> other = otherSideOf(side, place))
        showOtherSide(side, place, *other);
}

void SideBySideReview::showOtherSide(Side side, TextRange place, TextRange other) {
    link_.showAtSameHeight(Other(side), other.start, place.start);
    overlays_[Other(side)]->setOtherSide(other);
}

std::optional<size_t> SideBySideReview::movedAt(Side side, qsizetype position) const {
    if (!reviewing_) return std::nullopt;
    return OtherSide::Holding(compared(side).moved, position);
}

bool SideBySideReview::showOtherPlaceOf(Side side, qsizetype position) {
    if (!reviewing_) return false;
    clearHighlights();
    if (const std::optional<size_t> move = movedAt(side, position)) {
        const Difference& moved = compared(side).moved[*move];
        if (!moved.placed()) return false;
        showOtherSide(side, moved.span, moved.other);
        return true;
    }
    const TextRange place{position, 0};
    const std::optional<TextRange> other = otherSideOf(side, place);
    if (!other || OtherSide::Meeting(compared(side).differences, place).empty()) return false;
    showOtherSide(side, place, *other);
    return true;
}

void SideBySideReview::markOverview(Side side) {
    // The walk's stops in text order, the moves (few) merged in.
    const ShownComparison::Stage::Ranges stops = shown_.stage()->stops(side);
    std::vector<TextRange> moves;
    if (shown_.comparison().method == Method::IgnoringLayout)
        for (const Difference& move : compared(side).moved) moves.push_back(move.span);
    if (moves.empty()) {  // a thousand pages of differing words: the walk's stops, not a copy
        marks_[side]->setPlaces(stops, {});
        return;
    }
    auto byStart = [](const TextRange& a, const TextRange& b) { return a.start < b.start; };
    std::sort(moves.begin(), moves.end(), byStart);
    std::vector<TextRange> all(stops->size() + moves.size());
    std::merge(stops->begin(), stops->end(), moves.begin(), moves.end(), all.begin(), byStart);
    std::vector<bool> isMove(all.size(), false);
    for (size_t i = 0, m = 0; i < all.size() && m < moves.size(); ++i) {
        if (all[i].start != moves[m].start || all[i].length != moves[m].length) continue;
        isMove[i] = true;
        ++m;
    }
    marks_[side]->setPlaces(std::make_shared<const std::vector<TextRange>>(std::move(all)),
                            std::move(isMove));
}

void SideBySideReview::clickedMark(Side side, int mark) {
    const OverviewMarks& marks = *marks_[side];
    if (mark < 0 || size_t(mark) >= marks.places().size()) return;
    const TextRange place = marks.places()[size_t(mark)];
    if (!marks.moved(size_t(mark))) {
        keys_.goTo(TextPaneOf(side), place);
        return;
    }
    texts_[side]->bringIntoView(place.start);
    showOtherPlaceOf(side, place.start);
}

void SideBySideReview::clearHighlights() {
    for (const std::unique_ptr<PaneOverlay>& overlay : overlays_)
        overlay->setOtherSide(std::nullopt);
}

void SideBySideReview::goToEntry(Side side, qsizetype position) {
    const std::shared_ptr<const ShownComparison::Stage> stage = shown_.stage();
    const qsizetype index =
        reviewing_ && stage->holdsList(side, *lists_[side]) ? stage->entryAt(side, position) : -1;
    if (index < 0) {
        if (window_.services().beep) window_.services().beep();
        return;
    }
    const TextRange span = compared(side).differences[size_t(index)].span;
    window_.selectOption(1);
    RichTextPane* text = texts_[side];
    // The stop that holds the difference, so the keys go on from there.
    TextRange place = span;
    const std::vector<TextRange>& stops = *stage->stops(side);
    auto after =
        std::upper_bound(stops.begin(), stops.end(), span.start,
                         [](qsizetype p, const TextRange& stop) { return p < stop.start; });
    if (after != stops.begin() && std::prev(after)->start + std::prev(after)->length > span.start)
        place = *std::prev(after);
    text->setFocus(Qt::OtherFocusReason);
    keys_.goTo(TextPaneOf(side), place);
}

void SideBySideReview::addToMenu(int pane, const QPoint& position, QMenu& menu, QAction* before) {
    const Side side = SideOfPane(pane);
    RichTextPane* view = IsWorkPane(pane) ? lists_[side] : texts_[side];
    const qsizetype at = view->toText(view->cursorForPosition(position)).at;
    if (IsWorkPane(pane)) {
        auto* show = new QAction(kShowInText, &menu);
        show->setEnabled(reviewing_);
        connect(show, &QAction::triggered, this, [this, side, at] { goToEntry(side, at); });
        menu.insertAction(before, show);
        return;
    }
    menu.insertAction(before, scrollTogether_);
    auto* go = new QAction(kGoToOtherPlace, &menu);
    go->setEnabled(
        movedAt(side, at).has_value() ||
        (reviewing_ && !OtherSide::Meeting(compared(side).differences, {at, 0}).empty()));
    connect(go, &QAction::triggered, this, [this, side, at] { showOtherPlaceOf(side, at); });
    menu.insertAction(before, go);
}

bool SideBySideReview::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // Without a comparison shown, a work pane takes its keys and clicks as any text box does.
    for (const Side side : kBothSides) {
        RichTextPane* list = lists_[side];
        if (!reviewing_) break;
        if (watched == listViewports_[side] && type == QEvent::MouseButtonDblClick) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            goToEntry(side, list->toText(list->cursorForPosition(at)).at);
            return true;
        }
        if (watched == list && type == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                goToEntry(side, list->toText(list->textCursor()).at);
                return true;
            }
        }
    }
    // The other side's mark goes with the next key, scroll or click in either text pane.
    if (isInput(type)) clearHighlights();
    return QObject::eventFilter(watched, event);
}

}  // namespace corvella

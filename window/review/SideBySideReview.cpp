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
                                   ReviewKeys& keys, Comparison& comparison, QObject* parent)
    : QObject(parent),
      window_(window),
      panes_(panes),
      keys_(keys),
      comparison_(comparison),
      link_({panes[0], panes[0]}, {panes[1], panes[1]}, this) {
    scrollTogether_ = new QAction(kScrollTogether, this);
    scrollTogether_->setObjectName(QStringLiteral("ScrollPanesTogether"));
    scrollTogether_->setCheckable(true);
    scrollTogether_->setEnabled(false);
    connect(scrollTogether_, &QAction::toggled, this, [this](bool on) { link_.setFollowing(on); });

    for (int number = 1; number <= 2; ++number) {
        RichTextPane* pane = panes_[size_t(number - 1)];
        overlays_[size_t(number - 1)] = std::make_unique<PaneOverlay>(*pane);
        marks_[size_t(number - 1)] = new OverviewMarks(
            *pane, [this, number](int mark) { clickedMark(number, mark); }, this);
        auto* go = new QAction(kGoToOtherPlace, pane);
        go->setObjectName(QStringLiteral("GoToOtherPlace%1").arg(number));
        go->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
        go->setShortcutContext(Qt::WidgetShortcut);
        connect(go, &QAction::triggered, this, [this, number, pane] {
            if (!showOtherPlaceOf(number, pane->selStart()) && window_.services().beep)
                window_.services().beep();
        });
        pane->addAction(go);
        goToOtherPlace_[size_t(number - 1)] = go;
        for (QObject* watched :
             {static_cast<QObject*>(pane), static_cast<QObject*>(pane->viewport()),
              static_cast<QObject*>(pane->verticalScrollBar())})
            watched->installEventFilter(this);
        // New text in either pane ends the review of the texts compared.
        connect(pane->document(), &QTextDocument::contentsChange, this, [this] {
            if (!reviewing_ || checkScheduled_) return;
            checkScheduled_ = true;
            // After the pane has counted the change (a text is written after its document is
            // cleared).
            QMetaObject::invokeMethod(
                this, [this] { checkTexts(); }, Qt::QueuedConnection);
        });
    }
    for (int work = 3; work <= 4; ++work) {
        panes_[size_t(work - 1)]->installEventFilter(this);
        workViewports_[size_t(work - 3)] = panes_[size_t(work - 1)]->viewport();
        workViewports_[size_t(work - 3)]->installEventFilter(this);
    }
    keys_.setOnWent([this](int pane, TextRange place) { went(pane, place); });
    keys_.setMenuAddition([this](int pane, const QPoint& position, QMenu& menu, QAction* before) {
        addToMenu(pane, position, menu, before);
    });
}

void SideBySideReview::checkTexts() {
    checkScheduled_ = false;
    if (reviewing_ &&
        (panes_[0]->textRevision() != revisions_[0] || panes_[1]->textRevision() != revisions_[1]))
        endReview();
}

void SideBySideReview::endReview() {
    reviewing_ = false;
    ++generation_;
    preparation_.stop();
    link_.drop();
    for (int number = 1; number <= 2; ++number) {
        overlays_[size_t(number - 1)]->clear();
        marks_[size_t(number - 1)]->clear();
    }
    scrollTogether_->setEnabled(false);
}

void SideBySideReview::comparisonStarting() { endReview(); }

void SideBySideReview::comparisonEnded(bool linkable) {
    endReview();
    if (!linkable || !window_.ComparisonDone) return;
    reviewing_ = true;
    revisions_ = {panes_[0]->textRevision(), panes_[1]->textRevision()};
    scrollTogether_->setEnabled(true);
    scrollTogether_->setChecked(true);
    const bool layoutFree = comparison_.method == Method::IgnoringLayout;
    for (int number = 1; number <= 2; ++number) {
        if (layoutFree) {
            std::vector<TextRange> moves;
            for (const Difference& move : comparison_.side(SideOfPane(number)).moved)
                moves.push_back(move.span);
            overlays_[size_t(number - 1)]->setMoves(std::move(moves));
        }
    }
    // The marks of a thousand pages of differing words take a while: each pane's in a turn of
    // the event loop of its own, then the link's preparation starts.
    setUpLater(1);
}

void SideBySideReview::setUpLater(int step) {
    QMetaObject::invokeMethod(
        this,
        [this, step, generation = generation_] {
            if (generation != generation_ || !reviewing_) return;
            if (step <= 2) {
                markOverview(step);
                setUpLater(step + 1);
            } else {
                prepareLink();
            }
        },
        Qt::QueuedConnection);
}

void SideBySideReview::prepareLink() {
    // The alignment of two texts of five thousand pages each would hold the window's memory past
    // a gigabyte on top of the texts and the comparison: such panes stay unlinked, with their
    // marks.
    constexpr qsizetype kLargestLinkedCharacters = 20'000'000;
    if (panes_[0]->textLength() + panes_[1]->textLength() > kLargestLinkedCharacters) return;
    const bool layoutFree = comparison_.method == Method::IgnoringLayout;
    // The line and word comparisons' differences get their places in the other text with the
    // alignment; the layout-free one placed its own.
    std::optional<Comparison> toPlace;
    if (!layoutFree) {
        toPlace.emplace();
        toPlace->method = comparison_.method;
        for (const Side side : kBothSides)
            toPlace->side(side).differences = comparison_.side(side).differences;
    }
    preparation_.start(panes_[0]->text(), panes_[1]->text(), std::move(toPlace),
                       [this, generation = generation_](LinkPreparation::Ready ready) {
                           linkReadyNow(std::move(ready), generation);
                       });
}

void SideBySideReview::linkReadyNow(LinkPreparation::Ready ready, quint64 generation) {
    if (generation != generation_ || !reviewing_) return;
    if (ready.placed)
        for (const Side side : kBothSides)
            if ((*ready.placed)[IndexOf(side)].size() == comparison_.side(side).differences.size())
                comparison_.side(side).differences = std::move((*ready.placed)[IndexOf(side)]);
    link_.link(std::move(ready.alignment));
    link_.setFollowing(scrollTogether_->isChecked());
}

std::optional<TextRange> SideBySideReview::otherSideOf(int pane, TextRange place) const {
    std::optional<TextRange> other =
        OtherSide::Of(comparison_.side(SideOfPane(pane)).differences, place);
    if (!other && link_.ready())
        other = trimmed(panes_[size_t(2 - pane)]->text(),
                        link_.alignment().counterpart(SideOfPane(pane), place));
    return other;
}

void SideBySideReview::went(int pane, TextRange place) {
    if (pane > 2 || !reviewing_) return;
    marks_[size_t(pane - 1)]->setCurrent(place.start);
    clearHighlights();
    if (const std::optional<TextRange> other = otherSideOf(pane, place))
        showOtherSide(pane, place, *other);
}

void SideBySideReview::showOtherSide(int pane, TextRange place, TextRange other) {
    const int otherPane = 3 - pane;
    link_.showAtSameHeight(otherPane, other.start, place.start);
    overlays_[size_t(otherPane - 1)]->setOtherSide(other);
}

std::optional<size_t> SideBySideReview::movedAt(int pane, qsizetype position) const {
    if (!reviewing_) return std::nullopt;
    return OtherSide::Holding(comparison_.side(SideOfPane(pane)).moved, position);
}

bool SideBySideReview::showOtherPlaceOf(int pane, qsizetype position) {
    if (!reviewing_) return false;
    clearHighlights();
    if (const std::optional<size_t> move = movedAt(pane, position)) {
        const Difference& moved = comparison_.side(SideOfPane(pane)).moved[*move];
        if (!moved.placed()) return false;
        showOtherSide(pane, moved.span, moved.other);
        return true;
    }
    const TextRange place{position, 0};
    const std::optional<TextRange> other = otherSideOf(pane, place);
    if (!other || OtherSide::Meeting(comparison_.side(SideOfPane(pane)).differences, place).empty())
        return false;
    showOtherSide(pane, place, *other);
    return true;
}

void SideBySideReview::markOverview(int pane) {
    // The walked runs in text order, the moves (few) merged in.
    DifferenceReview::Places walked = keys_.review().places(*panes_[size_t(pane - 1)], pane);
    std::vector<TextRange> moves;
    if (comparison_.method == Method::IgnoringLayout)
        for (const Difference& move : comparison_.side(SideOfPane(pane)).moved)
            moves.push_back(move.span);
    if (moves.empty()) {  // a thousand pages of differing words: the walk's places, not a copy
        marks_[size_t(pane - 1)]->setPlaces(std::move(walked), {});
        return;
    }
    auto byStart = [](const TextRange& a, const TextRange& b) { return a.start < b.start; };
    std::sort(moves.begin(), moves.end(), byStart);
    std::vector<TextRange> all(walked->size() + moves.size());
    std::merge(walked->begin(), walked->end(), moves.begin(), moves.end(), all.begin(), byStart);
    std::vector<bool> isMove(all.size(), false);
    for (size_t i = 0, m = 0; i < all.size() && m < moves.size(); ++i) {
        if (all[i].start != moves[m].start || all[i].length != moves[m].length) continue;
        isMove[i] = true;
        ++m;
    }
    marks_[size_t(pane - 1)]->setPlaces(
        std::make_shared<const std::vector<TextRange>>(std::move(all)), std::move(isMove));
}

void SideBySideReview::clickedMark(int pane, int mark) {
    const OverviewMarks& marks = *marks_[size_t(pane - 1)];
    if (mark < 0 || size_t(mark) >= marks.places().size()) return;
    const TextRange place = marks.places()[size_t(mark)];
    if (!marks.moved(size_t(mark))) {
        keys_.goTo(pane, place);
        return;
    }
    panes_[size_t(pane - 1)]->bringIntoView(place.start);
    showOtherPlaceOf(pane, place.start);
}

void SideBySideReview::clearHighlights() {
    for (const std::unique_ptr<PaneOverlay>& overlay : overlays_)
        overlay->setOtherSide(std::nullopt);
}

void SideBySideReview::goToEntry(int workPane, int entry) {
    const int pane = workPane - 2;
    const std::vector<Difference>& differences = comparison_.side(SideOfPane(pane)).differences;
    // The line comparison lists from the first line on; the others after an empty first line.
    const int index = entry - (comparison_.method == Method::Lines ? 0 : 1);
    if (!reviewing_ || index < 0 || size_t(index) >= differences.size()) {
        if (window_.services().beep) window_.services().beep();
        return;
    }
    const TextRange span = differences[size_t(index)].span;
    window_.selectOption(1);
    RichTextPane* text = panes_[size_t(pane - 1)];
    // The walked run that holds the difference, so the keys go on from there.
    TextRange place = span;
    const DifferenceReview::Places walked = keys_.review().places(*text, pane);
    auto after = std::upper_bound(walked->begin(), walked->end(), span.start,
                                  [](qsizetype p, const TextRange& run) { return p < run.start; });
    if (after != walked->begin() && std::prev(after)->start + std::prev(after)->length > span.start)
        place = *std::prev(after);
    text->setFocus(Qt::OtherFocusReason);
    keys_.goTo(pane, place);
}

void SideBySideReview::addToMenu(int pane, const QPoint& position, QMenu& menu, QAction* before) {
    RichTextPane* view = panes_[size_t(pane - 1)];
    const qsizetype at = view->toText(view->cursorForPosition(position).position());
    if (pane >= 3) {
        auto* show = new QAction(kShowInText, &menu);
        show->setEnabled(reviewing_);
        const int entry = int(view->textLineOf(view->cursorForPosition(position).position()));
        connect(show, &QAction::triggered, this, [this, pane, entry] { goToEntry(pane, entry); });
        menu.insertAction(before, show);
        return;
    }
    menu.insertAction(before, scrollTogether_);
    auto* go = new QAction(kGoToOtherPlace, &menu);
    go->setEnabled(
        movedAt(pane, at).has_value() ||
        (reviewing_ &&
         !OtherSide::Meeting(comparison_.side(SideOfPane(pane)).differences, {at, 0}).empty()));
    connect(go, &QAction::triggered, this, [this, pane, at] { showOtherPlaceOf(pane, at); });
    menu.insertAction(before, go);
}

bool SideBySideReview::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // Without a comparison shown, a work pane takes its keys and clicks as any text box does.
    for (int work = 3; work <= 4 && reviewing_; ++work) {
        RichTextPane* pane = panes_[size_t(work - 1)];
        if (watched == workViewports_[size_t(work - 3)] && type == QEvent::MouseButtonDblClick) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            goToEntry(work, int(pane->textLineOf(pane->cursorForPosition(at).position())));
            return true;
        }
        if (watched == pane && type == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                goToEntry(work, int(pane->textLineOf(pane->textCursor().position())));
                return true;
            }
        }
    }
    // The other side's mark goes with the next key, scroll or click in either text pane.
    if (isInput(type)) clearHighlights();
    return QObject::eventFilter(watched, event);
}

}  // namespace corvella

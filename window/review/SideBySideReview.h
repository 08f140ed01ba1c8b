// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <array>
#include <memory>
#include <optional>

#include "core/MainWindow.h"
#include "core/Side.h"
#include "window/pane/RichTextPane.h"
#include "window/review/LinkPreparation.h"
#include "window/review/OverviewMarks.h"
#include "window/review/PaneOverlay.h"
#include "window/review/ReviewKeys.h"
#include "window/review/ScrollLink.h"
#include "window/review/ShownComparison.h"

class QAction;

namespace corvella {

// Reviewing both texts at once after a comparison: panes 1 and 2 scroll together, the other side
// of each difference gone to is shown and marked in the other pane, moved runs have a colour of
// their own, each pane's scroll bar marks where its differences stand, and an entry of a work
// pane leads to its place in the text. All of it reads the comparison shown. Nothing here changes
// a pane's text, colours or selection, except going to a place as the difference keys do.
class SideBySideReview : public QObject {
public:
    static inline const QString kScrollTogether = QStringLiteral("Scroll Panes Together");
    static inline const QString kGoToOtherPlace = QStringLiteral("Go to Other Place");
    static inline const QString kShowInText = QStringLiteral("Show in Text");

    SideBySideReview(MainWindow& window, const std::array<RichTextPane*, 4>& panes,
                     ReviewKeys& keys, ShownComparison& shown, QObject* parent);

    // Around a Find Differences command; `linkable`: it compared the texts with the standard
    // method, and the comparison shown is what it found.
    void comparisonStarting();
    void comparisonEnded(bool linkable);

    // The link is made (its alignment ready) and both texts are still those compared.
    bool linkReady() const { return link_.ready(); }
    bool preparing() const { return preparation_.running(); }
    // The review of the last comparison is still being set up: its marks, or its link.
    bool settingUp() const { return setUpPending_ || preparing(); }

    QAction* scrollTogether() const { return scrollTogether_; }
    // Ctrl+G in pane 1 or 2: the other place of the moved run (or difference) at the caret.
    QAction* goToOtherPlace(int pane) const { return goToOtherPlace_[SideOfPane(pane)]; }

    const PaneOverlay& overlay(int pane) const { return *overlays_[SideOfPane(pane)]; }
    const OverviewMarks& marks(int pane) const { return *marks_[SideOfPane(pane)]; }

    // The other place of what stands at `position` of a side's text pane, brought to the same
    // height in the other pane and marked there; false when nothing there has one.
    bool showOtherPlaceOf(Side side, qsizetype position);
    // "Show in Text" for the entry at `position` of a side's work pane.
    void goToEntry(Side side, qsizetype position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void checkTexts();
    void endReview();
    void setUpLater(int step);
    void prepareLink();
    void linkReadyNow(LinkPreparation::Ready ready,
                      const std::shared_ptr<const ShownComparison::Stage>& stage);
    void went(int pane, TextRange place);
    void showOtherSide(Side side, TextRange place, TextRange other);
    std::optional<TextRange> otherSideOf(Side side, TextRange place) const;
    void markOverview(Side side);
    void clickedMark(Side side, int mark);
    void clearHighlights();
    void addToMenu(int pane, const QPoint& position, QMenu& menu, QAction* before);
    std::optional<size_t> movedAt(Side side, qsizetype position) const;
    const ComparedSide& compared(Side side) const { return shown_.comparison().side(side); }

    MainWindow& window_;
    BySide<RichTextPane*> texts_;
    BySide<RichTextPane*> lists_;
    BySide<QObject*> listViewports_{};
    ReviewKeys& keys_;
    ShownComparison& shown_;
    ScrollLink link_;
    LinkPreparation preparation_{this};
    BySide<std::unique_ptr<PaneOverlay>> overlays_;
    BySide<OverviewMarks*> marks_{};
    QAction* scrollTogether_ = nullptr;
    BySide<QAction*> goToOtherPlace_{};
    quint64 generation_ = 0;
    bool reviewing_ = false;  // the comparison shown is that of the texts in the panes
    bool checkScheduled_ = false;
    bool setUpPending_ = false;
};

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <array>
#include <memory>
#include <optional>

#include "core/MainWindow.h"
#include "diff/Comparison.h"
#include "window/review/LinkPreparation.h"
#include "window/review/OverviewMarks.h"
#include "window/review/PaneOverlay.h"
#include "window/review/ReviewKeys.h"
#include "window/pane/RichTextPane.h"
#include "window/review/ScrollLink.h"

class QAction;

namespace corvella {

// Reviewing both texts at once after a comparison: panes 1 and 2 scroll together, the other side
// of each difference gone to is shown and marked in the other pane, moved runs have a colour of
// their own, each pane's scroll bar marks where its differences stand, and an entry of a work
// pane leads to its place in the text. Nothing here changes a pane's text, colours or selection,
// except going to a place as the difference keys do.
class SideBySideReview : public QObject {
public:
    static inline const QString kScrollTogether = QStringLiteral("Scroll Panes Together");
    static inline const QString kGoToOtherPlace = QStringLiteral("Go to Other Place");
    static inline const QString kShowInText = QStringLiteral("Show in Text");

    SideBySideReview(MainWindow& window, const std::array<RichTextPane*, 4>& panes,
                     ReviewKeys& keys, Comparison& comparison, QObject* parent);

    // Around a Find Differences command; `linkable`: it compared the texts with the standard
    // method, so `comparison` holds what it found.
    void comparisonStarting();
    void comparisonEnded(bool linkable);

    // The link is made (its alignment ready) and both texts are still those compared.
    bool linkReady() const { return link_.ready(); }
    bool preparing() const { return preparation_.running(); }

    QAction* scrollTogether() const { return scrollTogether_; }
    // Ctrl+G in pane 1 or 2: the other place of the moved run (or difference) at the caret.
    QAction* goToOtherPlace(int pane) const { return goToOtherPlace_[size_t(pane - 1)]; }

    const PaneOverlay& overlay(int pane) const { return *overlays_[size_t(pane - 1)]; }
    const OverviewMarks& marks(int pane) const { return *marks_[size_t(pane - 1)]; }

    // The other place of what stands at `position` of pane 1 or 2, brought to the same height in
    // the other pane and marked there; false when nothing there has one.
    bool showOtherPlaceOf(int pane, qsizetype position);
    // "Show in Text" for the entry on paragraph `entry` of work pane 3 or 4.
    void goToEntry(int workPane, int entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void checkTexts();
    void endReview();
    void setUpLater(int step);
    void prepareLink();
    void linkReadyNow(LinkPreparation::Ready ready, quint64 generation);
    void went(int pane, TextRange place);
    void showOtherSide(int pane, TextRange place, TextRange other);
    std::optional<TextRange> otherSideOf(int pane, TextRange place) const;
    void markOverview(int pane);
    void clickedMark(int pane, int mark);
    void clearHighlights();
    void addToMenu(int pane, const QPoint& position, QMenu& menu, QAction* before);
    std::optional<size_t> movedAt(int pane, qsizetype position) const;

    MainWindow& window_;
    std::array<RichTextPane*, 4> panes_;
    std::array<QObject*, 2> workViewports_{};
    ReviewKeys& keys_;
    Comparison& comparison_;
    ScrollLink link_;
    LinkPreparation preparation_{this};
    std::array<std::unique_ptr<PaneOverlay>, 2> overlays_;
    std::array<OverviewMarks*, 2> marks_{};
    QAction* scrollTogether_ = nullptr;
    std::array<QAction*, 2> goToOtherPlace_{};
    quint64 generation_ = 0;
    bool reviewing_ = false;              // the last comparison is the one shown
    std::array<quint64, 2> revisions_{};  // of the texts it compared
    bool checkScheduled_ = false;
};

}  // namespace corvella

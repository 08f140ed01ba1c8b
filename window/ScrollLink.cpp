#include "window/ScrollLink.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <algorithm>

#include "core/PaneDocument.h"
#include "window/PanePlaces.h"

namespace corvella {

ScrollLink::ScrollLink(Pane pane1, Pane pane2, QObject* parent)
    : QObject(parent), panes_{pane1, pane2} {
    for (int number = 1; number <= 2; ++number)
        connect(panes_[size_t(number - 1)].view->verticalScrollBar(), &QScrollBar::valueChanged,
                this, [this, number] { follow(number); });
}

void ScrollLink::link(Alignment alignment) {
    alignment_ = std::move(alignment);
    for (size_t i = 0; i < 2; ++i) revisions_[i] = panes_[i].text->textRevision();
    linked_ = true;
    following_ = true;
}

void ScrollLink::drop() {
    linked_ = false;
    alignment_ = {};
}

bool ScrollLink::ready() const {
    return linked_ && panes_[0].text->textRevision() == revisions_[0] &&
           panes_[1].text->textRevision() == revisions_[1];
}

int ScrollLink::AnchorRow(int value, int maximum, int pageStep) {
    const int half = std::max(0, pageStep / 2);
    // From the top row at the text's start to the middle half a page later; likewise at its end.
    if (value < half) return std::max(0, value);
    if (maximum - value < half) return std::clamp(pageStep - (maximum - value), half, pageStep);
    return half;
}

void ScrollLink::follow(int leader) {
    if (moving_ || !following_ || !linked_) return;
    if (!ready()) {
        drop();
        return;
    }
    const QScrollBar* bar = panes_[size_t(leader - 1)].view->verticalScrollBar();
    const int row = AnchorRow(bar->value(), bar->maximum(), bar->pageStep());
    const QTextDocument& own = *panes_[size_t(leader - 1)].view->document();
    const qsizetype position = PanePlaces::LineStart(own, bar->value() + row);
    const int other = 3 - leader;
    const QTextDocument& theirs = *panes_[size_t(other - 1)].view->document();
    const int line = PanePlaces::LineOf(theirs, alignment_.map(leader, position));
    scrollFollower(other, line - row);
}

void ScrollLink::showAtSameHeight(int to, qsizetype toPosition, qsizetype fromPosition) {
    const int from = 3 - to;
    const QPlainTextEdit* view = panes_[size_t(from - 1)].view;
    const int row =
        PanePlaces::LineOf(*view->document(), fromPosition) - view->verticalScrollBar()->value();
    const QTextDocument& theirs = *panes_[size_t(to - 1)].view->document();
    scrollFollower(to, PanePlaces::LineOf(theirs, toPosition) - row);
}

void ScrollLink::scrollFollower(int pane, int value) {
    QScrollBar* bar = panes_[size_t(pane - 1)].view->verticalScrollBar();
    moving_ = true;
    bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
    moving_ = false;
}

}  // namespace corvella

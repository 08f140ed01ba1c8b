#pragma once

#include <QObject>
#include <array>

#include "compare/DifferenceNavigation.h"
#include "core/MainWindow.h"
#include "window/RichTextPane.h"

class QAction;

namespace corvella {

// The keys that walk the differences of a focused pane: Alt+Down or F8 to the next one, Alt+Up or
// Shift+F8 to the previous one; the same two entries end each pane's context menu. After a
// comparison each text pane shows its first difference near the top.
class ReviewKeys : public QObject {
    Q_OBJECT
public:
    ReviewKeys(MainWindow& window, const std::array<RichTextPane*, 4>& panes, QObject* parent);

    // Call when a comparison has ended; the selections it left stay as they are.
    void comparisonEnded();

    // The entries of a pane, next first.
    QAction* action(int pane, Direction direction) const;

private:
    void go(int pane, Direction direction);
    void showMenu(int pane, const QPoint& position);

    MainWindow& window_;
    std::array<RichTextPane*, 4> panes_;
    std::array<std::array<QAction*, 2>, 4> actions_{};
    DifferenceReview review_;
};

}  // namespace corvella

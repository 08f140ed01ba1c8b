// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Walking the differences of the real window's panes with the keys and the context menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "compare/LinesCommand.h"
#include "core/PaneText.h"
#include "display/MemoryWindow.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"
#include "window/review/DifferenceNavigation.h"

namespace corvella {
namespace {

using testing::TestServices;

// Lines 50, 51, 120 and 190 of the 200 differ.
QString text(bool second) {
    QString out;
    for (int line = 1; line <= 200; ++line) {
        const bool differs = line == 50 || line == 51 || line == 120 || line == 190;
        out += QStringLiteral("Line %1 %2\r\n")
                   .arg(line)
                   .arg(second && differs ? QStringLiteral("was changed here")
                                          : QStringLiteral("of the text"));
    }
    return out;
}

using Selection = std::pair<qsizetype, qsizetype>;

class ReviewKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        all.services.beep = [this] { ++beeps; };
        form.Form_Load();
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.pane(1).setText(text(false));
        form.pane(2).setText(text(true));
    }

    // What the user sees: red runs read character by character, those only line breaks part one.
    static std::vector<Selection> redRuns(const PaneDocument& pane) {
        std::vector<Selection> runs;
        const QString content = pane.text();
        for (qsizetype i = 0; i < pane.textLength(); ++i) {
            if (pane.colorAt(i) != kRed) continue;
            const bool joins = !runs.empty() && content
                                                    .mid(runs.back().first + runs.back().second,
                                                         i - runs.back().first - runs.back().second)
                                                    .remove(u'\r')
                                                    .remove(u'\n')
                                                    .isEmpty();
            if (joins)
                runs.back().second = i + 1 - runs.back().first;
            else
                runs.push_back({i, 1});
        }
        return runs;
    }

    static Selection selection(const PaneDocument& pane) {
        return {pane.selStart(), pane.selLength()};
    }

    // The position's line stands in the pane's view; `nearTop`: in its upper third.
    static bool inView(RichTextPane* pane, qsizetype position, bool nearTop = false) {
        QTextCursor cursor(pane->document());
        cursor.setPosition(int(position - pane->text().left(position).count(u'\r')));
        const QRect rect = pane->cursorRect(cursor);
        const int height = pane->viewport()->height();
        return rect.top() >= 0 && rect.bottom() <= (nearTop ? height / 3 : height);
    }

    TestServices all;
    Form1 form{all.services};
    int beeps = 0;
};

TEST_F(ReviewKeysTest, AComparisonShowsTheFirstDifferenceAndLeavesItsSelection) {
    MemoryWindow headless(all.services);
    headless.pane(1).setText(text(false));
    headless.pane(2).setText(text(true));
    // With the text panes hidden behind the work panes during the comparison, and in view.
    for (int display : {2, 1}) {
        PushButton1_Click(headless);
        form.Option(display)->click();
        form.PushButton(1)->click();
        form.Option(1)->click();
        for (int number = 1; number <= 2; ++number) {
            EXPECT_EQ(selection(form.pane(number)), selection(headless.pane(number))) << number;
            EXPECT_TRUE(
                inView(form.RichTextBox(number), redRuns(form.pane(number)).front().first, true))
                << "pane " << number << ", display option " << display;
        }
    }
}

// Every run in turn with the keys, to the last and back, the ends beeping; in panes 1 and 2 after
// either comparison, and in work pane 3 entry by entry.
TEST_F(ReviewKeysTest, KeysWalkEveryDifferenceAndBeepAtTheEnds) {
    struct Walk {
        const char* what;
        int button;
        int pane;
    } walks[] = {{"lines", 1, 1}, {"lines", 1, 2}, {"words", 6, 1}, {"lines, work pane", 1, 3}};
    for (const Walk& walk : walks) {
        SCOPED_TRACE(walk.what + std::string(", pane ") + std::to_string(walk.pane));
        form.Option(walk.pane >= 3 ? 2 : 1)->click();
        form.PushButton(walk.button)->click();
        RichTextPane* pane = form.RichTextBox(walk.pane);
        pane->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), pane);
        std::vector<Selection> runs = redRuns(*pane);
        if (walk.pane >= 3)
            runs = {{0, 19}, {21, 19}, {42, 20}, {64, 20}};  // "Line 50 of the text"
        ASSERT_GE(runs.size(), 3u);

        const int beepsBefore = beeps;
        auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers, Selection expected) {
            QTest::keyClick(pane, key, modifiers);
            EXPECT_EQ(selection(*pane), expected);
            EXPECT_TRUE(inView(pane, expected.first));
            EXPECT_TRUE(pane->textCursor().hasSelection()) << "the focused pane shows it";
            EXPECT_EQ(pane->textCursor().position(), pane->textCursor().selectionStart())
                << "the caret stands at the run's start";
        };
        for (size_t i = 0; i < runs.size(); ++i)
            press(i % 2 ? Qt::Key_F8 : Qt::Key_Down, i % 2 ? Qt::NoModifier : Qt::AltModifier,
                  runs[i]);
        press(Qt::Key_Down, Qt::AltModifier, runs.back());
        EXPECT_EQ(beeps, beepsBefore + 1);
        for (size_t i = runs.size() - 1; i-- > 0;)
            press(i % 2 ? Qt::Key_F8 : Qt::Key_Up, i % 2 ? Qt::ShiftModifier : Qt::AltModifier,
                  runs[i]);
        press(Qt::Key_Up, Qt::AltModifier, runs.front());
        EXPECT_EQ(beeps, beepsBefore + 2);
    }
}

TEST_F(ReviewKeysTest, AnUncomparedPaneOnlyBeepsAndTheContextMenuOffersBothEntries) {
    RichTextPane* pane = form.RichTextBox(1);
    pane->setFocus(Qt::TabFocusReason);
    const Selection before = selection(*pane);
    QTest::keyClick(pane, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(pane, Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(selection(*pane), before);
    EXPECT_EQ(pane->text(), text(false));

    form.PushButton(1)->click();
    emit pane->customContextMenuRequested(QPoint(5, 5));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QStringList entries;
    for (QAction* action : menu->actions()) entries << action->text();
    menu->close();
    ASSERT_TRUE(entries.contains("Next Difference") && entries.contains("Previous Difference"))
        << entries.join(", ").toStdString();
    form.reviewKeys()->action(1, Direction::Next)->trigger();
    EXPECT_EQ(selection(*pane), redRuns(*pane).front());
}

// The walk stops at every stretch of marked text, without line breaks at its ends, joining those
// that only line breaks part, whatever the order and overlap of the marks.
TEST(WalkStopsTableTest, MarksBecomeStops) {
    const QString text = QStringLiteral("ab cd\r\nef\r\n\r\ngh ij");
    const struct {
        std::vector<TextRange> marks;
        std::vector<Selection> stops;
    } cases[] = {
        {{{0, 2}, {3, 2}}, {{0, 2}, {3, 2}}},  // parted by a space
        {{{3, 4}, {7, 2}}, {{3, 6}}},          // "cd\r\n", then "ef": one stop
        {{{7, 2}, {3, 2}}, {{3, 6}}},          // in any order
        {{{7, 2}, {13, 2}}, {{7, 8}}},         // over an empty line
        {{{5, 2}, {11, 2}, {0, 0}}, {}},       // breaks and nothing show no red
        {{{0, 4}, {1, 1}, {2, 6}}, {{0, 8}}},  // overlapping
        {{{16, 9}}, {{16, 2}}},                // past the end
    };
    for (const auto& c : cases) {
        std::vector<Selection> stops;
        for (const TextRange& stop : DifferenceNavigation::Stops(text, c.marks))
            stops.push_back({stop.start, stop.length});
        EXPECT_EQ(stops, c.stops) << c.marks.size() << " marks from " << c.marks[0].start;
    }
}

}  // namespace
}  // namespace corvella

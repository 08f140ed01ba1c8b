// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// "Find Differences (Ignoring Layout)" as a command and in the window: busy guard, display mode,
// its own error reports, Ctrl+L and the panes' context menus.
#include <gtest/gtest.h>

#include <QMenu>
#include <QPushButton>

#include "compare/LayoutCommand.h"
#include "core/ErrorReport.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"
#include "window/main/IgnoringLayoutCommand.h"
#include "window/review/ReviewKeys.h"

using namespace corvella;
using corvella::testing::FakeWindow;
using corvella::testing::MemoryPane;
using corvella::testing::TestServices;

namespace {

QString report(int line, const QString& description) {
    return ErrorReportText(QStringLiteral("Form1.FindDifferencesIgnoringLayout"), line,
                           description);
}

class LayoutCommandTest : public ::testing::Test {
protected:
    LayoutCommandTest() {
        window.pane(1).setText("same words\ra replaced\fword\r");
        window.pane(2).setText("same\rwords a\fchanged word\r");
    }
    FakeWindow window;
};

TEST_F(LayoutCommandTest, ListsEachRunAndShowsTheListsInJustDifferencesMode) {
    window.pane(1).setSelStart(0);
    window.pane(1).setSelLength(4);
    window.pane(1).setSelColor(kRed);  // what an earlier comparison left
    window.selectOption(2);
    FindDifferencesIgnoringLayout(window);
    EXPECT_EQ(window.pane(3).text(), "\r\np1:l2 replaced");
    EXPECT_EQ(window.pane(4).text(), "\r\np2:l1 changed");
    EXPECT_EQ(window.pane(1).colorAt(0), kBlack);
    EXPECT_EQ(window.pane(1).colorAt(window.pane(1).text().indexOf("replaced")), kRed);
    EXPECT_TRUE(window.ComparisonDone);
    EXPECT_FALSE(window.BusyFlag);
    EXPECT_FALSE(window.pane(1).isShown());
    EXPECT_TRUE(window.pane(3).isShown());
    EXPECT_EQ(window.pointerLog,
              (std::vector<PointerShape>{PointerShape::Hourglass, PointerShape::Default}));
    EXPECT_TRUE(window.dialogs.messages.empty());
}

TEST_F(LayoutCommandTest, DoesNothingWhileAComparisonRuns) {
    window.BusyFlag = true;
    window.pane(3).setText("earlier");
    FindDifferencesIgnoringLayout(window);
    EXPECT_EQ(window.pane(3).text(), "earlier");
    EXPECT_FALSE(window.ComparisonDone);
    EXPECT_TRUE(window.pointerLog.empty());
    EXPECT_EQ(window.pump.count, 0);
}

TEST_F(LayoutCommandTest, FailuresAreReportedAtTheirStepAndTheCommandFinishes) {
    const struct {
        int pane;
        MemoryPane::Operation operation;
        QStringList reports;
    } cases[] = {
        {1, MemoryPane::Operation::ReadText, {report(112, "Permission denied")}},
        {1,
         MemoryPane::Operation::SetColor,
         {report(108, "Permission denied"), report(114, "Permission denied")}},
        {4, MemoryPane::Operation::WriteText, {report(116, "Permission denied")}},
        {3, MemoryPane::Operation::SetShown, {report(122, "Permission denied")}},
    };
    for (const auto& c : cases) {
        FakeWindow failing;
        failing.pane(1).setText(window.pane(1).text());
        failing.pane(2).setText(window.pane(2).text());
        failing.memoryPane(c.pane).failOn(c.operation, "Permission denied");
        FindDifferencesIgnoringLayout(failing);
        EXPECT_EQ(failing.dialogs.texts(), c.reports) << c.reports.front().toStdString();
        EXPECT_FALSE(failing.BusyFlag);
        EXPECT_EQ(failing.pointer(), PointerShape::Default);
    }
}

TEST(LayoutCommandWindowTest, CtrlLAndThePaneMenusRunItOnceAtATime) {
    TestServices test;
    Form1 form(test.services);
    form.pane(1).setText("a b c\r");
    form.pane(2).setText("a c\r");
    QAction* command = form.IgnoringLayoutAction();
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->text(), "Find Differences (Ignoring Layout)");
    EXPECT_EQ(command->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_TRUE(form.actions().contains(command));
    for (int number : {1, 2, 3, 4}) {
        const std::unique_ptr<QMenu> menu(form.reviewKeys()->menu(number, {1, 1}));
        EXPECT_EQ(menu->actions().contains(command), number <= 2) << number;
        EXPECT_GT(menu->actions().size(), 3);  // the pane's own entries stay
    }

    int yields = 0;
    test.pump.hook = [&] {
        if (yields++ > 0) return;
        form.pane(3).setText("marker");
        command->trigger();
        form.PushButton(6)->click();
        EXPECT_EQ(form.pane(3).text(), "marker");
    };
    command->trigger();
    EXPECT_GE(yields, 1);
    EXPECT_EQ(form.pane(3).text(), "\r\np1:l1 b");
    EXPECT_EQ(form.pane(4).text(), "");
    EXPECT_EQ(form.pane(1).colorAt(2), kRed);
    EXPECT_FALSE(form.BusyFlag);
    EXPECT_TRUE(test.dialogs.messages.empty());
}

}  // namespace

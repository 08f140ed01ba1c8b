// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// "Find Differences (Lines)" as a command: busy guard, pointer, flags, display modes and the
// error reports of each step.
#include <gtest/gtest.h>

#include <QPushButton>

#include "compare/LinesCommand.h"
#include "core/ErrorReport.h"
#include "tests/support/FakeWindow.h"
#include "window/main/Form1.h"

using namespace corvella;
using corvella::testing::FakeWindow;
using corvella::testing::MemoryPane;

namespace {

QString report(const QString& location, int line, const QString& description) {
    return ErrorReportText(location, line, description);
}

class LinesCommandTest : public ::testing::Test {
protected:
    LinesCommandTest() {
        window.pane(1).setText("same\rleft\r");
        window.pane(2).setText("same\rright\r");
    }
    FakeWindow window;
};

TEST_F(LinesCommandTest, RunsBothDirectionsAndShowsTheResult) {
    PushButton1_Click(window);
    EXPECT_EQ(window.pane(3).text(), "left\r\n");
    EXPECT_EQ(window.pane(4).text(), "right\r\n");
    EXPECT_TRUE(window.ComparisonDone);
    EXPECT_FALSE(window.BusyFlag);
    EXPECT_EQ(window.pointerLog,
              (std::vector<PointerShape>{PointerShape::Hourglass, PointerShape::Default}));
    EXPECT_TRUE(window.dialogs.messages.empty());
    EXPECT_GE(window.pump.count, 1);
}

TEST_F(LinesCommandTest, DoesNothingWhileAComparisonRuns) {
    window.BusyFlag = true;
    PushButton1_Click(window);
    EXPECT_TRUE(window.BusyFlag);
    EXPECT_FALSE(window.ComparisonDone);
    EXPECT_TRUE(window.pointerLog.empty());
    EXPECT_EQ(window.pump.count, 0);
    EXPECT_EQ(window.pane(3).text(), "");
}

TEST_F(LinesCommandTest, PaintsTheCurrentSelectionsBlackFirst) {
    // What a word comparison left selected and red stays red unless it is selected.
    for (int number : {1, 2}) {
        PaneDocument& pane = window.pane(number);
        pane.setSelStart(0);
        pane.setSelLength(4);
        pane.setSelColor(kRed);
    }
    window.pane(2).setSelStart(1);  // pane 2's selection now covers nothing
    PushButton1_Click(window);
    EXPECT_EQ(window.pane(1).colorAt(0), kBlack);
    EXPECT_EQ(window.pane(2).colorAt(0), kRed);
}

TEST_F(LinesCommandTest, DisplayModeJustDifferencesShowsTheWorkPanesOnceDone) {
    window.selectOption(2);
    EXPECT_TRUE(window.pane(1).isShown());
    EXPECT_FALSE(window.pane(3).isShown());
    PushButton1_Click(window);
    EXPECT_FALSE(window.pane(1).isShown());
    EXPECT_FALSE(window.pane(2).isShown());
    EXPECT_TRUE(window.pane(3).isShown());
    EXPECT_TRUE(window.pane(4).isShown());
    window.selectOption(1);
    EXPECT_TRUE(window.pane(1).isShown());
    EXPECT_FALSE(window.pane(4).isShown());
}

TEST_F(LinesCommandTest, UnreadablePaneIsReportedByBothDirectionsAndTheCommandFinishes) {
    window.memoryPane(1).failOn(MemoryPane::Operation::ReadText, "Permission denied");
    PushButton1_Click(window);
    EXPECT_EQ(window.dialogs.texts(),
              (QStringList{report("RTB.FindDifferencesIn1", 100, "Permission denied"),
                           report("RTB.FindDifferencesIn2", 102, "Permission denied")}));
    for (const MessageRequest& box : window.dialogs.messages) {
        EXPECT_EQ(box.title, "Application Error");
        EXPECT_EQ(box.icon, MessageIcon::Warning);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
    }
    // Pane 1 gave no pieces, so every line of pane 2 differs.
    EXPECT_EQ(window.pane(4).text(), "same\r\nright\r\n\r\n");
    EXPECT_FALSE(window.BusyFlag);
    EXPECT_TRUE(window.ComparisonDone);
    EXPECT_EQ(window.pointer(), PointerShape::Default);
}

TEST_F(LinesCommandTest, ColouringFailureInPane1IsReportedByTheEngineAndTheLineIsStillListed) {
    window.memoryPane(1).failOn(MemoryPane::Operation::SetColor, "colour refused");
    PushButton1_Click(window);
    EXPECT_EQ(window.dialogs.texts(),
              (QStringList{report("Form1.PushButton1_Click", 108, "colour refused"),
                           report("RTB.FindDifferencesIn1", 122, "colour refused")}));
    EXPECT_EQ(window.pane(3).text(), "left\r\n");
}

TEST_F(LinesCommandTest, ColouringFailureInPane2IsReportedByItsOwnColouring) {
    window.memoryPane(2).failOn(MemoryPane::Operation::SetColor, "colour refused");
    PushButton1_Click(window);
    EXPECT_EQ(window.dialogs.texts(),
              (QStringList{report("Form1.PushButton1_Click", 110, "colour refused"),
                           report("RTB.ColorRedByString2", 100, "colour refused")}));
    EXPECT_EQ(window.pane(4).text(), "right\r\n");
}

TEST_F(LinesCommandTest, DisplayFailureIsReportedAsTheCommandsStepAndBusyIsCleared) {
    window.memoryPane(3).failOn(MemoryPane::Operation::SetShown, "");
    PushButton1_Click(window);
    EXPECT_EQ(window.dialogs.texts(), QStringList{report("Form1.PushButton1_Click", 120, "")});
    EXPECT_TRUE(window.dialogs.texts().front().startsWith("\r\nin "));
    EXPECT_FALSE(window.BusyFlag);
}

// The real window: a click on "Find Differences (Lines)" while the comparison yields does nothing.
TEST(LinesCommandWindowTest, SecondClickDuringARunIsIgnored) {
    FakeWindow services;  // only for its scripted dialogs and counting pump
    Form1 form(services.services());
    form.Form_Load();
    form.pane(1).setText("a\rb\rc\r");
    form.pane(2).setText("a\rc\rd\r");

    int nestedClicks = 0;
    services.pump.hook = [&] {
        if (nestedClicks > 0) return;
        ++nestedClicks;
        EXPECT_TRUE(form.BusyFlag);
        form.pane(3).setText("marker");
        form.PushButton(1)->click();
        // Nothing ran: the work pane still holds what was put there, the pointer is unchanged.
        EXPECT_EQ(form.pane(3).text(), "marker");
        EXPECT_EQ(form.pointer(), PointerShape::Default);
        EXPECT_TRUE(form.BusyFlag);
    };
    form.PushButton(1)->click();
    EXPECT_EQ(nestedClicks, 1);
    EXPECT_EQ(form.pane(3).text(), "b\r\n");
    EXPECT_EQ(form.pane(4).text(), "d\r\n");
    EXPECT_FALSE(form.BusyFlag);
    EXPECT_TRUE(services.dialogs.messages.empty());
}

}  // namespace

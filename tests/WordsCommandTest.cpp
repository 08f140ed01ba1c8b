// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// "Find Differences (Words)" as a command: busy guard, the single yield, pointer, flags, display
// mode, the error reports of each step (the same as the literal steps give), and the
// word-processor method.
#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <optional>

#include "compare/LinesCommand.h"
#include "compare/WordsCommand.h"
#include "core/AppTitle.h"
#include "core/ErrorReport.h"
#include "core/TempFolder.h"
#include "office/Word1.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/LiteralWordCompare.h"
#include "tests/support/PaneInspection.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;
using corvella::testing::FakeWindow;
using corvella::testing::MemoryPane;
using corvella::testing::RedMask;
using corvella::testing::TestServices;

namespace {

QString report(int line, const QString& description) {
    return ErrorReportText(QStringLiteral("Form1.PushButton6_Click"), line, description);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// ---- Standard method --------------------------------------------------------------------------

class WordsCommandTest : public ::testing::Test {
protected:
    WordsCommandTest() {
        window.pane(1).setText("same first\rleft words here\r");
        window.pane(2).setText("same first\rright words here\r");
    }
    FakeWindow window;
};

TEST_F(WordsCommandTest, ComparesBothPanesWithOneYieldAndShowsTheResult) {
    PushButton6_Click(window);
    EXPECT_EQ(window.pane(3).text(), "\r\nleft");
    EXPECT_EQ(window.pane(4).text(), "\r\nright");
    EXPECT_TRUE(window.ComparisonDone);
    EXPECT_FALSE(window.BusyFlag);
    EXPECT_EQ(window.pointerLog,
              (std::vector<PointerShape>{PointerShape::Hourglass, PointerShape::Default}));
    EXPECT_EQ(window.pump.count, 1);
    EXPECT_TRUE(window.dialogs.messages.empty());
}

TEST_F(WordsCommandTest, DoesNothingWhileAComparisonRuns) {
    window.BusyFlag = true;
    window.pane(3).setText("earlier");
    PushButton6_Click(window);
    EXPECT_TRUE(window.BusyFlag);
    EXPECT_FALSE(window.ComparisonDone);
    EXPECT_TRUE(window.pointerLog.empty());
    EXPECT_EQ(window.pump.count, 0);
    EXPECT_EQ(window.pane(3).text(), "earlier");
    EXPECT_TRUE(window.dialogs.messages.empty());
}

TEST_F(WordsCommandTest, JustDifferencesModeShowsTheWordLists) {
    window.selectOption(2);
    PushButton6_Click(window);
    EXPECT_FALSE(window.pane(1).isShown());
    EXPECT_FALSE(window.pane(2).isShown());
    EXPECT_TRUE(window.pane(3).isShown());
    EXPECT_TRUE(window.pane(4).isShown());
}

TEST_F(WordsCommandTest, DuringTheYieldClicksAreIgnoredAndTextChangesAreCompared) {
    int yields = 0;
    window.pump.hook = [&] {
        ++yields;
        EXPECT_TRUE(window.BusyFlag);
        PushButton6_Click(window);
        PushButton1_Click(window);
        window.pane(2).setText("same first\rleft words there\r");
    };
    PushButton6_Click(window);
    EXPECT_EQ(yields, 1);
    EXPECT_EQ(window.pane(3).text(), "\r\nhere");
    EXPECT_EQ(window.pane(4).text(), "\r\nthere");
    EXPECT_FALSE(window.BusyFlag);
    EXPECT_EQ(window.pointerLog,
              (std::vector<PointerShape>{PointerShape::Hourglass, PointerShape::Default}));
}

TEST_F(WordsCommandTest, AWorkPaneThatCannotBeWrittenFailsOncePerDifferingLine) {
    window.pane(1).setText("a x\rb y\rc\r");
    window.pane(2).setText("a\rb\rc\r");
    window.memoryPane(3).failOn(MemoryPane::Operation::WriteText, "No space left on device");
    PushButton6_Click(window);
    const QString why = QStringLiteral("No space left on device");
    EXPECT_EQ(window.dialogs.texts(),
              (QStringList{report(156, why), report(164, why), report(164, why)}));
    // The listing fails before the colouring, so nothing turned red.
    EXPECT_EQ(RedMask(window.pane(1)), ".......");
    EXPECT_FALSE(window.BusyFlag);
    EXPECT_TRUE(window.ComparisonDone);
    EXPECT_EQ(window.pointer(), PointerShape::Default);
}

TEST_F(WordsCommandTest, AColouringFailureEndsTheLineAfterItsFirstDifferingWord) {
    window.pane(1).setText("a x z\rb y\r");
    window.pane(2).setText("a\rb\r");
    window.memoryPane(1).failOn(MemoryPane::Operation::SetColor, "colour refused");
    PushButton6_Click(window);
    const QString why = QStringLiteral("colour refused");
    EXPECT_EQ(window.dialogs.texts(),
              (QStringList{report(136, why), report(164, why), report(164, why)}));
    // Each line listed its first differing word, then failed; "z" was never reached.
    EXPECT_EQ(window.pane(3).text(), "\r\nx\r\ny");
    EXPECT_EQ(window.pane(1).selStart(), window.pane(1).text().indexOf("y"));
}

TEST_F(WordsCommandTest, AnUnreadablePaneIsReportedAndNothingIsCompared) {
    window.memoryPane(1).failOn(MemoryPane::Operation::ReadText, "Permission denied");
    PushButton6_Click(window);
    const QString why = QStringLiteral("Permission denied");
    EXPECT_EQ(window.dialogs.texts(), (QStringList{report(134, why), report(144, why)}));
    EXPECT_EQ(window.pane(3).text(), "");
    EXPECT_EQ(window.pane(4).text(), "");
    EXPECT_FALSE(window.BusyFlag);
}

TEST_F(WordsCommandTest, ADisplayFailureIsReportedAsStep202AndBusyIsCleared) {
    window.memoryPane(3).failOn(MemoryPane::Operation::SetShown, "");
    PushButton6_Click(window);
    EXPECT_EQ(window.dialogs.texts(), QStringList{report(202, "")});
    EXPECT_FALSE(window.BusyFlag);
}

// Every pane failing at every kind of operation: the same reports, colours, lists and selections
// as the literal steps give.
TEST(WordsCommandFailureTest, FailuresBehaveAsTheLiteralSteps) {
    const std::vector<std::pair<QString, QString>> texts = {
        {"a b c\rd e\rf\r", "a c\rd x e\r"},
        {"one  two\rthree four five\rsix\r\r", "one two\rthree five\r"},
        {"x\ry z\r", "x y\ry\rz q\rw"},
    };
    const MemoryPane::Operation operations[] = {
        MemoryPane::Operation::ReadText, MemoryPane::Operation::WriteText,
        MemoryPane::Operation::SetSelection, MemoryPane::Operation::SetColor,
        MemoryPane::Operation::SetShown};
    int failingRuns = 0;
    for (const auto& [text1, text2] : texts) {
        for (int number = 1; number <= 4; ++number) {
            for (MemoryPane::Operation operation : operations) {
                SCOPED_TRACE(::testing::Message()
                             << "pane " << number << " operation " << int(operation) << " text "
                             << text1.toStdString());
                FakeWindow slow;
                FakeWindow fast;
                for (FakeWindow* window : {&slow, &fast}) {
                    window->pane(1).setText(text1);
                    window->pane(2).setText(text2);
                    window->pane(3).setText("old list");
                    window->memoryPane(number).failOn(operation, "broken");
                }
                corvella::testing::Literal::WordComparisonCommand(slow);
                PushButton6_Click(fast);
                if (!slow.dialogs.messages.empty()) ++failingRuns;
                EXPECT_EQ(fast.dialogs.texts(), slow.dialogs.texts());
                for (int pane = 1; pane <= 4; ++pane) {
                    // Switches the failure to an operation the comparison below does not use.
                    slow.memoryPane(pane).failOn(MemoryPane::Operation::SetShown, "");
                    fast.memoryPane(pane).failOn(MemoryPane::Operation::SetShown, "");
                    EXPECT_EQ(fast.pane(pane).text(), slow.pane(pane).text()) << pane;
                    EXPECT_EQ(fast.pane(pane).isShown(), slow.pane(pane).isShown()) << pane;
                    EXPECT_EQ(RedMask(fast.pane(pane)), RedMask(slow.pane(pane))) << pane;
                    EXPECT_EQ(fast.pane(pane).selStart(), slow.pane(pane).selStart()) << pane;
                    EXPECT_EQ(fast.pane(pane).selLength(), slow.pane(pane).selLength()) << pane;
                }
                EXPECT_EQ(fast.BusyFlag, slow.BusyFlag);
                EXPECT_EQ(fast.ComparisonDone, slow.ComparisonDone);
                EXPECT_EQ(fast.pointerLog, slow.pointerLog);
            }
        }
    }
    // Of the 20 cases per text, panes 1 and 2 are never written and the work panes never selected
    // or coloured (6 cases); a work pane is read only when its pass lists a word, which pass 2 of
    // the second text does not (1 case).
    EXPECT_EQ(failingRuns, 3 * 14 - 1);
}

// ---- Word-processor method --------------------------------------------------------------------

class ScriptedWord : public Word1 {
public:
    struct Call {
        QString path1, path2;
        QByteArray bytes1, bytes2;
    };

    bool IsWordRunning() override {
        if (runningCheckFails) throw Failure("no session bus");
        return running;
    }
    void CompareInWord(const QString& path1, const QString& path2) override {
        calls.push_back({path1, path2, readFile(path1), readFile(path2)});
        if (failure) throw Failure(*failure);
    }

    bool running = false;
    bool runningCheckFails = false;
    std::optional<QString> failure;
    std::vector<Call> calls;
};

class WordProcessorMethodTest : public ::testing::Test {
protected:
    WordProcessorMethodTest() {
        window.all.services.word = &word;
        window.selectOption(4);
        window.pane(1).setText("one\rtwo é");
        window.pane(2).setText("one\rthree\r");
        window.pane(3).setText("list 3");
        window.pane(4).setText("list 4");
        QFile::remove(path1);
        QFile::remove(path2);
    }

    QString warning() const {
        return QStringLiteral(
            "Word may be open. It is recommended that you close Word first. Use Ctrl+Alt+Del > "
            "Task Manager > WINWORD.EXE if necessary.\r\n\r\nWould you like to proceed anyway?");
    }

    void expectFinished() {
        EXPECT_FALSE(window.BusyFlag);
        EXPECT_EQ(window.pointerLog,
                  (std::vector<PointerShape>{PointerShape::Hourglass, PointerShape::Default}));
        // The panes are not touched and nothing counts as compared.
        EXPECT_FALSE(window.ComparisonDone);
        EXPECT_EQ(window.pane(3).text(), "list 3");
        EXPECT_EQ(window.pane(4).text(), "list 4");
        EXPECT_EQ(RedMask(window.pane(1)), QString(8, u'.'));
    }

    FakeWindow window;
    ScriptedWord word;
    const QString path1 = TempPath("1.txt");
    const QString path2 = TempPath("2.txt");
};

TEST_F(WordProcessorMethodTest, ComparesTheSavedTextsAndRemovesTheFiles) {
    PushButton6_Click(window);
    ASSERT_EQ(word.calls.size(), 1u);
    EXPECT_EQ(word.calls[0].path1, path1);
    EXPECT_EQ(word.calls[0].path2, path2);
    EXPECT_EQ(word.calls[0].bytes1, QByteArray("one\r\ntwo \xc3\xa9\r\n"));
    EXPECT_EQ(word.calls[0].bytes2, QByteArray("one\r\nthree\r\n\r\n"));
    EXPECT_FALSE(QFile::exists(path1));
    EXPECT_FALSE(QFile::exists(path2));
    EXPECT_TRUE(window.dialogs.messages.empty());
    // The four deletions yield; the standard method's yield does not happen.
    EXPECT_EQ(window.pump.count, 4);
    expectFinished();
}

TEST_F(WordProcessorMethodTest, ARunningWordProcessorIsWarnedAboutAndNoStops) {
    word.running = true;
    window.dialogs.answers = {MessageAnswer::No};
    writeFile(path1, "stale");
    PushButton6_Click(window);
    ASSERT_EQ(window.dialogs.messages.size(), 1u);
    const MessageRequest& box = window.dialogs.messages[0];
    EXPECT_EQ(box.text, warning());
    EXPECT_EQ(box.title, AppTitle());
    EXPECT_EQ(box.buttons, MessageButtons::YesNo);
    EXPECT_EQ(box.icon, MessageIcon::None);
    EXPECT_TRUE(word.calls.empty());
    // Nothing after the warning ran: not even the deletions.
    EXPECT_EQ(readFile(path1), "stale");
    EXPECT_EQ(window.pump.count, 0);
    expectFinished();
}

TEST_F(WordProcessorMethodTest, YesToTheWarningGoesOn) {
    word.running = true;
    window.dialogs.answers = {MessageAnswer::Yes};
    PushButton6_Click(window);
    EXPECT_EQ(window.dialogs.texts(), QStringList{warning()});
    EXPECT_EQ(word.calls.size(), 1u);
    expectFinished();
}

TEST_F(WordProcessorMethodTest, AnEmptyPaneEndsTheBranchSilentlyButAfterTheWarning) {
    window.pane(2).setText("");
    PushButton6_Click(window);
    EXPECT_TRUE(window.dialogs.messages.empty());
    EXPECT_TRUE(word.calls.empty());
    EXPECT_FALSE(QFile::exists(path1));
    expectFinished();

    word.running = true;
    PushButton6_Click(window);
    EXPECT_EQ(window.dialogs.texts(), QStringList{warning()});
    EXPECT_TRUE(word.calls.empty());
    EXPECT_FALSE(QFile::exists(path1));
}

TEST_F(WordProcessorMethodTest, AFailingComparisonIsReportedAtLine120AndTheFilesStillGo) {
    word.failure = QStringLiteral("LibreOffice could not be started");
    PushButton6_Click(window);
    EXPECT_EQ(window.dialogs.texts(), QStringList{report(120, "LibreOffice could not be started")});
    EXPECT_EQ(word.calls.size(), 1u);
    EXPECT_FALSE(QFile::exists(path1));
    EXPECT_FALSE(QFile::exists(path2));
    expectFinished();
}

TEST_F(WordProcessorMethodTest, AMissingWordProcessorIsReportedAtLine120) {
    window.all.services.word = nullptr;
    PushButton6_Click(window);
    EXPECT_EQ(window.dialogs.texts(),
              QStringList{report(120, "The word processor is not available")});
    EXPECT_FALSE(QFile::exists(path1));
    EXPECT_FALSE(QFile::exists(path2));
    expectFinished();
}

TEST_F(WordProcessorMethodTest, AFailingRunningCheckCountsAsNotRunning) {
    word.runningCheckFails = true;
    PushButton6_Click(window);
    EXPECT_TRUE(window.dialogs.messages.empty());
    EXPECT_EQ(word.calls.size(), 1u);
}

TEST_F(WordProcessorMethodTest, ASecondClickDuringADeletionDoesNothing) {
    int nested = 0;
    window.pump.hook = [&] {
        ++nested;
        PushButton6_Click(window);
    };
    PushButton6_Click(window);
    EXPECT_EQ(nested, 4);
    EXPECT_EQ(word.calls.size(), 1u);
    expectFinished();
}

// ---- The real window --------------------------------------------------------------------------

TEST(WordsCommandWindowTest, TheButtonRunsTheComparisonAndIgnoresClicksDuringIt) {
    TestServices test;
    Form1 form(test.services);
    form.pane(1).setText("a b c\r");
    form.pane(2).setText("a c\r");
    int yields = 0;
    test.pump.hook = [&] {
        if (yields++ > 0) return;
        form.pane(3).setText("marker");
        form.PushButton(6)->click();
        form.PushButton(1)->click();
        EXPECT_EQ(form.pane(3).text(), "marker");
        EXPECT_TRUE(form.BusyFlag);
    };
    form.PushButton(6)->click();
    EXPECT_EQ(yields, 1);
    EXPECT_EQ(form.pane(3).text(), "\r\nb");
    EXPECT_EQ(form.pane(4).text(), "");
    EXPECT_FALSE(form.BusyFlag);
    EXPECT_TRUE(form.ComparisonDone);
    EXPECT_TRUE(test.dialogs.messages.empty());
}

}  // namespace

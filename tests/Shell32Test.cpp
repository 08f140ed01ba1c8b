// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Running a program and waiting for it with the window live.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>

#include "core/LoadCancel.h"
#include "core/Shell32.h"
#include "tests/support/CountingPump.h"

using namespace corvella;
using corvella::testing::CountingPump;

namespace {

TEST(Shell32Test, MissingProgramGivesANegativeResultAtOnce) {
    CountingPump pump;
    const int result = Shell32::RunAndWait("/nonexistent/program", {}, 0, pump);
    EXPECT_EQ(result, Shell32::kObjectErrorBase + Shell32::kLaunchFailed);
    EXPECT_LT(result, 0);
    EXPECT_EQ(pump.count, 0);
}

TEST(Shell32Test, ProgramThatEndsAtOnceGivesItsCodeAfterOnePoll) {
    CountingPump pump;
    EXPECT_EQ(Shell32::RunAndWait("true", {}, 0, pump), 0);
    EXPECT_GE(pump.count, 1);
    EXPECT_LE(pump.count, 3);
}

TEST(Shell32Test, LongProgramGivesItsCodeAndTheWindowHandlesEventsMeanwhile) {
    CountingPump pump;
    bool timerFired = false;
    QTimer::singleShot(300, [&] { timerFired = true; });
    EXPECT_EQ(Shell32::RunAndWait("sh", {"-c", "sleep 2; exit 3"}, 0, pump), 3);
    EXPECT_TRUE(timerFired);
    EXPECT_GE(pump.count, 10);  // about one poll per 100 ms
}

TEST(Shell32Test, ArgumentsArriveIntactWithoutAnyShell) {
    QTemporaryDir dir;
    const QString out = dir.filePath("args");
    const QStringList hostile = {"a b",      "\"quoted\"", "$(touch " + dir.filePath("pwned") + ")",
                                 "-leading", "new\nline",  "semi;colon",
                                 "*"};
    CountingPump pump;
    QStringList arguments{"-c", "printf '%s|' \"$@\" > \"$0\"", out};
    arguments += hostile;
    ASSERT_EQ(Shell32::RunAndWait("sh", arguments, 0, pump), 0);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), hostile.join('|') + '|');
    EXPECT_FALSE(QFile::exists(dir.filePath("pwned")));
}

TEST(Shell32Test, WindowStyleOutsideZeroToSixMeansSix) {
    EXPECT_EQ(Shell32::NormalisedWindowStyle(std::nullopt), 6);
    EXPECT_EQ(Shell32::NormalisedWindowStyle(-1), 6);
    EXPECT_EQ(Shell32::NormalisedWindowStyle(7), 6);
    EXPECT_EQ(Shell32::NormalisedWindowStyle(0), 0);
    EXPECT_EQ(Shell32::NormalisedWindowStyle(4), 4);
}

TEST(Shell32Test, ClosingTheWindowKillsAProgramBeingWaitedFor) {
    CountingPump pump;
    pump.hook = [&] {
        if (pump.count == 3) Shell32::KillRunningPrograms();
    };
    QElapsedTimer timer;
    timer.start();
    EXPECT_NE(Shell32::RunAndWait("sleep", {"30"}, 0, pump), 0);
    EXPECT_LT(timer.elapsed(), 20000);
}

TEST(Shell32Test, RunsAtTheSameTimeGiveTheirCodesInOrderWithTheWindowLive) {
    QtEventPump pump;
    bool timerFired = false;
    QTimer::singleShot(100, [&] { timerFired = true; });
    const std::vector<int> results = Shell32::RunQueuedAndWait(
        "sh", {{"-c", "sleep 0.5; exit 4"}, {"-c", "exit 0"}}, 2, pump, {});
    EXPECT_EQ(results, (std::vector<int>{4, 0}));
    EXPECT_TRUE(timerFired);
}

TEST(Shell32Test, QueuedRunsKeepToTheirNumberAtOnceAndAreHeardAsTheyEnd) {
    QtEventPump pump;
    QTemporaryDir dir;
    const QString log = dir.filePath("log");
    std::vector<QStringList> runs;
    for (int i = 0; i < 5; ++i)
        runs.push_back(
            {"-c",
             QStringLiteral("echo + >> '%1'; sleep 0.2; echo - >> '%1'; exit %2").arg(log).arg(i)});
    std::vector<std::size_t> heard;
    const std::vector<int> results = Shell32::RunQueuedAndWait(
        "sh", runs, 2, pump, [&](std::size_t index, int) { heard.push_back(index); });
    EXPECT_EQ(results, (std::vector<int>{0, 1, 2, 3, 4}));
    std::sort(heard.begin(), heard.end());
    EXPECT_EQ(heard, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    int runningAtOnce = 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        runningAtOnce += line == "+" ? 1 : line == "-" ? -1 : 0;
        EXPECT_LE(runningAtOnce, 2);
    }
}

TEST(Shell32Test, AStopRequestDuringRunsAtTheSameTimeKillsThem) {
    QtEventPump pump;
    const LoadCancel::Scope load;
    QTimer::singleShot(50, [] { LoadCancel::Request(); });
    QElapsedTimer timer;
    timer.start();
    EXPECT_THROW(Shell32::RunQueuedAndWait("sleep", {{"30"}, {"30"}}, 2, pump, {}, true),
                 LoadCancel::Cancelled);
    EXPECT_LT(timer.elapsed(), 20000);
}

TEST(Shell32Test, ALiveWaitEndsWithTheProgramAndReportsIt) {
    QtEventPump pump;
    QProcess process;
    process.start("sh", {"-c", "exit 0"});
    ASSERT_TRUE(process.waitForStarted());
    EXPECT_TRUE(Shell32::WaitLive(process, pump, std::chrono::seconds(20)));
    EXPECT_EQ(process.state(), QProcess::NotRunning);
}

TEST(Shell32Test, APumpThatCannotWaitHandlesThePendingEventsOnce) {
    CountingPump pump;
    EXPECT_FALSE(pump.processEventsUntil([] { return false; }, std::chrono::milliseconds(100)));
    EXPECT_EQ(pump.count, 1);
}

TEST(Shell32Test, TheWindowsPumpHandlesEventsUntilItsConditionHolds) {
    QtEventPump pump;
    bool done = false;
    QTimer::singleShot(10, [&] { done = true; });
    EXPECT_TRUE(pump.processEventsUntil([&] { return done; }, std::chrono::seconds(20)));
    EXPECT_TRUE(done);
}

}  // namespace

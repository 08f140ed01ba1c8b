// Running a program and waiting for it with the window live.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

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

}  // namespace

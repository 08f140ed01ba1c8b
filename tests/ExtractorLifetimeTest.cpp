// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// However corvella or corvella-diff ends, no extractor it started runs on and none of its files
// stays in the private temp folder.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "extract/PageRanges.h"
#include "tests/support/StandIns.h"
#include "tests/support/TestPdfs.h"

using namespace corvella::testing;

namespace {

constexpr int kPages = 80;

bool waitFor(const std::function<bool()>& condition, int seconds) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > seconds * 1000) return false;
        QThread::msleep(20);
    }
    return true;
}

// A PDF, a private temp folder, and stand-ins for pdfinfo and pdftotext first on the PATH. The
// information reader answers at once, or never ends as the extractor does.
struct Stage {
    explicit Stage(bool informationHangs) {
        QDir(dir.path()).mkpath("bin");
        const QString note = QStringLiteral("echo $$ >> '%1'\n").arg(pidFile());
        EXPECT_TRUE(WriteScript(dir.filePath("bin/pdftotext"), EndlessExtractor(pidFile())));
        EXPECT_TRUE(WriteScript(
            dir.filePath("bin/pdfinfo"),
            note + (informationHangs ? QStringLiteral("exec sleep 600\n")
                                     : QStringLiteral("echo 'Pages: %1'\n").arg(kPages))));
        QStringList pages;
        for (int i = 1; i <= kPages; ++i) pages << QStringLiteral("page %1").arg(i);
        EXPECT_TRUE(TestPdfs::WriteTextPdf(pdf(), pages));
    }
    QString pdf() const { return dir.filePath("any.pdf"); }
    QString pidFile() const { return dir.filePath("pids"); }
    QString closeTrigger() const { return dir.filePath("close-now"); }
    QStringList leftFiles() const {
        return QDir(dir.filePath("corvella-" + QString::number(geteuid())))
            .entryList(QDir::Files | QDir::System | QDir::Hidden);
    }
    void start(QProcess& process, const char* program, const QStringList& arguments) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", dir.filePath("bin") + ':' + environment.value("PATH"));
        environment.insert("TEMP", dir.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("CORVELLA_PROBE_CLOSE_WHEN", closeTrigger());
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
    }

    QTemporaryDir dir;
};

TEST(ExtractorLifetimeTest, NoExtractorAndNoFileOutlivesTheProgramHoweverItEnds) {
    struct Ending {
        const char* name;
        int signal;  // 0: the program's own way out (the window closed, the time limit passed)
    };
    const Ending endings[] = {{"own way out", 0}, {"TERM", SIGTERM}, {"INT", SIGINT},
                              {"HUP", SIGHUP},    {"KILL", SIGKILL}, {"SEGV", SIGSEGV},
                              {"ABRT", SIGABRT}};
    const int ranges = int(corvella::PageRanges::Plan(
                               kPages, corvella::PageRanges::RunsFor(QThread::idealThreadCount()))
                               .size());
    // A window reads its ranges in order, one per core at a time.
    const int cores = QThread::idealThreadCount();
    const int rangesAtOnce = std::min(
        int(corvella::PageRanges::PlanInOrder(kPages, corvella::PageRanges::RunsInOrderFor(cores),
                                              corvella::PageRanges::RunsAtOnceInOrder(cores))
                .size()),
        corvella::PageRanges::RunsAtOnceInOrder(cores));
    for (const bool window : {true, false})
        for (const bool informationHangs : {false, true})
            for (const Ending& ending : endings) {
                // In pdfinfo, the signals that take the way of TERM or KILL are left out.
                if (informationHangs && ending.signal != 0 && ending.signal != SIGTERM &&
                    ending.signal != SIGKILL)
                    continue;
                SCOPED_TRACE(::testing::Message()
                             << (window ? "corvella " : "corvella-diff ")
                             << (informationHangs ? "in pdfinfo, " : "in pdftotext, ")
                             << ending.name);
                const Stage stage(informationHangs);
                const bool ownWay = ending.signal == 0;
                QProcess process;
                if (window)
                    stage.start(process, CORVELLA_PROBE, {stage.pdf()});
                else if (ownWay)
                    stage.start(process, CORVELLA_DIFF_PROGRAM,
                                {"--timeout", "1", stage.pdf(), stage.pdf()});
                else
                    stage.start(process, CORVELLA_DIFF_PROGRAM, {stage.pdf(), stage.pdf()});
                // The information reader, then the extractor once per page range.
                const int runs = informationHangs ? 1 : 1 + (window ? rangesAtOnce : ranges);
                ASSERT_TRUE(waitFor([&] { return NotedPids(stage.pidFile()).size() >= runs; }, 120))
                    << NotedPids(stage.pidFile()).size() << " of " << runs << " started";

                if (!ownWay)
                    ::kill(pid_t(process.processId()), ending.signal);
                else if (window)
                    QFile(stage.closeTrigger()).open(QIODevice::WriteOnly);
                ASSERT_TRUE(process.waitForFinished(60000));

                const int status = process.exitStatus() == QProcess::NormalExit
                                       ? process.exitCode()
                                       : -process.exitCode();
                if (ownWay)
                    EXPECT_EQ(status, window ? 0 : 2);
                else if (ending.signal == SIGKILL || ending.signal == SIGSEGV ||
                         ending.signal == SIGABRT)
                    EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
                else
                    EXPECT_EQ(status, 128 + ending.signal);
                if (ownWay && !window) {
                    EXPECT_EQ(process.readAllStandardError(),
                              "corvella-diff: " + stage.pdf().toUtf8() +
                                  ": extraction took longer than 1 s\n");
                }

                // A caught ending stops the extractors before the program ends; after SIGKILL
                // the kernel kills them as the program goes.
                const bool caught = ending.signal != SIGKILL;
                for (const qint64 child : NotedPids(stage.pidFile()))
                    EXPECT_TRUE(waitFor([&] { return !IsRunning(child); }, caught ? 0 : 1))
                        << "extractor " << child << " still runs";
                if (!caught) {
                    // What a killed program could not remove goes at the next start.
                    EXPECT_FALSE(stage.leftFiles().isEmpty());
                    QProcess next;
                    stage.start(next, CORVELLA_DIFF_PROGRAM,
                                {"--timeout", "0.2", stage.pdf(), stage.pdf()});
                    ASSERT_TRUE(next.waitForFinished(60000));
                }
                EXPECT_EQ(stage.leftFiles(), QStringList());
            }
}

}  // namespace

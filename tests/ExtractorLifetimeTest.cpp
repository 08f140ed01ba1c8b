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
#include "tests/support/TestPdfs.h"

namespace {

constexpr int kPages = 80;

bool processIsRunning(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray fields = stat.readAll();
    const qsizetype close = fields.lastIndexOf(')');
    return close > 0 && fields.size() > close + 2 && fields[close + 2] != 'Z';
}

enum class Program { Window, Diff };
enum class HangIn { Information, Extraction };

// A folder with stand-ins for pdfinfo and pdftotext found first on the PATH, a private temp folder
// and a PDF. Each stand-in notes its pid; the extractor first creates its output file (a piece of
// the text), then never ends. The information reader answers at once, or also never ends.
class Stage {
public:
    explicit Stage(HangIn hang) {
        QDir(dir_.path()).mkpath("bin");
        QDir(dir_.path()).mkpath("tmp");
        const QString note = QStringLiteral("echo $$ >> '%1'\n").arg(pidFile());
        write("bin/pdftotext",
              "for a; do last=$a; done\n: > \"$last\"\n" + note + "exec sleep 600\n");
        write("bin/pdfinfo", note + (hang == HangIn::Information
                                         ? QStringLiteral("exec sleep 600\n")
                                         : QStringLiteral("printf 'Pages: %1\\n'\n").arg(kPages)));
        QStringList pages;
        for (int i = 1; i <= kPages; ++i) pages << QStringLiteral("page %1").arg(i);
        EXPECT_TRUE(corvella::testing::TestPdfs::WriteTextPdf(pdf(), pages));
    }

    QString pdf() const { return dir_.filePath("any.pdf"); }
    QString pidFile() const { return dir_.filePath("pids"); }
    QString trigger() const { return dir_.filePath("close-now"); }
    // Everything the programs left in their temp folder.
    QStringList leftFiles() const {
        return QDir(dir_.filePath("tmp/corvella-" + QString::number(geteuid())))
            .entryList(QDir::Files | QDir::System | QDir::Hidden);
    }
    QList<qint64> pids() const {
        QFile file(pidFile());
        QList<qint64> pids;
        if (file.open(QIODevice::ReadOnly))
            for (const QByteArray& line : file.readAll().split('\n'))
                if (line.toLongLong() > 0) pids << line.toLongLong();
        return pids;
    }
    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", dir_.filePath("bin") + ':' + environment.value("PATH"));
        environment.insert("TEMP", dir_.filePath("tmp"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("CORVELLA_PROBE_CLOSE_WHEN", trigger());
        return environment;
    }

private:
    void write(const QString& name, const QString& body) {
        QFile file(dir_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("#!/bin/sh\n" + body).toUtf8());
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ExeOwner);
    }

    QTemporaryDir dir_;
};

void start(QProcess& process, Program program, const Stage& stage, QStringList arguments) {
    process.setProcessEnvironment(stage.environment());
    process.start(program == Program::Window ? CORVELLA_PROBE : CORVELLA_DIFF_PROGRAM,
                  arguments << stage.pdf());
}

// How many stand-ins a load starts before it waits forever: the information reader, then the
// extractor once per page range.
int runsBeforeTheWait(HangIn hang) {
    using namespace corvella::PageRanges;
    return hang == HangIn::Information
               ? 1
               : 1 + int(Plan(kPages, RunsFor(QThread::idealThreadCount())).size());
}

bool waitFor(const std::function<bool()>& condition, int seconds) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > seconds * 1000) return false;
        QThread::msleep(20);
    }
    return true;
}

struct Ending {
    const char* name;
    int signal;  // 0: the program's own way out (the window closed, the time limit passed)
};

TEST(ExtractorLifetimeTest, NoExtractorAndNoFileOutlivesTheProgramHoweverItEnds) {
    const Ending endings[] = {{"own way out", 0}, {"TERM", SIGTERM}, {"INT", SIGINT},
                              {"HUP", SIGHUP},    {"KILL", SIGKILL}, {"SEGV", SIGSEGV},
                              {"ABRT", SIGABRT}};
    for (const Program program : {Program::Window, Program::Diff})
        for (const HangIn hang : {HangIn::Extraction, HangIn::Information})
            for (const Ending& ending : endings) {
                if (hang == HangIn::Information && ending.signal != 0 && ending.signal != SIGTERM &&
                    ending.signal != SIGKILL)
                    continue;  // the other endings take the same way as in the extraction
                SCOPED_TRACE(::testing::Message()
                             << (program == Program::Window ? "corvella " : "corvella-diff ")
                             << (hang == HangIn::Information ? "in pdfinfo, " : "in pdftotext, ")
                             << ending.name);
                Stage stage(hang);
                const bool ownWay = ending.signal == 0;
                QProcess process;
                start(process, program, stage,
                      program == Program::Diff
                          ? (ownWay ? QStringList{"--timeout", "1", stage.pdf()}
                                    : QStringList{stage.pdf()})
                          : QStringList{});
                ASSERT_TRUE(process.waitForStarted());
                const qint64 pid = process.processId();
                const int runs = runsBeforeTheWait(hang);
                ASSERT_TRUE(waitFor([&] { return stage.pids().size() >= runs; }, 120))
                    << stage.pids().size() << " of " << runs << " started";

                if (ending.signal != 0)
                    ::kill(pid_t(pid), ending.signal);
                else if (program == Program::Window)
                    QFile(stage.trigger()).open(QIODevice::WriteOnly);
                ASSERT_TRUE(process.waitForFinished(60000));

                const bool caught = ending.signal != SIGKILL;
                if (ownWay) {
                    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
                    EXPECT_EQ(process.exitCode(), program == Program::Window ? 0 : 2);
                    if (program == Program::Diff) {
                        EXPECT_EQ(process.readAllStandardError(),
                                  "corvella-diff: " + stage.pdf().toUtf8() +
                                      ": extraction took longer than 1 s\n");
                    }
                } else if (ending.signal == SIGKILL || ending.signal == SIGSEGV ||
                           ending.signal == SIGABRT) {
                    EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
                } else {
                    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
                    EXPECT_EQ(process.exitCode(), 128 + ending.signal);
                }
                // A caught ending stops the extractors before the program ends; after SIGKILL
                // the kernel kills them as the program goes.
                for (const qint64 child : stage.pids())
                    EXPECT_TRUE(waitFor([&] { return !processIsRunning(child); }, caught ? 0 : 10))
                        << "extractor " << child << " still runs";
                if (!caught) {
                    // What a killed program could not remove goes at the next start.
                    EXPECT_FALSE(stage.leftFiles().isEmpty());
                    QProcess next;
                    start(next, Program::Diff, stage, {"--timeout", "0.2", stage.pdf()});
                    ASSERT_TRUE(next.waitForFinished(60000));
                }
                EXPECT_EQ(stage.leftFiles(), QStringList());
            }
}

}  // namespace

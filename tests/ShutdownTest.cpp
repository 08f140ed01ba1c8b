// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Closing the window ends the process at once, even in the middle of a command.
#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include "core/TempFolder.h"
#include "extract/Deployment.h"
#include "extract/PageRanges.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;
using corvella::testing::TestServices;

namespace {

QStringList extractorCopies() {
    return QDir(TempFolder()).entryList({"pdftotext-*"}, QDir::Files | QDir::System);
}

// Runs in a child process: a long line comparison whose first yield closes the window.
[[noreturn]] void closeDuringComparison() {
    TestServices test;
    test.services.endProcess = nullptr;  // the real end: _exit
    Form1 form(test.services);
    form.Form_Load();
    if (!QFile::exists(Deployment::ExtractorPath())) std::_Exit(10);
    QString text;
    for (int i = 0; i < 20000; ++i) text += QStringLiteral("line %1\r").arg(i);
    form.pane(1).setText(text);
    form.pane(2).setText(text + "more\r");
    test.pump.hook = [&] { form.close(); };
    form.PushButton(1)->click();
    std::_Exit(20);  // reached only if closing did not end the process
}

TEST(ShutdownDeathTest, ClosingDuringACommandEndsTheProcessAndRemovesTheExtractor) {
    ASSERT_TRUE(extractorCopies().isEmpty());
    EXPECT_EXIT(closeDuringComparison(), ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(extractorCopies().isEmpty()) << extractorCopies().join(' ').toStdString();
}

// Page ranges read into a window run one per core at a time.
int started(int runs) {
    return std::min(runs, PageRanges::RunsAtOnceInOrder(QThread::idealThreadCount()));
}

// Runs in a child process: a load waiting on extractors that never finish, closed once `runs` of
// them have started.
[[noreturn]] void closeWhileExtracting(const QString& pidFile, const QString& pdf, int runs) {
    TestServices test;
    test.services.endProcess = nullptr;
    test.services.extractorRuns = runs;
    QFile script(Deployment::ExtractorPath());
    if (!script.open(QIODevice::WriteOnly)) std::_Exit(10);
    script.write(
        QStringLiteral("#!/bin/sh\necho $$ >> '%1'\nexec sleep 60\n").arg(pidFile).toUtf8());
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    Form1 form(test.services);
    form.Form_Load();  // leaves the existing extractor as it is
    test.dialogs.fileSelections.push_back({pdf});
    test.pump.hook = [&] {
        QFile pids(pidFile);
        if (pids.open(QIODevice::ReadOnly) && pids.readAll().count('\n') >= started(runs))
            form.close();
    };
    form.PushButton(3)->click();
    std::_Exit(20);
}

bool processIsRunning(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray fields = stat.readAll();
    const qsizetype close = fields.lastIndexOf(')');
    return close > 0 && fields.size() > close + 2 && fields[close + 2] != 'Z';
}

TEST(ShutdownDeathTest, ClosingWhileTheExtractorRunsKillsEveryRun) {
    struct Case {
        int pages;  // 0: not a PDF at all
        int runs;
    };
    for (const Case c : {Case{0, 1}, Case{60, 3}}) {
        SCOPED_TRACE(c.runs);
        QTemporaryDir dir;
        const QString pidFile = dir.filePath("extractor.pid");
        const QString pdf = dir.filePath("any.pdf");
        QStringList pages;
        for (int i = 0; i < c.pages; ++i) pages << QStringLiteral("page %1").arg(i);
        if (c.pages > 0)
            ASSERT_TRUE(corvella::testing::TestPdfs::WriteTextPdf(pdf, pages));
        else
            QFile(pdf).open(QIODevice::WriteOnly);
        EXPECT_EXIT(closeWhileExtracting(pidFile, pdf, c.runs), ::testing::ExitedWithCode(0), "");
        QFile file(pidFile);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> pids = file.readAll().trimmed().split('\n');
        ASSERT_EQ(pids.size(), started(c.runs));
        for (const QByteArray& line : pids) {
            const qint64 pid = line.toLongLong();
            ASSERT_GT(pid, 0);
            for (int i = 0; i < 50 && processIsRunning(pid); ++i) QThread::msleep(100);
            EXPECT_FALSE(processIsRunning(pid));
        }
        EXPECT_TRUE(extractorCopies().isEmpty());
    }
}

TEST(ShutdownTest, ClosingNeverAsksAndEndsWithCodeZero) {
    TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_EQ(test.exitCodes, std::vector<int>{0});
    EXPECT_TRUE(test.dialogs.messages.empty());
}

}  // namespace

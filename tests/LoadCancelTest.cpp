// Esc while a load's extractors run stops that load, and only that load.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "core/ChildLifetime.h"
#include "core/TempFolder.h"
#include "extract/Deployment.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"
#include "window/Form1.h"

using namespace corvella;
using corvella::testing::TestServices;

namespace {

bool processIsRunning(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray fields = stat.readAll();
    const qsizetype close = fields.lastIndexOf(')');
    return close > 0 && fields.size() > close + 2 && fields[close + 2] != 'Z';
}

QList<qint64> notedPids(const QString& path) {
    QFile file(path);
    QList<qint64> pids;
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray& line : file.readAll().split('\n'))
            if (line.toLongLong() > 0) pids << line.toLongLong();
    return pids;
}

// This process's texts and pieces of texts in the temp folder.
QStringList ownTexts() {
    QStringList texts;
    for (const QString& name : QDir(TempFolder()).entryList({"text-*"}, QDir::Files))
        if (ChildLifetime::OwnerOf(QFile::encodeName(name).constData()) == getpid()) texts << name;
    return texts;
}

// A window on screen and active, so that keys reach it as a user's do.
void showActive(Form1& form) {
    form.Form_Load();
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
}

QString pagesPdf(const QTemporaryDir& dir) {
    QStringList pages;
    for (int i = 1; i <= 60; ++i) pages << QStringLiteral("page %1").arg(i);
    const QString pdf = dir.filePath("pages.pdf");
    EXPECT_TRUE(corvella::testing::TestPdfs::WriteTextPdf(pdf, pages));
    return pdf;
}

TEST(LoadCancelTest, EscStopsTheRunningLoadAndLeavesEverythingElseAsItWas) {
    struct Case {
        int pane;
        int runs;  // 1: one extractor for the whole document, else one per page range
        bool focusInPane;
    };
    QTemporaryDir dir;
    const QString pdf = pagesPdf(dir);
    const QString pidFile = dir.filePath("pids");
    for (const Case c : {Case{1, 3, false}, Case{2, 1, true}, Case{2, 3, true}}) {
        SCOPED_TRACE(::testing::Message() << "pane " << c.pane << ", runs " << c.runs);
        QFile::remove(pidFile);
        // An extractor that begins its text and never ends.
        QFile script(Deployment::ExtractorPath());
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nfor a; do last=$a; done\n: > \"$last\"\n"
                                    "echo $$ >> '%1'\nexec sleep 60\n")
                         .arg(pidFile)
                         .toUtf8());
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ExeOwner);

        TestServices test;
        test.services.extractorRuns = c.runs;
        Form1 form(test.services);
        showActive(form);
        form.pane(1).setText("the first text\r");
        form.pane(2).setText("the second text\r");
        const QString before[] = {form.pane(1).text(), form.pane(2).text()};
        if (c.focusInPane) form.RichTextBox(c.pane)->setFocus();
        test.dialogs.fileSelections.push_back({pdf});
        std::optional<PointerShape> pointerWhileRunning;
        test.pump.hook = [&] {
            if (pointerWhileRunning || notedPids(pidFile).size() < c.runs) return;
            pointerWhileRunning = form.pointer();
            QTest::keyClick(form.windowHandle(), Qt::Key_Escape);
        };
        form.PushButton(c.pane == 1 ? 3 : 4)->click();

        ASSERT_TRUE(pointerWhileRunning.has_value());
        EXPECT_EQ(*pointerWhileRunning, PointerShape::Hourglass);
        EXPECT_EQ(form.pointer(), PointerShape::Default);
        EXPECT_EQ(form.pane(1).text(), before[0]);
        EXPECT_EQ(form.pane(2).text(), before[1]);
        EXPECT_TRUE(test.dialogs.messages.empty());
        // The load ends only once its extractors have.
        const QList<qint64> pids = notedPids(pidFile);
        EXPECT_EQ(pids.size(), c.runs);
        for (const qint64 pid : pids) EXPECT_FALSE(processIsRunning(pid)) << pid;
        EXPECT_EQ(ownTexts(), QStringList());
        QFile::remove(Deployment::ExtractorPath());
    }
}

TEST(LoadCancelTest, EscWithoutALoadChangesNothingAndTheNextLoadRunsWhole) {
    QTemporaryDir dir;
    const QString pdf = pagesPdf(dir);
    TestServices test;
    test.services.extractorRuns = 3;
    Form1 form(test.services);
    showActive(form);  // the real extractor
    form.pane(1).setText("kept\r");
    QTest::keyClick(form.windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(form.pane(1).text(), "kept\r\n");

    test.dialogs.fileSelections.push_back({pdf});
    form.PushButton(3)->click();
    EXPECT_TRUE(form.pane(1).text().startsWith("page 1\r\n"));
    EXPECT_TRUE(form.pane(1).text().contains("page 60\r\n"));
    EXPECT_TRUE(test.dialogs.messages.empty());
    EXPECT_EQ(ownTexts(), QStringList());
}

}  // namespace

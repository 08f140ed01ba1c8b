// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Esc while a load's extractors run stops that load, and only that load.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "core/ChildLifetime.h"
#include "core/TempFolder.h"
#include "extract/Deployment.h"
#include "extract/PageRanges.h"
#include "tests/support/PaneInspection.h"
#include "tests/support/StandIns.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;
using namespace corvella::testing;

namespace {

// This process's texts and pieces of texts in the temp folder.
QStringList ownTexts() {
    QStringList texts;
    for (const QString& name : QDir(TempFolder()).entryList({"text-*"}, QDir::Files))
        if (ChildLifetime::OwnerOf(QFile::encodeName(name).constData()) == getpid()) texts << name;
    return texts;
}

// What a user sees of a pane: text, red and selection.
struct PaneState {
    QString text;
    std::vector<std::pair<qsizetype, qsizetype>> red;
    qsizetype selStart, selLength;

    static PaneState Of(const PaneDocument& pane) {
        PaneState state{pane.text(), {}, pane.selStart(), pane.selLength()};
        for (const TextRange& run : corvella::testing::RunsOfColor(pane, kRed))
            state.red.push_back({run.start, run.length});
        return state;
    }
    bool operator==(const PaneState& other) const {
        return text == other.text && red == other.red && selStart == other.selStart &&
               selLength == other.selLength;
    }
};

// A window on screen and active, so that keys reach it as a user's do, with sixty pages to load.
struct ActiveWindow {
    explicit ActiveWindow(int extractorRuns) {
        test.services.extractorRuns = extractorRuns;
        form.Form_Load();
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form) && QTest::qWaitForWindowActive(&form));
        QStringList pages;
        for (int i = 1; i <= 60; ++i) pages << QStringLiteral("page %1").arg(i);
        EXPECT_TRUE(TestPdfs::WriteTextPdf(pdf, pages));
        test.dialogs.fileSelections.push_back({pdf});
    }
    void pressEsc() { QTest::keyClick(form.windowHandle(), Qt::Key_Escape); }

    QTemporaryDir dir;
    const QString pdf = dir.filePath("pages.pdf");
    TestServices test;
    Form1 form{test.services};
};

TEST(LoadCancelTest, EscStopsTheRunningLoadAndLeavesEverythingElseAsItWas) {
    struct Case {
        int pane;
        int runs;  // 1: one extractor for the whole document, else one per page range
        bool focusInPane;
    };
    for (const Case c : {Case{1, 3, false}, Case{2, 1, true}, Case{2, 3, true}}) {
        SCOPED_TRACE(::testing::Message() << "pane " << c.pane << ", runs " << c.runs);
        QTemporaryDir dir;
        const QString pidFile = dir.filePath("pids");
        ASSERT_TRUE(WriteScript(Deployment::ExtractorPath(), EndlessExtractor(pidFile)));
        ActiveWindow window(c.runs);  // keeps the extractor already there
        window.form.pane(1).setText("the first text\rsame\r");
        window.form.pane(2).setText("the second text\rsame\r");
        window.form.PushButton(1)->click();  // colours what differs, leaves a selection
        const PaneState before[] = {PaneState::Of(window.form.pane(1)),
                                    PaneState::Of(window.form.pane(2))};
        ASSERT_FALSE(before[0].red.empty());
        if (c.focusInPane) window.form.RichTextBox(c.pane)->setFocus();
        // Page ranges read into a window run one per core at a time.
        const int started =
            std::min(c.runs, PageRanges::RunsAtOnceInOrder(QThread::idealThreadCount()));
        std::optional<PointerShape> pointerWhileRunning;
        window.test.pump.hook = [&] {
            if (pointerWhileRunning || NotedPids(pidFile).size() < started) return;
            pointerWhileRunning = window.form.pointer();
            window.pressEsc();
        };
        window.form.PushButton(c.pane == 1 ? 3 : 4)->click();

        EXPECT_EQ(pointerWhileRunning, PointerShape::Hourglass);
        EXPECT_EQ(window.form.pointer(), PointerShape::Default);
        EXPECT_EQ(PaneState::Of(window.form.pane(1)), before[0]);
        EXPECT_EQ(PaneState::Of(window.form.pane(2)), before[1]);
        EXPECT_TRUE(window.form.ComparisonDone);
        EXPECT_TRUE(window.test.dialogs.messages.empty());
        // The load ends only once its extractors have, and takes its pieces of text along.
        EXPECT_EQ(NotedPids(pidFile).size(), started);
        for (const qint64 pid : NotedPids(pidFile)) EXPECT_FALSE(IsRunning(pid)) << pid;
        EXPECT_EQ(ownTexts(), QStringList());
        QFile::remove(Deployment::ExtractorPath());
    }
}

TEST(LoadCancelTest, EscWithoutALoadChangesNothingAndTheNextLoadRunsWhole) {
    ActiveWindow window(3);  // the real extractor
    window.form.pane(1).setText("kept\r");
    window.pressEsc();
    EXPECT_EQ(window.form.pane(1).text(), "kept\r\n");
    window.form.PushButton(3)->click();
    EXPECT_TRUE(window.form.pane(1).text().startsWith("page 1\r\n"));
    EXPECT_TRUE(window.form.pane(1).text().contains("page 60\r\n"));
    EXPECT_TRUE(window.test.dialogs.messages.empty());
    EXPECT_EQ(ownTexts(), QStringList());
}

}  // namespace

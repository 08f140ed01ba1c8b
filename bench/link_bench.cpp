// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Times the side-by-side review after each Find Differences command on a pair of real PDFs (by
// default the corpus's 1,151-page pair), in the real window on the offscreen platform.
//
//   link_bench CORPUS_DIR [PDF1 PDF2]   (paths relative to CORPUS_DIR)
//
// QT_QPA_PLATFORM, when set, chooses the platform: under xvfb-run and dbus-run-session with
// QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 it runs with the accessibility bridge.
//
// Per command prints "command_ms" (the command in the window), "link_ready_ms" (from its end until
// the panes scroll together), "max_stall_ms" (the longest the event loop went without a turn of a
// 10 ms timer meanwhile), then "scroll_ms" (the slowest of 50 linked scroll steps of pane 1, both
// panes repainted), "next_ms" (the slowest of 20 F8 presses with the other side shown) and
// "review_setup_ms" (what the command's end itself spends on the review; the scroll bars' marks
// and the link follow in later turns of the event loop, within max_stall_ms).
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "core/MemoryDocument.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;

namespace {

QString paneText(const QString& pdf, const QTemporaryDir& folder) {
    const QString text = folder.filePath(QFileInfo(pdf).fileName() + QStringLiteral(".txt"));
    if (QProcess::execute("pdftotext", {"-enc", "UTF-8", pdf, text}) != 0) return {};
    MemoryDocument pane;
    pane.loadFromFile(text);
    return pane.text();
}

double msSince(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char* argv[]) {
    // Offscreen unless told otherwise (on a display with the accessibility bridge, say).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: link_bench CORPUS_DIR [PDF1 PDF2]\n");
        return 2;
    }
    const QString corpus = QString::fromLocal8Bit(argv[1]);
    const QString first = argc > 3 ? argv[2] : "pairs/cpp-annotations-a4.pdf";
    const QString second = argc > 3 ? argv[3] : "pairs/cpp-annotations-letter.pdf";
    QTemporaryDir folder;
    const QString text1 = paneText(corpus + u'/' + first, folder);
    const QString text2 = paneText(corpus + u'/' + second, folder);
    if (text1.isEmpty() || text2.isEmpty()) {
        std::fprintf(stderr, "cannot extract %s or %s\n", qPrintable(first), qPrintable(second));
        return 1;
    }
    testing::TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    form.show();
    std::printf("pair=%s,%s pages=%lld,%lld\n", qPrintable(first), qPrintable(second),
                static_cast<long long>(text1.count(u'\f') + 1),
                static_cast<long long>(text2.count(u'\f') + 1));

    struct Command {
        const char* name;
        std::function<void()> run;
    } commands[] = {{"lines", [&] { form.PushButton(1)->click(); }},
                    {"words", [&] { form.PushButton(6)->click(); }},
                    {"ignoring_layout", [&] { form.IgnoringLayoutAction()->trigger(); }}};
    for (const Command& command : commands) {
        form.pane(1).setText(text1);
        form.pane(2).setText(text2);
        form.RichTextBox(1)->completeText();
        form.RichTextBox(2)->completeText();
        QElapsedTimer timer;
        timer.start();
        command.run();
        const double commandMs = msSince(timer);

        // The event loop's turns while the link is prepared.
        QElapsedTimer sinceTurn;
        qint64 longest = 0;
        QTimer turns;
        turns.setInterval(10);
        QObject::connect(&turns, &QTimer::timeout, [&] {
            longest = std::max(longest, sinceTurn.elapsed());
            sinceTurn.start();
        });
        timer.start();
        sinceTurn.start();
        turns.start();
        while (!form.sideBySide()->linkReady() && timer.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const double readyMs = msSince(timer);
        longest = std::max(longest, sinceTurn.elapsed());
        turns.stop();

        RichTextPane* pane = form.RichTextBox(1);
        QScrollBar* bar = pane->verticalScrollBar();
        double scroll = 0;
        for (int step = 0; step < 50; ++step) {
            timer.start();
            bar->setValue(bar->maximum() * step / 50);
            pane->viewport()->repaint();
            bar->repaint();
            form.RichTextBox(2)->viewport()->repaint();
            form.RichTextBox(2)->verticalScrollBar()->repaint();
            scroll = std::max(scroll, msSince(timer));
        }
        double next = 0;
        for (int i = 0; i < 20; ++i) {
            timer.start();
            form.reviewKeys()->action(1, Direction::Next)->trigger();
            next = std::max(next, msSince(timer));
        }
        timer.start();
        form.sideBySide()->comparisonEnded(true);
        const double setupMs = msSince(timer);
        while (!form.sideBySide()->linkReady() && timer.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        std::printf(
            "%s command_ms=%.0f link_ready_ms=%.0f max_stall_ms=%lld scroll_ms=%.1f "
            "next_ms=%.1f review_setup_ms=%.1f differences=%zu\n",
            command.name, commandMs, readyMs, static_cast<long long>(longest), scroll, next,
            setupMs,
            form.comparison().side(Side::One).differences.size() +
                form.comparison().side(Side::Two).differences.size());
        std::fflush(stdout);
    }
    return 0;
}

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Times the review window on a word comparison of many differences, in the real windows on the
// offscreen platform: of the corpus's 1,151-page pair (732,637 differences) when given the corpus
// folder, else of made-up lines (by default 60,000, of which every word but the first two differs:
// 1,320,000 differences).
//
//   review_window_bench [CORPUS_DIR | LINES] [--bridge]
//
// Prints "differences=D", then per phase "<phase>_ms=T <phase>_max_stall_ms=S": the time until
// the window has nothing left to make, and the longest a 10 ms timer of the event loop waited
// meanwhile. The phases: "open" (Ctrl+R until the list of changes is shown), "filter" (a word set
// into the list's filter), "hide_kind" and "show_kind" (a kind's toggle clicked off and on),
// "walk" (100 rows walked with F8, a turn of the event loop after each) and "resize" (ten
// resizes between 1000x700 and 1600x1000). With --bridge (bench/bridge_bench.sh with BENCH set to
// this program) the window runs under its accessibility bridge and each phase adds
// "<phase>_longest_answer_ms", the longest a reader asking a button's name every 20 ms waited.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <optional>

#include "bench/AccessibilityReader.h"
#include "tests/support/LayoutBook.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;

namespace {

std::pair<QString, QString> makeTexts(int lines) {
    QString a, b;
    for (int i = 0; i < lines; ++i) {
        const QString start = i % 60 == 0 ? QStringLiteral("\f") : QString();
        a += start +
             QStringLiteral(
                 "Line %1 alpha beta gamma delta epsilon zeta eta theta iota kappa lambda\r\n")
                 .arg(i);
        b += start +
             QStringLiteral("Line %1 one two three four five six seven eight nine ten eleven\r\n")
                 .arg(i);
    }
    return {a, b};
}

// Runs `phase`, then the event loop until `done`, with a 10 ms timer; prints the time taken and
// the longest the timer waited (and the reader its answer).
void timed(const char* name, bench::ReaderProcess* reader, const std::function<void()>& phase,
           const std::function<bool()>& done) {
    if (reader) reader->mark();
    QElapsedTimer timer;
    timer.start();
    QElapsedTimer sinceTurn;
    sinceTurn.start();
    qint64 longest = 0;
    QTimer turns;
    turns.setInterval(10);
    QObject::connect(&turns, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTurn.elapsed());
        sinceTurn.start();
    });
    turns.start();
    phase();
    while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    longest = std::max(longest, sinceTurn.elapsed());
    std::printf("%s_ms=%.0f %s_max_stall_ms=%lld", name, double(timer.nsecsElapsed()) / 1e6, name,
                static_cast<long long>(longest));
    if (reader)
        std::printf(" %s_longest_answer_ms=%lld", name,
                    static_cast<long long>(reader->longestAnswerMs()));
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && QByteArray(argv[1]) == "--reader") {
        QCoreApplication app(argc, argv);
        return bench::RunReader(QByteArray(argv[2]).toLongLong());
    }
    const bool bridge = argc > 1 && QByteArray(argv[argc - 1]) == "--bridge";
    if (bridge) --argc;
    if (!bridge) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString given = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    testing::TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    form.show();
    std::optional<bench::ReaderProcess> asking;
    if (bridge) {
        asking.emplace();
        if (!asking->start(QCoreApplication::applicationFilePath())) return 1;
    }
    bench::ReaderProcess* reader = asking ? &*asking : nullptr;
    const auto [a, b] =
        QFileInfo(given).isDir()
            ? std::pair{testing::LayoutBook::PaneText(given + "/pairs/cpp-annotations-a4.pdf"),
                        testing::LayoutBook::PaneText(given + "/pairs/cpp-annotations-letter.pdf")}
            : makeTexts(given.isEmpty() ? 60000 : given.toInt());
    form.pane(1).setText(a);
    form.pane(2).setText(b);
    form.PushButton(6)->click();  // words
    const Comparison& found = form.comparison();
    std::printf("differences=%zu\n", found.side(Side::One).differences.size() +
                                         found.side(Side::Two).differences.size());
    // The main window's own review is set up first: only the review window's work is timed.
    while (form.sideBySide()->settingUp())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    ReviewWindow* review = nullptr;
    auto settled = [&] { return review && review->settled(); };
    timed(
        "open", reader,
        [&] { QTimer::singleShot(0, &form, [&] { form.OpenReviewAction()->trigger(); }); },
        [&] {
            review = form.reviewWindow();
            return settled() && review->changes()->model().rowCount() > 0;
        });
    timed(
        "filter", reader, [&] { review->changes()->filter()->setText("seven"); }, settled);
    review->changes()->filter()->clear();
    while (!settled()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QCheckBox* deleted = review->changes()->kindToggle(ChangeKind::Deleted);
    timed(
        "hide_kind", reader, [&] { deleted->click(); }, settled);
    timed(
        "show_kind", reader, [&] { deleted->click(); }, settled);
    QTableView* table = review->changes()->table();
    review->activateWindow();
    table->setFocus();
    timed(
        "walk", reader,
        [&] {
            for (int row = 0; row < 100; ++row) {
                QTest::keyClick(table, Qt::Key_F8);
                QCoreApplication::processEvents();
            }
        },
        settled);
    timed(
        "resize", reader,
        [&] {
            for (int i = 0; i < 10; ++i) {
                review->resize(i % 2 ? QSize(1000, 700) : QSize(1600, 1000));
                QCoreApplication::processEvents();
            }
        },
        settled);
    return 0;
}

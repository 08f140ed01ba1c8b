// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Times the review window on a word comparison of many differences, in the real windows on the
// offscreen platform: of the corpus's 1,151-page pair (732,637 differences) when given the corpus
// folder, else of made-up lines (by default 60,000, of which every word but the first two differs:
// 1,320,000 differences).
//
//   review_window_bench [CORPUS_DIR | LINES]
//
// Prints "differences=D", then "open_ms=T open_max_stall_ms=S": from Ctrl+R until the list of
// changes is shown, and the longest a 10 ms timer of the event loop waited meanwhile; and
// "filter_ms=T filter_max_stall_ms=S" for a word typed into the list's filter.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>

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

// Runs the event loop until `done`, with a 10 ms timer; returns the time taken and the longest
// the timer waited.
std::pair<double, qint64> timed(const std::function<bool()>& done) {
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
    while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    longest = std::max(longest, sinceTurn.elapsed());
    return {double(timer.nsecsElapsed()) / 1e6, longest};
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString given = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    testing::TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    form.show();
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
    QTimer::singleShot(0, &form, [&] { form.OpenReviewAction()->trigger(); });
    const auto [openMs, openStall] = timed([&] {
        return form.reviewWindow() && form.reviewWindow()->settled() &&
               form.reviewWindow()->changes()->model().rowCount() > 0;
    });
    std::printf("open_ms=%.0f open_max_stall_ms=%lld\n", openMs, static_cast<long long>(openStall));
    ReviewWindow* review = form.reviewWindow();
    QTimer::singleShot(0, review, [&] { review->changes()->filter()->setText("seven"); });
    const auto [filterMs, filterStall] =
        timed([&] { return review->settled() && review->changes()->filter()->text() == "seven"; });
    std::printf("filter_ms=%.0f filter_max_stall_ms=%lld\n", filterMs,
                static_cast<long long>(filterStall));
    return 0;
}

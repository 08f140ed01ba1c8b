// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Times walking the differences of a thousand-page pane in the real window on the offscreen
// platform, and writing the web-page report of the same texts.
//
// Prints "lines=N differences=D", then "next_ms=T": one Next Difference (F8) in pane 1, best of 20;
// "reveal_ms=T": bringing the first difference of both panes into view after a comparison; and
// "html_ms=T html_bytes=B" for the report of the two panes' texts and marked lines; then
// "scroll_ms=T scroll_unmarked_ms=U marks_cost_ms=T-U": one scroll step of pane 1 with its scroll
// bar repainted, median of 200, with the scroll bar's marks of the differences and without them
// (panes not scrolling together, so only the marks differ); and "review_setup_ms=T
// review_max_stall_ms=S": from a comparison's end until both scroll bars are marked and the link's
// preparation runs, and the longest a 10 ms timer of the event loop waited meanwhile.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "report/HtmlReport.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;

namespace {

// About a thousand pages of 60 lines; one line in ten differs, a form feed every 60 lines.
std::pair<QString, QString> makeTexts(int lines) {
    QString a, b;
    for (int i = 0; i < lines; ++i) {
        const QString start = i % 60 == 0 ? QStringLiteral("\f") : QString();
        const QString line = QStringLiteral("Line %1 of the manual, which reads as before").arg(i);
        a += start + line + QStringLiteral("\r\n");
        b += start + (i % 10 == 3 ? line + QStringLiteral(" and more") : line) +
             QStringLiteral("\r\n");
    }
    return {a, b};
}

double msSince(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 60000;
    testing::TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    form.show();
    const auto [a, b] = makeTexts(lines);
    form.pane(1).setText(a);
    form.pane(2).setText(b);
    form.PushButton(1)->click();
    const Comparison& found = form.comparison();
    std::printf(
        "lines=%d differences=%zu\n", lines,
        found.side(Side::One).differences.size() + found.side(Side::Two).differences.size());

    // A colouring of nothing: the panes read their runs afresh, as after a comparison.
    form.pane(1).colorRanges({{0, 0}}, kRed);
    form.pane(2).colorRanges({{0, 0}}, kRed);
    QElapsedTimer timer;
    timer.start();
    form.reviewKeys()->comparisonEnded();
    std::printf("reveal_ms=%.1f\n", msSince(timer));

    RichTextPane* pane = form.RichTextBox(1);
    double best = 1e9;
    for (int i = 0; i < 20; ++i) {
        timer.start();
        form.reviewKeys()->action(1, Direction::Next)->trigger();
        best = std::min(best, msSince(timer));
    }
    std::printf("next_ms=%.2f selection=%lld\n", best, static_cast<long long>(pane->selStart()));

    const Alignment alignment = AlignWords(a, b);
    timer.start();
    const QByteArray html = HtmlReport::Write(found, alignment, {QStringLiteral("a.pdf"), a},
                                              {QStringLiteral("b.pdf"), b});
    std::printf("html_ms=%.1f html_bytes=%lld\n", msSince(timer),
                static_cast<long long>(html.size()));

    // A scroll step with and without the marks on the bar, once they are made.
    while (form.sideBySide()->marks(1).empty()) QCoreApplication::processEvents();
    form.sideBySide()->scrollTogether()->setChecked(false);
    QScrollBar* bar = pane->verticalScrollBar();
    auto scrollStep = [&] {
        std::vector<double> steps;
        for (int i = 0; i < 200; ++i) {
            timer.start();
            bar->setValue((bar->value() + 37) % std::max(1, bar->maximum()));
            pane->viewport()->repaint();
            bar->repaint();
            steps.push_back(msSince(timer));
        }
        std::nth_element(steps.begin(), steps.begin() + 100, steps.end());
        return steps[100];
    };
    const double marked = scrollStep();
    auto* marks = const_cast<OverviewMarks*>(&form.sideBySide()->marks(1));
    bar->removeEventFilter(marks);
    const double unmarked = scrollStep();
    bar->installEventFilter(marks);
    std::printf("scroll_ms=%.3f scroll_unmarked_ms=%.3f marks_cost_ms=%.3f\n", marked, unmarked,
                marked - unmarked);

    // The longest a 10 ms timer waits from the comparison's end until the panes are linked.
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
    form.sideBySide()->comparisonEnded(true);
    // These made-up lines differ in one number each, which the word alignment pairs slowly; the
    // corpus's books link within a second (link_bench). Measured here: the marks and the start of
    // the link's preparation, each in a turn of its own.
    while (!form.sideBySide()->preparing() && !form.sideBySide()->linkReady() &&
           timer.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QCoreApplication::processEvents();
    longest = std::max(longest, sinceTurn.elapsed());
    std::printf("review_setup_ms=%.0f review_max_stall_ms=%lld\n", msSince(timer),
                static_cast<long long>(longest));
    return 0;
}

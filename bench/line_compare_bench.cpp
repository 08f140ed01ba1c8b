// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Times "Find Differences (Lines)" in the real window on the offscreen platform.
//
// Prints "lines=N ms=T" for N = 10,000 and 100,000 lines per pane, "scaling=R" with
// R = T(100,000) / T(10,000), and "literal_ratio=X": how many times longer the literal
// step-by-step algorithm takes than the program at 5,000 lines (pass a smaller count as the first
// argument for a quicker estimate).
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <cstdio>

#include "compare/RTB.h"
#include "tests/support/LiteralLineCompare.h"
#include "tests/support/ScriptedDialogs.h"
#include "window/main/Form1.h"
#include "window/pane/RichTextPane.h"

using namespace corvella;

namespace {

// Two texts of n lines: about one line in ten differs, and some lines repeat.
std::pair<QString, QString> makeTexts(int n) {
    QString a, b;
    for (int i = 0; i < n; ++i) {
        const QString line =
            (i % 50 == 7) ? QStringLiteral("Repeated heading of the section")
                          : QStringLiteral("Line %1 of the report, with some words in it").arg(i);
        a += line + u'\r';
        b += (i % 10 == 3 ? QStringLiteral("Changed line %1 of the report").arg(i) : line) + u'\r';
    }
    return {a, b};
}

double timeCommand(int n) {
    testing::ScriptedDialogs dialogs;
    QtEventPump events;
    Services services{dialogs, events};
    Form1 form(services);
    form.Form_Load();
    const auto [a, b] = makeTexts(n);
    form.pane(1).setText(a);
    form.pane(2).setText(b);
    QElapsedTimer timer;
    timer.start();
    form.PushButton1_Click();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (!dialogs.messages.empty() || form.pane(3).text().isEmpty())
        std::fprintf(stderr, "unexpected result\n");
    return ms;
}

double timeLiteral(int n) {
    QtEventPump events;
    RichTextPane p1, p2, p3, p4;
    const auto [a, b] = makeTexts(n);
    p1.setText(a);
    p2.setText(b);
    QElapsedTimer timer;
    timer.start();
    testing::Literal::FindDifferences(p1, p2, p3, events);
    testing::Literal::FindDifferences(p2, p1, p4, events);
    return double(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int literalLines = argc > 1 ? std::atoi(argv[1]) : 5000;

    timeCommand(1000);  // warm up fonts and caches
    const double small = timeCommand(10000);
    std::printf("lines=10000 ms=%.1f\n", small);
    const double large = timeCommand(100000);
    std::printf("lines=100000 ms=%.1f\n", large);
    std::printf("scaling=%.2f\n", large / small);

    const double ours = timeCommand(literalLines);
    const double literal = timeLiteral(literalLines);
    std::printf("literal_lines=%d literal_ms=%.1f ours_ms=%.1f\n", literalLines, literal, ours);
    std::printf("literal_ratio=%.1f\n", literal / ours);
    std::fflush(stdout);
    return 0;
}

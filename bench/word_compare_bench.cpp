// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Times "Find Differences (Words)" in the real window on the offscreen platform.
//
// Prints "literal_ratio=X": how many times longer the literal step-by-step algorithm takes than
// the program at 2,000 lines (pass another count as the first argument); then "lines=N ms=T" for
// N = 10,000 and 100,000 lines per pane (best of five and of three runs) and, last, "scaling=R"
// with R = T(100,000) / T(10,000).
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

#include "tests/support/LiteralWordCompare.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;

namespace {

// Two texts of n lines of about ten words. In pane 2 one line in ten has a word changed and one
// in fifty a word more; pane 1 ends with a line break, pane 2 with an extra line.
std::pair<QString, QString> makeTexts(int n) {
    QString a, b;
    for (int i = 0; i < n; ++i) {
        const QString line = QStringLiteral("Line %1 of the report has some words in it, number %2")
                                 .arg(i)
                                 .arg(i % 7);
        a += line + u'\r';
        QString other = line;
        if (i % 10 == 3) other.replace(QStringLiteral("some"), QStringLiteral("several"));
        if (i % 50 == 17) other.replace(QStringLiteral("words"), QStringLiteral("more words"));
        b += other;
        if (i + 1 < n) b += u'\r';
    }
    b += QStringLiteral("\rA closing line that only pane 2 has");
    return {a, b};
}

struct Run {
    double ms = 0;
    bool ok = false;
};

Run timeCommand(int n, bool literal) {
    testing::TestServices test;
    Form1 form(test.services);
    form.selectOption(1);
    const auto [a, b] = makeTexts(n);
    form.pane(1).setText(a);
    form.pane(2).setText(b);
    QElapsedTimer timer;
    timer.start();
    if (literal)
        testing::Literal::WordComparisonCommand(form);
    else
        form.PushButton6_Click();
    Run run{double(timer.nsecsElapsed()) / 1e6, false};
    run.ok = test.dialogs.messages.empty() && !form.pane(3).text().isEmpty() &&
             !form.pane(4).text().isEmpty() && !form.BusyFlag;
    return run;
}

// The best of a few runs, so that other work on the machine disturbs the figures less.
double timeOrWarn(int n, bool literal = false, int runs = 1) {
    double best = 0;
    for (int i = 0; i < runs; ++i) {
        const Run run = timeCommand(n, literal);
        if (!run.ok) std::fprintf(stderr, "unexpected result at %d lines\n", n);
        if (i == 0 || run.ms < best) best = run.ms;
    }
    return best;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int literalLines = argc > 1 ? std::atoi(argv[1]) : 2000;

    timeOrWarn(1000);  // warm up fonts and caches
    const double ours = timeOrWarn(literalLines);
    const double literal = timeOrWarn(literalLines, true);
    std::printf("literal_lines=%d literal_ms=%.1f ours_ms=%.1f\n", literalLines, literal, ours);
    std::printf("literal_ratio=%.1f\n", literal / ours);
    std::fflush(stdout);

    const double small = timeOrWarn(10000, false, 5);
    std::printf("lines=10000 ms=%.1f\n", small);
    std::fflush(stdout);
    const double large = timeOrWarn(100000, false, 3);
    std::printf("lines=100000 ms=%.1f\n", large);
    std::printf("scaling=%.2f\n", large / small);
    return 0;
}

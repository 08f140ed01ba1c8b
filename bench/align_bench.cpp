// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Times the content alignment of two texts and placing each difference in the other text, on the
// engines alone (no window).
//
//   align_bench CORPUS_DIR [FILE1 FILE2]
//
// FILE1 and FILE2 (default: the A4 and Letter editions of the 1,151-page book) are extracted once
// with pdftotext. Prints one line: "pairs=.. align_ms=.. place_lines_ms=..
// place_words_ms=.. peak_rss_mb=..", where align_ms is AlignWords on the two pane texts and
// place_*_ms is PlaceInOther of that method's differences through it.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "core/PaneText.h"
#include "diff/Alignment.h"
#include "diff/LineComparison.h"
#include "diff/WordComparison.h"

using namespace corvella;

namespace {

QString paneText(const QString& pdf, const QString& scratch) {
    const QString out = scratch + QStringLiteral("/text.txt");
    QProcess::execute(QStringLiteral("pdftotext"),
                      {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, out});
    QFile file(out);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return PaneText::canonicalFromFileText(file.readAll()) + PaneText::kBreak;
}

qint64 placed(Comparison comparison, const Alignment& alignment, const QString& a,
              const QString& b) {
    QElapsedTimer clock;
    clock.start();
    PlaceInOther(comparison, alignment, a, b);
    return clock.elapsed();
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: align_bench CORPUS_DIR [FILE1 FILE2]\n");
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    const QString file1 = argc == 4 ? QString::fromLocal8Bit(argv[2])
                                    : QStringLiteral("pairs/cpp-annotations-a4.pdf");
    const QString file2 = argc == 4 ? QString::fromLocal8Bit(argv[3])
                                    : QStringLiteral("pairs/cpp-annotations-letter.pdf");
    QTemporaryDir scratch;
    const QString a = paneText(corpus.filePath(file1), scratch.path());
    const QString b = paneText(corpus.filePath(file2), scratch.path());
    if (a.isEmpty() || b.isEmpty()) {
        std::fprintf(stderr, "align_bench: no text from %s or %s\n", qPrintable(file1),
                     qPrintable(file2));
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    const Alignment alignment = AlignWords(a, b);
    const qint64 alignMs = clock.elapsed();
    const qint64 lines = placed(LineCompare::Compare(a, b), alignment, a, b);
    const qint64 words = placed(WordCompare::Compare(a, b), alignment, a, b);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "%s %s pairs=%zu align_ms=%lld place_lines_ms=%lld place_words_ms=%lld peak_rss_mb=%.0f\n",
        qPrintable(file1), qPrintable(file2), alignment.pairs().size(),
        static_cast<long long>(alignMs), static_cast<long long>(lines),
        static_cast<long long>(words), double(usage.ru_maxrss) / 1024.0);
    return 0;
}

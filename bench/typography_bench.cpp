// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The layout-free comparison on real prose typeset by two unrelated programs, and on the corpus's
// A4 and Letter editions of the 1,151-page book.
//
//   typography_bench PAIRS_DIR [CORPUS_DIR]
//
// PAIRS_DIR is what bench/typeset_pairs.sh made. Prints, for the same text (browser.pdf against
// office.pdf), the words reported and those set aside as typography; for the edited text
// (browser.pdf against edited.pdf) the edits found, whether the moved paragraph is a move, and the
// words reported that belong to no edit. With CORPUS_DIR, on the book: the words reported with and
// without --ignore-numbers, and the comparison's CPU time with and without the changed characters
// (the median of seven runs of each, taken in turn).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>

#include "core/PaneText.h"
#include "diff/layout/LayoutComparison.h"
#include "diff/layout/WordFolding.h"

using namespace corvella;

namespace {

QString paneText(const QString& pdf) {
    QTemporaryDir scratch;
    const QString out = scratch.filePath(QStringLiteral("text.txt"));
    QProcess::execute(QStringLiteral("pdftotext"),
                      {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, out});
    QFile file(out);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return PaneText::canonicalFromFileText(file.readAll()) + PaneText::kBreak;
}

// A reported word as the edits list it: folded, without punctuation at its ends, in lower case.
QString bare(const QString& word) { return WordFolding::Fold(word, {true, true, true}); }

qsizetype wordsOf(const std::vector<Difference>& runs) {
    qsizetype words = 0;
    for (const Difference& run : runs) words += run.wordCount;
    return words;
}

void sameText(const QString& browser, const QString& office) {
    const Comparison found = LayoutCompare::Compare(browser, office);
    std::printf("same text: reported_words=%lld (file1 %lld, file2 %lld) typography_words=%lld\n",
                static_cast<long long>(found.differingWords()),
                static_cast<long long>(wordsOf(found.side(Side::One).differences)),
                static_cast<long long>(wordsOf(found.side(Side::Two).differences)),
                static_cast<long long>(wordsOf(found.side(Side::One).typography)));
    for (const Side side : kBothSides)
        for (const QString& words : found.side(side).differenceWords)
            std::printf("  reported in file%d: %s\n", NumberOf(side), qPrintable(words));
}

struct Edit {
    QString kind;
    QStringList words;
};

std::vector<Edit> readEdits(const QString& path) {
    std::vector<Edit> edits;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return edits;
    for (const QByteArray& line : file.readAll().split('\n')) {
        QStringList words = QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty()) continue;
        const QString kind = words.takeFirst();
        for (QString& word : words) word = bare(word);
        edits.push_back({kind, words});
    }
    return edits;
}

// Whether the run holds the word.
bool holds(const QString& run, const QString& word) {
    for (const QString& w : run.split(u' '))
        if (bare(w) == word) return true;
    return false;
}

// How many of the words the side's runs hold, as many times as they stand there.
qsizetype covered(const std::vector<QString>& runs, const QStringList& words) {
    std::map<QString, int> left;
    for (const QString& run : runs)
        for (const QString& w : run.split(u' ')) ++left[bare(w)];
    qsizetype count = 0;
    for (const QString& word : words)
        if (left[word]-- > 0) ++count;
    return count;
}

bool found(const Edit& edit, const Comparison& comparison) {
    const ComparedSide& in1 = comparison.side(Side::One);
    const ComparedSide& in2 = comparison.side(Side::Two);
    if (edit.kind == QLatin1String("replace") || edit.kind == QLatin1String("number")) {
        for (size_t r = 0; r < in2.differences.size(); ++r) {
            const qint32 opposite = in2.differences[r].opposite;
            if (holds(in2.differenceWords[r], edit.words[1]) && opposite >= 0 &&
                holds(in1.differenceWords[size_t(opposite)], edit.words[0]))
                return true;
        }
        return false;
    }
    if (edit.kind == QLatin1String("insert"))
        return covered(in2.differenceWords, edit.words) == edit.words.size();
    if (edit.kind == QLatin1String("delete"))
        return covered(in1.differenceWords, edit.words) == edit.words.size();
    return covered(in1.movedWords, edit.words) >= edit.words.size() * 9 / 10;
}

// The words of one side the edits account for: replaced and deleted ones in file 1, the new ones
// in file 2, a moved paragraph's on both.
std::map<QString, int> expected(const std::vector<Edit>& edits, Side side) {
    std::map<QString, int> words;
    for (const Edit& edit : edits) {
        const bool pair =
            edit.kind == QLatin1String("replace") || edit.kind == QLatin1String("number");
        if (pair) ++words[edit.words[side == Side::One ? 0 : 1]];
        const bool own = side == Side::One ? edit.kind == QLatin1String("delete")
                                           : edit.kind == QLatin1String("insert");
        if (own || edit.kind == QLatin1String("move"))
            for (const QString& word : edit.words) ++words[word];
    }
    return words;
}

void editedText(const QString& browser, const QString& edited, const std::vector<Edit>& edits) {
    const Comparison comparison = LayoutCompare::Compare(browser, edited);
    int foundCount = 0;
    bool moveFound = false;
    for (const Edit& edit : edits) {
        const bool ok = found(edit, comparison);
        foundCount += ok;
        if (edit.kind == QLatin1String("move")) moveFound = ok;
        if (!ok)
            std::printf("  not found: %s %s\n", qPrintable(edit.kind),
                        qPrintable(edit.words.join(u' ').left(60)));
    }
    qsizetype stray = 0;
    for (const Side side : kBothSides) {
        std::map<QString, int> left = expected(edits, side);
        for (const QString& run : comparison.side(side).differenceWords)
            for (const QString& word : run.split(u' ')) {
                if (left[bare(word)]-- > 0) continue;
                ++stray;
                std::printf("  stray in file%d: %s\n", NumberOf(side), qPrintable(word));
            }
    }
    std::printf(
        "edited text: edits=%zu found=%d moved_as_move=%s reported_words=%lld "
        "stray_words=%lld typography_words=%lld\n",
        edits.size(), foundCount, moveFound ? "yes" : "no",
        static_cast<long long>(comparison.differingWords()), static_cast<long long>(stray),
        static_cast<long long>(wordsOf(comparison.side(Side::One).typography)));
}

// The process's CPU time: the comparison runs on one thread, and a shared machine's other work
// does not count in it.
qint64 cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

qint64 median(std::vector<qint64> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void book(const QDir& corpus) {
    const QString a4 = paneText(corpus.filePath(QStringLiteral("pairs/cpp-annotations-a4.pdf")));
    const QString letter =
        paneText(corpus.filePath(QStringLiteral("pairs/cpp-annotations-letter.pdf")));
    LayoutCompare::Options numbers;
    numbers.ignoreNumbers = true;
    LayoutCompare::Options plain;
    plain.refineChanges = false;
    std::vector<qint64> refined, unrefined;
    qsizetype words = 0, refinedRuns = 0;
    for (int round = 0; round < 7; ++round) {
        for (const bool refine : {true, false}) {
            const qint64 before = cpuMs();
            const Comparison found = LayoutCompare::Compare(
                a4, letter, {}, nullptr, refine ? LayoutCompare::Options{} : plain);
            (refine ? refined : unrefined).push_back(cpuMs() - before);
            words = found.differingWords();
            if (refine)
                refinedRuns = std::count_if(
                    found.side(Side::One).differences.begin(),
                    found.side(Side::One).differences.end(),
                    [](const Difference& d) { return d.refinement == Refinement::Refined; });
        }
    }
    const Comparison ignoring = LayoutCompare::Compare(a4, letter, {}, nullptr, numbers);
    std::printf(
        "book: reported_words=%lld ignore_numbers_words=%lld numbers_ignored=%lld "
        "refined_runs=%lld compare_cpu_ms=%lld unrefined_cpu_ms=%lld refinement_share=%.3f\n",
        static_cast<long long>(words), static_cast<long long>(ignoring.differingWords()),
        static_cast<long long>(ignoring.ignored.numbers), static_cast<long long>(refinedRuns),
        static_cast<long long>(median(refined)), static_cast<long long>(median(unrefined)),
        double(median(refined) - median(unrefined)) / double(median(unrefined)));
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: typography_bench PAIRS_DIR [CORPUS_DIR]\n");
        return 2;
    }
    const QDir pairs(QString::fromLocal8Bit(argv[1]));
    const QString browser = paneText(pairs.filePath(QStringLiteral("browser.pdf")));
    const QString office = paneText(pairs.filePath(QStringLiteral("office.pdf")));
    const QString edited = paneText(pairs.filePath(QStringLiteral("edited.pdf")));
    if (browser.isEmpty() || office.isEmpty() || edited.isEmpty()) {
        std::fprintf(stderr, "typography_bench: no text in %s (run bench/typeset_pairs.sh)\n",
                     argv[1]);
        return 1;
    }
    sameText(browser, office);
    editedText(browser, edited, readEdits(pairs.filePath(QStringLiteral("edits.txt"))));
    if (argc == 3) book(QDir(QString::fromLocal8Bit(argv[2])));
    return 0;
}

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Times loading real PDF pairs and comparing them, in the real window on the offscreen platform.
//
//   load_compare_bench CORPUS_DIR
//
// CORPUS_DIR is a folder filled by the corpus fetch script. Prints "cores=N", then for each pair
// one line
//
//   FILE1 FILE2 pdftotext_ms=A total_ms=B overhead=B/A load1_ms=.. load2_ms=.. lines_ms=..
//   peak_rss_mb=.. cli_ms=C cli_overhead=C/A
//
// where A is one plain single extractor run of each file, one after the other (the faster of a run
// before and a run after the program's), B is both loads
// and "Find Differences (Lines)" through the program's own commands, and C the wall time of
// corvella-diff on the pair. Each pair runs in a process of its own so that its peak memory is its
// own. Then per pair: "words_ms=.. peak_rss_mb=.." after "Find Differences (Words)"; one line per
// phase (the loads, both comparisons, and loading file 1 again into the coloured pane) with the
// longest time the event loop went without a turn of a 10 ms timer ("max_stall_ms"); and the
// stages of loading the first file (extraction, the printable-text check, reading the text into
// the pane, the final line break). Then per pair, in a process of its own after both loads:
// "Find Differences (Ignoring Layout)" with "layout_words=" (differing words, and of them those
// that are no numbers), "layout_reordered=" (words only read in another order, in file 1),
// "layout_ms=" (the command in the window), "layout_compare_ms=" (the comparison alone),
// "layout_peak_rss_mb=" and its "max_stall_ms".
//
// The phases also show the word comparison's lists (hundreds of thousands of entries), walk them
// with the difference keys and hide them; every phase lasts until the panes shown hold their text,
// and the loads print "floor_ratio", their wall time against the extractor CPU they waited for
// (children's rusage) over the cores their runs could use, "ranges_ratio", against the same
// ranges run alone just before, and "own_cpu_ms", the CPU of the program's own threads. With
// --bridge (bench/bridge_bench.sh) the window runs under its accessibility bridge and each phase
// adds "longest_answer_ms", the longest a reader asking a button's name every 20 ms waited. --only
// N runs pair N alone, and "load_compare_bench --peak FILE1 FILE2" prints the window's peak memory
// holding two files after "Find Differences (Words)" (bench/huge_pair.sh).
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

#include "bench/AccessibilityReader.h"
#include "compare/LayoutCommand.h"
#include "compare/LinesCommand.h"
#include "compare/WordsCommand.h"
#include "core/LargeAllocations.h"
#include "core/Main.h"
#include "core/Shell32.h"
#include "diff/layout/LayoutComparison.h"
#include "extract/Deployment.h"
#include "extract/LoadCommands.h"
#include "extract/PDFToText.h"
#include "extract/PageRanges.h"
#include "extract/TextIntoPane.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"
#include "window/pane/RichTextPane.h"
#include "window/review/ReviewKeys.h"
#include "window/review/SideBySideReview.h"

using namespace corvella;

namespace {

struct Pair {
    const char* first;
    const char* second;
};

constexpr Pair kPairs[] = {
    {"pairs/install-guide-amd64.pdf", "pairs/install-guide-arm64.pdf"},
    {"pairs/cpp-annotations-a4.pdf", "pairs/cpp-annotations-letter.pdf"},
    {"large/r-refman-2415-pages.pdf", "pairs/cpp-annotations-a4.pdf"},
};

double peakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// The longest gap between two turns of a 10 ms timer while a phase runs.
class StallMeter {
public:
    StallMeter() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { turn(); });
    }
    void start() {
        longest_ = 0;
        clock_.start();
        timer_.start();
    }
    qint64 stop() {
        turn();
        timer_.stop();
        return longest_;
    }

private:
    void turn() { longest_ = std::max(longest_, clock_.restart()); }
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

struct Phase {
    qint64 ms = 0;
    qint64 maxStallMs = 0;
    qint64 longestAnswerMs = -1;  // with the accessibility reader only
    qint64 childCpuMs = 0;        // the extractor runs the phase waited for
    qint64 ownCpuMs = 0;          // the program's own threads
};

qint64 cpuMs(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return qint64(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

// Lets the event loop run until every shown pane holds all of its text in its document and the
// review of a comparison is set up: its marks made, its link prepared.
void settle(Form1& form) {
    auto busy = [&] {
        for (int number = 1; number <= 4; ++number)
            if (form.RichTextBox(number)->isVisible() && form.RichTextBox(number)->isFilling())
                return true;
        return form.sideBySide()->settingUp();
    };
    while (busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// A phase runs until its command has returned and the panes it shows hold their texts.
Phase timed(StallMeter& meter, bench::ReaderProcess* reader, Form1& form,
            const std::function<void()>& run) {
    QElapsedTimer clock;
    if (reader) reader->mark();
    const qint64 cpu = cpuMs(RUSAGE_CHILDREN);
    const qint64 own = cpuMs(RUSAGE_SELF);
    meter.start();
    clock.start();
    run();
    settle(form);
    Phase phase;
    phase.ms = clock.elapsed();
    phase.maxStallMs = meter.stop();
    phase.childCpuMs = cpuMs(RUSAGE_CHILDREN) - cpu;
    phase.ownCpuMs = cpuMs(RUSAGE_SELF) - own;
    if (reader) phase.longestAnswerMs = reader->longestAnswerMs();
    return phase;
}

// The page ranges a window's load of the PDF reads, in order; one range for a single run.
std::vector<PageRanges::Range> windowRanges(const QString& pdf) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(-1);
    const PageRanges::DocumentInfo document =
        PageRanges::ParseDocumentInfo(info.readAllStandardOutput());
    if (!document.pages || document.encrypted) return {{1, 1}};
    const int cores = QThread::idealThreadCount();
    return PageRanges::PlanInOrder(*document.pages, PageRanges::RunsInOrderFor(cores),
                                   PageRanges::RunsAtOnceInOrder(cores));
}

// How many cores the extractor runs of one load of the PDF use at most.
int coresUsed(const QString& pdf) {
    const int runs = int(windowRanges(pdf).size());
    return runs < 2 ? 1
                    : std::min(PageRanges::RunsAtOnceInOrder(QThread::idealThreadCount()), runs);
}

// One plain extractor run of each file, one after the other.
qint64 baselineMs(const QStringList& pdfs, const QString& folder) {
    QElapsedTimer clock;
    clock.start();
    for (qsizetype i = 0; i < pdfs.size(); ++i)
        QProcess::execute(QStringLiteral("pdftotext"),
                          {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfs[i],
                           folder + QStringLiteral("/baseline%1.txt").arg(i)});
    return clock.elapsed();
}

// The stages of one load, each timed on its own.
QString loadStages(const QString& pdf, Services& services) {
    QElapsedTimer clock;
    clock.start();
    QString path = pdf;
    RTB::PDFToText(path, services);
    const qint64 extract = clock.restart();
    const bool unreadable = Main::NoTextPDF(path, services);
    const qint64 check = clock.restart();
    RichTextPane pane;
    pane.loadFromFile(path);
    const qint64 load = clock.restart();
    pane.setText(pane.text() + QStringLiteral("\r"));
    const qint64 append = clock.restart();
    QFile::remove(path);
    return QStringLiteral("extract_ms=%1 check_ms=%2 into_pane_ms=%3 final_break_ms=%4%5")
        .arg(extract)
        .arg(check)
        .arg(load)
        .arg(append)
        .arg(unreadable ? QStringLiteral(" (unreadable)") : QString());
}

// A word such as "1059," or "(12)": digits and punctuation only.
bool isNumber(QStringView word) {
    bool digit = false;
    for (QChar c : word) {
        if (c.isDigit())
            digit = true;
        else if (!c.isPunct())
            return false;
    }
    return digit;
}

// The real window, started and shown, on the scripted services with real event handling.
struct LiveWindow {
    LiveWindow() {
        live.settings = &test.settings;
        live.printers = &test.printers;
        live.random = &test.random;
        live.launcher = &test.launcher;
        live.programFolder = test.programFolder.path();
        form.Form_Load();
        form.show();
    }
    testing::TestServices test;
    QtEventPump events;
    Services live{test.dialogs, events};
    Form1 form{live};
};

qsizetype wordsNotNumbers(const Comparison& found) {
    qsizetype count = 0;
    for (const ComparedSide& side : found.sides)
        for (const QString& run : side.differenceWords)
            for (QStringView word : QStringView(run).split(u' '))
                if (!isNumber(word)) ++count;
    return count;
}

// The words read in another order, counted in file 1.
qsizetype reorderedWords(const Comparison& found) {
    qsizetype count = 0;
    for (const Difference& reorder : found.side(Side::One).reordered) count += reorder.wordCount;
    return count;
}

int runLayout(const QString& corpus, const Pair& pair) {
    LiveWindow window;
    testing::TestServices& test = window.test;
    Form1& form = window.form;
    test.dialogs.fileSelections.push_back({QDir(corpus).filePath(QLatin1String(pair.first))});
    PushButton3_Click(form);
    test.dialogs.fileSelections.push_back({QDir(corpus).filePath(QLatin1String(pair.second))});
    PushButton4_Click(form);

    StallMeter meter;
    // As the user runs it: the command, then the review of its comparison.
    const Phase layout =
        timed(meter, nullptr, form, [&] { form.IgnoringLayoutAction()->trigger(); });
    const Comparison& found = form.comparison();
    const double peak = peakRssMb();
    QElapsedTimer clock;
    clock.start();
    LayoutCompare::Compare(form.pane(1).text(), form.pane(2).text());
    const qint64 compare = clock.elapsed();
    std::printf(
        "%s %s layout_words=%lld layout_words_not_numbers=%lld layout_runs=%zu layout_moved=%zu "
        "layout_reordered=%lld layout_ms=%lld layout_compare_ms=%lld layout_peak_rss_mb=%.0f "
        "max_stall_ms=%lld\n",
        pair.first, pair.second, static_cast<long long>(found.differingWords()),
        static_cast<long long>(wordsNotNumbers(found)),
        found.side(Side::One).differences.size() + found.side(Side::Two).differences.size(),
        found.side(Side::One).moved.size(), static_cast<long long>(reorderedWords(found)),
        static_cast<long long>(layout.ms), static_cast<long long>(compare), peak,
        static_cast<long long>(layout.maxStallMs));
    for (const QString& message : test.dialogs.texts())
        std::printf("message: %s\n", qPrintable(message));
    std::fflush(stdout);
    Deployment::RemoveExtractor();
    return 0;
}

void printPhase(const Pair& pair, const char* name, const Phase& phase) {
    std::printf("%s %s phase=%s ms=%lld max_stall_ms=%lld", pair.first, pair.second, name,
                static_cast<long long>(phase.ms), static_cast<long long>(phase.maxStallMs));
    if (phase.longestAnswerMs >= 0)
        std::printf(" longest_answer_ms=%lld", static_cast<long long>(phase.longestAnswerMs));
    std::printf("\n");
}

// The wall time of the load's extractor runs alone: the same page ranges at the same time, with
// nothing else of the program. On a machine shared with other work it moves as the loads do.
qint64 rangesAloneMs(const QString& pdf, const QString& folder) {
    // As the window reads them: in order, one per core at a time.
    const std::vector<PageRanges::Range> ranges = windowRanges(pdf);
    const int cores = QThread::idealThreadCount();
    std::vector<QStringList> runs;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        QStringList arguments{QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
                              folder + QStringLiteral("/range%1.txt").arg(i)};
        if (ranges.size() > 1)
            arguments = QStringList{QStringLiteral("-f"), QString::number(ranges[i].first),
                                    QStringLiteral("-l"), QString::number(ranges[i].last)} +
                        arguments;
        runs.push_back(arguments);
    }
    QElapsedTimer clock;
    clock.start();
    QtEventPump events;
    Shell32::RunQueuedAndWait(QStringLiteral("pdftotext"), runs,
                              std::size_t(PageRanges::RunsAtOnceInOrder(cores)), events, {});
    return clock.elapsed();
}

// A load's wall time against its extractor CPU spread over the cores its runs could use, and
// against its runs alone.
void printFloor(const Pair& pair, const char* name, const Phase& phase, int cores, qint64 aloneMs) {
    const double floor = double(phase.childCpuMs) / cores;
    std::printf(
        "%s %s phase=%s extractor_cpu_ms=%lld cores_used=%d floor_ratio=%.3f ranges_alone_ms=%lld "
        "ranges_ratio=%.2f own_cpu_ms=%lld\n",
        pair.first, pair.second, name, static_cast<long long>(phase.childCpuMs), cores,
        floor > 0 ? double(phase.ms) / floor : 0.0, static_cast<long long>(aloneMs),
        aloneMs > 0 ? double(phase.ms) / double(aloneMs) : 0.0,
        static_cast<long long>(phase.ownCpuMs));
}

int runPair(const QString& corpus, const Pair& pair, bool bridge) {
    const QString first = QDir(corpus).filePath(QLatin1String(pair.first));
    const QString second = QDir(corpus).filePath(QLatin1String(pair.second));
    QTemporaryDir scratch;
    // This machine's speed drifts from second to second: the baseline is taken before and after
    // the program's runs, and the faster of the two counts (which can only raise the overhead).
    qint64 baseline = baselineMs({first, second}, scratch.path());
    QElapsedTimer cliClock;
    cliClock.start();
    QProcess::execute(QStringLiteral(CORVELLA_DIFF_PATH),
                      {QStringLiteral("--quiet"), first, second});
    const qint64 cli = cliClock.elapsed();

    LiveWindow window;
    testing::TestServices& test = window.test;
    Form1& form = window.form;
    std::optional<bench::ReaderProcess> reader;
    if (bridge) {
        reader.emplace();
        if (!reader->start(QCoreApplication::applicationFilePath())) return 1;
    }
    bench::ReaderProcess* asking = reader ? &*reader : nullptr;

    StallMeter meter;
    auto phase = [&](const std::function<void()>& run) { return timed(meter, asking, form, run); };
    const qint64 alone1 = rangesAloneMs(first, scratch.path());
    test.dialogs.fileSelections.push_back({first});
    const Phase load1 = phase([&] { PushButton3_Click(form); });
    const qint64 alone2 = rangesAloneMs(second, scratch.path());
    test.dialogs.fileSelections.push_back({second});
    const Phase load2 = phase([&] { PushButton4_Click(form); });
    const Phase lines = phase([&] { form.PushButton(1)->click(); });
    const double peak = peakRssMb();
    const qint64 total = load1.ms + load2.ms + lines.ms;
    baseline = std::min(baseline, baselineMs({first, second}, scratch.path()));

    std::printf(
        "%s %s pdftotext_ms=%lld total_ms=%lld overhead=%.2f load1_ms=%lld load2_ms=%lld "
        "lines_ms=%lld peak_rss_mb=%.0f cli_ms=%lld cli_overhead=%.2f\n",
        pair.first, pair.second, static_cast<long long>(baseline), static_cast<long long>(total),
        double(total) / double(baseline), static_cast<long long>(load1.ms),
        static_cast<long long>(load2.ms), static_cast<long long>(lines.ms), peak,
        static_cast<long long>(cli), double(cli) / double(baseline));
    std::fflush(stdout);

    const Phase words = phase([&] { form.PushButton(6)->click(); });
    std::printf("%s %s words_ms=%lld peak_rss_mb=%.0f\n", pair.first, pair.second,
                static_cast<long long>(words.ms), peakRssMb());
    // The word comparison's lists (hundreds of thousands of entries) shown, walked and hidden,
    // then the comparison run with them shown.
    const Phase showList = phase([&] { form.selectOption(2); });
    const Phase nextKey = phase([&] {
        for (int number : {3, 4})
            for (int i = 0; i < 3; ++i)
                form.reviewKeys()->action(number, Direction::Next)->trigger();
    });
    const Phase hideList = phase([&] { form.selectOption(1); });
    const Phase wordsListed = phase([&] {
        form.selectOption(2);
        form.PushButton(6)->click();
    });
    const Phase hideListed = phase([&] { form.selectOption(1); });
    const qint64 aloneAgain = rangesAloneMs(first, scratch.path());
    test.dialogs.fileSelections.push_back({first});
    const Phase reload1 = phase([&] { PushButton3_Click(form); });

    const std::pair<const char*, Phase> phases[] = {{"load1", load1},
                                                    {"load2", load2},
                                                    {"lines", lines},
                                                    {"words", words},
                                                    {"show_list", showList},
                                                    {"next_key", nextKey},
                                                    {"hide_list", hideList},
                                                    {"words_listed", wordsListed},
                                                    {"hide_listed", hideListed},
                                                    {"reload1", reload1}};
    qint64 worstStall = 0;
    qint64 worstAnswer = -1;
    for (const auto& [name, measured] : phases) {
        printPhase(pair, name, measured);
        worstStall = std::max(worstStall, measured.maxStallMs);
        worstAnswer = std::max(worstAnswer, measured.longestAnswerMs);
    }
    std::printf("%s %s worst_stall_ms=%lld", pair.first, pair.second,
                static_cast<long long>(worstStall));
    if (worstAnswer >= 0) std::printf(" worst_answer_ms=%lld", static_cast<long long>(worstAnswer));
    std::printf("\n");
    printFloor(pair, "load1", load1, coresUsed(first), alone1);
    printFloor(pair, "load2", load2, coresUsed(second), alone2);
    printFloor(pair, "reload1", reload1, coresUsed(first), aloneAgain);
    std::printf("%s stages: %s\n", pair.first, qPrintable(loadStages(first, window.live)));
    for (const QString& message : test.dialogs.texts())
        std::printf("message: %s\n", qPrintable(message));
    std::fflush(stdout);
    Deployment::RemoveExtractor();
    return 0;
}

// Peak memory of the window holding two files, after both loads and after "Find Differences
// (Words)".
int runPeak(const QString& first, const QString& second) {
    LiveWindow window;
    Form1& form = window.form;
    StallMeter meter;
    window.test.dialogs.fileSelections.push_back({first});
    const Phase load1 = timed(meter, nullptr, form, [&] { PushButton3_Click(form); });
    window.test.dialogs.fileSelections.push_back({second});
    const Phase load2 = timed(meter, nullptr, form, [&] { PushButton4_Click(form); });
    const double loaded = peakRssMb();
    // The button, as a user presses it: the window keeps the result and links the panes.
    const Phase words = timed(meter, nullptr, form, [&] { form.PushButton(6)->click(); });
    const double compared = peakRssMb();
    QElapsedTimer linking;
    linking.start();
    // The link is prepared from a later turn of the event loop, then on a thread of its own.
    while (!form.sideBySide()->preparing() && !form.sideBySide()->linkReady() &&
           linking.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    while (form.sideBySide()->preparing() && linking.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    std::printf(
        "window load1_ms=%lld load2_ms=%lld loaded_peak_rss_mb=%.0f words_ms=%lld "
        "words_peak_rss_mb=%.0f linked=%d link_ms=%lld linked_peak_rss_mb=%.0f "
        "max_stall_ms=%lld\n",
        static_cast<long long>(load1.ms), static_cast<long long>(load2.ms), loaded,
        static_cast<long long>(words.ms), compared, int(form.sideBySide()->linkReady()),
        static_cast<long long>(linking.elapsed()), peakRssMb(),
        static_cast<long long>(std::max({load1.maxStallMs, load2.maxStallMs, words.maxStallMs})));
    for (const QString& message : window.test.dialogs.texts())
        std::printf("message: %s\n", qPrintable(message));
    std::fflush(stdout);
    Deployment::RemoveExtractor();
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    MapLargeAllocations();  // as the program does
    if (argc == 3 && QByteArray(argv[1]) == "--reader") {
        QCoreApplication app(argc, argv);
        return bench::RunReader(QByteArray(argv[2]).toLongLong());
    }
    // --bridge: on the display and session bus given (bench/bridge_bench.sh), with the window's
    // accessibility bridge on and a reader asking it.
    const bool bridge = argc > 2 && QByteArray(argv[argc - 1]) == "--bridge";
    if (!bridge) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList arguments = app.arguments();
    if (bridge) arguments.removeLast();
    if (arguments.size() == 4 && arguments[1] == QStringLiteral("--peak"))
        return runPeak(arguments[2], arguments[3]);
    if (arguments.size() == 4 && arguments[2] == QStringLiteral("--pair")) {
        const int index = arguments[3].toInt();
        return runPair(arguments[1], kPairs[index], bridge);
    }
    if (arguments.size() == 4 && arguments[2] == QStringLiteral("--layout"))
        return runLayout(arguments[1], kPairs[arguments[3].toInt()]);
    // --only N: pair N alone (0 the install guides, 1 the 1,151-page pair, 2 the 2,415 pages).
    std::optional<int> only;
    if (arguments.size() == 4 && arguments[2] == QStringLiteral("--only")) {
        only = arguments[3].toInt();
        arguments.resize(2);
    }
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: load_compare_bench CORPUS_DIR [--only N] [--bridge]\n");
        return 2;
    }
    std::printf("cores=%d\n", QThread::idealThreadCount());
    std::fflush(stdout);
    int status = 0;
    for (int i = 0; i < int(std::size(kPairs)); ++i) {
        if (only && *only != i) continue;
        const QString corpus = arguments[1];
        if (!QFile::exists(QDir(corpus).filePath(QLatin1String(kPairs[i].first))) ||
            !QFile::exists(QDir(corpus).filePath(QLatin1String(kPairs[i].second)))) {
            std::printf("%s %s missing\n", kPairs[i].first, kPairs[i].second);
            status = 1;
            continue;
        }
        // The layout-free comparison has no lists to show; the bridge run leaves it out.
        for (const char* mode : {"--pair", "--layout"}) {
            if (bridge && QByteArray(mode) == "--layout") continue;
            QStringList childArguments{corpus, QString::fromLatin1(mode), QString::number(i)};
            if (bridge) childArguments << QStringLiteral("--bridge");
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QCoreApplication::applicationFilePath(), childArguments);
            if (!child.waitForFinished(-1) || child.exitCode() != 0) status = 1;
        }
    }
    return status;
}

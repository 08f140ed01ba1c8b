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
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "compare/LayoutCommand.h"
#include "compare/LinesCommand.h"
#include "compare/WordsCommand.h"
#include "core/Main.h"
#include "diff/layout/LayoutComparison.h"
#include "extract/Deployment.h"
#include "extract/LoadCommands.h"
#include "extract/PDFToText.h"
#include "extract/TextIntoPane.h"
#include "tests/support/TestServices.h"
#include "window/Form1.h"
#include "window/RichTextPane.h"

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
};

Phase timed(StallMeter& meter, const std::function<void()>& run) {
    QElapsedTimer clock;
    meter.start();
    clock.start();
    run();
    Phase phase;
    phase.ms = clock.elapsed();
    phase.maxStallMs = meter.stop();
    return phase;
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
    for (const Difference& reorder : found.side(1).reordered) count += reorder.wordCount;
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
    Comparison found;
    const Phase layout = timed(meter, [&] { FindDifferencesIgnoringLayout(form, &found); });
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
        found.side(1).differences.size() + found.side(2).differences.size(),
        found.side(1).moved.size(), static_cast<long long>(reorderedWords(found)),
        static_cast<long long>(layout.ms), static_cast<long long>(compare), peak,
        static_cast<long long>(layout.maxStallMs));
    for (const QString& message : test.dialogs.texts())
        std::printf("message: %s\n", qPrintable(message));
    std::fflush(stdout);
    Deployment::RemoveExtractor();
    return 0;
}

int runPair(const QString& corpus, const Pair& pair) {
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

    StallMeter meter;
    test.dialogs.fileSelections.push_back({first});
    const Phase load1 = timed(meter, [&] { PushButton3_Click(form); });
    test.dialogs.fileSelections.push_back({second});
    const Phase load2 = timed(meter, [&] { PushButton4_Click(form); });
    const Phase lines = timed(meter, [&] { PushButton1_Click(form); });
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

    const Phase words = timed(meter, [&] { PushButton6_Click(form); });
    std::printf("%s %s words_ms=%lld peak_rss_mb=%.0f\n", pair.first, pair.second,
                static_cast<long long>(words.ms), peakRssMb());
    test.dialogs.fileSelections.push_back({first});
    const Phase reload1 = timed(meter, [&] { PushButton3_Click(form); });

    const std::pair<const char*, Phase> phases[] = {{"load1", load1},
                                                    {"load2", load2},
                                                    {"lines", lines},
                                                    {"words", words},
                                                    {"reload1", reload1}};
    for (const auto& [name, phase] : phases)
        std::printf("%s %s phase=%s ms=%lld max_stall_ms=%lld\n", pair.first, pair.second, name,
                    static_cast<long long>(phase.ms), static_cast<long long>(phase.maxStallMs));
    std::printf("%s stages: %s\n", pair.first, qPrintable(loadStages(first, window.live)));
    for (const QString& message : test.dialogs.texts())
        std::printf("message: %s\n", qPrintable(message));
    std::fflush(stdout);
    Deployment::RemoveExtractor();
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 4 && arguments[2] == QStringLiteral("--pair")) {
        const int index = arguments[3].toInt();
        return runPair(arguments[1], kPairs[index]);
    }
    if (arguments.size() == 4 && arguments[2] == QStringLiteral("--layout"))
        return runLayout(arguments[1], kPairs[arguments[3].toInt()]);
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: load_compare_bench CORPUS_DIR\n");
        return 2;
    }
    std::printf("cores=%d\n", QThread::idealThreadCount());
    std::fflush(stdout);
    int status = 0;
    for (int i = 0; i < int(std::size(kPairs)); ++i) {
        const QString corpus = arguments[1];
        if (!QFile::exists(QDir(corpus).filePath(QLatin1String(kPairs[i].first))) ||
            !QFile::exists(QDir(corpus).filePath(QLatin1String(kPairs[i].second)))) {
            std::printf("%s %s missing\n", kPairs[i].first, kPairs[i].second);
            status = 1;
            continue;
        }
        for (const char* mode : {"--pair", "--layout"}) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QCoreApplication::applicationFilePath(),
                        {corpus, mode, QString::number(i)});
            if (!child.waitForFinished(-1) || child.exitCode() != 0) status = 1;
        }
    }
    return status;
}

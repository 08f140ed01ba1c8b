// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/BatchRun.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <list>
#include <memory>
#include <optional>

#include "batch/FolderPairing.h"
#include "batch/Index.h"
#include "batch/OutputFolder.h"
#include "batch/PairJob.h"
#include "batch/PairListing.h"
#include "batch/Progress.h"

namespace corvella::Batch {

namespace {

void writeLine(QIODevice& device, const QString& text) {
    device.write((QStringLiteral("corvella-diff: ") + text + u'\n').toUtf8());
}

// The folder itself, or one inside it.
bool within(const QString& path, const QString& folder) {
    const QString outer = QDir::cleanPath(folder);
    return path == outer || path.startsWith(outer.endsWith(u'/') ? outer : outer + u'/');
}

QString checkFolders(const Options& options) {
    const QString out = QDir::cleanPath(QFileInfo(options.out).absoluteFilePath());
    const QString outReal = QFileInfo(options.out).canonicalFilePath();
    for (const QString& folder : options.folders) {
        const QFileInfo info(folder);
        if (!info.exists()) return folder + QStringLiteral(": No such file or directory");
        if (!info.isDir()) return folder + QStringLiteral(": Not a directory");
        if (!QDir(folder).isReadable()) return folder + QStringLiteral(": Permission denied");
        for (const QString& place : {info.absoluteFilePath(), info.canonicalFilePath()})
            if (within(out, place) || (!outReal.isEmpty() && within(outReal, place)))
                return options.out + QStringLiteral(": the output folder lies in ") + folder;
    }
    if (QFileInfo(options.folders[Side::One]).canonicalFilePath() ==
        QFileInfo(options.folders[Side::Two]).canonicalFilePath())
        return QStringLiteral("%1 and %2 are the same folder")
            .arg(options.folders[Side::One], options.folders[Side::Two]);
    return QString();
}

// The pairs of the folders or of the list, or the reason there are none.
QString findPairs(const Options& options, std::vector<Pair>& pairs) {
    if (options.source == Options::Source::Folders) {
        if (QString problem = checkFolders(options); !problem.isEmpty()) return problem;
        pairs = FolderPairing::Walk(options.folders);
        return QString();
    }
    QFile list;
    const bool opened = options.list == QStringLiteral("-")
                            ? list.open(stdin, QIODevice::ReadOnly)
                            : (list.setFileName(options.list), list.open(QIODevice::ReadOnly));
    if (!opened) return options.list + QStringLiteral(": ") + list.errorString();
    PairListing::Parsed parsed = PairListing::Parse(list.readAll());
    if (!parsed.problem.isEmpty()) return options.list + QStringLiteral(": ") + parsed.problem;
    pairs = std::move(parsed.pairs);
    MakeKeysUnique(pairs);
    return QString();
}

int statusOf(const Index::Totals& totals, bool failOnDifferences) {
    if (totals.of(Status::Trouble) > 0) return kSomeTrouble;
    const qsizetype differences =
        totals.of(Status::Differs) + totals.of(Status::Added) + totals.of(Status::Removed);
    return failOnDifferences && differences > 0 ? kSomeDiffer : kAllCompared;
}

// The three forms of the index; the reason when one could not be written.
QString writeIndex(const OutputFolder& folder, std::vector<PairResult> results) {
    std::sort(results.begin(), results.end(),
              [](const PairResult& a, const PairResult& b) { return a.key < b.key; });
    const std::pair<const char*, QByteArray> files[] = {{"index.json", Index::Json(results)},
                                                        {"junit.xml", Index::Junit(results)},
                                                        {"index.html", Index::Html(results)}};
    for (const auto& [name, bytes] : files) {
        const QString path = folder.filePath(QLatin1String(name));
        if (QString problem = OutputFolder::WriteWhole(path, bytes); !problem.isEmpty())
            return path + QStringLiteral(": ") + problem;
    }
    return QString();
}

bool sameFiles(const PairResult& earlier, const PairResult& now) {
    for (const Side side : kBothSides)
        if (earlier.files[side] != now.files[side] || !(earlier.stamps[side] == now.stamps[side]) ||
            now.stamps[side].size < 0)
            return false;
    return true;
}

// The pairs of one run: those to compare wait in a queue, `jobs` of them are compared at once.
class Runner {
public:
    Runner(const Options& options, const Program& program, bool terminal, QIODevice& err)
        : options_(options),
          program_(program),
          folder_(options.out),
          terminal_(terminal),
          err_(err),
          stamp_(QStringList{program.version} + options.comparison),
          jobs_(options.jobs > 0 ? options.jobs : std::max(1, QThread::idealThreadCount())) {}

    const OutputFolder& folder() const { return folder_; }
    int jobs() const { return jobs_; }
    const QString& outputProblem() const { return outputProblem_; }
    std::vector<PairResult>& results() { return results_; }

    void take(const Pair& pair);
    void compareQueued();

private:
    std::optional<PairResult> upToDate(const PairResult& now) const;
    void finish(PairResult result);
    void startMore();
    void ended(PairJob* job);
    void stop(const QString& problem);

    struct Queued {
        Pair pair;
        PairResult result;
        qint64 bytes = 0;
    };

    const Options& options_;
    Program program_;
    OutputFolder folder_;
    bool terminal_;
    QIODevice& err_;
    QStringList stamp_;
    int jobs_;
    std::vector<PairResult> results_;
    std::deque<Queued> queue_;
    std::list<std::unique_ptr<PairJob>> running_;
    std::optional<Progress> progress_;
    QString outputProblem_;
    QEventLoop loop_;
};

// The result of an earlier run that compared the same files as they are now with the same
// options, when both its reports are still there.
std::optional<PairResult> Runner::upToDate(const PairResult& now) const {
    std::optional<PairResult> earlier = folder_.readResult(now.output);
    if (earlier && earlier->compared() && earlier->options == now.options &&
        sameFiles(*earlier, now) && QFile::exists(folder_.reportPath(now.output, ".json")) &&
        QFile::exists(folder_.reportPath(now.output, ".html")))
        return earlier;
    return std::nullopt;
}

void Runner::take(const Pair& pair) {
    PairResult result = Begin(pair, stamp_);
    if (pair.kind != Kind::Compare) return finish(std::move(result));
    if (std::optional<PairResult> earlier = upToDate(result)) {
        earlier->resumed = true;
        results_.push_back(std::move(*earlier));
        return;
    }
    const qint64 bytes = result.stamps[Side::One].size + result.stamps[Side::Two].size;
    queue_.push_back({pair, std::move(result), bytes});
}

// What became of a pair, kept in the output folder for a later run and for --merge.
void Runner::finish(PairResult result) {
    const QString path = folder_.resultPath(result.output);
    const QString problem =
        OutputFolder::WriteWhole(path, QJsonDocument(result.toJson(true)).toJson());
    if (result.status == Status::Trouble) {
        const QString line =
            QStringLiteral("corvella-diff: %1: %2").arg(result.key, result.problem);
        if (progress_)
            progress_->note(line);
        else
            err_.write((line + u'\n').toUtf8());
    }
    results_.push_back(std::move(result));
    if (!problem.isEmpty()) stop(path + QStringLiteral(": ") + problem);
}

// The largest pairs first: the last pairs running are then short, and no core waits long alone.
void Runner::compareQueued() {
    if (queue_.empty()) return;
    std::stable_sort(queue_.begin(), queue_.end(),
                     [](const Queued& a, const Queued& b) { return a.bytes > b.bytes; });
    qint64 bytes = 0;
    for (const Queued& queued : queue_) bytes += queued.bytes;
    progress_.emplace(err_, terminal_, qsizetype(queue_.size()), bytes);
    progress_->show();
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [this] { progress_->show(); });
    if (terminal_) ticks.start(1000);
    startMore();
    if (!running_.empty()) loop_.exec();
    progress_->finish();
}

void Runner::startMore() {
    while (int(running_.size()) < jobs_ && !queue_.empty() && outputProblem_.isEmpty()) {
        Queued queued = std::move(queue_.front());
        queue_.pop_front();
        auto job = std::make_unique<PairJob>(queued.pair, std::move(queued.result), folder_,
                                             program_.path, options_.comparison);
        PairJob* started = job.get();
        started->setProperty("bytes", queued.bytes);
        QObject::connect(started, &PairJob::finished, [this, started] { ended(started); });
        running_.push_back(std::move(job));
        started->start();
    }
}

// The next pair starts before this one's result is taken and written down, so that no core waits
// on the batch's own files.
void Runner::ended(PairJob* job) {
    const auto found = std::find_if(running_.begin(), running_.end(),
                                    [job](const auto& running) { return running.get() == job; });
    if (found == running_.end()) return;
    std::unique_ptr<PairJob> done = std::move(*found);
    running_.erase(found);
    startMore();
    done->settle();
    if (!done->outputProblem().isEmpty()) {
        done->result().problem = QStringLiteral("not compared: ") + done->outputProblem();
        results_.push_back(done->result());
        stop(done->outputProblem());
    } else {
        const bool trouble = done->result().status == Status::Trouble;
        finish(std::move(done->result()));
        progress_->advance(done->property("bytes").toLongLong(), trouble);
    }
    // It is still sending its signal: it goes once that is done.
    done.release()->deleteLater();
    if (running_.empty()) loop_.quit();
}

// The output folder cannot take more: the comparisons under way are ended, and every pair not
// finished is named as not compared.
void Runner::stop(const QString& problem) {
    if (!outputProblem_.isEmpty()) return;
    outputProblem_ = problem;
    const QString reason = QStringLiteral("not compared: ") + problem;
    for (std::unique_ptr<PairJob>& job : running_) {
        job->abandon();
        job->result().status = Status::Trouble;
        job->result().problem = reason;
        results_.push_back(job->result());
        job.release()->deleteLater();
    }
    running_.clear();
    for (Queued& queued : queue_) {
        queued.result.problem = reason;
        results_.push_back(std::move(queued.result));
    }
    queue_.clear();
    loop_.quit();
}

int summarise(const Options& options, const std::vector<PairResult>& results, QIODevice& out) {
    const Index::Totals totals = Index::Totals::Of(results);
    QString summary = totals.sentence();
    if (!options.shard.whole())
        summary = QStringLiteral("share %1/%2: %3; the index comes with --merge %4")
                      .arg(options.shard.index)
                      .arg(options.shard.count)
                      .arg(summary, options.out);
    else
        summary += QStringLiteral("; index: ") + QDir(options.out).filePath("index.html");
    if (!options.quiet) out.write((summary + u'\n').toUtf8());
    return statusOf(totals, options.failOnDifferences);
}

int merge(const Options& options, QIODevice& out, QIODevice& err) {
    const OutputFolder folder(options.out);
    const std::vector<PairResult> results = folder.readResults();
    if (results.empty()) {
        writeLine(err, folder.filePath("pairs") + QStringLiteral(": no results of pairs"));
        return kSomeTrouble;
    }
    for (const PairResult& result : results)
        if (result.status == Status::Trouble)
            writeLine(err, result.key + QStringLiteral(": ") + result.problem);
    if (const QString problem = writeIndex(folder, results); !problem.isEmpty()) {
        writeLine(err, problem);
        return kSomeTrouble;
    }
    return summarise(options, results, out);
}

}  // namespace

int Run(const Options& options, const Program& program, bool terminal, QIODevice& out,
        QIODevice& err) {
    if (options.source == Options::Source::Merge) return merge(options, out, err);
    std::vector<Pair> pairs;
    QString problem = findPairs(options, pairs);
    if (problem.isEmpty()) {
        if (const QString reason = OutputFolder(options.out).prepare(); !reason.isEmpty())
            problem = options.out + QStringLiteral(": ") + reason;
    }
    if (!problem.isEmpty()) {
        writeLine(err, problem);
        return kSomeTrouble;
    }
    Runner runner(options, program, terminal, err);
    Interruption::Install(2 * runner.jobs());
    for (const Pair& pair : pairs)
        if (options.shard.holds(pair.key)) runner.take(pair);
    runner.compareQueued();
    if (!runner.outputProblem().isEmpty()) {
        writeLine(err, runner.outputProblem() + QStringLiteral("; the batch stopped"));
        if (options.shard.whole()) writeIndex(runner.folder(), runner.results());
        return kSomeTrouble;
    }
    if (options.shard.whole()) {
        if (const QString reason = writeIndex(runner.folder(), runner.results());
            !reason.isEmpty()) {
            writeLine(err, reason);
            return kSomeTrouble;
        }
    }
    return summarise(options, runner.results(), out);
}

}  // namespace corvella::Batch

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <memory>
#include <optional>

#include "batch/Interruption.h"
#include "batch/OutputFolder.h"
#include "batch/PairResult.h"

// One pair compared by a child corvella-diff with the batch's options. The child writes both
// reports under temporary names; once it has ended well they take their own names, so a report
// is never seen half-written. Each pair in a process of its own keeps the batch's memory flat
// however large its documents are, and lets an interruption end it with its extractors.
namespace corvella::Batch {

// The internal option that has a comparison write its JSON report and web page to two files:
// --pair-reports JSON HTML. Its exit status 3 says those could not be written.
inline constexpr char kPairReportsOption[] = "--pair-reports";
inline constexpr int kReportsNotWritten = 3;

class PairJob : public QObject {
    Q_OBJECT
public:
    // `program` is this executable; `options` are the comparison's own.
    PairJob(const Pair& pair, PairResult result, const OutputFolder& folder, const QString& program,
            const QStringList& options);
    ~PairJob() override;

    void start();
    // Once finished: gives the reports their names and takes the result from them, or the
    // reason there is none.
    void settle();
    // Ends the comparison under way (its extractors with it) without a result.
    void abandon();
    PairResult& result() { return result_; }
    // Why the pair's reports could not be written into the output folder (full, not writable),
    // or empty.
    const QString& outputProblem() const { return outputProblem_; }

signals:
    void finished();

private:
    void end(int exitCode, QProcess::ExitStatus exitStatus);
    QString childPath(Side side);
    QString takeReports();
    void removeTemporaryFiles();

    Pair pair_;
    PairResult result_;
    const OutputFolder& folder_;
    QString program_;
    QStringList options_;
    QProcess process_;
    QElapsedTimer clock_;
    QString jsonPart_;
    QString htmlPart_;
    std::optional<Interruption::PartialFile> jsonWatch_;
    std::optional<Interruption::PartialFile> htmlWatch_;
    QStringList links_;  // in the temp folder, for names that are not UTF-8
    QString outputProblem_;
    int exitCode_ = -1;  // -1: not started, or ended by a signal
};

}  // namespace corvella::Batch

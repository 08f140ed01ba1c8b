// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Shell32.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <algorithm>
#include <memory>

#include "core/ChildLifetime.h"
#include "core/LoadCancel.h"

namespace corvella::Shell32 {

namespace {
// The programs being waited for; a command waiting on one may be abandoned at shut-down.
QSet<QProcess*>& running() {
    static QSet<QProcess*> processes;
    return processes;
}

constexpr int kPollMilliseconds = 100;

// Polled: pending window events are handled once per poll period, and the process is waited for
// in between. Live: window events are handled as they come, and the end is seen at once.
enum class Waiting { Polled, Live };

// Waits until every process has ended or the limit has passed, handling window events as
// `waiting` says; what the first one writes to standard error is collected when asked for.
// A wait that is `cancellable` stops every process and throws LoadCancel::Cancelled once the load
// it serves is asked to stop.
bool waitAll(const std::vector<QProcess*>& processes, EventPump& events,
             std::optional<std::chrono::milliseconds> limit, QByteArray* standardError,
             bool cancellable, Waiting waiting = Waiting::Polled) {
    QElapsedTimer clock;
    clock.start();
    for (QProcess* process : processes) running().insert(process);
    auto stillRunning = [&]() -> QProcess* {
        for (QProcess* process : processes)
            if (process->state() != QProcess::NotRunning) return process;
        return nullptr;
    };
    bool inTime = true;
    QElapsedTimer cycle;
    do {
        cycle.start();
        bool waited = false;
        if (waiting == Waiting::Live)
            waited = events.processEventsUntil(
                [&] {
                    return stillRunning() == nullptr || (cancellable && LoadCancel::Requested());
                },
                std::chrono::milliseconds(kPollMilliseconds));
        else
            events.processEvents();
        if (cancellable && LoadCancel::Requested()) {
            for (QProcess* process : processes) {
                process->kill();
                process->waitForFinished();
                running().remove(process);
            }
            throw LoadCancel::Cancelled{};
        }
        // Polled, one turn of the event loop every poll period: what the events took comes off the
        // wait, which also ends early when the program ends.
        QProcess* process = waited ? nullptr : stillRunning();
        if (process != nullptr)
            process->waitForFinished(int(std::max<qint64>(1, kPollMilliseconds - cycle.elapsed())));
        if (standardError) *standardError += processes.front()->readAllStandardError();
        inTime = !limit || clock.elapsed() <= limit->count();
    } while (stillRunning() && inTime);
    for (QProcess* process : processes) running().remove(process);
    return stillRunning() == nullptr;
}

// A run with no window, input or output, bound to this process's life; started or failed to.
std::unique_ptr<QProcess> startQuiet(const QString& program, const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->setStandardInputFile(QProcess::nullDevice());
    ChildLifetime::Bind(*process);
    process->start(program, arguments, QIODevice::NotOpen);
    process->waitForStarted();
    return process;
}

int resultOf(const QProcess& process) {
    if (process.error() == QProcess::FailedToStart) return kObjectErrorBase + kLaunchFailed;
    if (process.exitStatus() == QProcess::CrashExit) return -1;
    return process.exitCode();
}

// One run, waited for with a poll.
int runPolled(const QString& program, const QStringList& arguments, EventPump& events,
              bool cancellable) {
    const std::unique_ptr<QProcess> process = startQuiet(program, arguments);
    if (process->state() != QProcess::NotRunning)
        waitAll({process.get()}, events, std::nullopt, nullptr, cancellable);
    return resultOf(*process);
}
}  // namespace

int NormalisedWindowStyle(std::optional<int> windowStyle) {
    if (!windowStyle || *windowStyle < 0 || *windowStyle > 6) return 6;
    return *windowStyle;
}

int RunAndWait(const QString& program, const QStringList& arguments, std::optional<int> windowStyle,
               EventPump& events, bool cancellable) {
    // Console programs have no window here: the style is checked and has nothing to apply to.
    static_cast<void>(NormalisedWindowStyle(windowStyle));
    return runPolled(program, arguments, events, cancellable);
}

std::vector<int> RunQueuedAndWait(const QString& program,
                                  const std::vector<QStringList>& argumentLists, std::size_t atOnce,
                                  EventPump& events,
                                  const std::function<void(std::size_t, int)>& ended,
                                  bool cancellable) {
    const std::size_t count = argumentLists.size();
    std::vector<std::unique_ptr<QProcess>> processes(count);
    std::vector<int> results(count, 0);
    std::vector<std::size_t> runs;      // the indexes of the runs going on
    std::vector<std::size_t> finished;  // runs ended and not yet heard of
    std::size_t next = 0;
    auto end = [&](std::size_t index) {
        running().remove(processes[index].get());
        results[index] = resultOf(*processes[index]);
        finished.push_back(index);
    };
    auto oneEnded = [&] {
        return std::any_of(runs.begin(), runs.end(), [&](std::size_t index) {
            return processes[index]->state() == QProcess::NotRunning;
        });
    };
    for (;;) {
        while (next < count && runs.size() < std::max<std::size_t>(1, atOnce)) {
            const std::size_t index = next++;
            processes[index] = startQuiet(program, argumentLists[index]);
            if (processes[index]->state() == QProcess::NotRunning) {
                end(index);
                continue;
            }
            running().insert(processes[index].get());
            runs.push_back(index);
        }
        // Heard only once the runs that take their places have started: no core waits meanwhile.
        for (const std::size_t index : finished)
            if (ended) ended(index, results[index]);
        finished.clear();
        if (runs.empty()) break;
        const bool waited = events.processEventsUntil(
            [&] { return oneEnded() || (cancellable && LoadCancel::Requested()); },
            std::chrono::milliseconds(kPollMilliseconds));
        if (cancellable && LoadCancel::Requested()) {
            for (const std::size_t index : runs) {
                processes[index]->kill();
                processes[index]->waitForFinished();
                running().remove(processes[index].get());
            }
            throw LoadCancel::Cancelled{};
        }
        // A pump that cannot wait leaves the waiting to the first run.
        if (!waited && !oneEnded()) processes[runs.front()]->waitForFinished(kPollMilliseconds);
        for (auto it = runs.begin(); it != runs.end();) {
            if (processes[*it]->state() != QProcess::NotRunning) {
                ++it;
                continue;
            }
            const std::size_t index = *it;
            it = runs.erase(it);
            end(index);
        }
    }
    return results;
}

bool WaitWhileLive(QProcess& process, EventPump& events,
                   std::optional<std::chrono::milliseconds> limit, QByteArray* standardError,
                   bool cancellable) {
    return waitAll({&process}, events, limit, standardError, cancellable);
}

bool WaitLive(QProcess& process, EventPump& events, std::chrono::milliseconds limit,
              bool cancellable) {
    return waitAll({&process}, events, limit, nullptr, cancellable, Waiting::Live);
}

void KillRunningPrograms() {
    for (QProcess* process : running()) process->kill();
}

}  // namespace corvella::Shell32

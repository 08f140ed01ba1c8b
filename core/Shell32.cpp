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

std::vector<int> runAll(const QString& program, const std::vector<QStringList>& argumentLists,
                        EventPump& events, bool cancellable, Waiting waiting) {
    std::vector<std::unique_ptr<QProcess>> processes;
    std::vector<QProcess*> started;
    for (const QStringList& arguments : argumentLists) {
        auto& process = processes.emplace_back(std::make_unique<QProcess>());
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        process->setStandardInputFile(QProcess::nullDevice());
        ChildLifetime::Bind(*process);
        process->start(program, arguments, QIODevice::NotOpen);
        if (process->waitForStarted()) started.push_back(process.get());
    }
    if (!started.empty()) waitAll(started, events, std::nullopt, nullptr, cancellable, waiting);

    std::vector<int> results;
    for (const auto& process : processes) {
        if (process->error() == QProcess::FailedToStart)
            results.push_back(kObjectErrorBase + kLaunchFailed);
        else if (process->exitStatus() == QProcess::CrashExit)
            results.push_back(-1);
        else
            results.push_back(process->exitCode());
    }
    return results;
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
    return runAll(program, {arguments}, events, cancellable, Waiting::Polled).front();
}

std::vector<int> RunAllAndWait(const QString& program,
                               const std::vector<QStringList>& argumentLists, EventPump& events,
                               bool cancellable) {
    return runAll(program, argumentLists, events, cancellable, Waiting::Live);
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

#include "extract/Shell32.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSet>

namespace corvella::Shell32 {

namespace {
// The programs being waited for; a command waiting on one may be abandoned at shut-down.
QSet<QProcess*>& running() {
    static QSet<QProcess*> processes;
    return processes;
}

constexpr int kPollMilliseconds = 100;
}  // namespace

int NormalisedWindowStyle(std::optional<int> windowStyle) {
    if (!windowStyle || *windowStyle < 0 || *windowStyle > 6) return 6;
    return *windowStyle;
}

int RunAndWait(const QString& program, const QStringList& arguments, std::optional<int> windowStyle,
               EventPump& events) {
    // Console programs have no window here: the style is checked and has nothing to apply to.
    static_cast<void>(NormalisedWindowStyle(windowStyle));
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments, QIODevice::NotOpen);
    if (!process.waitForStarted()) return kObjectErrorBase + kLaunchFailed;

    WaitWhileLive(process, events);
    if (process.exitStatus() == QProcess::CrashExit) return -1;
    return process.exitCode();
}

bool WaitWhileLive(QProcess& process, EventPump& events,
                   std::optional<std::chrono::milliseconds> limit, QByteArray* standardError) {
    QElapsedTimer clock;
    clock.start();
    running().insert(&process);
    bool inTime = true;
    do {
        events.processEvents();
        // Wakes early when the program ends, else after one poll period.
        process.waitForFinished(kPollMilliseconds);
        if (standardError) *standardError += process.readAllStandardError();
        inTime = !limit || clock.elapsed() <= limit->count();
    } while (process.state() != QProcess::NotRunning && inTime);
    running().remove(&process);
    return process.state() == QProcess::NotRunning;
}

void KillRunningPrograms() {
    for (QProcess* process : running()) process->kill();
}

}  // namespace corvella::Shell32

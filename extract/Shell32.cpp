#include "extract/Shell32.h"

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

    running().insert(&process);
    do {
        events.processEvents();
        // Wakes early when the program ends, else after one poll period.
        process.waitForFinished(kPollMilliseconds);
    } while (process.state() != QProcess::NotRunning);
    running().remove(&process);

    if (process.exitStatus() == QProcess::CrashExit) return -1;
    return process.exitCode();
}

void KillRunningPrograms() {
    for (QProcess* process : running()) process->kill();
}

}  // namespace corvella::Shell32

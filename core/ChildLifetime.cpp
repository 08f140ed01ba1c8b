// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/ChildLifetime.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>

#include "core/ErrorReport.h"
#include "core/TempFolder.h"

namespace corvella::ChildLifetime {

namespace {

// The children a signal handler stops: a fixed table, since a handler may not allocate. More
// children than slots still die with the process through the kernel.
constexpr int kSlots = 256;
std::atomic<pid_t> children[kSlots];

// The private temp folder, for the handlers; empty until the handlers are installed.
char folder[4096];

constexpr int kTerminatingSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int kCrashSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
struct sigaction crashHandling[NSIG];

void track(pid_t pid) {
    for (std::atomic<pid_t>& slot : children) {
        pid_t empty = 0;
        if (slot.compare_exchange_strong(empty, pid)) return;
    }
}

void untrack(pid_t pid) {
    for (std::atomic<pid_t>& slot : children) {
        pid_t expected = pid;
        if (slot.compare_exchange_strong(expected, 0)) return;
    }
}

// Digits up to a pid's size; returns the first character after them, or null when there are none.
const char* readPid(const char* text, long& pid) {
    pid = 0;
    const char* at = text;
    while (*at >= '0' && *at <= '9' && at - text < 10) pid = pid * 10 + (*at++ - '0');
    return at == text || pid <= 0 ? nullptr : at;
}

bool endsWith(const char* text, const char* suffix) {
    const size_t length = std::strlen(text);
    const size_t suffixLength = std::strlen(suffix);
    return length >= suffixLength && std::strcmp(text + length - suffixLength, suffix) == 0;
}

void pause10ms() {
    const timespec interval{0, 10 * 1000 * 1000};
    ::nanosleep(&interval, nullptr);
}

extern "C" void endOnSignal(int signal) {
    StopChildren();
    RemoveOwnFiles();
    ::_exit(128 + signal);
}

extern "C" void endOnCrash(int signal, siginfo_t* info, void*) {
    const int savedErrno = errno;
    StopChildren();
    RemoveOwnFiles();
    ::sigaction(signal, &crashHandling[signal], nullptr);
    // A signal sent by a process comes again; a fault comes again by itself when the faulting
    // instruction repeats, now under the earlier handling (a core dump, a sanitizer's report).
    if (info == nullptr || info->si_code <= 0) ::raise(signal);
    errno = savedErrno;
}

bool ignored(int signal) {
    struct sigaction current {};
    return ::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

void Bind(QProcess& process) {
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The parent may have ended before the request took effect: then nobody kills this child.
        if (::getppid() != parent) ::_exit(127);
    });
    auto pid = std::make_shared<pid_t>(0);
    QObject::connect(&process, &QProcess::stateChanged, &process,
                     [&process, pid](QProcess::ProcessState state) {
                         if (state == QProcess::Running) {
                             *pid = pid_t(process.processId());
                             if (*pid > 0) track(*pid);
                         } else if (state == QProcess::NotRunning && *pid > 0) {
                             untrack(*pid);
                             *pid = 0;
                         }
                     });
}

void InstallSignalHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    try {
        const QByteArray path = QFile::encodeName(TempFolder());
        if (size_t(path.size()) < sizeof folder)
            std::memcpy(folder, path.constData(), size_t(path.size()) + 1);
    } catch (const Failure&) {
        // No usable temp folder: there are no files to remove.
    }
    struct sigaction action {};
    sigfillset(&action.sa_mask);
    // A signal ignored on purpose (nohup) stays ignored.
    action.sa_handler = endOnSignal;
    for (int signal : kTerminatingSignals)
        if (!ignored(signal)) ::sigaction(signal, &action, nullptr);
    action.sa_handler = nullptr;
    action.sa_sigaction = endOnCrash;
    action.sa_flags = SA_SIGINFO;
    for (int signal : kCrashSignals)
        if (!ignored(signal)) ::sigaction(signal, &action, &crashHandling[signal]);
}

void StopChildren() {
    const int savedErrno = errno;
    for (std::atomic<pid_t>& slot : children)
        if (const pid_t pid = slot.load(); pid > 0) ::kill(pid, SIGKILL);
    // A killed child may finish a last write before it ends: its files go only once it has.
    for (std::atomic<pid_t>& slot : children) {
        const pid_t pid = slot.exchange(0);
        for (int wait = 0; pid > 0 && wait < 100; ++wait) {
            const pid_t ended = ::waitpid(pid, nullptr, WNOHANG | __WALL);
            if (ended == pid || (ended < 0 && errno != EINTR)) break;
            pause10ms();
        }
    }
    errno = savedErrno;
}

void EndChildren(int graceMilliseconds) {
    const int savedErrno = errno;
    for (std::atomic<pid_t>& slot : children)
        if (const pid_t pid = slot.load(); pid > 0) ::kill(pid, SIGTERM);
    for (int waited = 0; waited < graceMilliseconds; waited += 10) {
        bool running = false;
        for (std::atomic<pid_t>& slot : children) {
            pid_t pid = slot.load();
            if (pid <= 0) continue;
            const pid_t ended = ::waitpid(pid, nullptr, WNOHANG | __WALL);
            if (ended == pid || (ended < 0 && errno != EINTR))
                slot.compare_exchange_strong(pid, 0);
            else
                running = true;
        }
        if (!running) break;
        pause10ms();
    }
    errno = savedErrno;
    StopChildren();
}

void RemoveOwnFiles() {
    if (folder[0] == '\0') return;
    const int savedErrno = errno;
    const int directory = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0) return;
    const long self = long(::getpid());
    alignas(dirent64) char entries[4096];
    for (;;) {
        const ssize_t size = ::getdents64(directory, entries, sizeof entries);
        if (size <= 0) break;
        for (ssize_t at = 0; at < size;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
            if (OwnerOf(entry->d_name) == self) ::unlinkat(directory, entry->d_name, 0);
            at += entry->d_reclen;
        }
    }
    ::close(directory);
    errno = savedErrno;
}

void RemoveStaleFiles(const QString& tempFolder) {
    const QDir directory(tempFolder);
    for (const QString& name : directory.entryList(QDir::Files | QDir::System | QDir::Hidden)) {
        const long owner = OwnerOf(QFile::encodeName(name).constData());
        if (owner > 0 && owner != long(::getpid()) && ::kill(pid_t(owner), 0) != 0 &&
            errno == ESRCH)
            QFile::remove(directory.filePath(name));
    }
}

long OwnerOf(const char* fileName) {
    long pid = 0;
    if (std::strncmp(fileName, "pdftotext-", 10) == 0) {
        const char* rest = readPid(fileName + 10, pid);
        return rest != nullptr && *rest == '\0' ? pid : 0;
    }
    if (std::strncmp(fileName, "text-", 5) == 0) {
        const char* rest = readPid(fileName + 5, pid);
        return rest != nullptr && *rest == '.' && endsWith(rest, ".txt") ? pid : 0;
    }
    if (std::strncmp(fileName, "batch-", 6) == 0) {
        const char* rest = readPid(fileName + 6, pid);
        return rest != nullptr && *rest == '.' ? pid : 0;
    }
    return 0;
}

}  // namespace corvella::ChildLifetime

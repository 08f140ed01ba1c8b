// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/Interruption.h"

#include <limits.h>
#include <unistd.h>

#include <QFile>
#include <atomic>
#include <cstring>

#include "core/ChildLifetime.h"

namespace corvella::Batch::Interruption {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// How long a comparison may take to stop its extractors and remove its files before it is killed.
constexpr int kGraceMilliseconds = 2000;

// The files being written, for the handler: allocated once, before any signal can come.
struct Slot {
    std::atomic<bool> used{false};
    char path[PATH_MAX];
};
Slot* partials = nullptr;
int slotCount = 0;

extern "C" void endBatch(int signal) {
    ChildLifetime::EndChildren(kGraceMilliseconds);
    for (int i = 0; i < slotCount; ++i)
        if (partials[i].used.load()) ::unlink(partials[i].path);
    ChildLifetime::RemoveOwnFiles();
    ::_exit(128 + signal);
}

sigset_t batchSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kSignals) sigaddset(&set, signal);
    return set;
}

}  // namespace

void Install(int partialFiles) {
    slotCount = partialFiles;
    partials = new Slot[size_t(partialFiles)];
    // The temp folder's files and the crash handlers as every run has them, then ours.
    ChildLifetime::InstallSignalHandlers();
    struct sigaction action {};
    sigfillset(&action.sa_mask);
    action.sa_handler = endBatch;
    for (int signal : kSignals) {
        struct sigaction current {};
        // A signal ignored on purpose (nohup) stays ignored.
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
            ::sigaction(signal, &action, nullptr);
    }
}

PartialFile::PartialFile(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    if (size_t(bytes.size()) >= PATH_MAX) return;
    for (int i = 0; i < slotCount; ++i) {
        if (partials[i].used.load()) continue;
        std::memcpy(partials[i].path, bytes.constData(), size_t(bytes.size()) + 1);
        partials[i].used.store(true);
        slot_ = i;
        return;
    }
}

PartialFile::~PartialFile() {
    if (slot_ >= 0) partials[slot_].used.store(false);
}

HeldSignals::HeldSignals() {
    const sigset_t set = batchSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, &previous_);
}

HeldSignals::~HeldSignals() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

}  // namespace corvella::Batch::Interruption

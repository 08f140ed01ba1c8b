// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <signal.h>

#include <QString>

// A batch stops at once on SIGINT, SIGTERM or SIGHUP (Ctrl+C, a job manager's stop, a closed
// terminal): each comparison under way is asked to end (its extractors with it), the report files
// they were writing are removed, and the batch ends with 128 + the signal. What was finished
// stays; the next run goes on from there.
namespace corvella::Batch::Interruption {

// Installs the handlers, with room for `partialFiles` files being written at once.
void Install(int partialFiles);

// A file being written under a temporary name: an interruption meanwhile removes it.
class PartialFile {
public:
    explicit PartialFile(const QString& path);
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

private:
    int slot_ = -1;
};

// While it lives, the signals wait: a file of the batch's own is written whole or not at all.
class HeldSignals {
public:
    HeldSignals();
    ~HeldSignals();
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

private:
    sigset_t previous_;
};

}  // namespace corvella::Batch::Interruption

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <functional>

#include "core/Dialogs.h"
#include "core/ErrorReport.h"
#include "core/EventPump.h"
#include "core/PdfPasswords.h"

namespace corvella {

// The platform services the commands use. The program passes the real ones; tests script them.
// Services beyond dialogs and the event loop are optional pointers: a command step that needs a
// missing one fails with a clear description instead of crashing.
class SettingsStore;
class Printers;
class RandomSource;
class Launcher;
class Word1;

struct Services {
    Dialogs& dialogs;
    EventPump& events;
    SettingsStore* settings = nullptr;
    Printers* printers = nullptr;
    RandomSource* random = nullptr;
    Launcher* launcher = nullptr;
    Word1* word = nullptr;  // the word processor (comparison method 2)
    // The folder holding the program's optional files; empty means the executable's folder.
    QString programFolder{};
    // Ends the process at once; unset means _exit.
    std::function<void(int)> endProcess{};
    // How long a long loop may run between two yields to the event loop.
    std::chrono::milliseconds yieldSlice{15};
    // The warning sound, as when a key has nothing more to do; unset means silence.
    std::function<void()> beep{};
    // How many extractor runs may share one document's pages; 0 means as many as suit the cores.
    int extractorRuns = 0;
    // Passwords for encrypted PDFs; none means every PDF is opened without one.
    const PdfPasswords* pdfPasswords = nullptr;
};

template <typename T>
T& Require(T* service, const char* what) {
    if (service == nullptr)
        throw Failure(QStringLiteral("%1 is not available").arg(QLatin1String(what)));
    return *service;
}

}  // namespace corvella

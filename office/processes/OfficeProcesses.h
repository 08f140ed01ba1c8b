// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Running LibreOffice processes as /proc shows them. Plain C++ without Qt or UNO, so that both the
// program and the comparison helper use it.
namespace corvella::office {

struct OfficeProcess {
    pid_t pid = 0;
    std::string executable;  // the soffice.bin file the process runs, as the process sees it
    std::string root;        // the process's root folder as we can reach it (/proc/PID/root)
    bool headless = false;
    // The -env:UserInstallation= value; empty means the default profile.
    std::string userInstallation;

    // An office the user sees: it has windows and shares the user's own profile, so a request to
    // start an office is handed to it.
    bool visibleToUser() const { return !headless && userInstallation.empty(); }
};

// Every live (not zombie) soffice.bin process whose real user is `uid`, read from `procRoot`.
std::vector<OfficeProcess> RunningOffices(const std::string& procRoot, uid_t uid);

// The arguments of a command line as /proc/PID/cmdline holds it (NUL-separated).
std::vector<std::string> SplitCommandLine(const std::string& cmdline);

// What an office's arguments say about it.
bool IsHeadless(const std::vector<std::string>& args);
std::string UserInstallation(const std::vector<std::string>& args);

}  // namespace corvella::office

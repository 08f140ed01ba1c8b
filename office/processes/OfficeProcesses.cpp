// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/processes/OfficeProcesses.h"

#include <dirent.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace corvella::office {

namespace {

bool readFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The real user id and the state letter from /proc/PID/status.
bool readStatus(const std::string& path, uid_t& realUid, char& state) {
    std::string status;
    if (!readFile(path, status)) return false;
    bool haveUid = false;
    bool haveState = false;
    std::istringstream lines(status);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key == "Uid:") {
            unsigned long value = 0;
            haveUid = static_cast<bool>(fields >> value);
            realUid = static_cast<uid_t>(value);
        } else if (key == "State:") {
            haveState = static_cast<bool>(fields >> state);
        }
    }
    return haveUid && haveState;
}

std::string readLink(const std::string& path) {
    char buffer[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    std::string target(buffer, size_t(n));
    // The file was replaced (an upgrade) while the office kept running.
    const std::string deleted = " (deleted)";
    if (target.size() > deleted.size() &&
        target.compare(target.size() - deleted.size(), deleted.size(), deleted) == 0)
        target.resize(target.size() - deleted.size());
    return target;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& cmdline) {
    std::vector<std::string> args;
    size_t start = 0;
    while (start < cmdline.size()) {
        size_t end = cmdline.find('\0', start);
        if (end == std::string::npos) end = cmdline.size();
        args.push_back(cmdline.substr(start, end - start));
        start = end + 1;
    }
    return args;
}

bool IsHeadless(const std::vector<std::string>& args) {
    // The office takes its options with one dash or two.
    for (const std::string& arg : args)
        if (arg == "--headless" || arg == "-headless") return true;
    return false;
}

std::string UserInstallation(const std::vector<std::string>& args) {
    std::string value;
    for (const std::string& arg : args) {
        for (const char* prefix : {"-env:UserInstallation=", "--env:UserInstallation="})
            if (startsWith(arg, prefix)) value = arg.substr(std::char_traits<char>::length(prefix));
    }
    return value;
}

std::vector<OfficeProcess> RunningOffices(const std::string& procRoot, uid_t uid) {
    std::vector<OfficeProcess> offices;
    DIR* dir = opendir(procRoot.c_str());
    if (dir == nullptr) return offices;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string base = procRoot + "/" + name + "/";
        // Any file may vanish while we read: the process ended, and it is skipped.
        std::string comm;
        if (!readFile(base + "comm", comm) || comm != "soffice.bin\n") continue;
        uid_t realUid = 0;
        char state = 0;
        if (!readStatus(base + "status", realUid, state)) continue;
        if (realUid != uid || state == 'Z' || state == 'X') continue;
        std::string cmdline;
        if (!readFile(base + "cmdline", cmdline)) continue;
        const std::vector<std::string> args = SplitCommandLine(cmdline);

        OfficeProcess office;
        office.pid = pid_t(std::strtol(name.c_str(), nullptr, 10));
        office.executable = readLink(base + "exe");
        office.root = base + "root";
        office.headless = IsHeadless(args);
        office.userInstallation = UserInstallation(args);
        offices.push_back(office);
    }
    closedir(dir);
    return offices;
}

}  // namespace corvella::office

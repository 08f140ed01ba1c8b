// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

namespace corvella {

class Form1;
struct Services;

// Ways for a test driver to run the program with its own services and to look at the window once
// the files of the command line are loaded.
struct ProgramHooks {
    // Called once the application object exists; null or a null result means the real services.
    std::function<Services*()> services;
    std::function<void(Form1&)> afterOpening;
};

// The whole program: reads the command line (help, version and misuse end here, before any
// window or display is needed), runs the start-up, shows the window, loads the files given on the
// command line and runs the event loop. Returns the process's exit code.
int RunProgram(int argc, char** argv, const ProgramHooks& hooks = {});

}  // namespace corvella

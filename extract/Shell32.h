#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "app/EventPump.h"

// Starting an external program and waiting for it while the window stays live.
namespace corvella::Shell32 {

// Added to a launch error's number to give RunAndWait's negative result.
inline constexpr int kObjectErrorBase = -2147221504;
// The launch error number for a program that could not be started.
inline constexpr int kLaunchFailed = 53;

// Window styles 0 to 6 as callers pass them; anything else (or none) means 6. Console programs
// have no window here, so the style is only normalised.
int NormalisedWindowStyle(std::optional<int> windowStyle);

// Starts the program with its arguments passed intact (never through a shell) and polls it every
// 100 ms, handling pending window events between polls, until it ends. Returns its exit code, or
// kObjectErrorBase + kLaunchFailed at once when it cannot be started.
int RunAndWait(const QString& program, const QStringList& arguments, std::optional<int> windowStyle,
               EventPump& events);

// Kills every program RunAndWait is still waiting for (the window is closing).
void KillRunningPrograms();

}  // namespace corvella::Shell32

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "core/EventPump.h"

// Starting an external program and waiting for it while the window stays live.
class QProcess;

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
// kObjectErrorBase + kLaunchFailed at once when it cannot be started. The program dies with this
// process (see ChildLifetime). A `cancellable` wait serves a load: when the load is asked to stop
// (LoadCancel), it kills the program and throws LoadCancel::Cancelled.
int RunAndWait(const QString& program, const QStringList& arguments, std::optional<int> windowStyle,
               EventPump& events, bool cancellable = false);

// Starts the program once per argument list in the lists' order, at most `atOnce` running at a
// time, and waits for every run with the window's events handled as they come (no poll: each
// run's end is seen at once). `ended` hears each run's index and result as soon as it ends.
// Returns each run's result in the order of the lists; `cancellable` as for RunAndWait.
std::vector<int> RunQueuedAndWait(const QString& program,
                                  const std::vector<QStringList>& argumentLists, std::size_t atOnce,
                                  EventPump& events,
                                  const std::function<void(std::size_t, int)>& ended,
                                  bool cancellable = false);

// Waits for a started program, handling pending window events every 100 ms, until it ends or the
// time limit passes; what it writes to standard error is collected when asked for. Closing the
// window meanwhile kills it. Returns false when the limit passed with the program still running.
// `cancellable` as for RunAndWait.
bool WaitWhileLive(QProcess& process, EventPump& events,
                   std::optional<std::chrono::milliseconds> limit = std::nullopt,
                   QByteArray* standardError = nullptr, bool cancellable = false);

// Waits for a started program as WaitWhileLive does, with the window's events handled as they
// come and the program's end seen at once, rather than once per poll period.
bool WaitLive(QProcess& process, EventPump& events, std::chrono::milliseconds limit,
              bool cancellable = false);

// Kills every program that is still being waited for (the window is closing).
void KillRunningPrograms();

}  // namespace corvella::Shell32

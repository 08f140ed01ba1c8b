// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Child programs (the extractors) never outlive this process, and its files in the private temp
// folder go with it: the kernel kills each child when the process ends in any way, and the
// handlers of the signals that can be caught also remove the files.
class QProcess;

namespace corvella::ChildLifetime {

// Makes the process, before it is started, a child that the kernel kills when this process ends
// (also by SIGKILL or a crash) and that the signal handlers stop. Start it from the main thread:
// the kernel's watch ends with the thread that started the child.
void Bind(QProcess& process);

// Installs the handlers of SIGTERM, SIGINT and SIGHUP (stop every child, remove this process's
// files, end with 128 + the signal) and of the crash signals (the same, then the signal's earlier
// handling). Call once the temp folder can be used.
void InstallSignalHandlers();

// Kills every bound child still running and waits briefly for each to end. Safe in a signal
// handler.
void StopChildren();

// Asks every bound child still running to end (SIGTERM, so that it can stop its own children and
// remove its files), waits up to `graceMilliseconds` for them, then kills those still running.
// Safe in a signal handler.
void EndChildren(int graceMilliseconds);

// Removes this process's files from the private temp folder: its extractor copy and every text
// file of its conversions. Safe in a signal handler once InstallSignalHandlers has run.
void RemoveOwnFiles();

// Removes the files that processes no longer running left in the folder (ended by SIGKILL or a
// crash).
void RemoveStaleFiles(const QString& tempFolder);

// The process id a file of the temp folder belongs to, or 0 when it is none of the program's
// per-process files ("pdftotext-<pid>", "text-<pid>.txt", "text-<pid>.<n>.part<k>.txt",
// "batch-<pid>.<anything>").
long OwnerOf(const char* fileName);

}  // namespace corvella::ChildLifetime

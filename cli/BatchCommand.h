// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIODevice>
#include <QStringList>

// corvella-diff --batch, --batch-list and --merge: many pairs at once (batch/), each compared by
// this same program with the comparison options given.
namespace corvella::DiffProgram::BatchCommand {

bool Requested(const QStringList& arguments);

// The arguments after the program's name; returns the exit status.
int Run(const QStringList& arguments, QIODevice& out, QIODevice& err);

}  // namespace corvella::DiffProgram::BatchCommand

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

namespace corvella {

// The program's command line: corvella [--help | --version] [--review] [PDF1 [PDF2]].
struct CommandLine {
    enum class Action { Run, Help, Version, Misuse };
    Action action = Action::Run;
    QStringList files;  // absolute paths, at most two
    QString problem;    // what was wrong, for Misuse
    // --review: both files compared ignoring layout and the review window opened on them.
    bool review = false;
};

// Reads the arguments (without the program name). Relative paths are taken from `currentFolder`;
// file:// URLs name local files; "--" ends the options.
CommandLine ParseCommandLine(const QStringList& arguments, const QString& currentFolder);

// Texts for standard output (help, version) and standard error (misuse), each ending in a line
// break.
QString HelpText();
QString VersionText();
QString MisuseText(const CommandLine& commandLine);

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/BatchCommand.h"

#include <unistd.h>

#include <QCoreApplication>

#include "batch/BatchRun.h"
#include "cli/DiffProgram.h"
#include "core/BuildConfig.h"

namespace corvella::DiffProgram::BatchCommand {

namespace {

// The options meant for each pair are those of a single comparison, but for its output: a batch
// writes each pair's JSON report and web page.
QString checkComparison(const QStringList& options) {
    const Parsed parsed =
        ParseArguments(options + QStringList{QStringLiteral("--"), QStringLiteral("1.pdf"),
                                             QStringLiteral("2.pdf")});
    if (parsed.action == Parsed::Action::Misuse)
        return parsed.problem.startsWith(QStringLiteral("two files"))
                   ? QStringLiteral("unexpected argument among the options '%1'")
                         .arg(options.join(u' '))
                   : parsed.problem;
    if (parsed.action != Parsed::Action::Compare || parsed.options.json || parsed.options.html ||
        parsed.options.counts || !parsed.options.pairJson.isEmpty())
        return QStringLiteral(
            "--format, --counts, --help and --version do not go with a batch: it writes each "
            "pair's JSON report and web page");
    // Copies of many pairs would meet in one folder, and a password is one file's.
    if (!parsed.options.annotate.isEmpty() || !parsed.options.passwords[Side::One].isEmpty() ||
        !parsed.options.passwords[Side::Two].isEmpty())
        return QStringLiteral("--annotate, --password1 and --password2 go with one pair only");
    return QString();
}

}  // namespace

bool Requested(const QStringList& arguments) { return Batch::Requested(arguments); }

int Run(const QStringList& arguments, QIODevice& out, QIODevice& err) {
    const Batch::Parsed parsed = Batch::Parse(arguments, checkComparison);
    switch (parsed.action) {
        case Batch::Parsed::Action::Help:
            out.write(UsageText().toUtf8());
            return 0;
        case Batch::Parsed::Action::Version:
            out.write(VersionText().toUtf8());
            return 0;
        case Batch::Parsed::Action::Misuse:
            err.write(QStringLiteral("corvella-diff: %1\n").arg(parsed.problem).toUtf8());
            err.write(UsageText().toUtf8());
            return kTrouble;
        case Batch::Parsed::Action::Run:
            break;
    }
    const Batch::Program program{QCoreApplication::applicationFilePath(),
                                 QStringLiteral("corvella-diff ") + QLatin1String(build::kVersion)};
    return Batch::Run(parsed.options, program, ::isatty(STDERR_FILENO) == 1, out, err);
}

}  // namespace corvella::DiffProgram::BatchCommand

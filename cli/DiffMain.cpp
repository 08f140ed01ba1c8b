// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// corvella-diff: compares two PDF files without any window or display.
#include <QCoreApplication>
#include <QFile>

#include "cli/BatchCommand.h"
#include "cli/DiffProgram.h"
#include "core/LargeAllocations.h"

int main(int argc, char* argv[]) {
    using namespace corvella::DiffProgram;
    corvella::MapLargeAllocations();
    QCoreApplication app(argc, argv);
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);

    if (BatchCommand::Requested(app.arguments().mid(1)))
        return BatchCommand::Run(app.arguments().mid(1), out, err);
    const Parsed parsed = ParseArguments(app.arguments().mid(1));
    switch (parsed.action) {
        case Parsed::Action::Help:
            out.write(UsageText().toUtf8());
            return 0;
        case Parsed::Action::Version:
            out.write(VersionText().toUtf8());
            return 0;
        case Parsed::Action::Misuse:
            err.write(QStringLiteral("corvella-diff: %1\n").arg(parsed.problem).toUtf8());
            err.write(UsageText().toUtf8());
            return kTrouble;
        case Parsed::Action::Compare:
            break;
    }
    return Compare(parsed.options, out, err);
}

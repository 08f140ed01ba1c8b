// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The command lines of both programs: any arguments give a run, help, version or misuse with its
// reason, and the files a run names are whole paths.
#include <QDir>

#include "cli/DiffProgram.h"
#include "tests/fuzz/FuzzSupport.h"
#include "window/main/CommandLine.h"

using namespace corvella;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QStringList arguments;
    for (const QByteArray& part : fuzz::Parts(data, size)) arguments << QString::fromUtf8(part);

    const CommandLine window = ParseCommandLine(arguments, QStringLiteral("/home/user/papers"));
    FUZZ_CHECK((window.action == CommandLine::Action::Misuse) == !window.problem.isEmpty());
    FUZZ_CHECK(window.files.size() <= 2);
    for (const QString& file : window.files) FUZZ_CHECK(QDir::isAbsolutePath(file));
    if (window.action == CommandLine::Action::Misuse)
        FUZZ_CHECK(MisuseText(window).endsWith(u'\n'));

    using Action = DiffProgram::Parsed::Action;
    const DiffProgram::Parsed diff = DiffProgram::ParseArguments(arguments);
    FUZZ_CHECK((diff.action == Action::Misuse) == !diff.problem.isEmpty());
    if (diff.action == Action::Compare) {
        FUZZ_CHECK(arguments.contains(diff.options.file1));
        FUZZ_CHECK(arguments.contains(diff.options.file2));
    }
    return 0;
}

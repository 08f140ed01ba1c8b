// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main/Program.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

#include "core/BuildConfig.h"
#include "core/ChildLifetime.h"
#include "core/SettingsStore.h"
#include "office/LibreOfficeWord1.h"
#include "output/GetSetPrinter.h"
#include "window/main/CommandLine.h"
#include "window/main/Form1.h"
#include "window/main/HomePage.h"
#include "window/main/QtDialogs.h"
#include "window/main/WindowAccessible.h"

namespace corvella {

namespace {

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

int runWindow(const CommandLine& commandLine, char* programName, const ProgramHooks& hooks) {
    // Every argument is the program's own: Qt gets none of them.
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    // Before the application: an accessibility bridge may ask for it as it is made.
    InstallWindowAccessibility();
    QApplication app(qtArgc, qtArgv);
    // The desktop matches the window to its entry, and so to its icon, by this name.
    QGuiApplication::setDesktopFileName(QLatin1String(build::kAppId));
    ChildLifetime::InstallSignalHandlers();

    QtDialogs dialogs;
    QtEventPump events;
    IniSettingsStore settings;
    CupsPrinters printers;
    ClockSeededRandom random;
    XdgLauncher launcher;
    LibreOfficeWord1 word(events);
    Services real{dialogs, events};
    real.settings = &settings;
    real.printers = &printers;
    real.random = &random;
    real.launcher = &launcher;
    real.word = &word;
    real.beep = [] { QApplication::beep(); };
    Services* chosen = hooks.services ? hooks.services() : nullptr;

    Form1 form(chosen != nullptr ? *chosen : real);
    dialogs.setParent(&form);
    form.Form_Load();  // its messages come before the window
    form.show();
    // The files load once the window is up and its event loop runs.
    QMetaObject::invokeMethod(
        &form,
        [&] {
            form.loadCommandLine(commandLine.files, commandLine.review);
            if (hooks.afterOpening) hooks.afterOpening(form);
        },
        Qt::QueuedConnection);
    return app.exec();
}

}  // namespace

int RunProgram(int argc, char** argv, const ProgramHooks& hooks) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QFile::decodeName(argv[i]);
    const CommandLine commandLine = ParseCommandLine(arguments, QDir::currentPath());
    switch (commandLine.action) {
        case CommandLine::Action::Help:
            print(stdout, HelpText());
            return 0;
        case CommandLine::Action::Version:
            print(stdout, VersionText());
            return 0;
        case CommandLine::Action::Misuse:
            print(stderr, MisuseText(commandLine));
            return 2;
        case CommandLine::Action::Run:
            break;
    }
    return runWindow(commandLine, argv[0], hooks);
}

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main/CommandLine.h"

#include <QDir>
#include <QUrl>

#include "core/BuildConfig.h"
#include "core/LicenceNotice.h"

namespace corvella {

namespace {

const QString kUsage =
    QStringLiteral("Usage: corvella [--help] [--version] [--review PDF1 PDF2] [PDF1 [PDF2]]\n");

QString localPath(const QString& argument, const QString& currentFolder) {
    QString path = argument;
    if (argument.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
        const QUrl url(argument);
        if (url.isLocalFile()) path = url.toLocalFile();
    }
    return QDir::cleanPath(QDir(currentFolder).absoluteFilePath(path));
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments, const QString& currentFolder) {
    CommandLine line;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    QStringList given;
    for (const QString& argument : arguments) {
        if (optionsEnded || argument == u'-' || !argument.startsWith(u'-'))
            given << argument;
        else if (argument == QStringLiteral("--"))
            optionsEnded = true;
        else if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h"))
            help = true;
        else if (argument == QStringLiteral("--version"))
            version = true;
        else if (argument == QStringLiteral("--review"))
            line.review = true;
        else
            return {CommandLine::Action::Misuse,
                    {},
                    QStringLiteral("unknown option '%1'").arg(argument)};
    }
    if (help) return {CommandLine::Action::Help, {}, {}};
    if (version) return {CommandLine::Action::Version, {}, {}};
    if (given.size() > 2)
        return {CommandLine::Action::Misuse,
                {},
                QStringLiteral("at most two PDF files can be given, not %1").arg(given.size())};
    if (line.review && given.size() != 2)
        return {CommandLine::Action::Misuse,
                {},
                QStringLiteral("--review needs two PDF files, not %1").arg(given.size())};
    for (const QString& argument : given) line.files << localPath(argument, currentFolder);
    return line;
}

QString HelpText() {
    return kUsage + QStringLiteral(R"(Compares the text of two PDF files side by side.

PDF1 is loaded into the pane "PDF File #1:" and PDF2 into "PDF File #2:" once the window
has started, just as "Load PDF File #1" and "#2" load them. A file is a path or a file:// URL.

Options:
  -h, --help   show this help and exit
  --version    show the version and exit
  --review     find the differences of PDF1 and PDF2 ignoring layout and open the review
               window on them
  --           every later argument is a file
)");
}

QString VersionText() {
    return QStringLiteral("Corvella %1\n").arg(QLatin1String(build::kVersion)) +
           QLatin1String(kLicenceNotice);
}

QString MisuseText(const CommandLine& commandLine) {
    return QStringLiteral("corvella: %1\n").arg(commandLine.problem) + kUsage +
           QStringLiteral("Try 'corvella --help' for more information.\n");
}

}  // namespace corvella

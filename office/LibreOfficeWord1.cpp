// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/LibreOfficeWord1.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QXmlStreamReader>
#include <csignal>

#include "core/BuildConfig.h"
#include "core/ErrorReport.h"
#include "core/Shell32.h"
#include "office/processes/OfficeProcesses.h"

namespace corvella {

namespace {

constexpr const char* kHelperName = "corvella-office-compare";
// The helper gives up on its own this much before the program's limit, with a clearer message.
constexpr std::chrono::seconds kHelperMargin{15};

const QString kProductName = QStringLiteral("LibreOffice");

// The value of /org.openoffice.Setup/Product/ooName that one configuration file sets, if any.
void readProductName(const QString& path, QString& name) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    // Most layers do not touch the setup data: skip them without parsing.
    const QByteArray data = file.readAll();
    if (!data.contains("ooName")) return;
    QXmlStreamReader xml(data);
    // The names of the open elements that matter: component-data "Setup", node "Product",
    // prop "ooName", value.
    QStringList open;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QXmlStreamAttributes attributes = xml.attributes();
            const QString element = xml.name().toString();
            const QString oorName = attributes.value(QStringLiteral("oor:name")).toString();
            QString step;
            if (element == QLatin1String("component-data") &&
                attributes.value(QStringLiteral("oor:package")) == QLatin1String("org.openoffice"))
                step = QStringLiteral("data:") + oorName;
            else if (element == QLatin1String("node") || element == QLatin1String("prop"))
                step = oorName;
            else
                step = element;
            open << step;
            if (open == QStringList{QStringLiteral("data"), QStringLiteral("data:Setup"),
                                    QStringLiteral("Product"), QStringLiteral("ooName"),
                                    QStringLiteral("value")} ||
                open == QStringList{QStringLiteral("data:Setup"), QStringLiteral("Product"),
                                    QStringLiteral("ooName"), QStringLiteral("value")}) {
                name = xml.readElementText();
                open.removeLast();
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (!open.isEmpty()) open.removeLast();
        }
    }
}

QString notAvailable(const QString& why) {
    return QStringLiteral("The word-processor comparison method is not available: ") + why;
}

QString lastLine(const QByteArray& output) {
    const QStringList lines = QString::fromUtf8(output).split(u'\n', Qt::SkipEmptyParts);
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QString trimmed = line->trimmed();
        if (!trimmed.isEmpty()) return trimmed.left(500);
    }
    return {};
}

QString seconds(std::chrono::milliseconds time) {
    const auto whole = std::chrono::duration_cast<std::chrono::seconds>(time).count();
    return whole == 1 ? QStringLiteral("1 second") : QStringLiteral("%1 seconds").arg(whole);
}

}  // namespace

QString OfficeProductName(const QString& installationRoot) {
    // The office reads its configuration from the .xcd layers of share/registry, main.xcd first
    // and the others over it; ooName in the Setup data is the name it gives itself (what the
    // running office would answer through its configuration). Reading the files needs no office
    // libraries and no connection to an office that may hang.
    const QDir registry(installationRoot + QStringLiteral("/share/registry"));
    QString name;
    readProductName(registry.filePath(QStringLiteral("main.xcd")), name);
    const QStringList layers =
        registry.entryList({QStringLiteral("*.xcd")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& layer : layers)
        if (layer != QLatin1String("main.xcd")) readProductName(registry.filePath(layer), name);
    return name;
}

LibreOfficeWord1::Settings LibreOfficeWord1::DefaultSettings() {
    Settings settings;
    settings.helper = qEnvironmentVariable("CORVELLA_OFFICE_HELPER");
    // Beside the executable in a build tree, else where the package installs it.
    if (settings.helper.isEmpty()) {
        settings.helper =
            QCoreApplication::applicationDirPath() + u'/' + QLatin1String(kHelperName);
        if (!QFileInfo::exists(settings.helper))
            settings.helper = QLatin1String(build::kHelperDir) + u'/' + QLatin1String(kHelperName);
    }
    const QString office = qEnvironmentVariable("CORVELLA_OFFICE");
    if (!office.isEmpty()) settings.helperArguments << QStringLiteral("--office") << office;
    return settings;
}

bool LibreOfficeWord1::IsWordRunning() {
    const auto offices =
        office::RunningOffices(QFile::encodeName(settings_.procRoot).toStdString(), getuid());
    for (const office::OfficeProcess& running : offices) {
        if (!running.visibleToUser() || running.executable.empty()) continue;
        // soffice.bin lives in the installation's program/ folder. The path is the one the
        // process sees: through its root folder it also leads into a sandboxed installation.
        const QString executable = QFile::decodeName(running.executable.c_str());
        const QString installation = QFileInfo(QFileInfo(executable).absolutePath()).absolutePath();
        const QString root = QFile::decodeName(running.root.c_str());
        QString product = OfficeProductName(root + installation);
        if (product.isEmpty()) product = OfficeProductName(installation);
        if (product == kProductName) return true;
    }
    return false;
}

void LibreOfficeWord1::CompareInWord(const QString& path1, const QString& path2) {
    const QFileInfo helper(settings_.helper);
    if (!helper.exists()) {
#ifdef CORVELLA_OFFICE_HELPER_BUILT
        throw Failure(
            notAvailable(QStringLiteral("the helper %1 is missing").arg(settings_.helper)));
#else
        throw Failure(notAvailable(
            QStringLiteral("this Corvella was built without the LibreOffice SDK (%1 is missing)")
                .arg(settings_.helper)));
#endif
    }

    const auto helperLimit =
        std::chrono::duration_cast<std::chrono::seconds>(settings_.timeLimit - kHelperMargin);
    QStringList arguments = settings_.helperArguments;
    arguments << QStringLiteral("--time-limit")
              << QString::number(std::max<long long>(1, helperLimit.count()));
    arguments << QStringLiteral("--") << path1 << path2;

    QProcess process;
    process.setProgram(settings_.helper);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    // Closing Corvella in the middle of a comparison ends the helper too (the office stays).
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process.start();
    if (!process.waitForStarted()) throw Failure(notAvailable(process.errorString()));

    QByteArray errors;
    if (!Shell32::WaitWhileLive(process, events_, settings_.timeLimit, &errors)) {
        process.kill();
        process.waitForFinished(-1);
        throw Failure(QStringLiteral("LibreOffice did not finish the comparison within %1; "
                                     "the comparison was stopped")
                          .arg(seconds(settings_.timeLimit)));
    }
    errors += process.readAllStandardError();
    const QString message = lastLine(errors);

    if (process.exitStatus() == QProcess::CrashExit) {
        QString description = QStringLiteral("The LibreOffice comparison helper crashed");
        if (!message.isEmpty()) description += QStringLiteral(": ") + message;
        throw Failure(description);
    }
    const int code = process.exitCode();
    if (code == 0) return;
    // The loader could not find the office's libraries.
    if (code == 127 && message.contains(QLatin1String("error while loading shared libraries")))
        throw Failure(
            notAvailable(QStringLiteral("LibreOffice is not installed (%1)").arg(message)));
    if (!message.isEmpty()) throw Failure(message);
    throw Failure(
        QStringLiteral("The LibreOffice comparison helper failed with exit code %1").arg(code));
}

}  // namespace corvella

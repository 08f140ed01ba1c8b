// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/PairJob.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/ChildLifetime.h"
#include "core/ErrorReport.h"
#include "core/TempFolder.h"

namespace corvella::Batch {

namespace {

int linkSerial = 0;

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The child's lines on standard error without the program's name: "old/a.pdf: reason; ...".
QString troubleOf(const QByteArray& standardError) {
    QStringList lines;
    for (const QByteArray& line : standardError.split('\n')) {
        QString text = QString::fromUtf8(line).trimmed();
        if (text.startsWith(QStringLiteral("corvella-diff: "))) text = text.mid(15);
        if (!text.isEmpty()) lines << text;
    }
    return lines.join(QStringLiteral("; "));
}

}  // namespace

PairJob::PairJob(const Pair& pair, PairResult result, const OutputFolder& folder,
                 const QString& program, const QStringList& options)
    : pair_(pair),
      result_(std::move(result)),
      folder_(folder),
      program_(program),
      options_(options) {
    ChildLifetime::Bind(process_);
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.setStandardOutputFile(QProcess::nullDevice());
    connect(&process_, &QProcess::finished, this, &PairJob::end);
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) end(-1, QProcess::CrashExit);
    });
}

PairJob::~PairJob() { removeTemporaryFiles(); }

// A path the child can be given: Qt passes arguments as UTF-8, so a name that is not valid UTF-8
// is reached through a symbolic link in the private temp folder.
QString PairJob::childPath(Side side) {
    const QByteArray& path = pair_.paths[side];
    const QString name = QFile::decodeName(path);
    if (QFile::encodeName(name) == path) return name;
    QByteArray target = path;
    if (!target.startsWith('/')) target.prepend(QFile::encodeName(QDir::currentPath()) + '/');
    const QString link = TempPath(QStringLiteral("batch-%1.%2.%3")
                                      .arg(QCoreApplication::applicationPid())
                                      .arg(++linkSerial)
                                      .arg(QFileInfo(Readable(path)).fileName()));
    if (::symlink(target.constData(), QFile::encodeName(link).constData()) != 0) return name;
    links_ << link;
    return link;
}

void PairJob::start() {
    jsonPart_ = folder_.reportPath(result_.output, ".json.part");
    htmlPart_ = folder_.reportPath(result_.output, ".html.part");
    jsonWatch_.emplace(jsonPart_);
    htmlWatch_.emplace(htmlPart_);
    QStringList arguments = options_;
    arguments << QLatin1String(kPairReportsOption) << jsonPart_ << htmlPart_;
    clock_.start();
    try {
        if (!QDir().mkpath(QFileInfo(jsonPart_).path()))
            outputProblem_ = QFileInfo(jsonPart_).path() + QStringLiteral(": cannot create");
        arguments << QStringLiteral("--") << childPath(Side::One) << childPath(Side::Two);
    } catch (const Failure& failure) {
        result_.problem = failure.description();
    }
    if (!outputProblem_.isEmpty() || !result_.problem.isEmpty()) {
        QMetaObject::invokeMethod(this, &PairJob::finished, Qt::QueuedConnection);
        return;
    }
    process_.start(program_, arguments);
}

void PairJob::abandon() {
    disconnect(&process_, nullptr, this, nullptr);
    process_.terminate();
    if (!process_.waitForFinished(2000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
    removeTemporaryFiles();
}

void PairJob::end(int exitCode, QProcess::ExitStatus exitStatus) {
    result_.seconds = double(clock_.elapsed()) / 1000;
    exitCode_ = exitStatus == QProcess::NormalExit ? exitCode : -1;
    emit finished();
}

void PairJob::settle() {
    const QString trouble = troubleOf(process_.readAllStandardError());
    if (exitCode_ == 0 || exitCode_ == 1) {
        result_.status = exitCode_ == 0 ? Status::Same : Status::Differs;
        outputProblem_ = takeReports();
    } else if (exitCode_ == kReportsNotWritten) {
        outputProblem_ = trouble;
    } else if (result_.problem.isEmpty() && outputProblem_.isEmpty()) {
        result_.problem = !trouble.isEmpty() ? trouble
                          : process_.error() == QProcess::FailedToStart
                              ? process_.errorString()
                              : QStringLiteral("the comparison ended without a result");
    }
    if (!outputProblem_.isEmpty()) result_.status = Status::Trouble;
    removeTemporaryFiles();
}

// Gives both reports their names, and takes what the index shows from the JSON one.
QString PairJob::takeReports() {
    for (const QString& part : {jsonPart_, htmlPart_}) {
        QString done = part;
        done.chop(5);  // ".part"
        if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(done).constData()))
            return done + QStringLiteral(": ") + errorText(errno);
    }
    QFile json(folder_.reportPath(result_.output, ".json"));
    if (!json.open(QIODevice::ReadOnly)) return json.fileName() + u' ' + json.errorString();
    const QJsonObject report = QJsonDocument::fromJson(json.readAll()).object();
    result_.method = report[QStringLiteral("method")].toString();
    result_.counts = report[QStringLiteral("counts")].toObject();
    for (const Side side : kBothSides)
        result_.pages[side] =
            report[QStringLiteral("file%1").arg(NumberOf(side))][QStringLiteral("pages")].toInt();
    return QString();
}

void PairJob::removeTemporaryFiles() {
    for (const QString& path : {jsonPart_, htmlPart_})
        if (!path.isEmpty()) QFile::remove(path);
    for (const QString& link : links_) QFile::remove(link);
    links_.clear();
    jsonWatch_.reset();
    htmlWatch_.reset();
}

}  // namespace corvella::Batch

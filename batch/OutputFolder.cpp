// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/OutputFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <algorithm>

#include "batch/Interruption.h"

namespace corvella::Batch {

namespace {
const QString kReports = QStringLiteral("reports");
const QString kPairs = QStringLiteral("pairs");
}  // namespace

QString OutputFolder::filePath(const QString& name) const { return QDir(path_).filePath(name); }

QString OutputFolder::reportPath(const QString& output, const char* suffix) const {
    return filePath(kReports + u'/' + output + QLatin1String(suffix));
}

QString OutputFolder::resultPath(const QString& output) const {
    return filePath(kPairs + u'/' + output + QStringLiteral(".json"));
}

QString OutputFolder::prepare() const {
    const QFileInfo info(path_);
    if (info.exists() && !info.isDir()) return QStringLiteral("Not a directory");
    if (!QDir().mkpath(path_)) return QStringLiteral("cannot create the folder");
    QFile probe(filePath(QStringLiteral(".corvella-write-check")));
    if (!probe.open(QIODevice::WriteOnly)) return probe.errorString();
    probe.remove();
    return QString();
}

QString OutputFolder::WriteWhole(const QString& path, const QByteArray& bytes) {
    if (!QDir().mkpath(QFileInfo(path).path())) return QStringLiteral("cannot create its folder");
    const Interruption::HeldSignals held;
    QSaveFile file(path);
    // Unless committed, the temporary file goes with `file`.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString().isEmpty() ? QStringLiteral("cannot be written")
                                            : file.errorString();
    return QString();
}

std::optional<PairResult> OutputFolder::readResult(const QString& output) const {
    QFile file(resultPath(output));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return PairResult::FromJson(QJsonDocument::fromJson(file.readAll()).object());
}

std::vector<PairResult> OutputFolder::readResults() const {
    std::vector<PairResult> results;
    const QString folder = filePath(kPairs);
    QDirIterator files(folder, {QStringLiteral("*.json")}, QDir::Files | QDir::Hidden,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly)) continue;
        if (auto result = PairResult::FromJson(QJsonDocument::fromJson(file.readAll()).object()))
            results.push_back(std::move(*result));
    }
    std::sort(results.begin(), results.end(),
              [](const PairResult& a, const PairResult& b) { return a.key < b.key; });
    return results;
}

}  // namespace corvella::Batch

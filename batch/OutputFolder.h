// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "batch/PairResult.h"

// The folder a batch writes into: index.html, index.json and junit.xml at its top, each pair's
// JSON report and web page under reports/, and what became of each pair under pairs/. Every file
// is written whole under a temporary name and then renamed, so none is ever seen half-written.
namespace corvella::Batch {

class OutputFolder {
public:
    explicit OutputFolder(const QString& path) : path_(path) {}

    const QString& path() const { return path_; }
    QString filePath(const QString& name) const;
    // reports/<output>.json or .html: a pair's report.
    QString reportPath(const QString& output, const char* suffix) const;
    // pairs/<output>.json: what became of a pair.
    QString resultPath(const QString& output) const;

    // Creates the folder and checks that files can be written there; the reason when not.
    QString prepare() const;

    // Writes the bytes to the path whole (a temporary name, then a rename), creating its folder;
    // the reason when it could not.
    static QString WriteWhole(const QString& path, const QByteArray& bytes);

    std::optional<PairResult> readResult(const QString& output) const;
    // Every pair's result the folder holds (those of all shares), sorted by key.
    std::vector<PairResult> readResults() const;

private:
    QString path_;
};

}  // namespace corvella::Batch

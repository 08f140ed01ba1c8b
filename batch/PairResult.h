// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

#include "batch/Pair.h"

// What became of one pair of a batch, as its own small JSON file in the output folder
// (pairs/<name>.json): the index is built from these, by the run that wrote them or by
// --merge from the files several shares wrote.
namespace corvella::Batch {

enum class Status { Same, Differs, Added, Removed, Trouble };

// "same", "differs", "added", "removed", "trouble".
QString StatusName(Status status);

// A file as it was when it was compared: a later run compares it again once it has changed.
struct Stamp {
    qint64 size = -1;  // -1: not there
    qint64 modifiedNs = 0;

    static Stamp Of(const QByteArray& path);
    bool operator==(const Stamp& other) const {
        return size == other.size && modifiedNs == other.modifiedNs;
    }
};

struct PairResult {
    QString key;     // the pair's relative path, readable
    QString output;  // its name in the output folder (OutputName)
    Status status = Status::Trouble;
    BySide<QString> files;  // readable; empty on a missing side
    BySide<Stamp> stamps;
    QStringList options;  // the comparison's options and the program's version
    QString method;       // "lines", "words", "ignore-layout" from the pair's JSON report
    QJsonObject counts;   // as the JSON report holds them
    BySide<int> pages{};
    double seconds = 0;
    QString problem;       // for Trouble
    bool resumed = false;  // taken over from an earlier run; not stored

    bool compared() const { return status == Status::Same || status == Status::Differs; }
    // The counts as one sentence with their units: "file1 3 lines, file2 2 lines".
    QString countsSentence() const;

    // `withRunDetails` adds what only a later run needs (stamps, options), leaves out `resumed`.
    QJsonObject toJson(bool withRunDetails) const;
    static std::optional<PairResult> FromJson(const QJsonObject& object);
};

// The result as the run begins it: the pair's names, files and their stamps.
PairResult Begin(const Pair& pair, const QStringList& options);

}  // namespace corvella::Batch

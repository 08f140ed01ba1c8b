// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "batch/Shard.h"
#include "core/Side.h"

// The command line of a batch: corvella-diff --batch FOLDER1 FOLDER2 --out FOLDER, --batch-list
// FILE --out FOLDER, or --merge FOLDER. The batch's own options are taken out; every other
// argument is a comparison option, given unchanged to the comparison of each pair, so that any
// option of a single comparison works in a batch without the batch knowing it.
namespace corvella::Batch {

struct Options {
    enum class Source { Folders, List, Merge };
    Source source = Source::Folders;
    BySide<QString> folders;  // --batch
    QString list;             // --batch-list: a file, or "-" for standard input
    QString out;              // --out, or the folder of --merge
    int jobs = 0;             // -j: 0 means one per core
    Shard shard;
    bool failOnDifferences = false;
    bool quiet = false;      // no summary on standard output
    QStringList comparison;  // the options given to each pair's comparison
};

struct Parsed {
    enum class Action { Run, Help, Version, Misuse };
    Action action = Action::Misuse;
    Options options;
    QString problem;
};

// Whether the arguments ask for a batch (--batch, --batch-list or --merge before any "--").
bool Requested(const QStringList& arguments);

// `checkComparison` says what is wrong with the options meant for each pair, or nothing.
Parsed Parse(const QStringList& arguments,
             const std::function<QString(const QStringList&)>& checkComparison);

}  // namespace corvella::Batch

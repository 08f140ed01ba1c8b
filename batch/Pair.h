// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "core/Side.h"

// One entry of a batch: two files to compare, a file only one folder has, or a place that could
// not be read. Paths are bytes as the file system holds them, so that names which are not UTF-8
// are still found.
namespace corvella::Batch {

enum class Kind {
    Compare,  // both files, to be compared
    Added,    // only in the second folder
    Removed,  // only in the first folder
    Problem,  // a folder that cannot be read, a symbolic link loop, a listing line twice
};

struct Pair {
    QByteArray key;  // the relative path naming the pair's reports, unique in a batch
    Kind kind = Kind::Compare;
    BySide<QByteArray> paths;  // as the comparison is given them; empty on a missing side
    QString problem;           // for Kind::Problem: what is wrong
};

// The pairs sorted by key: the order of the index.
void SortByKey(std::vector<Pair>& pairs);

// Gives each pair whose output name an earlier pair has already taken (a file listed twice as the
// second of a pair) the suffix " (2)", " (3)", ... in the order of the pairs.
void MakeKeysUnique(std::vector<Pair>& pairs);

// The text of a path for people: invalid UTF-8 shows as U+FFFD.
QString Readable(const QByteArray& path);

// The key as a file name that Qt can open: the key itself when it is valid UTF-8, else with
// each byte of an invalid sequence written %XX.
QString OutputName(const QByteArray& key);

}  // namespace corvella::Batch

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "batch/Pair.h"

// corvella-diff --batch-list FILE: the pairs to compare, one a line, the first file and the second
// parted by a tab. A list that holds a NUL byte has its entries ended by NUL bytes instead of
// line breaks (as find -print0 and printf '%s\t%s\0' write them), so that names may hold line
// breaks. Empty entries are passed over; a carriage return ending a line is dropped.
namespace corvella::Batch::PairListing {

struct Parsed {
    std::vector<Pair> pairs;  // in the list's order; each key made from its second path
    QString problem;          // the first malformed entry, with its number; then no pairs
};

Parsed Parse(const QByteArray& listing);

// A pair's key from a listed path: its folders and name without the root, "." and ".."; empty
// when nothing is left.
QByteArray KeyOf(const QByteArray& path);

}  // namespace corvella::Batch::PairListing

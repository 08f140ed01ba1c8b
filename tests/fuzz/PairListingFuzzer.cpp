// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The list of pairs a batch reads (--batch-list): any bytes give pairs or one problem; the pairs
// written out again read back the same; their keys are clean relative paths, unique once made
// so, each with a name the output folder can take, and each falls in exactly one share.
#include <QFile>
#include <QSet>

#include "batch/PairListing.h"
#include "batch/Shard.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace corvella;
using namespace corvella::Batch;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray listing(reinterpret_cast<const char*>(data), qsizetype(size));
    PairListing::Parsed parsed = PairListing::Parse(listing);
    FUZZ_CHECK(parsed.problem.isEmpty() || parsed.pairs.empty());
    // A carriage return before a line break is dropped, so a name ending in one needs another.
    const QByteArray end = listing.contains('\0') ? QByteArray(1, '\0') : QByteArray("\r\n");
    QByteArray again;
    for (const Pair& pair : parsed.pairs) {
        FUZZ_CHECK(!pair.key.isEmpty() && PairListing::KeyOf(pair.key) == pair.key);
        again += pair.paths[Side::One] + '\t' + pair.paths[Side::Two] + end;
    }
    const PairListing::Parsed reread = PairListing::Parse(again);
    FUZZ_CHECK(reread.pairs.size() == parsed.pairs.size());
    for (size_t i = 0; i < reread.pairs.size(); ++i)
        for (const Side side : kBothSides)
            FUZZ_CHECK(reread.pairs[i].paths[side] == parsed.pairs[i].paths[side]);

    MakeKeysUnique(parsed.pairs);
    QSet<QString> names;
    for (const Pair& pair : parsed.pairs) {
        const QString name = OutputName(pair.key);
        FUZZ_CHECK(QFile::decodeName(QFile::encodeName(name)) == name);
        FUZZ_CHECK(!names.contains(name));
        names.insert(name);
        int shares = 0;
        for (int index = 1; index <= 3; ++index) shares += Shard{index, 3}.holds(pair.key) ? 1 : 0;
        FUZZ_CHECK(shares == 1);
    }
    return 0;
}

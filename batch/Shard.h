// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// corvella-diff --shard I/N: one of N shares of a batch's pairs, so that several processes (hosts
// under GNU parallel, the tasks of a Slurm job array) compare a share each. A pair's share follows
// from its key alone, so it is the same however the pairs were listed or found.
namespace corvella::Batch {

struct Shard {
    int index = 1;  // from 1 to count
    int count = 1;

    // "I/N" with 1 <= I <= N; on anything else `problem` says what is wrong.
    static Shard Parse(const QString& text, QString* problem);

    bool whole() const { return count == 1; }
    // Whether the pair of this key belongs to this share.
    bool holds(const QByteArray& key) const;
};

}  // namespace corvella::Batch

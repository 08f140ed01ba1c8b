// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/PairListing.h"

#include <QByteArrayList>

namespace corvella::Batch::PairListing {

QByteArray KeyOf(const QByteArray& path) {
    QByteArrayList kept;
    for (const QByteArray& part : path.split('/'))
        if (!part.isEmpty() && part != "." && part != "..") kept << part;
    return kept.join('/');
}

Parsed Parse(const QByteArray& listing) {
    const char end = listing.contains('\0') ? '\0' : '\n';
    Parsed parsed;
    int number = 0;
    for (QByteArray entry : listing.split(end)) {
        ++number;
        if (end == '\n' && entry.endsWith('\r')) entry.chop(1);
        if (entry.isEmpty()) continue;
        const qsizetype tab = entry.indexOf('\t');
        Pair pair;
        pair.paths[Side::One] = entry.left(tab);
        pair.paths[Side::Two] = entry.mid(tab + 1);
        pair.key = KeyOf(pair.paths[Side::Two]);
        if (tab < 0 || entry.indexOf('\t', tab + 1) >= 0 || pair.paths[Side::One].isEmpty() ||
            pair.key.isEmpty()) {
            parsed.pairs.clear();
            parsed.problem =
                QStringLiteral("%1 %2: two file paths parted by one tab are needed")
                    .arg(end == '\n' ? QStringLiteral("line") : QStringLiteral("entry"))
                    .arg(number);
            return parsed;
        }
        parsed.pairs.push_back(std::move(pair));
    }
    return parsed;
}

}  // namespace corvella::Batch::PairListing

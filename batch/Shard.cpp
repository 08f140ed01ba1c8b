// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/Shard.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace corvella::Batch {

Shard Shard::Parse(const QString& text, QString* problem) {
    const qsizetype slash = text.indexOf(u'/');
    bool indexOk = false;
    bool countOk = false;
    const int index = text.left(slash).toInt(&indexOk);
    const int count = text.mid(slash + 1).toInt(&countOk);
    if (slash < 0 || !indexOk || !countOk || count < 1 || index < 1 || index > count) {
        *problem = QStringLiteral("invalid share '%1': give I/N, I from 1 to N").arg(text);
        return {};
    }
    return {index, count};
}

bool Shard::holds(const QByteArray& key) const {
    // A hash that is the same on every host and in every version, not Qt's seeded qHash.
    const QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha1);
    const quint64 value = qFromBigEndian<quint64>(digest.constData());
    return int(value % quint64(count)) + 1 == index;
}

}  // namespace corvella::Batch

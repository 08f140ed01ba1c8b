// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/Pair.h"

#include <QFile>
#include <QSet>
#include <algorithm>

namespace corvella::Batch {

void SortByKey(std::vector<Pair>& pairs) {
    std::sort(pairs.begin(), pairs.end(),
              [](const Pair& a, const Pair& b) { return a.key < b.key; });
}

void MakeKeysUnique(std::vector<Pair>& pairs) {
    QSet<QString> taken;
    for (Pair& pair : pairs) {
        const QByteArray key = pair.key;
        for (int n = 2; taken.contains(OutputName(pair.key)); ++n)
            pair.key = key + " (" + QByteArray::number(n) + ')';
        taken.insert(OutputName(pair.key));
    }
}

QString Readable(const QByteArray& path) { return QString::fromUtf8(path); }

QString OutputName(const QByteArray& key) {
    const QString name = QFile::decodeName(key);
    if (QFile::encodeName(name) == key) return name;
    QString escaped;
    for (const char byte : key) {
        const auto value = quint8(byte);
        if (value >= 0x80 || byte == '%')
            escaped += QStringLiteral("%%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
        else
            escaped += QLatin1Char(byte);
    }
    return escaped;
}

}  // namespace corvella::Batch

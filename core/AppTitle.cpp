// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/AppTitle.h"

namespace corvella {

namespace {
QString& storedTitle() {
    static QString title = kProductName;
    return title;
}
}  // namespace

QString ShortenedTitle(const QString& productName) {
    constexpr qsizetype kMaxLength = 40;
    QString title = productName;
    do {
        const qsizetype lastSpace = title.lastIndexOf(u' ');
        if (lastSpace < 0) return title.left(kMaxLength);
        title = title.left(lastSpace);
    } while (title.size() > kMaxLength);
    return title;
}

void SetAppTitle(const QString& productName) { storedTitle() = ShortenedTitle(productName); }

const QString& AppTitle() { return storedTitle(); }

}  // namespace corvella

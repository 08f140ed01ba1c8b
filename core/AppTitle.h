// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace corvella {

inline const QString kProductName = QStringLiteral("Corvella");

// The product name shortened for title bars: the last word is dropped, then further words until
// at most 40 characters remain. A name without any space is kept whole (cut to 40 characters).
QString ShortenedTitle(const QString& productName);

// Computes the application title from the product name; every box without a title of its own
// shows it.
void SetAppTitle(const QString& productName = kProductName);
const QString& AppTitle();

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <ostream>

// Lets test failures show QStrings as readable text, with line breaks made visible.
inline void PrintTo(const QString& text, std::ostream* out) {
    QString shown;
    for (QChar c : text) {
        if (c == u'\r')
            shown += QStringLiteral("\\r");
        else if (c == u'\n')
            shown += QStringLiteral("\\n");
        else if (c.unicode() < 32)
            shown += QStringLiteral("\\x%1").arg(int(c.unicode()), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    *out << '"' << shown.toStdString() << '"';
}

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

#include "annotate/BoxMatcher.h"

namespace corvella::testing {

// Words laid out as a typesetter would: a line per string, ten points a character, four between
// words, lines twenty points apart, each line turned as `rotation` says for its number.
inline std::vector<BoxMatcher::WordBox> WordLayout(const QStringList& lines,
                                                   int (*rotation)(int line) = nullptr) {
    std::vector<BoxMatcher::WordBox> words;
    for (int line = 0; line < int(lines.size()); ++line) {
        double x = 0;
        const double y = 20.0 * line;
        for (const QString& text : lines[line].split(u' ', Qt::SkipEmptyParts)) {
            const double width = 10.0 * double(text.size());
            words.push_back({text, QRectF(x, y, width, 10), rotation ? rotation(line) : 0, {}});
            for (qsizetype i = 0; i < text.size(); ++i)
                words.back().glyphs.push_back(QRectF(x + 10.0 * double(i), y, 10, 10));
            x += width + 4;
        }
    }
    return words;
}

}  // namespace corvella::testing

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/TextReport.h"

#include "diff/TextPlaces.h"
#include "report/DifferenceCounts.h"

namespace corvella::TextReport {

void Write(const Comparison& comparison, const DifferenceReport::File& first,
           const DifferenceReport::File& second, QIODevice& out, bool counts) {
    QString lines;
    auto flush = [&] {
        out.write(lines.toUtf8());
        lines.clear();
    };
    const bool withOther = comparison.method == Method::IgnoringLayout;
    for (const Side side : kBothSides) {
        const DifferenceReport::File& file = side == Side::One ? first : second;
        const DifferenceReport::File& otherFile = side == Side::One ? second : first;
        const QLatin1Char marker(side == Side::One ? '<' : '>');
        const TextPlaces::Locator otherLocator(side == Side::One ? second.text : first.text);
        const std::vector<Difference>& differences = comparison.side(side).differences;
        for (size_t i = 0; i < differences.size(); ++i) {
            const Difference& difference = differences[i];
            lines += QStringLiteral("p%1:l%2 ")
                         .arg(file.pageNumber(difference.page))
                         .arg(difference.line) +
                     marker + u' ' + DifferenceReport::TextOf(comparison, side, i, file);
            if (withOther && difference.placed()) {
                const TextPlaces::Place other = otherLocator.of(difference.other);
                lines += QStringLiteral("  (p%1:l%2)")
                             .arg(otherFile.pageNumber(other.page))
                             .arg(other.line);
            }
            lines += u'\n';
            if (lines.size() > 1 << 16) flush();
        }
    }
    if (counts)
        lines += QStringLiteral("counts: ") +
                 DifferenceCounts::Sentence(DifferenceCounts::Of(comparison)) + u'\n';
    flush();
}

}  // namespace corvella::TextReport

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/review/OverviewSummary.h"

#include <algorithm>

namespace corvella {

OverviewSummary OverviewSummary::Of(const std::vector<Mark>& marks, int totalLines, int pixels) {
    OverviewSummary summary;
    summary.totalLines = std::max(1, totalLines);
    summary.kinds.assign(size_t(std::max(0, pixels)), kNone);
    summary.first.assign(summary.kinds.size(), -1);
    if (pixels <= 0) return summary;
    for (size_t i = 0; i < marks.size(); ++i) {
        const size_t pixel = size_t(summary.pixelOf(marks[i].line));
        const Kind kind = marks[i].kind;
        Kind& there = summary.kinds[pixel];
        const bool earlier =
            summary.first[pixel] < 0 || marks[size_t(summary.first[pixel])].line > marks[i].line;
        if (kind > there || (kind == there && earlier)) {
            there = kind;
            summary.first[pixel] = int(i);
        }
    }
    return summary;
}

int OverviewSummary::pixelOf(int line) const {
    if (kinds.empty()) return 0;
    const qint64 pixel = qint64(std::max(0, line)) * qint64(kinds.size()) / totalLines;
    return int(std::min<qint64>(pixel, qint64(kinds.size()) - 1));
}

std::optional<int> OverviewSummary::markNear(int pixel, int reach) const {
    std::optional<int> best;
    int bestDistance = reach + 1;
    Kind bestKind = kNone;
    for (int p = std::max(0, pixel - reach); p <= std::min(pixels() - 1, pixel + reach); ++p) {
        const Kind kind = kinds[size_t(p)];
        if (kind == kNone) continue;
        const int distance = std::abs(p - pixel);
        if (kind > bestKind || (kind == bestKind && distance < bestDistance)) {
            best = first[size_t(p)];
            bestDistance = distance;
            bestKind = kind;
        }
    }
    return best;
}

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "extract/PageRanges.h"

#include <QFile>
#include <algorithm>
#include <limits>

namespace corvella::PageRanges {

int RunsFor(int cores) { return cores > 1 ? 2 * cores : 1; }

int RunsInOrderFor(int cores) { return cores > 1 ? 4 * cores : 1; }

int RunsAtOnceInOrder(int cores) { return std::max(1, cores); }

std::vector<Range> Plan(int pages, int runs) {
    if (pages < 1) return {};
    const int count = std::max(1, std::min(runs, pages / kMinimumPages));
    std::vector<Range> ranges;
    // Counted wide: after a range ending on the largest page number the next would start past it.
    qint64 first = 1;
    for (int i = 0; i < count; ++i) {
        const int size = pages / count + (i < pages % count ? 1 : 0);
        ranges.push_back({int(first), int(first + size - 1)});
        first += size;
    }
    return ranges;
}

std::vector<Range> PlanInOrder(int pages, int runs, int atOnce) {
    const std::vector<Range> whole = Plan(pages, runs);
    if (whole.size() < 2) return whole;
    const std::size_t lastRoundStart =
        whole.size() - std::min(whole.size(), std::size_t(std::max(1, atOnce)));
    std::vector<Range> ranges(whole.begin(), whole.begin() + qsizetype(lastRoundStart));
    for (std::size_t i = lastRoundStart; i < whole.size(); ++i) {
        const Range range = whole[i];
        const int half = (range.last - range.first + 1) / 2;
        if (half < kMinimumPages) {
            ranges.push_back(range);
            continue;
        }
        ranges.push_back({range.first, range.first + half - 1});
        ranges.push_back({range.first + half, range.last});
    }
    return ranges;
}

std::vector<Range> OnChosen(const std::vector<Range>& plan, const std::vector<Range>& chosen) {
    if (chosen.empty()) return plan;
    std::vector<Range> ranges;
    size_t span = 0;
    qint64 spanStart = 1;  // the plan's number of the first page of chosen[span]
    for (const Range& range : plan) {
        for (qint64 from = range.first; from <= range.last && span < chosen.size();) {
            const qint64 spanEnd = spanStart + chosen[span].last - chosen[span].first;
            const qint64 to = std::min<qint64>(range.last, spanEnd);
            ranges.push_back({int(chosen[span].first + (from - spanStart)),
                              int(chosen[span].first + (to - spanStart))});
            from = to + 1;
            if (to == spanEnd) {
                spanStart = spanEnd + 1;
                ++span;
            }
        }
    }
    return ranges;
}

int PageCount(const std::vector<Range>& ranges) {
    qint64 pages = 0;
    for (const Range& range : ranges) pages += range.last - range.first + 1;
    return int(std::min<qint64>(pages, std::numeric_limits<int>::max()));
}

DocumentInfo ParseDocumentInfo(const QByteArray& information) {
    DocumentInfo info;
    for (const QByteArray& line : information.split('\n')) {
        if (line.startsWith("Pages:")) {
            bool ok = false;
            const int pages = line.mid(6).trimmed().toInt(&ok);
            if (ok && pages > 0) info.pages = pages;
        } else if (line.startsWith("Encrypted:")) {
            info.encrypted = line.mid(10).trimmed().startsWith("yes");
            info.copyingForbidden = line.contains("copy:no");
        }
    }
    return info;
}

bool JoinFiles(const QStringList& parts, const QString& target) {
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    bool ok = true;
    for (const QString& part : parts) {
        QFile in(part);
        ok = in.open(QIODevice::ReadOnly);
        while (ok && !in.atEnd()) {
            const QByteArray block = in.read(1 << 20);
            ok = in.error() == QFileDevice::NoError && out.write(block) == block.size();
        }
        if (!ok) break;
    }
    ok = ok && out.flush();
    out.close();
    if (!ok) out.remove();
    return ok;
}

}  // namespace corvella::PageRanges

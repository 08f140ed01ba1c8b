// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/WordDiff.h"

#include <algorithm>

#include "core/PaneText.h"

namespace corvella::WordDiff {

namespace {

constexpr QChar kSpace = u' ';

// Up to this many candidates a plain scan is cheaper than the index.
constexpr qsizetype kScanLimit = 16;

template <typename Visit>
void forEachWord(QStringView line, Visit&& visit) {
    if (line.isEmpty()) return;
    qsizetype start = 0;
    for (;;) {
        const qsizetype space = line.indexOf(kSpace, start);
        if (space < 0) {
            visit(line.mid(start), start);
            return;
        }
        visit(line.mid(start, space - start), start);
        start = space + 1;
    }
}

}  // namespace

std::vector<QStringView> CutAtCRLF(QStringView text) {
    std::vector<QStringView> lines;
    if (text.isEmpty()) return lines;
    qsizetype start = 0;
    for (;;) {
        const qsizetype at = text.indexOf(PaneText::kBreak, start);
        if (at < 0) {
            lines.push_back(text.mid(start));
            return lines;
        }
        lines.push_back(text.mid(start, at - start));
        start = at + 2;
    }
}

std::vector<QStringView> CutAtSpaces(QStringView line) {
    std::vector<QStringView> words;
    forEachWord(line, [&](QStringView word, qsizetype) { words.push_back(word); });
    return words;
}

qsizetype Window(qsizetype ownWordCount) {
    // (n - 1) / 2 + 1 = (n + 1) / 2: whole for odd n, a half for even n.
    if (ownWordCount % 2 != 0) return (ownWordCount + 1) / 2;
    const qsizetype below = ownWordCount / 2;
    return below % 2 == 0 ? below : below + 1;
}

OtherLine::OtherLine(QStringView line) : words_(CutAtSpaces(line)) {}

const OtherLine::Index& OtherLine::index() const {
    if (index_) return *index_;
    Index& index = index_.emplace();
    std::vector<qsizetype> groupOf(words_.size());
    std::vector<qsizetype> counts;
    index.group.reserve(qsizetype(words_.size()));
    for (size_t i = 0; i < words_.size(); ++i) {
        auto it = index.group.find(words_[i]);
        if (it == index.group.end()) {
            it = index.group.insert(words_[i], qsizetype(counts.size()));
            counts.push_back(0);
        }
        groupOf[i] = *it;
        ++counts[size_t(*it)];
    }
    // Positions grouped by word, each group ascending (a counting sort over the groups).
    index.groupStart.assign(counts.size() + 1, 0);
    for (size_t g = 0; g < counts.size(); ++g)
        index.groupStart[g + 1] = index.groupStart[g] + counts[g];
    std::vector<qsizetype> next(index.groupStart.begin(), index.groupStart.end() - 1);
    index.positions.resize(words_.size());
    for (size_t i = 0; i < words_.size(); ++i)
        index.positions[size_t(next[size_t(groupOf[i])]++)] = qsizetype(i);
    return index;
}

qsizetype OtherLine::find(QStringView word, qsizetype from, qsizetype to) const {
    to = std::min(to, size());
    if (from >= to) return -1;
    if (to - from <= kScanLimit) {
        for (qsizetype i = from; i < to; ++i)
            if (words_[size_t(i)] == word) return i;
        return -1;
    }
    const Index& idx = index();
    const auto it = idx.group.constFind(word);
    if (it == idx.group.constEnd()) return -1;
    const auto first = idx.positions.begin() + idx.groupStart[size_t(*it)];
    const auto last = idx.positions.begin() + idx.groupStart[size_t(*it) + 1];
    const auto at = std::lower_bound(first, last, from);
    return at != last && *at < to ? *at : -1;
}

void MissingWords(QStringView ownLine, const OtherLine& other, std::vector<TextRange>& missing) {
    if (ownLine.isEmpty()) return;
    const qsizetype window = Window(ownLine.count(kSpace) + 1);
    qsizetype cursor = 0;
    forEachWord(ownLine, [&](QStringView word, qsizetype offset) {
        const qsizetype at = other.find(word, cursor, cursor + window);
        if (at >= 0)
            cursor = at + 1;
        else
            missing.push_back({offset, word.size()});
    });
}

}  // namespace corvella::WordDiff

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/layout/CharacterChanges.h"

#include <algorithm>

namespace corvella::CharacterChanges {

namespace {

using WordFolding::Unit;
using Units = std::vector<Unit>;

// The lengths of the longest common subsequences of a's and b's prefixes, row by row.
std::vector<int> lcsTable(const Units& a, const Units& b) {
    const size_t columns = b.size() + 1;
    std::vector<int> table((a.size() + 1) * columns, 0);
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j)
            table[i * columns + j] =
                a[i - 1].text == b[j - 1].text
                    ? table[(i - 1) * columns + j - 1] + 1
                    : std::max(table[(i - 1) * columns + j], table[i * columns + j - 1]);
    return table;
}

int commonLength(const Units& a, const Units& b) { return lcsTable(a, b).back(); }

bool alike(const Units& a, const Units& b, int common) {
    return common > 0 && 2 * qsizetype(common) >= qsizetype(std::max(a.size(), b.size()));
}

// The pairs of alike words, in order, with as many characters in common as can be.
std::vector<std::pair<size_t, size_t>> pairWords(const std::vector<Units>& a,
                                                 const std::vector<Units>& b) {
    const size_t columns = b.size() + 1;
    std::vector<int> common(a.size() * b.size());
    for (size_t i = 0; i < a.size(); ++i)
        for (size_t j = 0; j < b.size(); ++j) {
            const int length = commonLength(a[i], b[j]);
            common[i * b.size() + j] = alike(a[i], b[j], length) ? length : -1;
        }
    std::vector<int> best((a.size() + 1) * columns, 0);
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            const int pair = common[(i - 1) * b.size() + j - 1];
            best[i * columns + j] =
                std::max({best[(i - 1) * columns + j], best[i * columns + j - 1],
                          pair < 0 ? 0 : best[(i - 1) * columns + j - 1] + pair});
        }
    std::vector<std::pair<size_t, size_t>> pairs;
    for (size_t i = a.size(), j = b.size(); i > 0 && j > 0;) {
        const int pair = common[(i - 1) * b.size() + j - 1];
        if (pair >= 0 && best[i * columns + j] == best[(i - 1) * columns + j - 1] + pair) {
            pairs.push_back({--i, --j});
        } else if (best[i * columns + j] == best[(i - 1) * columns + j]) {
            --i;
        } else {
            --j;
        }
    }
    std::reverse(pairs.begin(), pairs.end());
    return pairs;
}

// Per unit of each word, whether it changed: not in the common start or end, nor in a longest
// common subsequence of what lies between, or in an unchanged stretch shorter than kMinUnchanged
// between two changes. The common start and end go first, so that a changed letter between equal
// ones ("1998" against "1999") is paired with the letter it replaced.
std::pair<std::vector<bool>, std::vector<bool>> changedUnits(const Units& a, const Units& b) {
    size_t head = 0, tail = 0;
    while (head < a.size() && head < b.size() && a[head].text == b[head].text) ++head;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail].text == b[b.size() - 1 - tail].text)
        ++tail;
    const Units middleA(a.begin() + qsizetype(head), a.end() - qsizetype(tail));
    const Units middleB(b.begin() + qsizetype(head), b.end() - qsizetype(tail));
    const std::vector<int> table = lcsTable(middleA, middleB);
    const size_t columns = middleB.size() + 1;
    // The edit script of the middle, from its end: a kept pair (i, j), or a change (kNone on the
    // side that has nothing there).
    constexpr size_t kNone = size_t(-1);
    std::vector<std::pair<size_t, size_t>> script;
    for (size_t i = middleA.size(), j = middleB.size(); i > 0 || j > 0;) {
        if (i > 0 && j > 0 && middleA[i - 1].text == middleB[j - 1].text &&
            table[i * columns + j] == table[(i - 1) * columns + j - 1] + 1)
            script.push_back({--i, --j});
        else if (j == 0 || (i > 0 && table[(i - 1) * columns + j] >= table[i * columns + j - 1]))
            script.push_back({--i, kNone});
        else
            script.push_back({kNone, --j});
    }
    std::reverse(script.begin(), script.end());
    std::vector<bool> changedA(a.size(), false), changedB(b.size(), false);
    auto kept = [&](size_t k) { return script[k].first != kNone && script[k].second != kNone; };
    for (size_t k = 0; k < script.size();) {
        size_t end = k;
        while (end < script.size() && kept(end)) ++end;
        // Short and between two changes (the common start and end count as unchanged).
        const bool fold = k > 0 && end < script.size() && end - k < size_t(kMinUnchanged);
        for (size_t s = k; s < std::max(end, k + 1); ++s) {
            if (kept(s) && !fold) continue;
            if (script[s].first != kNone) changedA[head + script[s].first] = true;
            if (script[s].second != kNone) changedB[head + script[s].second] = true;
        }
        k = std::max(end, k + 1);
    }
    return {changedA, changedB};
}

// Writes down the changes of one side.
class Collector {
public:
    explicit Collector(std::vector<CharacterChange>& out) : out_(out) {}

    // Characters [from, to) of the word's text, which starts at `at` in the run's words.
    void add(const Word& word, qsizetype at, qsizetype from, qsizetype to) {
        if (from >= to) return;
        // Of a word joined over a line's end, its first part's characters without the hyphens
        // the join dropped.
        const qsizetype dropped = word.first.length + word.second.length - word.text.size();
        const qsizetype firstLength =
            word.second.length == 0 ? word.text.size() : word.first.length - dropped;
        if (from < firstLength)
            out_.push_back({{word.first.start + from, std::min(to, firstLength) - from},
                            {at + from, std::min(to, firstLength) - from}});
        if (to > firstLength) {
            const qsizetype start = std::max(from, firstLength);
            out_.push_back(
                {{word.second.start + start - firstLength, to - start}, {at + start, to - start}});
        }
    }

    // The changed units of the word, each stretch of them as one change.
    void addUnits(const Word& word, qsizetype at, const Units& units,
                  const std::vector<bool>& changed) {
        for (size_t u = 0; u < units.size();) {
            if (!changed[u]) {
                ++u;
                continue;
            }
            size_t end = u;
            while (end < units.size() && changed[end]) ++end;
            add(word, at, units[u].start, units[end - 1].end);
            u = end;
        }
    }

private:
    std::vector<CharacterChange>& out_;
};

qsizetype runLength(const std::vector<Word>& words) {
    qsizetype length = words.empty() ? 0 : qsizetype(words.size()) - 1;
    for (const Word& word : words) length += word.text.size();
    return length;
}

// Where each word starts in the run's words, one space apart.
std::vector<qsizetype> wordStarts(const std::vector<Word>& words) {
    std::vector<qsizetype> starts;
    qsizetype at = 0;
    for (const Word& word : words) {
        starts.push_back(at);
        at += word.text.size() + 1;
    }
    return starts;
}

}  // namespace

Found Refine(const std::vector<Word>& one, const std::vector<Word>& two,
             const WordFolding::Rules& rules) {
    Found found;
    if (runLength(one) > kMaxRunCharacters || runLength(two) > kMaxRunCharacters) return found;
    found.refined = true;
    const std::vector<Word>* words[2] = {&one, &two};
    std::vector<Units> units[2];
    std::vector<qsizetype> starts[2];
    for (int s = 0; s < 2; ++s) {
        for (const Word& word : *words[s]) units[s].push_back(WordFolding::Units(word.text, rules));
        starts[s] = wordStarts(*words[s]);
    }
    Collector collect[2] = {Collector(found.changes[Side::One]),
                            Collector(found.changes[Side::Two])};
    std::vector<bool> paired[2] = {std::vector<bool>(one.size()), std::vector<bool>(two.size())};
    for (const auto& [i, j] : pairWords(units[0], units[1])) {
        paired[0][i] = paired[1][j] = true;
        const auto [changedA, changedB] = changedUnits(units[0][i], units[1][j]);
        collect[0].addUnits(one[i], starts[0][i], units[0][i], changedA);
        collect[1].addUnits(two[j], starts[1][j], units[1][j], changedB);
    }
    for (int s = 0; s < 2; ++s)
        for (size_t w = 0; w < paired[s].size(); ++w)
            if (!paired[s][w])
                collect[s].add((*words[s])[w], starts[s][w], 0, (*words[s])[w].text.size());
    for (std::vector<CharacterChange>& changes : found.changes)
        std::sort(changes.begin(), changes.end(),
                  [](const CharacterChange& a, const CharacterChange& b) {
                      return a.inWords.start < b.inWords.start;
                  });
    return found;
}

}  // namespace corvella::CharacterChanges

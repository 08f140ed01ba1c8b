// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/layout/LayoutDiff.h"

#include <algorithm>
#include <dtl/dtl.hpp>
#include <unordered_map>

namespace corvella::LayoutDiff {

namespace {

// The largest word id of a sequence, 0 when it is empty.
int largest(const std::vector<int>& words) {
    return words.empty() ? 0 : *std::max_element(words.begin(), words.end());
}

// dtl takes stretches up to this many cells (words of one side times words of the other) at once.
constexpr qsizetype kDirectCells = 4'000'000;
// Without anchors, dtl still takes a stretch up to this size; beyond, it counts as different.
constexpr qsizetype kLargestCells = 64'000'000;

struct Segment {
    qsizetype aLo, aHi, bLo, bHi;
};

class Differ {
public:
    Differ(const std::vector<int>& a, const std::vector<int>& b, Edits& edits)
        : a_(a), b_(b), edits_(edits) {
        seen_.assign(size_t(std::max(largest(a), largest(b))) + 1, {});
    }

    void run(const Progress& progress) {
        std::vector<Segment> work{{0, qsizetype(a_.size()), 0, qsizetype(b_.size())}};
        while (!work.empty()) {
            Tick(progress);
            Segment s = work.back();
            work.pop_back();
            split(s, work);
        }
    }

private:
    struct Seen {
        int countA = 0, countB = 0;
        qsizetype posA = 0, posB = 0;
    };

    void markDifferent(const Segment& s) {
        std::fill(edits_.a.begin() + s.aLo, edits_.a.begin() + s.aHi, Different);
        std::fill(edits_.b.begin() + s.bLo, edits_.b.begin() + s.bHi, Different);
    }

    void split(Segment s, std::vector<Segment>& work) {
        while (s.aLo < s.aHi && s.bLo < s.bHi && a_[size_t(s.aLo)] == b_[size_t(s.bLo)])
            ++s.aLo, ++s.bLo;
        while (s.aLo < s.aHi && s.bLo < s.bHi && a_[size_t(s.aHi - 1)] == b_[size_t(s.bHi - 1)])
            --s.aHi, --s.bHi;
        const qsizetype cells = (s.aHi - s.aLo) * (s.bHi - s.bLo);
        if (cells == 0) return markDifferent(s);
        if (cells <= kDirectCells) return direct(s);
        const std::vector<std::pair<qsizetype, qsizetype>> anchors = uniqueAnchors(s);
        if (anchors.empty()) return cells <= kLargestCells ? direct(s) : markDifferent(s);
        qsizetype aFrom = s.aLo, bFrom = s.bLo;
        for (const auto& [aAt, bAt] : anchors) {
            work.push_back({aFrom, aAt, bFrom, bAt});
            aFrom = aAt + 1;
            bFrom = bAt + 1;
        }
        work.push_back({aFrom, s.aHi, bFrom, s.bHi});
    }

    // The words once in each side of the stretch, paired, and of those the longest run that
    // stands in the same order in both (patience sorting).
    std::vector<std::pair<qsizetype, qsizetype>> uniqueAnchors(const Segment& s) {
        for (qsizetype i = s.aLo; i < s.aHi; ++i) seen_[size_t(a_[size_t(i)])] = {};
        for (qsizetype j = s.bLo; j < s.bHi; ++j) seen_[size_t(b_[size_t(j)])] = {};
        for (qsizetype i = s.aLo; i < s.aHi; ++i) {
            Seen& seen = seen_[size_t(a_[size_t(i)])];
            ++seen.countA;
            seen.posA = i;
        }
        for (qsizetype j = s.bLo; j < s.bHi; ++j) {
            Seen& seen = seen_[size_t(b_[size_t(j)])];
            ++seen.countB;
            seen.posB = j;
        }
        std::vector<std::pair<qsizetype, qsizetype>> pairs;
        for (qsizetype i = s.aLo; i < s.aHi; ++i) {
            const Seen& seen = seen_[size_t(a_[size_t(i)])];
            if (seen.countA == 1 && seen.countB == 1) pairs.push_back({i, seen.posB});
        }
        // Longest increasing subsequence of the B positions, in A order.
        std::vector<size_t> tails;  // index into pairs of the smallest tail of each length
        std::vector<qsizetype> previous(pairs.size(), -1);
        for (size_t k = 0; k < pairs.size(); ++k) {
            const auto at =
                std::lower_bound(tails.begin(), tails.end(), pairs[k].second,
                                 [&](size_t tail, qsizetype b) { return pairs[tail].second < b; });
            if (at != tails.begin()) previous[k] = qsizetype(*(at - 1));
            if (at == tails.end())
                tails.push_back(k);
            else
                *at = k;
        }
        std::vector<std::pair<qsizetype, qsizetype>> anchors;
        for (qsizetype k = tails.empty() ? -1 : qsizetype(tails.back()); k >= 0;
             k = previous[size_t(k)])
            anchors.push_back(pairs[size_t(k)]);
        std::reverse(anchors.begin(), anchors.end());
        return anchors;
    }

    void direct(const Segment& s) {
        const std::vector<int> a(a_.begin() + s.aLo, a_.begin() + s.aHi);
        const std::vector<int> b(b_.begin() + s.bLo, b_.begin() + s.bHi);
        dtl::Diff<int, std::vector<int>> diff(a, b);
        diff.onHuge();
        diff.compose();
        for (const auto& [word, info] : diff.getSes().getSequence()) {
            (void)word;
            if (info.type == dtl::SES_DELETE)
                edits_.a[size_t(s.aLo + info.beforeIdx - 1)] = Different;
            if (info.type == dtl::SES_ADD) edits_.b[size_t(s.bLo + info.afterIdx - 1)] = Different;
        }
    }

    const std::vector<int>& a_;
    const std::vector<int>& b_;
    Edits& edits_;
    std::vector<Seen> seen_;
};

// A hash of the `k` words from `at`.
std::uint64_t gramHash(const std::vector<int>& words, qsizetype at, qsizetype k) {
    std::uint64_t hash = 1469598103934665603ull;
    for (qsizetype i = 0; i < k; ++i)
        hash = (hash ^ std::uint64_t(words[size_t(at + i)])) * 1099511628211ull;
    return hash;
}

bool allDifferent(const std::vector<Mark>& marks, qsizetype at, qsizetype k) {
    return std::all_of(marks.begin() + at, marks.begin() + at + k,
                       [](Mark m) { return m == Different; });
}

// Matches the different words of one side of a stretch with those of the other.
class Reorderer {
public:
    Reorderer(Edits& edits, size_t distinct) : edits_(edits) {
        inA_.assign(distinct, 0);
        matched_.assign(distinct, 0);
    }

    // How many different words of the stretch's side A side B holds too (as many times as the side
    // with fewer has them); marks them Reordered on both sides when `mark`.
    qsizetype match(const std::vector<int>& a, const std::vector<int>& b, const Stretch& s,
                    bool mark) {
        for (qsizetype i = s.aLo; i < s.aHi; ++i)
            if (edits_.a[size_t(i)] == Different) ++inA_[size_t(a[size_t(i)])];
        qsizetype count = 0;
        for (qsizetype j = s.bLo; j < s.bHi; ++j) {
            const size_t id = size_t(b[size_t(j)]);
            if (edits_.b[size_t(j)] != Different || inA_[id] == 0) continue;
            --inA_[id];
            ++matched_[id];
            ++count;
            if (mark) edits_.b[size_t(j)] = Reordered;
        }
        for (qsizetype i = s.aLo; i < s.aHi; ++i) {
            const size_t id = size_t(a[size_t(i)]);
            if (edits_.a[size_t(i)] != Different) continue;
            inA_[id] = 0;
            if (matched_[id] == 0) continue;
            --matched_[id];
            if (mark) edits_.a[size_t(i)] = Reordered;
        }
        return count;
    }

    // The different words of the stretch, both sides together.
    qsizetype different(const Stretch& s) const {
        return std::count(edits_.a.begin() + s.aLo, edits_.a.begin() + s.aHi, Different) +
               std::count(edits_.b.begin() + s.bLo, edits_.b.begin() + s.bHi, Different);
    }

private:
    Edits& edits_;
    // Per word, within the stretch: different words of side A not matched yet, and those of side
    // B matched. All 0 again when a stretch is done.
    std::vector<int> inA_;
    std::vector<int> matched_;
};

}  // namespace

Edits ShortestEdits(const std::vector<int>& a, const std::vector<int>& b,
                    const Progress& progress) {
    Edits edits{std::vector<Mark>(a.size(), Common), std::vector<Mark>(b.size(), Common)};
    Differ(a, b, edits).run(progress);
    return edits;
}

std::vector<Move> FindMoves(const std::vector<int>& a, const std::vector<int>& b, Edits& edits,
                            qsizetype minWords, const Progress& progress) {
    std::vector<Move> moves;
    const qsizetype k = std::max<qsizetype>(minWords, 1);
    std::unordered_multimap<std::uint64_t, qsizetype> starts;
    for (qsizetype j = 0; j + k <= qsizetype(b.size()); ++j)
        if (allDifferent(edits.b, j, k)) starts.emplace(gramHash(b, j, k), j);
    if (starts.empty()) return moves;

    for (qsizetype i = 0; i + k <= qsizetype(a.size());) {
        if ((i & 1023) == 0) Tick(progress);
        if (!allDifferent(edits.a, i, k)) {
            ++i;
            continue;
        }
        Move best;
        const auto [first, last] = starts.equal_range(gramHash(a, i, k));
        qsizetype tried = 0;
        for (auto it = first; it != last; ++it) {
            // A run of words the other text holds in many places: many candidates to try.
            if ((++tried & 1023) == 0) Tick(progress);
            const qsizetype j = it->second;
            qsizetype length = 0;
            while (i + length < qsizetype(a.size()) && j + length < qsizetype(b.size()) &&
                   edits.a[size_t(i + length)] == Different &&
                   edits.b[size_t(j + length)] == Different &&
                   a[size_t(i + length)] == b[size_t(j + length)])
                ++length;
            if (length > best.length) best = {i, j, length};
        }
        if (best.length < k) {
            ++i;
            continue;
        }
        std::fill(edits.a.begin() + best.a, edits.a.begin() + best.a + best.length, Moved);
        std::fill(edits.b.begin() + best.b, edits.b.begin() + best.b + best.length, Moved);
        moves.push_back(best);
        i += best.length;
    }
    return moves;
}

std::vector<Stretch> FindReorders(const std::vector<int>& a, const std::vector<int>& b,
                                  const std::vector<int>& aKeys, const std::vector<int>& bKeys,
                                  Edits& edits, qsizetype minCommon, const Progress& progress) {
    std::vector<Stretch> found;
    Reorderer reorderer(
        edits, size_t(std::max({largest(a), largest(b), largest(aKeys), largest(bKeys)})) + 1);
    auto reorder = [&](const Stretch& s) {
        // An edit (a passage rewritten, inserted or deleted) has most of its words on one side.
        const qsizetype onBothSides = 2 * reorderer.match(aKeys, bKeys, s, false);
        if (onBothSides == 0 || 2 * onBothSides < reorderer.different(s)) return;
        if (reorderer.match(a, b, s, true) > 0) found.push_back(s);
    };
    const qsizetype na = qsizetype(a.size()), nb = qsizetype(b.size());
    Stretch stretch;
    qsizetype i = 0, j = 0;
    for (qsizetype turn = 0;; ++turn) {
        if ((turn & 1023) == 0) Tick(progress);
        while (i < na && edits.a[size_t(i)] != Common) ++i;
        while (j < nb && edits.b[size_t(j)] != Common) ++j;
        qsizetype run = 0;
        while (i + run < na && j + run < nb && edits.a[size_t(i + run)] == Common &&
               edits.b[size_t(j + run)] == Common)
            ++run;
        const bool end = i == na || j == nb;
        if (end || run >= minCommon) {
            stretch.aHi = end ? na : i;
            stretch.bHi = end ? nb : j;
            reorder(stretch);
            if (end) return found;
            stretch.aLo = i + run;
            stretch.bLo = j + run;
        }
        i += run;
        j += run;
    }
}

std::string Verify(const std::vector<int>& a, const std::vector<int>& b,
                   const std::vector<int>& aKeys, const std::vector<int>& bKeys, const Edits& edits,
                   const std::vector<Move>& moves) {
    if (edits.a.size() != a.size() || edits.b.size() != b.size()) return "a mark per word";
    std::vector<int> applied;
    size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        if (j < b.size() && edits.b[j] != Common) {
            applied.push_back(b[j++]);
        } else if (i < a.size() && edits.a[i] != Common) {
            ++i;
        } else if (i < a.size() && j < b.size()) {
            applied.push_back(a[i++]);
            ++j;
        } else {
            return "as many words kept on each side";
        }
    }
    if (applied != b) return "the script applied to the first sequence gives the second";
    std::vector<int> moved(a.size()), movedB(b.size());
    for (const Move& move : moves) {
        if (move.a < 0 || move.b < 0 || move.a + move.length > qsizetype(a.size()) ||
            move.b + move.length > qsizetype(b.size()))
            return "a move within both sequences";
        for (qsizetype k = 0; k < move.length; ++k) {
            const size_t x = size_t(move.a + k), y = size_t(move.b + k);
            if (aKeys[x] != bKeys[y]) return "a move is an equal run";
            if (moved[x]++ || movedB[y]++) return "a word moves once";
            const bool bothMoved = edits.a[x] == Moved && edits.b[y] == Moved;
            const bool changed = edits.a[x] == Different && edits.b[y] == Different && a[x] != b[y];
            if (!bothMoved && !changed) return "a moved word is marked moved on both sides";
        }
    }
    std::unordered_map<int, qsizetype> reordered;
    for (size_t x = 0; x < a.size(); ++x)
        if (edits.a[x] == Reordered) ++reordered[a[x]];
    for (size_t y = 0; y < b.size(); ++y)
        if (edits.b[y] == Reordered && --reordered[b[y]] < 0) return "the same reordered words";
    for (const auto& [word, count] : reordered)
        if (count != 0) return "the same reordered words";
    return {};
}

}  // namespace corvella::LayoutDiff

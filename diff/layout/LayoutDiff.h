// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>
#include <string>
#include <vector>

#include "diff/Progress.h"

// The edit script of two word sequences (words as ids) and the runs that only moved.
namespace corvella::LayoutDiff {

enum Mark : char { Common = 0, Different = 1, Moved = 2, Reordered = 3, Ignored = 4 };

// Per word of each sequence: in a longest common subsequence (Common) or not (Different); a word
// that is not may later turn out Moved (FindMoves) or Reordered (FindReorders), or be set aside by
// its caller (Ignored).
struct Edits {
    std::vector<Mark> a;
    std::vector<Mark> b;
};

// A shortest edit script. Words that occur once in each part of the sequences anchor them
// (longest increasing run of such pairs, as patience diff does); between anchors dtl's O(NP)
// diff finds the edits. A stretch without any anchor that is too large for that counts as
// different as a whole. Lets the window have a turn now and then through `progress`.
Edits ShortestEdits(const std::vector<int>& a, const std::vector<int>& b,
                    const Progress& progress = {});

// A run of `length` words at `a` in the first sequence that stands unchanged at `b` in the second.
struct Move {
    qsizetype a = 0;
    qsizetype b = 0;
    qsizetype length = 0;
};

// Finds runs of at least `minWords` different words of `a` that stand, in the same order, among
// the different words of `b`; marks both places Moved. Each word moves at most once; the longest
// match found first wins.
std::vector<Move> FindMoves(const std::vector<int>& a, const std::vector<int>& b, Edits& edits,
                            qsizetype minWords, const Progress& progress = {});

// A stretch of change: the words from `aLo` to `aHi` of the first sequence and from `bLo` to `bHi`
// of the second, between two runs of common words.
struct Stretch {
    qsizetype aLo = 0, aHi = 0, bLo = 0, bHi = 0;
};

// Cuts the sequences at every run of at least `minCommon` common words. A stretch between two
// such runs in which at least half of the different words (both sides together) stand on both
// sides, as `aKeys` and `bKeys` give them (the keys the edit script compared), is a reordering:
// there the different words that both sides hold as `a` and `b` give them (as many times as the
// side holding fewer), the same words read in another order, turn Reordered, the first ones of
// each side first. Returns the stretches where it marked words.
std::vector<Stretch> FindReorders(const std::vector<int>& a, const std::vector<int>& b,
                                  const std::vector<int>& aKeys, const std::vector<int>& bKeys,
                                  Edits& edits, qsizetype minCommon, const Progress& progress = {});

// What an edit script promises, checked: applying it to `a` (dropping the words not kept, taking
// `b`'s words not kept in their places) gives `b`, so every kept pair is equal; every move is an
// equal run of keys in both sequences, each word of it Moved (or Different on both sides, a
// number changed inside the run); both sides hold the same Reordered words. Returns the first
// promise broken, or an empty text.
std::string Verify(const std::vector<int>& a, const std::vector<int>& b,
                   const std::vector<int>& aKeys, const std::vector<int>& bKeys, const Edits& edits,
                   const std::vector<Move>& moves);

}  // namespace corvella::LayoutDiff

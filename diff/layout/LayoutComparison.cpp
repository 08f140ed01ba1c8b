// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/layout/LayoutComparison.h"

#include <numeric>

#include "diff/TextPlaces.h"
#include "diff/layout/CharacterChanges.h"
#include "diff/layout/LayoutDiff.h"
#include "diff/layout/LayoutFreeWords.h"
#include "diff/layout/WordFolding.h"

namespace corvella {

namespace {

using LayoutFreeWords::Word;

struct WordText {
    QStringView text;
    std::vector<Word> words;
    std::vector<int> ids;   // the words as they stand: equal words, equal ids
    std::vector<int> keys;  // as compared (Folds::all), every number one and the same key
};

// Per word id of the dictionary, the id of its fold: by the typesetting's rules alone, then with
// letter case, then with punctuation, each as far as the options ask. Equal folds, equal ids.
struct Folds {
    std::vector<int> typography;
    std::vector<int> letterCase;
    std::vector<int> all;
};

std::vector<int> foldIds(const LayoutFreeWords::Dictionary& dictionary,
                         const WordFolding::Rules& rules) {
    std::vector<int> ids(size_t(dictionary.size()));
    if (!rules.typography && !rules.letterCase && !rules.punctuation) {
        std::iota(ids.begin(), ids.end(), 0);
        return ids;
    }
    QHash<QString, int> byFold;
    byFold.reserve(dictionary.size());
    for (int id = 0; id < dictionary.size(); ++id) {
        const QString fold = WordFolding::Fold(dictionary.text(id), rules);
        auto it = byFold.constFind(fold);
        if (it == byFold.constEnd()) it = byFold.insert(fold, int(byFold.size()));
        ids[size_t(id)] = *it;
    }
    return ids;
}

WordFolding::Rules rulesOf(const LayoutCompare::Options& options) {
    return {!options.exactTypography, options.ignoreCase, options.ignorePunctuation};
}

Folds foldsOf(const LayoutFreeWords::Dictionary& dictionary,
              const LayoutCompare::Options& options) {
    Folds folds;
    WordFolding::Rules rules = rulesOf(options);
    folds.all = foldIds(dictionary, rules);
    rules.punctuation = false;
    folds.letterCase = options.ignorePunctuation ? foldIds(dictionary, rules) : folds.all;
    rules.letterCase = false;
    folds.typography = options.ignoreCase ? foldIds(dictionary, rules) : folds.letterCase;
    return folds;
}

// The words `from` to `to` of a side whose mark is `mark` as one difference of `out`, with a mark
// per word part and its words in `words`.
Difference makeDifference(const WordText& side, const LayoutFreeWords::Dictionary& dictionary,
                          qsizetype from, qsizetype to, DifferenceKind kind, ComparedSide& out,
                          std::vector<QString>& words,
                          const std::vector<LayoutDiff::Mark>* marks = nullptr,
                          LayoutDiff::Mark mark = LayoutDiff::Common) {
    Difference difference;
    difference.kind = kind;
    difference.wordCount = 0;
    difference.firstMark = qint32(out.marks.size());
    QString text;
    qsizetype last = from;
    for (qsizetype w = from; w < to; ++w) {
        if (marks && (*marks)[size_t(w)] != mark) continue;
        const Word& word = side.words[size_t(w)];
        if (difference.wordCount++ == 0)
            difference.firstWord = qint32(w);
        else
            text += u' ';
        out.marks.push_back(word.first);
        if (word.second.length > 0) out.marks.push_back(word.second);
        text += dictionary.text(word.id);
        last = w;
    }
    difference.markCount = qint32(out.marks.size()) - difference.firstMark;
    const qsizetype start = side.words[size_t(difference.firstWord)].start();
    difference.span = {start, side.words[size_t(last)].end() - start};
    words.push_back(std::move(text));
    return difference;
}

// The maximal runs of Different words, as the side's differences.
void differentRuns(const WordText& side, const std::vector<LayoutDiff::Mark>& marks,
                   const LayoutFreeWords::Dictionary& dictionary, DifferenceKind kind,
                   ComparedSide& out, const Progress& progress) {
    for (qsizetype w = 0, turn = 0; w < qsizetype(marks.size()); ++turn) {
        if ((turn & 1023) == 0) Tick(progress);
        if (marks[size_t(w)] != LayoutDiff::Different) {
            ++w;
            continue;
        }
        qsizetype end = w;
        while (end < qsizetype(marks.size()) && marks[size_t(end)] == LayoutDiff::Different) ++end;
        out.differences.push_back(
            makeDifference(side, dictionary, w, end, kind, out, out.differenceWords));
        w = end;
    }
}

bool isNumber(QStringView word) {
    bool digit = false;
    for (QChar c : word) {
        if (c.isDigit())
            digit = true;
        else if (!QStringView(u".,:;()-\u2013").contains(c))
            return false;
    }
    return digit;
}

// Gives every side its keys: a number ("1059,", "3.2") stands for any number, so that page
// references that changed between editions do not pull the words around them out of line.
void numberBlindKeys(WordText (&sides)[2], const LayoutFreeWords::Dictionary& dictionary,
                     const Folds& folds) {
    const int numberKey = dictionary.size();
    std::vector<bool> number(static_cast<size_t>(numberKey));
    for (int id = 0; id < numberKey; ++id) number[size_t(id)] = isNumber(dictionary.text(id));
    for (WordText& side : sides) {
        side.keys.reserve(side.ids.size());
        for (int id : side.ids)
            side.keys.push_back(number[size_t(id)] ? numberKey : folds.all[size_t(id)]);
    }
}

// The words of a side as compared, for the time they are needed.
std::vector<int> foldedWords(const WordText& side, const Folds& folds) {
    std::vector<int> folded;
    folded.reserve(side.ids.size());
    for (int id : side.ids) folded.push_back(folds.all[size_t(id)]);
    return folded;
}

// What the edit script found: both sides' words and each word's mark, the moves and reorders, the
// pairs of words only the typography changed, and the words paired by the options alone.
struct Analysis {
    LayoutCompare::Options options;
    LayoutFreeWords::Dictionary dictionary;
    Folds folds;
    WordText sides[2];
    LayoutDiff::Edits edits;
    std::vector<LayoutDiff::Move> moves;
    std::vector<LayoutDiff::Stretch> reorders;
    // Pairs of words, word i of text 1 and j of text 2: those only the typography changed, and
    // the changed numbers with what they were kept as (Common in place, or Moved).
    std::vector<std::pair<qsizetype, qsizetype>> typography;
    struct ChangedNumber {
        qsizetype i, j;
        LayoutDiff::Mark kept;
    };
    std::vector<ChangedNumber> changedNumbers;
    IgnoredWords ignored;
};

// Whether a pair of words the script keeps (or a move carries) is the same: as they stand, or
// once folded, when the fold tells what was set aside. A changed number is not.
bool sameWords(Analysis& found, qsizetype i, qsizetype j) {
    const int raw1 = found.sides[0].ids[size_t(i)], raw2 = found.sides[1].ids[size_t(j)];
    if (raw1 == raw2) return true;
    const Folds& folds = found.folds;
    if (folds.all[size_t(raw1)] != folds.all[size_t(raw2)]) {
        return false;
    } else if (folds.typography[size_t(raw1)] == folds.typography[size_t(raw2)]) {
        found.typography.push_back({i, j});
    } else if (folds.letterCase[size_t(raw1)] == folds.letterCase[size_t(raw2)]) {
        ++found.ignored.letterCase;
    } else {
        ++found.ignored.punctuation;
    }
    return true;
}

// Where the script pairs words that are not the same (a number with another number), both are
// different.
void settlePairs(Analysis& found) {
    LayoutDiff::Edits& edits = found.edits;
    size_t j = 0;
    for (size_t i = 0; i < edits.a.size(); ++i) {
        if (edits.a[i] != LayoutDiff::Common) continue;
        while (edits.b[j] != LayoutDiff::Common) ++j;
        if (!sameWords(found, qsizetype(i), qsizetype(j))) {
            edits.a[i] = edits.b[j] = LayoutDiff::Different;
            found.changedNumbers.push_back({qsizetype(i), qsizetype(j), LayoutDiff::Common});
        }
        ++j;
    }
}

// Moved runs, in which a number may stand for any number: a moved table of contents or index
// keeps its words while its page references change. The numbers that differ stay different.
void findMoves(Analysis& found, const Progress& progress) {
    LayoutDiff::Edits& edits = found.edits;
    found.moves = LayoutDiff::FindMoves(found.sides[0].keys, found.sides[1].keys, edits,
                                        LayoutCompare::kMinMovedWords, progress);
    // Inside a moved run only a changed number is worth a word.
    const size_t typographyBefore = found.typography.size();
    const IgnoredWords ignoredBefore = found.ignored;
    for (const LayoutDiff::Move& move : found.moves) {
        for (qsizetype k = 0; k < move.length; ++k) {
            if (sameWords(found, move.a + k, move.b + k)) continue;
            edits.a[size_t(move.a + k)] = LayoutDiff::Different;
            edits.b[size_t(move.b + k)] = LayoutDiff::Different;
            found.changedNumbers.push_back({move.a + k, move.b + k, LayoutDiff::Moved});
        }
    }
    found.typography.resize(typographyBefore);
    found.ignored = ignoredBefore;
}

// Ignoring numbers, once moves and reorders were found as without the option (so that it changes
// nothing else): the changed numbers the script or a move paired are kept as they were (a pair
// counted once), and a number only one text has is set aside.
void ignoreNumbers(Analysis& found) {
    LayoutDiff::Edits& edits = found.edits;
    for (const Analysis::ChangedNumber& number : found.changedNumbers) {
        LayoutDiff::Mark& a = edits.a[size_t(number.i)];
        LayoutDiff::Mark& b = edits.b[size_t(number.j)];
        if (a != LayoutDiff::Different || b != LayoutDiff::Different) continue;
        a = b = number.kept;
        ++found.ignored.numbers;
    }
    const int numberKey = found.dictionary.size();
    for (int s = 0; s < 2; ++s) {
        std::vector<LayoutDiff::Mark>& marks = s == 0 ? edits.a : edits.b;
        const std::vector<int>& keys = found.sides[s].keys;
        for (size_t w = 0; w < marks.size(); ++w) {
            if (marks[w] != LayoutDiff::Different || keys[w] != numberKey) continue;
            marks[w] = LayoutDiff::Ignored;
            ++found.ignored.numbers;
        }
    }
}

void analyse(QStringView text1, QStringView text2, const Progress& progress, Analysis& found) {
    WordText(&sides)[2] = found.sides;
    sides[0].text = text1;
    sides[1].text = text2;
    // A word split at a line's end keeps its hyphen when either text writes it so within a line.
    const LayoutFreeWords::Scanned scanned[2] = {LayoutFreeWords::Scan(text1, progress),
                                                 LayoutFreeWords::Scan(text2, progress)};
    Tick(progress);
    QSet<QStringView> hyphenated;
    for (const LayoutFreeWords::Scanned& text : scanned)
        LayoutFreeWords::CollectHyphenated(text, hyphenated);
    for (int s = 0; s < 2; ++s) {
        WordText& side = sides[s];
        side.words = LayoutFreeWords::Join(scanned[s], hyphenated, found.dictionary, progress);
        side.ids.reserve(side.words.size());
        for (const Word& word : side.words) side.ids.push_back(word.id);
    }
    found.folds = foldsOf(found.dictionary, found.options);
    Tick(progress);
    numberBlindKeys(sides, found.dictionary, found.folds);
    found.edits = LayoutDiff::ShortestEdits(sides[0].keys, sides[1].keys, progress);
    settlePairs(found);
    findMoves(found, progress);
    found.reorders = LayoutDiff::FindReorders(
        foldedWords(sides[0], found.folds), foldedWords(sides[1], found.folds), sides[0].keys,
        sides[1].keys, found.edits, LayoutCompare::kMinSteadyWords, progress);
    if (found.options.ignoreNumbers) ignoreNumbers(found);
}

// The words the edit script kept in both texts, paired.
Alignment commonWords(const Analysis& found) {
    std::vector<Alignment::Pair> pairs;
    const WordText(&sides)[2] = found.sides;
    size_t j = 0;
    for (size_t i = 0; i < found.edits.a.size(); ++i) {
        if (found.edits.a[i] != LayoutDiff::Common) continue;
        while (found.edits.b[j] != LayoutDiff::Common) ++j;
        const Word& a = sides[0].words[i];
        const Word& b = sides[1].words[j];
        pairs.push_back({{a.start(), a.end() - a.start()}, {b.start(), b.end() - b.start()}});
        ++j;
    }
    return Alignment(std::move(pairs), sides[0].text.size(), sides[1].text.size());
}

// Each moved run, reordered stretch and typography run placed at its other place.
void pairUp(std::vector<Difference>& ones, std::vector<Difference>& others) {
    for (size_t i = 0; i < ones.size(); ++i) {
        ones[i].other = others[i].span;
        others[i].other = ones[i].span;
    }
}

// The pairs of words only the typography changed, in runs that are consecutive in both texts.
std::vector<LayoutDiff::Stretch> typographyRuns(const Analysis& found) {
    std::vector<LayoutDiff::Stretch> runs;
    for (const auto& [i, j] : found.typography) {
        if (!runs.empty() && runs.back().aHi == i && runs.back().bHi == j) {
            ++runs.back().aHi;
            ++runs.back().bHi;
        } else {
            runs.push_back({i, i + 1, j, j + 1});
        }
    }
    return runs;
}

// The differences, moves, reorders and typography runs of both sides, with their words and marks.
void listRuns(const Analysis& found, Comparison& result, const Progress& progress) {
    const WordText(&sides)[2] = found.sides;
    const LayoutFreeWords::Dictionary& dictionary = found.dictionary;
    ComparedSide& in1 = result.side(Side::One);
    ComparedSide& in2 = result.side(Side::Two);
    differentRuns(sides[0], found.edits.a, dictionary, DifferenceKind::Only1, in1, progress);
    differentRuns(sides[1], found.edits.b, dictionary, DifferenceKind::Only2, in2, progress);
    for (const LayoutDiff::Move& move : found.moves) {
        in1.moved.push_back(makeDifference(sides[0], dictionary, move.a, move.a + move.length,
                                           DifferenceKind::Moved, in1, in1.movedWords));
        in2.moved.push_back(makeDifference(sides[1], dictionary, move.b, move.b + move.length,
                                           DifferenceKind::Moved, in2, in2.movedWords));
    }
    for (const LayoutDiff::Stretch& s : found.reorders) {
        in1.reordered.push_back(makeDifference(sides[0], dictionary, s.aLo, s.aHi,
                                               DifferenceKind::Reordered, in1, in1.reorderedWords,
                                               &found.edits.a, LayoutDiff::Reordered));
        in2.reordered.push_back(makeDifference(sides[1], dictionary, s.bLo, s.bHi,
                                               DifferenceKind::Reordered, in2, in2.reorderedWords,
                                               &found.edits.b, LayoutDiff::Reordered));
    }
    for (const LayoutDiff::Stretch& s : typographyRuns(found)) {
        in1.typography.push_back(makeDifference(sides[0], dictionary, s.aLo, s.aHi,
                                                DifferenceKind::Typography, in1,
                                                in1.typographyWords));
        in2.typography.push_back(makeDifference(sides[1], dictionary, s.bLo, s.bHi,
                                                DifferenceKind::Typography, in2,
                                                in2.typographyWords));
    }
    pairUp(in1.moved, in2.moved);
    pairUp(in1.reordered, in2.reordered);
    pairUp(in1.typography, in2.typography);
}

// Per run, how many words the script kept before its first word: runs with the same count on both
// sides stand between the same unchanged words.
std::vector<qsizetype> keptBefore(const std::vector<Difference>& runs,
                                  const std::vector<LayoutDiff::Mark>& marks) {
    std::vector<qsizetype> kept;
    kept.reserve(runs.size());
    qsizetype count = 0;
    size_t w = 0;
    for (const Difference& run : runs) {
        for (; w < size_t(run.firstWord); ++w) count += marks[w] == LayoutDiff::Common;
        kept.push_back(count);
    }
    return kept;
}

// The runs that replaced each other: those between the same unchanged words, in order.
void pairOpposites(const Analysis& found, ComparedSide& in1, ComparedSide& in2) {
    const std::vector<qsizetype> gap1 = keptBefore(in1.differences, found.edits.a);
    const std::vector<qsizetype> gap2 = keptBefore(in2.differences, found.edits.b);
    for (size_t a = 0, b = 0; a < gap1.size() && b < gap2.size();) {
        if (gap1[a] < gap2[b]) {
            ++a;
        } else if (gap1[a] > gap2[b]) {
            ++b;
        } else {
            in1.differences[a].opposite = qint32(b);
            in2.differences[b].opposite = qint32(a);
            ++a;
            ++b;
        }
    }
}

// The words of a run as the refinement reads them.
std::vector<CharacterChanges::Word> refinedWords(const Analysis& found, int side,
                                                 const Difference& run) {
    std::vector<CharacterChanges::Word> words;
    for (qsizetype w = run.firstWord; w < run.firstWord + run.wordCount; ++w) {
        const Word& word = found.sides[side].words[size_t(w)];
        words.push_back({found.dictionary.text(word.id), word.first, word.second});
    }
    return words;
}

// The changed characters of each pair of opposite runs, listed run by run on both sides.
void refineReplaced(const Analysis& found, Comparison& result, const Progress& progress) {
    ComparedSide& in1 = result.side(Side::One);
    ComparedSide& in2 = result.side(Side::Two);
    const WordFolding::Rules rules = rulesOf(found.options);
    in1.changeStarts.assign(in1.differences.size() + 1, 0);
    in2.changeStarts.assign(in2.differences.size() + 1, 0);
    size_t nextB = 0;
    for (size_t a = 0; a < in1.differences.size(); ++a) {
        if ((a & 255) == 0) Tick(progress);
        Difference& run1 = in1.differences[a];
        in1.changeStarts[a] = qint32(in1.changes.size());
        if (run1.opposite < 0) continue;
        Difference& run2 = in2.differences[size_t(run1.opposite)];
        for (; nextB <= size_t(run1.opposite); ++nextB)
            in2.changeStarts[nextB] = qint32(in2.changes.size());
        const CharacterChanges::Found found1 = CharacterChanges::Refine(
            refinedWords(found, 0, run1), refinedWords(found, 1, run2), rules);
        run1.refinement = run2.refinement =
            found1.refined ? Refinement::Refined : Refinement::TooLong;
        for (const Side side : kBothSides) {
            std::vector<CharacterChange>& changes = result.side(side).changes;
            changes.insert(changes.end(), found1.changes[side].begin(), found1.changes[side].end());
        }
    }
    in1.changeStarts.back() = qint32(in1.changes.size());
    for (; nextB < in2.changeStarts.size(); ++nextB)
        in2.changeStarts[nextB] = qint32(in2.changes.size());
}

}  // namespace

Comparison LayoutCompare::Compare(QStringView text1, QStringView text2, const Progress& progress,
                                  Alignment* alignment, const Options& options) {
    Analysis found;
    found.options = options;
    analyse(text1, text2, progress, found);
    Tick(progress);
    Comparison result;
    result.method = Method::IgnoringLayout;
    result.options = options;
    result.ignored = found.ignored;
    listRuns(found, result, progress);
    pairOpposites(found, result.side(Side::One), result.side(Side::Two));
    if (options.refineChanges) refineReplaced(found, result, progress);
    for (const Side number : kBothSides) {
        const QStringView text = number == Side::One ? text1 : text2;
        ComparedSide& side = result.side(number);
        TextPlaces::Locate(text, side.differences);
        Tick(progress);
        TextPlaces::Locate(text, side.moved);
        TextPlaces::Locate(text, side.reordered);
        TextPlaces::Locate(text, side.typography);
        Tick(progress);
    }
    Alignment common = commonWords(found);
    Tick(progress);
    PlaceInOther(result, common, text1, text2);
    if (alignment) *alignment = std::move(common);
    return result;
}

Alignment LayoutCompare::Align(QStringView text1, QStringView text2, const Progress& progress,
                               const Options& options) {
    Analysis found;
    found.options = options;
    analyse(text1, text2, progress, found);
    return commonWords(found);
}

}  // namespace corvella

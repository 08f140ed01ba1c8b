// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/layout/LayoutComparison.h"

#include "diff/TextPlaces.h"
#include "diff/layout/LayoutDiff.h"
#include "diff/layout/LayoutFreeWords.h"

namespace corvella {

namespace {

using LayoutFreeWords::Word;

struct WordText {
    QStringView text;
    std::vector<Word> words;
    std::vector<int> ids;
    std::vector<int> keys;  // the ids, every number one and the same key
};

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
void numberBlindKeys(WordText (&sides)[2], const LayoutFreeWords::Dictionary& dictionary) {
    const int numberKey = dictionary.size();
    std::vector<bool> number(static_cast<size_t>(numberKey));
    for (int id = 0; id < numberKey; ++id) number[size_t(id)] = isNumber(dictionary.text(id));
    for (WordText& side : sides) {
        side.keys.reserve(side.ids.size());
        for (int id : side.ids) side.keys.push_back(number[size_t(id)] ? numberKey : id);
    }
}

// Where the script pairs a number with another number, both are different.
void markChangedNumbers(const WordText (&sides)[2], LayoutDiff::Edits& edits) {
    size_t j = 0;
    for (size_t i = 0; i < edits.a.size(); ++i) {
        if (edits.a[i] != LayoutDiff::Common) continue;
        while (edits.b[j] != LayoutDiff::Common) ++j;
        if (sides[0].ids[i] != sides[1].ids[j]) edits.a[i] = edits.b[j] = LayoutDiff::Different;
        ++j;
    }
}

// Moved runs, in which a number may stand for any number: a moved table of contents or index
// keeps its words while its page references change. The numbers that differ stay different.
std::vector<LayoutDiff::Move> findMoves(const WordText (&sides)[2], LayoutDiff::Edits& edits,
                                        const Progress& progress) {
    const std::vector<LayoutDiff::Move> moves = LayoutDiff::FindMoves(
        sides[0].keys, sides[1].keys, edits, LayoutCompare::kMinMovedWords, progress);
    for (const LayoutDiff::Move& move : moves) {
        for (qsizetype k = 0; k < move.length; ++k) {
            if (sides[0].ids[size_t(move.a + k)] == sides[1].ids[size_t(move.b + k)]) continue;
            edits.a[size_t(move.a + k)] = LayoutDiff::Different;
            edits.b[size_t(move.b + k)] = LayoutDiff::Different;
        }
    }
    return moves;
}

// What the edit script found: both sides' words and each word's mark, the moves and reorders.
struct Analysis {
    LayoutFreeWords::Dictionary dictionary;
    WordText sides[2];
    LayoutDiff::Edits edits;
    std::vector<LayoutDiff::Move> moves;
    std::vector<LayoutDiff::Stretch> reorders;
};

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
    numberBlindKeys(sides, found.dictionary);
    found.edits = LayoutDiff::ShortestEdits(sides[0].keys, sides[1].keys, progress);
    markChangedNumbers(sides, found.edits);
    found.moves = findMoves(sides, found.edits, progress);
    found.reorders =
        LayoutDiff::FindReorders(sides[0].ids, sides[1].ids, sides[0].keys, sides[1].keys,
                                 found.edits, LayoutCompare::kMinSteadyWords, progress);
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

// Each moved run and reordered stretch placed at its other place.
void pairUp(std::vector<Difference>& ones, std::vector<Difference>& others) {
    for (size_t i = 0; i < ones.size(); ++i) {
        ones[i].other = others[i].span;
        others[i].other = ones[i].span;
    }
}

}  // namespace

Comparison LayoutCompare::Compare(QStringView text1, QStringView text2, const Progress& progress,
                                  Alignment* alignment) {
    Analysis found;
    analyse(text1, text2, progress, found);
    const WordText(&sides)[2] = found.sides;
    const LayoutFreeWords::Dictionary& dictionary = found.dictionary;

    Tick(progress);
    Comparison result;
    result.method = Method::IgnoringLayout;
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
    pairUp(in1.moved, in2.moved);
    pairUp(in1.reordered, in2.reordered);
    for (const Side number : kBothSides) {
        const QStringView text = number == Side::One ? text1 : text2;
        ComparedSide& side = result.side(number);
        TextPlaces::Locate(text, side.differences);
        Tick(progress);
        TextPlaces::Locate(text, side.moved);
        TextPlaces::Locate(text, side.reordered);
        Tick(progress);
    }
    Alignment common = commonWords(found);
    Tick(progress);
    PlaceInOther(result, common, text1, text2);
    if (alignment) *alignment = std::move(common);
    return result;
}

Alignment LayoutCompare::Align(QStringView text1, QStringView text2, const Progress& progress) {
    Analysis found;
    analyse(text1, text2, progress, found);
    return commonWords(found);
}

}  // namespace corvella

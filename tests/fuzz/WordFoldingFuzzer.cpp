// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Folding any words (combining marks, lone surrogates, right-to-left and CJK text among them):
// a fold folds to itself, a word's units stand on its own characters in order and never inside a
// surrogate pair, and the changed characters of two runs of such words stand on the pane's own
// characters, those their words hold.
#include "diff/layout/CharacterChanges.h"
#include "diff/layout/WordFolding.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace corvella;

namespace {

// The text's words (cut at spaces) as a run, each at its place in the text.
std::vector<CharacterChanges::Word> wordsOf(const QString& text) {
    std::vector<CharacterChanges::Word> words;
    qsizetype start = 0;
    for (const QStringView word : QStringView(text).split(u' ')) {
        if (!word.isEmpty() && words.size() < 64) words.push_back({word, {start, word.size()}, {}});
        start += word.size() + 1;
    }
    return words;
}

bool insidePair(QStringView word, qsizetype at) {
    return at > 0 && at < word.size() && word[at - 1].isHighSurrogate() &&
           word[at].isLowSurrogate();
}

void checkWord(QStringView word) {
    for (int r = 0; r < 8; ++r) {
        const WordFolding::Rules rules{(r & 1) != 0, (r & 2) != 0, (r & 4) != 0};
        const QString fold = WordFolding::Fold(word, rules);
        FUZZ_CHECK(WordFolding::Fold(fold, rules) == fold);
        qsizetype before = 0;
        for (const WordFolding::Unit& unit : WordFolding::Units(word, rules)) {
            FUZZ_CHECK(unit.start >= before && unit.start < unit.end && unit.end <= word.size());
            FUZZ_CHECK(!insidePair(word, unit.start) && !insidePair(word, unit.end));
            before = unit.start;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return -1;
    const auto [text1, text2] = fuzz::TwoTexts(data, size);
    const std::vector<CharacterChanges::Word> one = wordsOf(text1), two = wordsOf(text2);
    for (const CharacterChanges::Word& word : one) checkWord(word.text);
    const CharacterChanges::Found found = CharacterChanges::Refine(one, two, {true, false, false});
    for (const Side side : kBothSides) {
        const QString& text = side == Side::One ? text1 : text2;
        const std::vector<CharacterChanges::Word>& words = side == Side::One ? one : two;
        QStringList listed;
        for (const CharacterChanges::Word& word : words) listed << word.text.toString();
        const QString run = listed.join(u' ');
        for (const CharacterChange& change : found.changes[side]) {
            FUZZ_CHECK(change.span.length > 0 && change.inWords.length == change.span.length);
            FUZZ_CHECK(change.inWords.start >= 0 &&
                       change.inWords.start + change.inWords.length <= run.size());
            FUZZ_CHECK(text.mid(change.span.start, change.span.length) ==
                       run.mid(change.inWords.start, change.inWords.length));
        }
    }
    return 0;
}

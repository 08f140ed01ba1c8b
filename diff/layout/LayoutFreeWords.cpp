// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/layout/LayoutFreeWords.h"

#include <algorithm>

#include "core/PaneText.h"
#include "diff/layout/PageFurniture.h"

namespace corvella::LayoutFreeWords {

namespace {

// The text's lines, cut at line breaks and form feeds, each with the page it stands on and its
// start in the text.
struct Lines {
    std::vector<PageFurniture::PageLine> lines;
    std::vector<qsizetype> starts;
};

Lines cutLines(QStringView text) {
    Lines cut;
    int page = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const QChar c = end ? QChar() : text[i];
        if (!end && c != PaneText::kFormFeed && c != PaneText::kCR && c != PaneText::kLF) continue;
        if (i > start || end) {
            cut.lines.push_back({text.mid(start, i - start), page});
            cut.starts.push_back(start);
        }
        if (c == PaneText::kFormFeed) ++page;
        start = i + 1;
    }
    return cut;
}

bool isLeaderDots(QStringView word) {
    return std::all_of(word.begin(), word.end(), [](QChar c) { return c == u'.'; });
}

// A rule drawn with dashes ("--------" under a heading): four or more dashes and nothing else.
bool isRule(QStringView word) {
    return word.size() >= 4 && std::all_of(word.begin(), word.end(), [](QChar c) {
               return c == u'-' || (c >= u'\u2010' && c <= u'\u2015') || c == u'\u2212';
           });
}

// A hyphen as a typesetting ends a line with it: the hyphen-minus, the hyphen (U+2010), the
// non-breaking hyphen, or the soft hyphen shown at the break.
bool lineEndHyphen(QChar c) {
    return c == u'-' || c == u'\u2010' || c == u'\u2011' || c == u'\u00AD';
}

// How many hyphens end the word ("docu-", "sur\u00AD\u2010" as some typesettings write a break).
qsizetype trailingHyphens(QStringView word) {
    qsizetype count = 0;
    while (count < word.size() && lineEndHyphen(word[word.size() - 1 - count])) ++count;
    return count;
}

// A word broken by the typesetting at a line's end: a letter before the hyphens, and the next
// word begins with a lower-case letter.
bool hyphenBreak(QStringView word, qsizetype hyphens, QStringView next) {
    return word[word.size() - hyphens - 1].isLetter() && !next.isEmpty() && next.front().isLower();
}

}  // namespace

int Dictionary::idOf(QStringView word) {
    const auto found = ids_.constFind(word);
    if (found != ids_.constEnd()) return *found;
    const int id = int(texts_.size());
    ids_.insert(word, id);
    texts_.push_back(word);
    return id;
}

int Dictionary::idOf(QString joined) {
    const auto found = ids_.constFind(QStringView(joined));
    if (found != ids_.constEnd()) return *found;
    joined_.push_back(std::move(joined));
    return idOf(QStringView(joined_.back()));
}

Scanned Scan(QStringView text, const Progress& progress) {
    const Lines cut = cutLines(text);
    const std::vector<bool> furniture = PageFurniture::Find(cut.lines);
    Scanned scanned{text, {}};
    for (size_t l = 0; l < cut.lines.size(); ++l) {
        if ((l & 1023) == 0) Tick(progress);
        if (furniture[l]) continue;
        const QStringView line = cut.lines[l].text;
        const size_t before = scanned.pieces.size();
        qsizetype i = 0;
        while (i < line.size()) {
            while (i < line.size() && line[i].isSpace()) ++i;
            const qsizetype start = i;
            while (i < line.size() && !line[i].isSpace()) ++i;
            if (i > start) scanned.pieces.push_back({{cut.starts[l] + start, i - start}, false});
        }
        if (scanned.pieces.size() > before) scanned.pieces.back().endsLine = true;
    }
    return scanned;
}

void CollectHyphenated(const Scanned& scanned, QSet<QStringView>& hyphenated) {
    for (const Scanned::Piece& piece : scanned.pieces) {
        if (piece.endsLine) continue;
        const QStringView word = scanned.text.mid(piece.range.start, piece.range.length);
        const qsizetype hyphen = word.indexOf(u'-');
        if (hyphen > 0 && hyphen + 1 < word.size()) hyphenated.insert(word);
    }
}

std::vector<Word> Join(const Scanned& scanned, const QSet<QStringView>& hyphenated,
                       Dictionary& dictionary, const Progress& progress) {
    const std::vector<Scanned::Piece>& raw = scanned.pieces;
    std::vector<Word> words;
    words.reserve(raw.size());
    auto view = [&](const TextRange& range) { return scanned.text.mid(range.start, range.length); };
    for (size_t w = 0; w < raw.size(); ++w) {
        if ((w & 1023) == 0) Tick(progress);
        const QStringView word = view(raw[w].range);
        if ((word.size() >= 2 && isLeaderDots(word)) || isRule(word)) continue;
        if (word == u".") {
            size_t last = w;
            while (last + 1 < raw.size() && view(raw[last + 1].range) == u".") ++last;
            if (last - w >= 2) {
                w = last;
                continue;
            }
        }
        const qsizetype hyphens = trailingHyphens(word);
        if (raw[w].endsLine && w + 1 < raw.size() && hyphens > 0 && hyphens < word.size()) {
            const QStringView rest = view(raw[w + 1].range);
            QString whole = word.toString().append(rest);
            const bool keepHyphen = hyphenated.contains(QStringView(whole));
            if (keepHyphen || hyphenBreak(word, hyphens, rest)) {
                if (!keepHyphen) whole.remove(word.size() - hyphens, hyphens);
                words.push_back(
                    {raw[w].range, raw[w + 1].range, dictionary.idOf(std::move(whole))});
                ++w;
                continue;
            }
        }
        words.push_back({raw[w].range, {}, dictionary.idOf(word)});
    }
    return words;
}

std::vector<Word> Read(QStringView text, Dictionary& dictionary) {
    const Scanned scanned = Scan(text);
    QSet<QStringView> hyphenated;
    CollectHyphenated(scanned, hyphenated);
    return Join(scanned, hyphenated, dictionary);
}

}  // namespace corvella::LayoutFreeWords

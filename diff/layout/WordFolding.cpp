// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/layout/WordFolding.h"

namespace corvella::WordFolding {

namespace {

// A code point of the word and the code units it takes there.
struct CodePoint {
    char32_t value;
    qsizetype start;
    qsizetype end;
};

std::vector<CodePoint> codePoints(QStringView word) {
    std::vector<CodePoint> points;
    points.reserve(size_t(word.size()));
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar c = word[i];
        if (c.isHighSurrogate() && i + 1 < word.size() && word[i + 1].isLowSurrogate()) {
            points.push_back({QChar::surrogateToUcs4(c, word[i + 1]), i, i + 2});
            ++i;
        } else {
            points.push_back({c.unicode(), i, i + 1});  // a lone surrogate stays as it is
        }
    }
    return points;
}

// Soft hyphen, zero-width space, joiners, word joiner, byte order mark, Mongolian vowel separator,
// and the marks and embeddings of text direction (an extractor sets them around right-to-left
// text).
bool invisible(char32_t c) {
    return c == 0x00AD || (c >= 0x200B && c <= 0x200F) || c == 0x2060 || c == 0xFEFF ||
           c == 0x180E || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool dashLike(char32_t c) {
    return c == u'-' || c == 0x2010 || c == 0x2011 || (c >= 0x2012 && c <= 0x2015) || c == 0x2212 ||
           c == 0x2E3A || c == 0x2E3B || c == 0xFE58 || c == 0xFE63 || c == 0xFF0D;
}

// Ligatures, quotes and the ellipsis as plain letters and marks.
struct Replacement {
    char32_t from;
    const char16_t* to;
};
constexpr Replacement kTypographic[] = {
    {0xFB00, u"ff"},  {0xFB01, u"fi"}, {0xFB02, u"fl"}, {0xFB03, u"ffi"}, {0xFB04, u"ffl"},
    {0xFB05, u"st"},  {0xFB06, u"st"}, {0x2018, u"'"},  {0x2019, u"'"},   {0x201A, u"'"},
    {0x201B, u"'"},   {0x2032, u"'"},  {0x2035, u"'"},  {0x02BC, u"'"},   {0x201C, u"\""},
    {0x201D, u"\""},  {0x201E, u"\""}, {0x201F, u"\""}, {0x2033, u"\""},  {0x2036, u"\""},
    {0x2026, u"..."},
};

// A code point's typographic fold: its replacement, or nothing when it stays as it is.
QStringView typographic(char32_t c) {
    if (c < 0x80) return {};
    for (const Replacement& r : kTypographic)
        if (r.from == c) return r.to;
    return {};
}

// Calls visit(codePoint, start, end, joinsPrevious) for each code point of the folded word, with
// the code units of the word it comes from.
template <typename Visit>
void fold(QStringView word, const Rules& rules, Visit&& visit) {
    const std::vector<CodePoint> points = codePoints(word);
    size_t from = 0, to = points.size();
    if (rules.punctuation) {
        auto strip = [&](char32_t c) {
            return QChar::isPunct(c) || (rules.typography && invisible(c));
        };
        while (from < to && strip(points[from].value)) ++from;
        while (to > from && strip(points[to - 1].value)) --to;
    }
    auto out = [&](char32_t c, qsizetype start, qsizetype end) {
        if (rules.letterCase) c = QChar::toCaseFolded(c);
        visit(c, start, end, QChar::combiningClass(c) != 0);
    };
    for (size_t k = from; k < to; ++k) {
        const CodePoint& p = points[k];
        if (!rules.typography) {
            out(p.value, p.start, p.end);
            continue;
        }
        if (invisible(p.value)) continue;
        if (dashLike(p.value)) {
            size_t last = k, dashes = 1, before = k;
            while (last + 1 < to &&
                   (dashLike(points[last + 1].value) || invisible(points[last + 1].value)))
                dashes += dashLike(points[++last].value);
            // A mark after a letter (e + U+0301) is part of it: composed, it is the letter é.
            while (before > from &&
                   (invisible(points[before - 1].value) || QChar::isMark(points[before - 1].value)))
                --before;
            const bool inner = before > from && last + 1 < to &&
                               QChar::isLetter(points[before - 1].value) &&
                               QChar::isLetter(points[last + 1].value);
            const bool rule = dashes >= 4;  // drawn, not written: "--------1.1." is "1.1."
            if (!inner && !rule) out(u'-', p.start, points[last].end);
            k = last;
            continue;
        }
        const QStringView replaced = typographic(p.value);
        if (replaced.isEmpty()) {
            out(p.value, p.start, p.end);
        } else {
            for (QChar c : replaced) out(c.unicode(), p.start, p.end);
        }
    }
}

void append(QString& text, char32_t c) {
    if (QChar::requiresSurrogates(c)) {
        text += QChar(QChar::highSurrogate(c));
        text += QChar(QChar::lowSurrogate(c));
    } else {
        text += QChar(char16_t(c));
    }
}

QString composed(QString text, bool beyondAscii) {
    return beyondAscii ? text.normalized(QString::NormalizationForm_C) : text;
}

}  // namespace

QString Fold(QStringView word, const Rules& rules) {
    QString text;
    text.reserve(word.size());
    bool beyondAscii = false;
    fold(word, rules, [&](char32_t c, qsizetype, qsizetype, bool) {
        beyondAscii = beyondAscii || c >= 0x80;
        append(text, c);
    });
    return composed(std::move(text), beyondAscii);
}

std::vector<Unit> Units(QStringView word, const Rules& rules) {
    std::vector<Unit> units;
    std::vector<bool> beyondAscii;
    fold(word, rules, [&](char32_t c, qsizetype start, qsizetype end, bool joinsPrevious) {
        if (!joinsPrevious || units.empty()) {
            units.push_back({{}, start, end});
            beyondAscii.push_back(false);
        }
        Unit& unit = units.back();
        append(unit.text, c);
        unit.end = std::max(unit.end, end);
        beyondAscii.back() = beyondAscii.back() || c >= 0x80;
    });
    for (size_t u = 0; u < units.size(); ++u)
        units[u].text = composed(std::move(units[u].text), beyondAscii[u]);
    return units;
}

}  // namespace corvella::WordFolding

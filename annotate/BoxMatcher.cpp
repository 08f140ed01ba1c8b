// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "annotate/BoxMatcher.h"

#include <algorithm>

namespace corvella::BoxMatcher {

namespace {

// How far a skip to where the text and the glyphs agree again may reach, both sides together, and
// how many characters in a row must then agree (fewer only where both end together).
constexpr qsizetype kReach = 24;
constexpr qsizetype kAgreement = 3;
// Two boxes stand on one line when they share this much of the taller one's height, and a space
// between words is at most this much of it.
constexpr double kSameLine = 0.7;
constexpr double kSpace = 0.6;

}  // namespace

PageMatch::PageMatch(QStringView text, qsizetype start, const std::vector<WordBox>& words)
    : start_(start),
      words_(words),
      glyphOf_(size_t(text.size()), -1),
      pairedInWord_(words.size(), 0) {
    for (size_t word = 0; word < words.size(); ++word) {
        const QString& wordText = words[word].text;
        for (qsizetype index = 0; index < wordText.size(); ++index)
            if (!wordText[index].isSpace()) glyphs_.push_back({qint32(word), qint32(index)});
    }
    pair(text);
}

void PageMatch::pair(QStringView text) {
    std::vector<qsizetype> shown;  // the positions of the text's characters other than white space
    for (qsizetype position = 0; position < text.size(); ++position)
        if (!text[position].isSpace()) shown.push_back(position);
    visible_ = qsizetype(shown.size());
    const qsizetype glyphCount = qsizetype(glyphs_.size());

    auto same = [&](qsizetype i, qsizetype j) {
        const Glyph& glyph = glyphs_[size_t(j)];
        return text[shown[size_t(i)]] == words_[size_t(glyph.word)].text[glyph.index];
    };
    auto agree = [&](qsizetype i, qsizetype j) {
        const qsizetype left = std::min(visible_ - i, glyphCount - j);
        if (left < kAgreement && visible_ - i != glyphCount - j) return false;
        for (qsizetype k = 0; k < std::min(left, kAgreement); ++k)
            if (!same(i + k, j + k)) return false;
        return true;
    };

    qsizetype i = 0;
    qsizetype j = 0;
    while (i < visible_ && j < glyphCount) {
        if (same(i, j)) {
            glyphOf_[size_t(shown[size_t(i)])] = qint32(j);
            ++pairedInWord_[size_t(glyphs_[size_t(j)].word)];
            ++paired_;
            ++i;
            ++j;
            continue;
        }
        // The fewest characters skipped on both sides together after which they agree again;
        // without any, one of each is taken for a character read otherwise.
        bool found = false;
        for (qsizetype reach = 1; reach <= kReach && !found; ++reach) {
            for (qsizetype skipText = 0; skipText <= reach && !found; ++skipText) {
                const qsizetype skipGlyphs = reach - skipText;
                if (i + skipText < visible_ && j + skipGlyphs < glyphCount &&
                    agree(i + skipText, j + skipGlyphs)) {
                    i += skipText;
                    j += skipGlyphs;
                    found = true;
                }
            }
        }
        if (!found) {
            ++i;
            ++j;
        }
    }
}

std::vector<Box> PageMatch::boxesOf(TextRange range) const {
    std::vector<Box> boxes;
    const qsizetype from = std::max<qsizetype>(0, range.start - start_);
    const qsizetype to =
        std::min<qsizetype>(qsizetype(glyphOf_.size()), range.start + range.length - start_);
    qint32 word = -1;
    qint32 held = 0;
    QRectF heldGlyphs;
    auto close = [&] {
        if (word < 0) return;
        const WordBox& whole = words_[size_t(word)];
        const QRectF& box = held == pairedInWord_[size_t(word)] ? whole.box : heldGlyphs;
        if (!box.isEmpty()) boxes.push_back({box, whole.rotation});
    };
    for (qsizetype position = from; position < to; ++position) {
        const qint32 glyph = glyphOf_[size_t(position)];
        if (glyph < 0) continue;
        const Glyph& at = glyphs_[size_t(glyph)];
        if (at.word != word) {
            close();
            word = at.word;
            held = 0;
            heldGlyphs = QRectF();
        }
        ++held;
        const WordBox& box = words_[size_t(word)];
        heldGlyphs |= size_t(at.index) < box.glyphs.size() ? box.glyphs[size_t(at.index)] : box.box;
    }
    close();
    return boxes;
}

std::vector<Box> JoinedAlongLines(const std::vector<Box>& boxes) {
    std::vector<Box> joined;
    for (const Box& box : boxes) {
        if (!joined.empty() && joined.back().rotation == box.rotation) {
            Box& last = joined.back();
            // Across the line and along it, as the words read.
            const bool upright = box.rotation % 2 == 0;
            auto across = [upright](const QRectF& r) {
                return upright ? std::pair{r.top(), r.bottom()} : std::pair{r.left(), r.right()};
            };
            auto along = [upright](const QRectF& r) {
                return upright ? std::pair{r.left(), r.right()} : std::pair{r.top(), r.bottom()};
            };
            const auto [lastFrom, lastTo] = across(last.rect);
            const auto [from, to] = across(box.rect);
            const double height = std::max(lastTo - lastFrom, to - from);
            const double shared = std::min(lastTo, to) - std::max(lastFrom, from);
            // The space from the last box's end to this one's start, in reading order.
            const double gap = box.rotation < 2 ? along(box.rect).first - along(last.rect).second
                                                : along(last.rect).first - along(box.rect).second;
            if (shared >= kSameLine * height && gap >= -kSpace * height && gap <= kSpace * height) {
                last.rect |= box.rect;
                continue;
            }
        }
        joined.push_back(box);
    }
    return joined;
}

}  // namespace corvella::BoxMatcher

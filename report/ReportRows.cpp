// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/ReportRows.h"

#include <algorithm>

namespace corvella::ReportRows {

namespace {

using Points = std::array<qsizetype, 2>;

qsizetype end(const TextRange& range) { return range.start + range.length; }

const TextRange& in(const Alignment::Pair& pair, size_t side) {
    return side == 0 ? pair.in1 : pair.in2;
}

// Where a row should end in the white space [from, to) between two words: after its last line
// break, so that the next row starts with a whole line (and a page's form feed), else at the
// next word. `lineStart` tells which.
qsizetype cutIn(QStringView text, qsizetype from, qsizetype to, bool* lineStart = nullptr) {
    for (qsizetype i = to; i > from; --i)
        if (text[i - 1] == u'\n') {
            if (lineStart) *lineStart = true;
            return i;
        }
    if (lineStart) *lineStart = from == 0;
    return to;
}

// The words in [from, to) that hold a letter or digit (leader dots are none), up to `enough`.
qsizetype wordsIn(QStringView text, qsizetype from, qsizetype to, qsizetype enough) {
    qsizetype words = 0;
    bool counted = false;  // the current run of non-space characters
    for (qsizetype i = from; i < to && words < enough; ++i) {
        const QChar c = text[i];
        if (c.isSpace()) {
            counted = false;
        } else if (!counted && c.isLetterOrNumber()) {
            ++words;
            counted = true;
        }
    }
    return words;
}

class Cutter {
public:
    Cutter(const Side& side1, const Side& side2) : sides_{&side1, &side2} {
        for (size_t s = 0; s < 2; ++s) {
            const QStringView text = sides_[s]->text;
            for (qsizetype i = 0; i < text.size(); ++i)
                if (text[i] == u'\n') breaks_[s].push_back(i);
        }
    }

    void gap(Points from, Points to, bool last) {
        Points words{};
        bool ownRow = false;
        for (size_t s = 0; s < 2; ++s) {
            words[s] = wordsIn(sides_[s]->text, from[s], to[s], kOwnRowWords);
            ownRow = ownRow || words[s] >= kOwnRowWords || holdsOwnRow(s, from[s], to[s]);
        }
        if (ownRow) return change(from, to);
        if (words[0] > 0 || words[1] > 0 || last) return;  // a small change stays in its lines
        Points at{};
        bool lineStart[2] = {false, false};
        for (size_t s = 0; s < 2; ++s)
            at[s] = cutIn(sides_[s]->text, from[s], to[s], &lineStart[s]);
        const qsizetype held = std::max(lines(0, at[0]), lines(1, at[1]));
        if ((held >= kMinLines && lineStart[0] && lineStart[1]) ||
            (held >= kMaxLines && (lineStart[0] || lineStart[1])) || held >= 2 * kMaxLines)
            cut(at, false);
    }

    std::vector<Row> finish() {
        cut({sides_[0]->text.size(), sides_[1]->text.size()}, false);
        return std::move(rows_);
    }

private:
    // A change in rows of its own: from the start of its first line (or its first word), a
    // screenful of each side at a time, to the end of its last line.
    void change(Points from, Points to) {
        Points first{}, after{};
        for (size_t s = 0; s < 2; ++s) {
            const QStringView text = sides_[s]->text;
            qsizetype a = from[s], b = to[s];
            while (a < b && text[a].isSpace()) ++a;
            while (b > a && text[b - 1].isSpace()) --b;
            first[s] = cutIn(text, from[s], a);
            after[s] = a == b ? first[s] : pastMark(s, cutIn(text, b, to[s]));
        }
        cut(first, false);
        while (at_[0] < after[0] || at_[1] < after[1]) {
            Points next{};
            for (size_t s = 0; s < 2; ++s) next[s] = afterLines(s, after[s]);
            if (!cut(next, true)) cut(next, true, false);
        }
    }

    bool holdsOwnRow(size_t s, qsizetype from, qsizetype to) const {
        const std::vector<qsizetype>& starts = sides_[s]->ownRowAt;
        const auto it = std::lower_bound(starts.begin(), starts.end(), from);
        return it != starts.end() && *it < to;
    }

    // The line breaks of side s from the current row's start to `to`.
    qsizetype lines(size_t s, qsizetype to) const {
        const std::vector<qsizetype>& breaks = breaks_[s];
        return qsizetype(std::lower_bound(breaks.begin(), breaks.end(), to) -
                         std::lower_bound(breaks.begin(), breaks.end(), at_[s]));
    }

    // After kMaxLines lines of side s from the current row's start, at most `limit`.
    qsizetype afterLines(size_t s, qsizetype limit) const {
        const std::vector<qsizetype>& breaks = breaks_[s];
        const size_t k =
            size_t(std::lower_bound(breaks.begin(), breaks.end(), at_[s]) - breaks.begin()) +
            size_t(kMaxLines) - 1;
        return k < breaks.size() ? std::min(breaks[k] + 1, limit) : limit;
    }

    // `position`, or the start of the mark it would cut in two.
    qsizetype outOfMark(size_t s, qsizetype position) const {
        const std::vector<TextRange>* marks = sides_[s]->marks;
        if (!marks) return position;
        auto it =
            std::lower_bound(marks->begin(), marks->end(), position,
                             [](const TextRange& mark, qsizetype p) { return mark.start < p; });
        if (it == marks->begin()) return position;
        --it;
        return end(*it) > position ? it->start : position;
    }

    // `position`, or past the end of the mark it would cut in two and the rest of its line.
    qsizetype pastMark(size_t s, qsizetype position) const {
        const qsizetype start = outOfMark(s, position);
        if (start == position) return position;
        const std::vector<TextRange>& marks = *sides_[s]->marks;
        const auto it =
            std::lower_bound(marks.begin(), marks.end(), start,
                             [](const TextRange& mark, qsizetype p) { return mark.start < p; });
        const QStringView text = sides_[s]->text;
        qsizetype after = end(*it);
        while (after < text.size() && text[after].isSpace() && text[after] != u'\n') ++after;
        return after < text.size() && text[after] == u'\n' ? after + 1 : end(*it);
    }

    // Ends the current row at `at`; false when that leaves it empty.
    bool cut(Points at, bool changed, bool keepMarks = true) {
        for (size_t s = 0; s < 2; ++s) {
            if (!keepMarks || at[s] <= at_[s]) {
                at[s] = std::max(at[s], at_[s]);
                continue;
            }
            // Before the mark it would cut, or past it when the row holds nothing before it.
            const qsizetype before = outOfMark(s, at[s]);
            at[s] = before > at_[s] ? before : pastMark(s, at[s]);
        }
        if (at == at_) return false;
        rows_.push_back(
            {{TextRange{at_[0], at[0] - at_[0]}, TextRange{at_[1], at[1] - at_[1]}}, changed});
        at_ = at;
        return true;
    }

    const Side* sides_[2];
    std::vector<qsizetype> breaks_[2];
    std::vector<Row> rows_;
    Points at_{};  // where the current row starts
};

}  // namespace

std::vector<Row> Cut(const Alignment& alignment, const Side& side1, const Side& side2) {
    Cutter cutter(side1, side2);
    const std::vector<Alignment::Pair>& pairs = alignment.pairs();
    const Points lengths{side1.text.size(), side2.text.size()};
    // The stretch before each pair, and the one after the last: what stands between two equal
    // words on each side.
    for (size_t k = 0; k <= pairs.size(); ++k) {
        Points from{}, to{};
        for (size_t s = 0; s < 2; ++s) {
            from[s] = k == 0 ? 0 : std::min(end(in(pairs[k - 1], s)), lengths[s]);
            to[s] = k == pairs.size() ? lengths[s]
                                      : std::clamp(in(pairs[k], s).start, from[s], lengths[s]);
        }
        cutter.gap(from, to, k == pairs.size());
    }
    return cutter.finish();
}

}  // namespace corvella::ReportRows

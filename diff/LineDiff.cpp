// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/LineDiff.h"

#include <QHash>
#include <algorithm>

#include "core/PaneText.h"

namespace corvella::LineDiff {

namespace {

// A set of pieces by content: open addressing over one flat array of small slots (part of the
// hash and an index into the pieces), so that a lookup touches one slot and, on a hash match, one
// piece. The pieces vector may grow while the set is in use.
class PieceSet {
public:
    PieceSet(const std::vector<QStringView>& pieces, size_t expected) : pieces_(pieces) {
        size_t capacity = 16;
        while (capacity < expected * 2) capacity *= 2;
        slots_.assign(capacity, Slot{});
        mask_ = capacity - 1;
    }

    // Adds pieces[index] unless an equal piece is there already.
    void insert(qsizetype index) {
        const QStringView piece = pieces_[size_t(index)];
        const size_t hash = qHash(piece);
        for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
            Slot& slot = slots_[at];
            if (slot.index < 0) {
                slot = {quint32(hash), qint32(index)};
                return;
            }
            if (slot.hash == quint32(hash) && pieces_[size_t(slot.index)] == piece) return;
        }
    }

    // The index of an equal piece, or -1.
    qsizetype find(QStringView piece) const {
        const size_t hash = qHash(piece);
        for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
            const Slot& slot = slots_[at];
            if (slot.index < 0) return -1;
            if (slot.hash == quint32(hash) && pieces_[size_t(slot.index)] == piece)
                return slot.index;
        }
    }

private:
    struct Slot {
        quint32 hash = 0;
        qint32 index = -1;
    };
    const std::vector<QStringView>& pieces_;
    std::vector<Slot> slots_;
    size_t mask_ = 0;
};

// The literal search: from the start, then two characters after each match's start.
void searchEverywhere(QStringView text, QStringView searchText, std::vector<TextRange>& found) {
    const QString needle = searchText.toString() + PaneText::kCR;
    qsizetype at = text.indexOf(needle, 0);
    while (at >= 0) {
        found.push_back({at, needle.size()});
        at = text.indexOf(needle, at + 2);
    }
}

void appendMerged(std::vector<TextRange>& ranges, TextRange range) {
    if (!ranges.empty() && range.start <= ranges.back().start + ranges.back().length) {
        TextRange& back = ranges.back();
        back.length = std::max(back.length, range.start + range.length - back.start);
    } else {
        ranges.push_back(range);
    }
}

// Sorts the occurrences by their search text into `each` (each text's were found in text order)
// and says where each call's stand.
void groupByText(std::vector<std::pair<qsizetype, TextRange>>& numbered, size_t texts,
                 const std::vector<qsizetype>& callNumber, Occurrences& result) {
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TextRange> of(texts, TextRange{0, 0});
    result.each.reserve(numbered.size());
    for (size_t i = 0; i < numbered.size(); ++i) {
        TextRange& place = of[size_t(numbered[i].first)];
        if (place.length == 0) place.start = qsizetype(i);
        ++place.length;
        result.each.push_back(numbered[i].second);
    }
    result.eachOf.reserve(callNumber.size());
    for (qsizetype number : callNumber) result.eachOf.push_back(of[size_t(number)]);
}

}  // namespace

std::vector<QStringView> CutAtCR(QStringView text) {
    std::vector<QStringView> pieces;
    if (text.isEmpty()) return pieces;
    qsizetype start = 0;
    for (;;) {
        const qsizetype cr = text.indexOf(PaneText::kCR, start);
        if (cr < 0) {
            pieces.push_back(text.mid(start));
            return pieces;
        }
        pieces.push_back(text.mid(start, cr - start));
        start = cr + 1;
    }
}

std::vector<qsizetype> PiecesMissingFrom(const std::vector<QStringView>& own,
                                         const std::vector<QStringView>& other,
                                         const std::function<void()>& tick) {
    PieceSet present(other, other.size());
    for (size_t j = 0; j < other.size(); ++j) present.insert(qsizetype(j));
    std::vector<qsizetype> missing;
    for (size_t i = 0; i < own.size(); ++i) {
        tick();
        if (present.find(own[i]) < 0) missing.push_back(qsizetype(i));
    }
    return missing;
}

Occurrences FindPiecesFollowedByCR(QStringView text, const std::vector<QStringView>& searchTexts,
                                   bool each) {
    Occurrences result;
    if (searchTexts.empty() || text.isEmpty()) return result;

    // Number the distinct search texts and sort them by kind. In a pane's text an LF stands only
    // right after a CR, so a search text that starts with LF occurs exactly where an equal piece
    // is followed by CR, and one without LF occurs at the end of every such piece ending with it.
    std::vector<QStringView> distinct;
    PieceSet numbers(distinct, searchTexts.size());
    std::vector<qsizetype> callNumber;  // per search text call: its distinct number
    std::vector<QStringView> suffixTexts;
    std::vector<qsizetype> suffixNumbers;
    for (QStringView searchText : searchTexts) {
        const qsizetype known = numbers.find(searchText);
        if (known >= 0) {
            callNumber.push_back(known);
            continue;
        }
        const qsizetype number = qsizetype(distinct.size());
        distinct.push_back(searchText);
        numbers.insert(number);
        callNumber.push_back(number);
        if (!searchText.contains(PaneText::kLF)) {
            suffixTexts.push_back(searchText);
            suffixNumbers.push_back(number);
        }
    }
    std::vector<TextRange> lastOf(distinct.size(), TextRange{-1, 0});
    // Each occurrence with the number of its search text, when asked for.
    std::vector<std::pair<qsizetype, TextRange>> numbered;
    auto record = [&](qsizetype number, TextRange range) {
        appendMerged(result.ranges, range);
        lastOf[size_t(number)] = range;
        if (each) numbered.push_back({number, range});
    };

    // One pass over the pieces that are followed by a CR, in text order.
    qsizetype start = 0;
    for (qsizetype cr = text.indexOf(PaneText::kCR); cr >= 0;
         start = cr + 1, cr = text.indexOf(PaneText::kCR, start)) {
        const QStringView piece = text.mid(start, cr - start);
        if (piece.startsWith(PaneText::kLF)) {
            const qsizetype number = numbers.find(piece);
            if (number >= 0) record(number, {start, piece.size() + 1});
        }
        for (size_t k = 0; k < suffixTexts.size(); ++k) {
            if (!piece.endsWith(suffixTexts[k])) continue;
            record(suffixNumbers[k], {cr - suffixTexts[k].size(), suffixTexts[k].size() + 1});
        }
    }

    // Search texts with an LF inside cannot come from a pane's text; search for them literally.
    std::vector<TextRange> others;
    for (size_t number = 0; number < distinct.size(); ++number) {
        const qsizetype lf = distinct[number].indexOf(PaneText::kLF);
        if (lf <= 0) continue;
        std::vector<TextRange> found;
        searchEverywhere(text, distinct[number], found);
        if (!found.empty()) lastOf[number] = found.back();
        others.insert(others.end(), found.begin(), found.end());
        if (each)
            for (const TextRange& range : found) numbered.push_back({qsizetype(number), range});
    }
    if (!others.empty()) {
        others.insert(others.end(), result.ranges.begin(), result.ranges.end());
        std::sort(others.begin(), others.end(),
                  [](const TextRange& a, const TextRange& b) { return a.start < b.start; });
        result.ranges.clear();
        for (const TextRange& range : others) appendMerged(result.ranges, range);
    }

    if (each) groupByText(numbered, distinct.size(), callNumber, result);
    for (auto it = callNumber.rbegin(); it != callNumber.rend(); ++it) {
        const TextRange& last = lastOf[size_t(*it)];
        if (last.start >= 0) {
            result.hasLast = true;
            result.last = last;
            break;
        }
    }
    return result;
}

}  // namespace corvella::LineDiff

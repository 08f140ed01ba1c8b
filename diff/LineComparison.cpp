// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/LineComparison.h"

#include <unordered_map>

#include "core/PaneText.h"
#include "diff/TextPlaces.h"

namespace corvella::LineCompare {

namespace {

// An occurrence without the LF before its text and the CR after it: what shows red of it.
TextRange shown(const TextRange& occurrence, QStringView text) {
    auto isBreak = [&](qsizetype at) {
        return text[at] == PaneText::kCR || text[at] == PaneText::kLF;
    };
    qsizetype from = occurrence.start;
    qsizetype to = std::min(text.size(), occurrence.start + occurrence.length);
    while (from < to && isBreak(from)) ++from;
    while (to > from && isBreak(to - 1)) --to;
    return {from, to - from};
}

// Marks the text of one missing line: at every occurrence, or one empty mark when it has none.
void addMarks(const LineDiff::Occurrences& found, TextRange occurrences, QStringView text,
              const Difference& line, ComparedSide& side) {
    const size_t before = side.marks.size();
    for (qsizetype k = occurrences.start; k < occurrences.start + occurrences.length; ++k)
        if (const TextRange mark = shown(found.each[size_t(k)], text); mark.length > 0)
            side.marks.push_back(mark);
    if (side.marks.size() == before) side.marks.push_back({line.span.start, 0});
}

}  // namespace

std::vector<Difference> MissingLines(QStringView ownText, const std::vector<QStringView>& ownPieces,
                                     const std::vector<QStringView>& otherPieces,
                                     DifferenceKind kind, const Progress& progress) {
    const std::vector<qsizetype> missing =
        LineDiff::PiecesMissingFrom(ownPieces, otherPieces, [&] { Tick(progress); });
    std::vector<Difference> lines;
    lines.reserve(missing.size());
    for (qsizetype i : missing) {
        const QStringView piece = ownPieces[size_t(i)];
        // The line itself, without the LF of the break before it.
        const qsizetype lf = piece.startsWith(PaneText::kLF) ? 1 : 0;
        Difference line;
        line.kind = kind;
        line.span = {piece.data() - ownText.data() + lf, piece.size() - lf};
        lines.push_back(line);
    }
    return lines;
}

QStringView PieceOf(QStringView text, const Difference& line) {
    const qsizetype lf = line.span.start > 0 && text[line.span.start - 1] == PaneText::kLF ? 1 : 0;
    return text.mid(line.span.start - lf, line.span.length + lf);
}

std::vector<QStringView> SearchTexts(QStringView text, const std::vector<Difference>& lines) {
    std::vector<QStringView> searchTexts;
    searchTexts.reserve(lines.size());
    for (const Difference& line : lines) searchTexts.push_back(PieceOf(text, line));
    return searchTexts;
}

void MarkOccurrences(QStringView text, const LineDiff::Occurrences& found, ComparedSide& side) {
    side.marks.clear();
    // Lines equal in text are one search text and share its marks.
    std::unordered_map<qsizetype, std::pair<qint32, qint32>> marked;
    for (size_t i = 0; i < side.differences.size(); ++i) {
        Difference& line = side.differences[i];
        // A colouring that failed before the end coloured nothing.
        const TextRange occurrences = i < found.eachOf.size() ? found.eachOf[i] : TextRange{};
        const auto known = marked.find(occurrences.start);
        if (occurrences.length > 0 && known != marked.end()) {
            std::tie(line.firstMark, line.markCount) = known->second;
            continue;
        }
        line.firstMark = qint32(side.marks.size());
        addMarks(found, occurrences, text, line, side);
        line.markCount = qint32(side.marks.size()) - line.firstMark;
        if (occurrences.length > 0)
            marked.emplace(occurrences.start, std::pair{line.firstMark, line.markCount});
    }
}

Comparison Compare(QStringView text1, QStringView text2, const Progress& progress) {
    const std::vector<QStringView> pieces1 = LineDiff::CutAtCR(text1);
    const std::vector<QStringView> pieces2 = LineDiff::CutAtCR(text2);
    Comparison result;
    result.method = Method::Lines;
    result.side(Side::One).differences =
        MissingLines(text1, pieces1, pieces2, DifferenceKind::Only1, progress);
    result.side(Side::Two).differences =
        MissingLines(text2, pieces2, pieces1, DifferenceKind::Only2, progress);
    for (const Side side : kBothSides) {
        const QStringView text = side == Side::One ? text1 : text2;
        ComparedSide& compared = result.side(side);
        TextPlaces::Locate(text, compared.differences);
        MarkOccurrences(
            text,
            LineDiff::FindPiecesFollowedByCR(text, SearchTexts(text, compared.differences), true),
            compared);
    }
    return result;
}

}  // namespace corvella::LineCompare

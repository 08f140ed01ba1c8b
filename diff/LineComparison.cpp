// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/LineComparison.h"

#include "core/PaneText.h"
#include "diff/LineDiff.h"
#include "diff/TextPlaces.h"

namespace corvella::LineCompare {

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

Comparison Compare(QStringView text1, QStringView text2, const Progress& progress) {
    const std::vector<QStringView> pieces1 = LineDiff::CutAtCR(text1);
    const std::vector<QStringView> pieces2 = LineDiff::CutAtCR(text2);
    Comparison result;
    result.method = Method::Lines;
    result.side(Side::One).differences =
        MissingLines(text1, pieces1, pieces2, DifferenceKind::Only1, progress);
    result.side(Side::Two).differences =
        MissingLines(text2, pieces2, pieces1, DifferenceKind::Only2, progress);
    TextPlaces::Locate(text1, result.side(Side::One).differences);
    TextPlaces::Locate(text2, result.side(Side::Two).differences);
    return result;
}

}  // namespace corvella::LineCompare

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/RTB.h"

#include "core/ErrorReport.h"
#include "core/PaneText.h"
#include "diff/LineComparison.h"
#include "diff/LineDiff.h"
#include "diff/TextPlaces.h"

namespace corvella::RTB {

namespace {

constexpr size_t kRangesPerBatch = 512;
constexpr int kMaxRecollections = 3;

// Colours all occurrences, a batch at a time with time-sliced yields between batches. When the
// pane's text changes during a yield, the occurrences are looked up again in the new text.
void colorOccurrences(PaneDocument& pane, const std::vector<QStringView>& searchTexts,
                      Services& services) {
    TimeSlicedYield yield(services.events, services.yieldSlice);
    QString text;
    quint64 revision = 0;
    LineDiff::Occurrences found;
    auto collect = [&] {
        text = pane.text();
        revision = pane.textRevision();
        found = LineDiff::FindPiecesFollowedByCR(text, searchTexts);
    };
    collect();
    int recollections = 0;
    for (size_t done = 0; done < found.ranges.size();) {
        const size_t end = std::min(found.ranges.size(), done + kRangesPerBatch);
        pane.colorRanges(
            {found.ranges.begin() + qsizetype(done), found.ranges.begin() + qsizetype(end)}, kRed);
        done = end;
        if (recollections < kMaxRecollections) {
            yield.maybeYield();
            if (pane.textRevision() != revision) {
                ++recollections;
                collect();
                done = 0;
            }
        }
    }
    if (found.hasLast) {
        pane.setSelStart(found.last.start);
        pane.setSelLength(found.last.length);
    }
}

void findDifferences(const QString& location, PaneDocument& own, PaneDocument& other,
                     PaneDocument& work, Services& services, DifferenceKind kind,
                     void (*colorRed)(PaneDocument&, const std::vector<QStringView>&, Services&),
                     std::vector<Difference>* listed) {
    Procedure proc(services.dialogs, location);
    TimeSlicedYield yield(services.events, services.yieldSlice);
    QString ownText;
    QString otherText;
    std::vector<QStringView> ownPieces;
    std::vector<QStringView> otherPieces;
    std::vector<Difference> missing;

    proc.step(100, [&] {
        ownText = own.text();
        ownPieces = LineDiff::CutAtCR(ownText);
    });
    proc.step(102, [&] {
        otherText = other.text();
        otherPieces = LineDiff::CutAtCR(otherText);
    });
    proc.step(104, [&] { work.setText(QString()); });
    proc.step(106, [&] {
        missing = LineCompare::MissingLines(ownText, ownPieces, otherPieces, kind, [&] {
            yield.maybeYield();
            return true;
        });
    });
    if (missing.empty()) return;

    std::vector<QStringView> searchTexts;
    searchTexts.reserve(missing.size());
    QString listedText;
    for (const Difference& line : missing) {
        const QStringView piece = LineCompare::PieceOf(ownText, line);
        searchTexts.push_back(piece);
        listedText += piece;
        listedText += PaneText::kCR;
    }
    if (listed) {
        *listed = missing;
        TextPlaces::Locate(ownText, *listed);
    }
    proc.step(122, [&] { colorRed(own, searchTexts, services); });
    proc.step(124, [&] { work.setText(listedText); });
}

}  // namespace

void ColorRedByString1(PaneDocument& pane1, const std::vector<QStringView>& searchTexts,
                       Services& services) {
    colorOccurrences(pane1, searchTexts, services);
}

void ColorRedByString2(PaneDocument& pane2, const std::vector<QStringView>& searchTexts,
                       Services& services) {
    Procedure proc(services.dialogs, QStringLiteral("RTB.ColorRedByString2"));
    proc.step(100, [&] { colorOccurrences(pane2, searchTexts, services); });
}

void FindDifferencesIn1(PaneDocument& pane1, PaneDocument& pane2, PaneDocument& pane3,
                        Services& services, std::vector<Difference>* listed) {
    findDifferences(QStringLiteral("RTB.FindDifferencesIn1"), pane1, pane2, pane3, services,
                    DifferenceKind::Only1, ColorRedByString1, listed);
}

void FindDifferencesIn2(PaneDocument& pane2, PaneDocument& pane1, PaneDocument& pane4,
                        Services& services, std::vector<Difference>* listed) {
    findDifferences(QStringLiteral("RTB.FindDifferencesIn2"), pane2, pane1, pane4, services,
                    DifferenceKind::Only2, ColorRedByString2, listed);
}

}  // namespace corvella::RTB

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
                      Services& services, Painted* painted) {
    TimeSlicedYield yield(services.events, services.yieldSlice);
    QString text;
    quint64 revision = 0;
    LineDiff::Occurrences found;
    auto collect = [&] {
        text = pane.text();
        revision = pane.textRevision();
        found = LineDiff::FindPiecesFollowedByCR(text, searchTexts, painted != nullptr);
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
    if (painted) *painted = {std::move(text), std::move(found)};
}

void findDifferences(const QString& location, PaneDocument& own, PaneDocument& other,
                     PaneDocument& work, Services& services, DifferenceKind kind,
                     void (*colorRed)(PaneDocument&, const std::vector<QStringView>&, Services&,
                                      Painted*),
                     ComparedSide* result) {
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

    const std::vector<QStringView> searchTexts = LineCompare::SearchTexts(ownText, missing);
    QString listedText;
    for (const QStringView piece : searchTexts) {
        listedText += piece;
        listedText += PaneText::kCR;
    }
    Painted painted;
    proc.step(122, [&] { colorRed(own, searchTexts, services, result ? &painted : nullptr); });
    proc.step(124, [&] { work.setText(listedText); });
    if (result) {
        result->differences = std::move(missing);
        TextPlaces::Locate(ownText, result->differences);
        LineCompare::MarkOccurrences(painted.text, painted.occurrences, *result);
    }
}

}  // namespace

void ColorRedByString1(PaneDocument& pane1, const std::vector<QStringView>& searchTexts,
                       Services& services, Painted* painted) {
    colorOccurrences(pane1, searchTexts, services, painted);
}

void ColorRedByString2(PaneDocument& pane2, const std::vector<QStringView>& searchTexts,
                       Services& services, Painted* painted) {
    Procedure proc(services.dialogs, QStringLiteral("RTB.ColorRedByString2"));
    proc.step(100, [&] { colorOccurrences(pane2, searchTexts, services, painted); });
}

void FindDifferencesIn1(PaneDocument& pane1, PaneDocument& pane2, PaneDocument& pane3,
                        Services& services, ComparedSide* found) {
    findDifferences(QStringLiteral("RTB.FindDifferencesIn1"), pane1, pane2, pane3, services,
                    DifferenceKind::Only1, ColorRedByString1, found);
}

void FindDifferencesIn2(PaneDocument& pane2, PaneDocument& pane1, PaneDocument& pane4,
                        Services& services, ComparedSide* found) {
    findDifferences(QStringLiteral("RTB.FindDifferencesIn2"), pane2, pane1, pane4, services,
                    DifferenceKind::Only2, ColorRedByString2, found);
}

}  // namespace corvella::RTB

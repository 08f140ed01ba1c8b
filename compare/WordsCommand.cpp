// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/WordsCommand.h"

#include "core/ErrorReport.h"
#include "core/PaneText.h"
#include "diff/TextPlaces.h"
#include "display/ShowRTF.h"
#include "office/Word1.h"

namespace corvella {

namespace {

bool sameView(QStringView a, QStringView b) { return a.data() == b.data() && a.size() == b.size(); }

// Paints the whole text of a pane black, leaving it selected.
void paintBlack(Procedure& proc, int firstLine, PaneDocument& pane) {
    proc.step(firstLine, [&] { pane.setSelStart(0); });
    proc.step(firstLine + 2, [&] { pane.setSelLength(pane.text().size()); });
    proc.step(firstLine + 4, [&] { pane.setSelColor(kBlack); });
}

// Where a pass stands: the 1-based text positions of the own and the other line in use, and the
// index of the other line.
struct PassCounters {
    qsizetype ownPos = 1;
    qsizetype otherPos = 1;
    qsizetype j = 0;
};

// One pass: every line of the coloured pane against line j of the other pane, which moves on with
// it while at least one character follows the CR LF that ends line j. `loopLine` is the step
// number of the pass's loop (160 or 182); its body's steps follow it.
void comparePass(Procedure& proc, int loopLine, const std::vector<QStringView>& ownLines,
                 const std::vector<QStringView>& otherLines, PaneDocument& otherPane,
                 PassCounters& at, WordPass& pass, TimeSlicedYield& yield) {
    const qsizetype lastOwn = qsizetype(ownLines.size()) - 1;
    const qsizetype lastOther = qsizetype(otherLines.size()) - 1;
    proc.step(loopLine, [] {});
    for (qsizetype k = 0; k <= lastOwn; ++k) {
        // Thousands of pages take a while: the window stays live.
        yield.maybeYield();
        bool inRange = false;
        proc.step(loopLine + 2, [&] { inRange = at.j <= lastOther; });
        if (!inRange) continue;
        const QStringView ownLine = ownLines[size_t(k)];
        const QStringView otherLine = otherLines[size_t(at.j)];
        proc.step(loopLine + 4,
                  [&] { pass.FindWordDifferencesInLine(otherLine, at.ownPos, ownLine.size()); });
        proc.step(loopLine + 6, [&] { at.ownPos += ownLine.size() + 2; });
        bool moveOn = false;
        proc.step(loopLine + 8,
                  [&] { moveOn = otherPane.textLength() >= at.otherPos + otherLine.size() + 2; });
        if (moveOn) {
            proc.step(loopLine + 10, [&] { at.otherPos += otherLine.size() + 2; });
            proc.step(loopLine + 12, [&] { ++at.j; });
        }
    }
    // What the pass held back belongs to its calls at the comparison step.
    if (pass.hasHeldBack()) proc.step(loopLine + 4, [&] { pass.finish(); });
}

// Gives the words found their pages and lines, beside the event loop for a million of them, and
// keeps them without the room left over from growing the lists, as long as the texts stay.
void placeOnPages(Comparison& found, const QString& text1, const QString& text2,
                  EventPump& events) {
    auto place = [&] {
        for (const Side side : kBothSides) {
            std::vector<Difference>& differences = found.side(side).differences;
            TextPlaces::Locate(side == Side::One ? text1 : text2, differences);
            differences.shrink_to_fit();
        }
    };
    constexpr size_t kManyWords = 50'000;
    if (found.side(Side::One).differences.size() + found.side(Side::Two).differences.size() >=
        kManyWords)
        RunBesideTheLoop(events, place);
    else
        place();
}

void compareStandard(MainWindow& window, Procedure& proc, Comparison* result) {
    Services& services = window.services();
    PaneDocument& pane1 = window.pane(1);
    PaneDocument& pane2 = window.pane(2);
    proc.step(128, [&] { services.events.processEvents(); });
    proc.step(130, [&] { window.setPointer(PointerShape::Hourglass); });
    paintBlack(proc, 132, pane1);
    paintBlack(proc, 138, pane2);

    QString text1;
    QString text2;
    std::vector<QStringView> lines1;
    std::vector<QStringView> lines2;
    proc.step(144, [&] {
        text1 = pane1.text();
        lines1 = WordDiff::CutAtCRLF(text1);
    });
    proc.step(146, [&] {
        text2 = pane2.text();
        lines2 = WordDiff::CutAtCRLF(text2);
    });

    // Pass 1 counts its own positions in pane 1, pass 2 in pane 2.
    PassCounters first;
    proc.step(148, [&] { first.ownPos = 1; });
    proc.step(150, [&] { first.otherPos = 1; });
    proc.step(152, [&] { first.j = 0; });
    proc.step(156, [&] { window.pane(3).setText(QString()); });
    proc.step(158, [&] { window.pane(4).setText(QString()); });
    Comparison found;
    found.method = Method::Words;
    WordPass pass1(pane1, window.pane(3), result ? &found.side(Side::One).differences : nullptr,
                   DifferenceKind::Only1);
    TimeSlicedYield yield(services.events, services.yieldSlice);
    comparePass(proc, 160, lines1, lines2, pane2, first, pass1, yield);

    PassCounters second;
    proc.step(176, [&] { second.otherPos = 1; });
    proc.step(178, [&] { second.ownPos = 1; });
    proc.step(180, [&] { second.j = 0; });
    WordPass pass2(pane2, window.pane(4), result ? &found.side(Side::Two).differences : nullptr,
                   DifferenceKind::Only2);
    comparePass(proc, 182, lines2, lines1, pane1, second, pass2, yield);

    proc.step(198, [&] { window.setPointer(PointerShape::Default); });
    proc.step(200, [&] { window.ComparisonDone = true; });
    proc.step(202, [&] { ShowRTF(window); });
    if (result) {
        placeOnPages(found, text1, text2, services.events);
        *result = std::move(found);
    }
}

}  // namespace

void WordPass::FindWordDifferencesInLine(QStringView otherLine, qsizetype start, qsizetype length) {
    const QString ownText = pane_.text();
    const QStringView ownLine = QStringView(ownText).mid(start - 1, length);
    if (!other_ || !sameView(otherLine, otherView_)) {
        other_.emplace(otherLine);
        otherView_ = otherLine;
    }
    missing_.clear();
    WordDiff::MissingWords(ownLine, *other_, missing_);
    for (const TextRange& word : missing_) {
        if (listed_) {
            Difference listed;
            listed.kind = kind_;
            listed.span = {start - 1 + word.start, word.length};
            listed_->push_back(listed);
        }
        if (!batching_) {
            literalStep(ownText, start, word);
            continue;
        }
        workText_ += PaneText::kBreak;
        workText_ += ownLine.mid(word.start, word.length);
        last_ = {start - 1 + word.start, word.length};
        if (word.length > 0) red_.push_back(last_);
        heldBack_ = true;
    }
}

void WordPass::literalStep(const QString& ownText, qsizetype start, const TextRange& word) {
    QString listed = work_.text();
    listed += PaneText::kBreak;
    listed += QStringView(ownText).mid(start - 1 + word.start, word.length);
    work_.setText(listed);
    pane_.setSelStart(start - 1 + word.start);
    pane_.setSelLength(word.length);
    pane_.setSelColor(kRed);
    workText_ = work_.text();
    batching_ = true;
}

void WordPass::finish() {
    if (!heldBack_) return;
    heldBack_ = false;
    work_.setText(workText_);
    pane_.colorRanges(red_, kRed);
    pane_.setSelStart(last_.start);
    pane_.setSelLength(last_.length);
    red_.clear();
}

void PushButton6_Click(MainWindow& window, Comparison* result) {
    Services& services = window.services();
    Procedure proc(services.dialogs, QStringLiteral("Form1.PushButton6_Click"));
    bool alreadyRunning = false;
    proc.step(100, [&] { alreadyRunning = window.BusyFlag; });
    if (alreadyRunning) return;
    proc.step(102, [&] { window.BusyFlag = true; });
    bool wordProcessor = false;
    proc.step(104, [&] { wordProcessor = window.isOptionSelected(4); });
    if (wordProcessor)
        CompareWithWordProcessor(window, proc);
    else
        compareStandard(window, proc, result);
    proc.step(204, [&] { window.BusyFlag = false; });
}

}  // namespace corvella

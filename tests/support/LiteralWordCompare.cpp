// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/LiteralWordCompare.h"

#include <QStringList>
#include <cmath>

#include "core/ErrorReport.h"
#include "display/ShowRTF.h"

namespace corvella::testing::Literal {

namespace {

// VB's Split: an empty text gives an empty array, anything else is cut at every separator.
QStringList split(const QString& text, const QString& separator) {
    if (text.isEmpty()) return {};
    return text.split(separator);
}

// VB's Mid with a 1-based start.
QString mid(const QString& text, qsizetype start, qsizetype length) {
    return text.mid(start - 1, length);
}

// VB's CLng of a Double: to the nearest whole number, a half to the even neighbour (the default
// floating-point rounding mode).
qsizetype toLong(double value) { return qsizetype(std::lrint(value)); }

qsizetype lastIndex(const QStringList& list) { return list.size() - 1; }

}  // namespace

void FindWordDifferencesInLine(PaneDocument& pane, const QString& otherLine, PaneDocument& work,
                               qsizetype start, qsizetype length) {
    const QString ownText = mid(pane.text(), start, length);
    const QStringList ownWords = split(ownText, QStringLiteral(" "));
    const QStringList otherWords = split(otherLine, QStringLiteral(" "));
    const qsizetype window = toLong(double(lastIndex(ownWords)) / 2 + 1);
    qsizetype cursor = 0;
    qsizetype offset = 0;
    for (qsizetype i = 0; i <= lastIndex(ownWords); ++i) {
        bool found = false;
        for (qsizetype m = 0; m < window && !found; ++m) {
            if (cursor + m <= lastIndex(otherWords) && otherWords[cursor + m] == ownWords[i]) {
                found = true;
                cursor = cursor + m + 1;
            }
        }
        if (!found) {
            work.setText(work.text() + QStringLiteral("\r\n") + ownWords[i]);
            pane.setSelStart(start - 1 + offset);
            pane.setSelLength(ownWords[i].size());
            pane.setSelColor(kRed);
        }
        offset = offset + ownWords[i].size() + 1;
    }
}

void WordComparisonCommand(MainWindow& window) {
    Procedure proc(window.services().dialogs, QStringLiteral("Form1.PushButton6_Click"));
    PaneDocument& rtb1 = window.pane(1);
    PaneDocument& rtb2 = window.pane(2);
    PaneDocument& rtb3 = window.pane(3);
    PaneDocument& rtb4 = window.pane(4);
    bool busy = false;
    proc.step(100, [&] { busy = window.BusyFlag; });
    if (busy) return;
    proc.step(102, [&] { window.BusyFlag = true; });
    proc.step(104, [&] {});
    proc.step(128, [&] { window.services().events.processEvents(); });
    proc.step(130, [&] { window.setPointer(PointerShape::Hourglass); });
    proc.step(132, [&] { rtb1.setSelStart(0); });
    proc.step(134, [&] { rtb1.setSelLength(rtb1.text().size()); });
    proc.step(136, [&] { rtb1.setSelColor(kBlack); });
    proc.step(138, [&] { rtb2.setSelStart(0); });
    proc.step(140, [&] { rtb2.setSelLength(rtb2.text().size()); });
    proc.step(142, [&] { rtb2.setSelColor(kBlack); });
    QStringList lines1;
    QStringList lines2;
    proc.step(144, [&] { lines1 = split(rtb1.text(), QStringLiteral("\r\n")); });
    proc.step(146, [&] { lines2 = split(rtb2.text(), QStringLiteral("\r\n")); });
    qsizetype pos1 = 0;
    qsizetype pos2 = 0;
    qsizetype j = 0;
    proc.step(148, [&] { pos1 = 1; });
    proc.step(150, [&] { pos2 = 1; });
    proc.step(152, [&] { j = 0; });
    proc.step(156, [&] { rtb3.setText(QString()); });
    proc.step(158, [&] { rtb4.setText(QString()); });
    proc.step(160, [&] {});
    for (qsizetype k = 0; k <= lastIndex(lines1); ++k) {
        bool inRange = false;
        proc.step(162, [&] { inRange = j <= lastIndex(lines2); });
        if (!inRange) continue;
        proc.step(
            164, [&] { FindWordDifferencesInLine(rtb1, lines2[j], rtb3, pos1, lines1[k].size()); });
        proc.step(166, [&] { pos1 = pos1 + lines1[k].size() + 2; });
        bool moveOn = false;
        proc.step(168, [&] { moveOn = rtb2.text().size() >= pos2 + lines2[j].size() + 2; });
        if (moveOn) {
            proc.step(170, [&] { pos2 = pos2 + lines2[j].size() + 2; });
            proc.step(172, [&] { j = j + 1; });
        }
    }
    proc.step(176, [&] { pos1 = 1; });
    proc.step(178, [&] { pos2 = 1; });
    proc.step(180, [&] { j = 0; });
    proc.step(182, [&] {});
    for (qsizetype k = 0; k <= lastIndex(lines2); ++k) {
        bool inRange = false;
        proc.step(184, [&] { inRange = j <= lastIndex(lines1); });
        if (!inRange) continue;
        proc.step(
            186, [&] { FindWordDifferencesInLine(rtb2, lines1[j], rtb4, pos2, lines2[k].size()); });
        proc.step(188, [&] { pos2 = pos2 + lines2[k].size() + 2; });
        bool moveOn = false;
        proc.step(190, [&] { moveOn = rtb1.text().size() >= pos1 + lines1[j].size() + 2; });
        if (moveOn) {
            proc.step(192, [&] { pos1 = pos1 + lines1[j].size() + 2; });
            proc.step(194, [&] { j = j + 1; });
        }
    }
    proc.step(198, [&] { window.setPointer(PointerShape::Default); });
    proc.step(200, [&] { window.ComparisonDone = true; });
    proc.step(202, [&] { ShowRTF(window); });
    proc.step(204, [&] { window.BusyFlag = false; });
}

}  // namespace corvella::testing::Literal

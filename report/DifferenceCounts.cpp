// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/DifferenceCounts.h"

namespace corvella::DifferenceCounts {

namespace {

qsizetype wordsOf(const std::vector<Difference>& differences) {
    qsizetype words = 0;
    for (const Difference& difference : differences) words += difference.wordCount;
    return words;
}

const Count* find(const std::vector<Count>& counts, const QString& key) {
    for (const Count& count : counts)
        if (count.key == key) return &count;
    return nullptr;
}

}  // namespace

std::vector<Count> Of(const Comparison& comparison) {
    std::vector<Count> counts;
    for (const Side number : kBothSides) {
        const QString file = QStringLiteral("file%1.").arg(NumberOf(number));
        const ComparedSide& side = comparison.side(number);
        const qsizetype listed = qsizetype(side.differences.size());
        switch (comparison.method) {
            case Method::Lines:
                counts.push_back({file + QStringLiteral("lines"), listed, QStringLiteral("lines")});
                break;
            case Method::Words:
                counts.push_back({file + QStringLiteral("words"), listed, QStringLiteral("words")});
                break;
            case Method::IgnoringLayout:
                counts.push_back({file + QStringLiteral("runs"), listed, QStringLiteral("runs")});
                counts.push_back({file + QStringLiteral("words"), wordsOf(side.differences),
                                  QStringLiteral("words")});
                break;
        }
    }
    if (comparison.method == Method::IgnoringLayout) {
        // Both places of a move are one run, and reordered words are as many in both files.
        const ComparedSide& first = comparison.side(Side::One);
        counts.push_back(
            {QStringLiteral("moved.runs"), qsizetype(first.moved.size()), QStringLiteral("runs")});
        counts.push_back(
            {QStringLiteral("reordered.words"), wordsOf(first.reordered), QStringLiteral("words")});
    }
    return counts;
}

QString Phrase(const Count& count) {
    QString unit = count.unit;
    if (count.value == 1) unit.chop(1);
    return QStringLiteral("%1 %2").arg(count.value).arg(unit);
}

QString Sentence(const std::vector<Count>& counts) {
    QStringList parts;
    for (int number = 1; number <= 2; ++number) {
        const QString file = QStringLiteral("file%1").arg(number);
        const Count* runs = find(counts, file + QStringLiteral(".runs"));
        const Count* words = find(counts, file + QStringLiteral(".words"));
        const Count* lines = find(counts, file + QStringLiteral(".lines"));
        if (runs && words)
            parts << file + u' ' + Phrase(*runs) + QStringLiteral(" of ") + Phrase(*words);
        else if (const Count* only = lines ? lines : words)
            parts << file + u' ' + Phrase(*only);
    }
    if (const Count* moved = find(counts, QStringLiteral("moved.runs")))
        parts << Phrase(*moved) + QStringLiteral(" moved");
    if (const Count* reordered = find(counts, QStringLiteral("reordered.words")))
        parts << Phrase(*reordered) + QStringLiteral(" reordered");
    return parts.join(QStringLiteral(", "));
}

}  // namespace corvella::DifferenceCounts

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

// Both places of a move are one run; reordered words and words of another typography are as many
// in both files, and so are the words the options paired.
void appendSetAside(const Comparison& comparison, std::vector<Count>& counts) {
    const QString words = QStringLiteral("words");
    const ComparedSide& first = comparison.side(Side::One);
    counts.push_back(
        {QStringLiteral("moved.runs"), qsizetype(first.moved.size()), QStringLiteral("runs")});
    counts.push_back({QStringLiteral("reordered.words"), wordsOf(first.reordered), words});
    const LayoutCompare::Options& options = comparison.options;
    if (!options.exactTypography)
        counts.push_back({QStringLiteral("typography.words"), wordsOf(first.typography), words});
    if (options.ignoreCase)
        counts.push_back(
            {QStringLiteral("ignoredCase.words"), comparison.ignored.letterCase, words});
    if (options.ignorePunctuation)
        counts.push_back(
            {QStringLiteral("ignoredPunctuation.words"), comparison.ignored.punctuation, words});
    if (options.ignoreNumbers)
        counts.push_back(
            {QStringLiteral("ignoredNumbers.words"), comparison.ignored.numbers, words});
}

// How the sentence names a figure set aside: "typography: 12 words", "case ignored: 3 words".
const struct {
    const char* key;
    const char* name;
} kSetAside[] = {{"typography.words", "typography"},
                 {"ignoredCase.words", "case ignored"},
                 {"ignoredPunctuation.words", "punctuation ignored"},
                 {"ignoredNumbers.words", "numbers ignored"}};

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
    if (comparison.method == Method::IgnoringLayout) appendSetAside(comparison, counts);
    return counts;
}

std::vector<std::pair<QString, Count>> SetAside(const std::vector<Count>& counts) {
    std::vector<std::pair<QString, Count>> named;
    for (const auto& setAside : kSetAside)
        if (const Count* count = find(counts, QLatin1String(setAside.key)))
            named.push_back({QLatin1String(setAside.name), *count});
    return named;
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
    for (const auto& [name, count] : SetAside(counts))
        parts << name + QStringLiteral(": ") + Phrase(count);
    return parts.join(QStringLiteral(", "));
}

}  // namespace corvella::DifferenceCounts

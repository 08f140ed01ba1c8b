// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "annotate/Markings.h"

#include <QStringList>

#include "diff/OtherSide.h"
#include "diff/TextPlaces.h"

namespace corvella::Markings {

namespace {

// A note quotes at most this much of the other file.
constexpr qsizetype kQuotedCharacters = 300;

QString Quoted(QString words) {
    if (words.size() > kQuotedCharacters) words = words.left(kQuotedCharacters) + u'\u2026';
    return u'\u201c' + words + u'\u201d';
}

// The words that stand at `place` in the other text: those of the differences there when the
// comparison read the text as words, else the text itself, its breaks and pages as spaces.
QString WordsAt(const Comparison& comparison, Side other, QStringView text, TextRange place) {
    const ComparedSide& side = comparison.side(other);
    if (!side.differenceWords.empty()) {
        QStringList words;
        for (const size_t index : OtherSide::Meeting(side.differences, place))
            if (index < side.differenceWords.size()) words << side.differenceWords[index];
        if (!words.isEmpty()) return words.join(u' ');
    }
    QString raw = text.mid(place.start, place.length).toString();
    raw.replace(u'\f', u' ');
    return raw.simplified();
}

class NoteWriter {
public:
    NoteWriter(const Comparison& comparison, Side side, const Files& files)
        : comparison_(comparison),
          other_(Other(side)),
          otherName_(files.names[other_]),
          otherText_(files.texts[other_]),
          otherPlaces_(otherText_) {}

    QString note(const DifferenceStyles::Style& style, const Difference& difference) const {
        if (!difference.placed())
            return QStringLiteral("%1: not in %2.").arg(style.name, otherName_);
        const TextPlaces::Place place = otherPlaces_.of(difference.other);
        const QString where = QStringLiteral("page %1, line %2").arg(place.page).arg(place.line);
        if (style.otherSide == DifferenceStyles::OtherSide::Place)
            return QStringLiteral("%1: %2 has it on %3.").arg(style.name, otherName_, where);
        if (difference.other.length == 0)
            return QStringLiteral("%1: not in %2, where it would stand on %3.")
                .arg(style.name, otherName_, where);
        return QStringLiteral("%1: %2 has %3 (%4).")
            .arg(style.name, otherName_,
                 Quoted(WordsAt(comparison_, other_, otherText_, difference.other)), where);
    }

private:
    const Comparison& comparison_;
    Side other_;
    QString otherName_;
    QStringView otherText_;
    TextPlaces::Locator otherPlaces_;
};

}  // namespace

bool ChangesAndMoves(Side, const Difference& difference) {
    return difference.kind != DifferenceKind::Reordered;
}

std::vector<Marking> Of(const Comparison& comparison, Side side, const Files& files,
                        const Filter& filter) {
    const ComparedSide& compared = comparison.side(side);
    const NoteWriter notes(comparison, side, files);
    std::vector<Marking> markings;
    for (const std::vector<Difference>* list :
         {&compared.differences, &compared.moved, &compared.reordered}) {
        for (const Difference& difference : *list) {
            if (filter && !filter(side, difference)) continue;
            const DifferenceStyles::Style& style = DifferenceStyles::Of(difference.kind);
            markings.push_back(
                {&style, compared.marksOf(difference), notes.note(style, difference)});
        }
    }
    return markings;
}

}  // namespace corvella::Markings

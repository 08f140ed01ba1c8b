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
          otherPages_(files.pageNumbers[other_]),
          otherPlaces_(otherText_) {}

    // `otherWords`: the same words as the other file writes them, when it has them.
    QString note(const DifferenceStyles::Style& style, const Difference& difference,
                 const QString* otherWords) const {
        if (!difference.placed())
            return QStringLiteral("%1: not in %2.").arg(style.name, otherName_);
        const TextPlaces::Place place = otherPlaces_.of(difference.other);
        const QString where = QStringLiteral("page %1, line %2")
                                  .arg(DocumentPage(otherPages_, place.page))
                                  .arg(place.line);
        if (style.otherSide == DifferenceStyles::OtherSide::Writing && otherWords)
            return QStringLiteral("%1: %2 writes %3 (%4).")
                .arg(style.name, otherName_, Quoted(*otherWords), where);
        if (style.otherSide != DifferenceStyles::OtherSide::Replacement)
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
    const std::vector<int>& otherPages_;
    TextPlaces::Locator otherPlaces_;
};

bool OnlySpaceBetween(QStringView text, const TextRange& before, const TextRange& after) {
    for (qsizetype position = before.start + before.length; position < after.start; ++position)
        if (!text[position].isSpace()) return false;
    return true;
}

// The run of differences [first, end) as one: from the first's start to the last's end, in the
// other text from the first to the end of the last placed counterpart.
Difference Joined(const std::vector<Difference>& list, size_t first, size_t end) {
    if (end == first + 1) return list[first];
    Difference joined = list[first];
    const Difference& last = list[end - 1];
    joined.span.length = last.span.start + last.span.length - joined.span.start;
    const std::vector<Difference> run(list.begin() + qsizetype(first),
                                      list.begin() + qsizetype(end));
    joined.other = OtherSide::Of(run, joined.span).value_or(TextRange{-1, 0});
    return joined;
}

}  // namespace

int DocumentPage(const std::vector<int>& pageNumbers, int page) {
    return page >= 1 && size_t(page) <= pageNumbers.size() ? pageNumbers[size_t(page - 1)] : page;
}

bool ChangesAndMoves(Side, const Difference& difference) {
    return difference.kind != DifferenceKind::Reordered;
}

std::vector<Marking> Of(const Comparison& comparison, Side side, const Files& files,
                        const Filter& filter) {
    const ComparedSide& compared = comparison.side(side);
    const QStringView text = files.texts[side];
    const ComparedSide& other = comparison.side(Other(side));
    const NoteWriter notes(comparison, side, files);
    std::vector<Marking> markings;
    // Each list with the other file's writing of its runs, where it differs from this one's.
    const std::pair<const std::vector<Difference>*, const std::vector<QString>*> lists[] = {
        {&compared.differences, nullptr},
        {&compared.moved, nullptr},
        {&compared.reordered, nullptr},
        {&compared.typography, &other.typographyWords}};
    for (const auto& [list, otherWords] : lists) {
        // Differences that only white space parts are one run, one marking: a changed passage
        // of the line or word comparison is one highlight with one note. A move, a reorder or a
        // change of typography stays on its own, paired with its own other place.
        const bool joins = list == &compared.differences;
        size_t first = 0;
        while (first < list->size()) {
            const Difference& start = (*list)[first];
            size_t end = first + 1;
            if (filter && !filter(side, start)) {
                first = end;
                continue;
            }
            while (joins && end < list->size() && (*list)[end].kind == start.kind &&
                   (!filter || filter(side, (*list)[end])) &&
                   OnlySpaceBetween(text, (*list)[end - 1].span, (*list)[end].span))
                ++end;
            const DifferenceStyles::Style& style = DifferenceStyles::Of(start.kind);
            Marking marking{&style, {}, {}};
            for (size_t index = first; index < end; ++index) {
                const std::vector<TextRange> marks = compared.marksOf((*list)[index]);
                marking.ranges.insert(marking.ranges.end(), marks.begin(), marks.end());
            }
            const QString* written =
                otherWords && first < otherWords->size() ? &(*otherWords)[first] : nullptr;
            marking.note = notes.note(style, Joined(*list, first, end), written);
            markings.push_back(std::move(marking));
            first = end;
        }
    }
    return markings;
}

}  // namespace corvella::Markings

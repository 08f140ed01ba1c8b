// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/ChangeList.h"

#include <QStringList>
#include <algorithm>
#include <limits>

namespace corvella {
namespace {

// Of a side, const or not.
template <typename Compared>
auto ListOf(Compared& side, ChangeSource source) -> decltype((side.differences)) {
    switch (source) {
        case ChangeSource::Moved:
            return side.moved;
        case ChangeSource::Reordered:
            return side.reordered;
        case ChangeSource::Typography:
            return side.typography;
        case ChangeSource::Differences:
            break;
    }
    return side.differences;
}

template <typename Compared>
auto WordsOf(Compared& side, ChangeSource source) -> decltype((side.differenceWords)) {
    switch (source) {
        case ChangeSource::Moved:
            return side.movedWords;
        case ChangeSource::Reordered:
            return side.reorderedWords;
        case ChangeSource::Typography:
            return side.typographyWords;
        case ChangeSource::Differences:
            break;
    }
    return side.differenceWords;
}

// A row with where it stands in each text, to put the rows in reading order.
struct Placed {
    qsizetype at1;
    qsizetype at2;
    Change change;
};

// The deletions of lines or words, each paired with the insertion that stands in its stretch of
// text 2 between the same equal content, the k-th with the k-th.
void PairStretches(const std::vector<Difference>& deleted, const std::vector<Difference>& inserted,
                   const std::function<TextRange(size_t)>& placeOf, std::vector<Placed>& rows,
                   std::vector<bool>& paired) {
    for (size_t i = 0; i < deleted.size();) {
        const TextRange place = placeOf(i);
        size_t end = i + 1;
        while (end < deleted.size() && placeOf(end).start == place.start &&
               placeOf(end).length == place.length)
            ++end;
        size_t k = size_t(
            std::lower_bound(inserted.begin(), inserted.end(), place.start,
                             [](const Difference& d, qsizetype at) { return d.span.start < at; }) -
            inserted.begin());
        for (; i < end; ++i) {
            Change change{ChangeKind::Deleted, ChangeSource::Differences, {qint32(i), -1}};
            qsizetype at2 = place.start;
            if (place.start >= 0 && place.length > 0 && k < inserted.size() &&
                inserted[k].span.start < place.start + place.length) {
                change = {ChangeKind::Replaced, ChangeSource::Differences, {qint32(i), qint32(k)}};
                at2 = inserted[k].span.start;
                paired[k++] = true;
            }
            rows.push_back({deleted[i].span.start, at2, change});
        }
    }
}

}  // namespace

ChangeList::ChangeList(std::shared_ptr<const Comparison> comparison,
                       const BySide<std::vector<TextRange>>* others)
    : comparison_(std::move(comparison)) {
    const Comparison& c = *comparison_;
    const std::vector<Difference>& deleted = c.side(Side::One).differences;
    const std::vector<Difference>& inserted = c.side(Side::Two).differences;
    auto placeOf = [&](Side side, size_t index) {
        if (others && index < (*others)[side].size()) return (*others)[side][index];
        return c.side(side).differences[index].other;
    };
    std::vector<Placed> rows;
    rows.reserve(deleted.size() + inserted.size() + c.side(Side::One).moved.size());
    std::vector<bool> paired(inserted.size(), false);
    if (c.method == Method::IgnoringLayout) {
        for (size_t i = 0; i < deleted.size(); ++i) {
            const qint32 j = deleted[i].opposite;
            if (j >= 0 && size_t(j) < inserted.size()) {
                paired[size_t(j)] = true;
                rows.push_back({deleted[i].span.start,
                                inserted[size_t(j)].span.start,
                                {ChangeKind::Replaced, ChangeSource::Differences, {qint32(i), j}}});
            } else {
                rows.push_back({deleted[i].span.start,
                                placeOf(Side::One, i).start,
                                {ChangeKind::Deleted, ChangeSource::Differences, {qint32(i), -1}}});
            }
        }
    } else {
        PairStretches(
            deleted, inserted, [&](size_t i) { return placeOf(Side::One, i); }, rows, paired);
    }
    // An insertion not placed in text 1 comes after the rows that are.
    for (size_t j = 0; j < inserted.size(); ++j) {
        if (paired[j]) continue;
        const qsizetype at1 = placeOf(Side::Two, j).start;
        rows.push_back({at1 >= 0 ? at1 : std::numeric_limits<qsizetype>::max(),
                        inserted[j].span.start,
                        {ChangeKind::Inserted, ChangeSource::Differences, {-1, qint32(j)}}});
    }
    const std::pair<ChangeSource, ChangeKind> bothSides[] = {
        {ChangeSource::Moved, ChangeKind::Moved},
        {ChangeSource::Reordered, ChangeKind::Moved},
        {ChangeSource::Typography, ChangeKind::Typography}};
    for (const auto& [source, kind] : bothSides) {
        const std::vector<Difference>& in1 = ListOf(c.side(Side::One), source);
        const std::vector<Difference>& in2 = ListOf(c.side(Side::Two), source);
        for (size_t i = 0; i < std::min(in1.size(), in2.size()); ++i)
            rows.push_back(
                {in1[i].span.start, in2[i].span.start, {kind, source, {qint32(i), qint32(i)}}});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Placed& a, const Placed& b) {
        return a.at1 != b.at1 ? a.at1 < b.at1 : a.at2 < b.at2;
    });
    rows_.reserve(rows.size());
    for (const Placed& row : rows) {
        rows_.push_back(row.change);
        ++counts_[size_t(row.change.kind)];
    }
}

const Difference* ChangeList::on(const Change& change, Side side) const {
    if (!change.has(side)) return nullptr;
    const std::vector<Difference>& list = ListOf(comparison_->side(side), change.source);
    const size_t index = size_t(change.index[side]);
    return index < list.size() ? &list[index] : nullptr;
}

QString ChangeList::words(const Change& change, Side side, QStringView text) const {
    return wordsView(change, side, text).toString();
}

QStringView ChangeList::wordsView(const Change& change, Side side, QStringView text) const {
    const Difference* difference = on(change, side);
    if (!difference) return {};
    const std::vector<QString>& words = WordsOf(comparison_->side(side), change.source);
    const size_t index = size_t(change.index[side]);
    if (index < words.size()) return words[index];
    return text.mid(difference->span.start, difference->span.length);
}

QString ChangeList::KindName(ChangeKind kind) {
    switch (kind) {
        case ChangeKind::Replaced:
            return QStringLiteral("replaced");
        case ChangeKind::Inserted:
            return QStringLiteral("inserted");
        case ChangeKind::Deleted:
            return QStringLiteral("deleted");
        case ChangeKind::Moved:
            return QStringLiteral("moved");
        case ChangeKind::Typography:
            break;
    }
    return QStringLiteral("typography");
}

ChangeKinds ChangeList::DefaultKinds() {
    ChangeKinds kinds;
    kinds.fill(true);
    kinds[size_t(ChangeKind::Typography)] = false;
    return kinds;
}

QString ChangeList::Heading(const ChangeCounts& counts, qsizetype hidden) {
    qsizetype total = 0;
    QStringList parts;
    for (size_t kind = 0; kind < kChangeKinds; ++kind) {
        total += counts[kind];
        if (counts[kind] > 0)
            parts << QStringLiteral("%1 %2").arg(counts[kind]).arg(KindName(ChangeKind(kind)));
    }
    QString heading =
        total == 1 ? QStringLiteral("1 change") : QStringLiteral("%1 changes").arg(total);
    if (!parts.isEmpty()) heading += QStringLiteral(": ") + parts.join(QStringLiteral(", "));
    if (hidden > 0) heading += QStringLiteral(", %1 hidden by the filters").arg(hidden);
    return heading;
}

std::vector<qint32> ShownRows(const ChangeList& list, const ChangeKinds& kinds, const QString& text,
                              Qt::CaseSensitivity caseSensitivity, const BySide<QStringView>& texts,
                              const std::function<bool()>& keepGoing) {
    std::vector<qint32> shown;
    for (size_t row = 0; row < list.size(); ++row) {
        if ((row & 0xfff) == 0 && keepGoing && !keepGoing()) break;
        const Change& change = list[row];
        if (!kinds[size_t(change.kind)]) continue;
        if (!text.isEmpty() &&
            !list.wordsView(change, Side::One, texts[Side::One]).contains(text, caseSensitivity) &&
            !list.wordsView(change, Side::Two, texts[Side::Two]).contains(text, caseSensitivity))
            continue;
        shown.push_back(qint32(row));
    }
    return shown;
}

namespace {

// Copies the entries of one list of a side that `keep` names (ascending), with their words.
void CopyKept(const ComparedSide& from, ComparedSide& to, ChangeSource source,
              const std::vector<qint32>& keep) {
    const std::vector<Difference>& list = ListOf(from, source);
    const std::vector<QString>& words = WordsOf(from, source);
    std::vector<Difference>& toList = ListOf(to, source);
    std::vector<QString>& toWords = WordsOf(to, source);
    for (qint32 index : keep) {
        toList.push_back(list[size_t(index)]);
        if (size_t(index) < words.size()) toWords.push_back(words[size_t(index)]);
    }
}

}  // namespace

Comparison KeepRows(const ChangeList& list, const std::vector<qint32>& rows) {
    const Comparison& from = list.comparison();
    Comparison kept;
    kept.method = from.method;
    kept.options = from.options;
    kept.ignored = from.ignored;
    constexpr size_t kSources = 4;
    BySide<std::array<std::vector<qint32>, kSources>> keep;
    for (qint32 row : rows) {
        const Change& change = list[size_t(row)];
        for (Side side : {Side::One, Side::Two})
            if (change.has(side)) keep[side][size_t(change.source)].push_back(change.index[side]);
    }
    BySide<std::vector<qint32>> newIndex;
    for (Side side : {Side::One, Side::Two}) {
        const ComparedSide& in = from.side(side);
        ComparedSide& out = kept.side(side);
        out.marks = in.marks;
        for (size_t source = 0; source < kSources; ++source) {
            std::vector<qint32>& indexes = keep[side][source];
            std::sort(indexes.begin(), indexes.end());
            indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
            CopyKept(in, out, ChangeSource(source), indexes);
        }
        const std::vector<qint32>& differences = keep[side][size_t(ChangeSource::Differences)];
        newIndex[side].assign(in.differences.size(), -1);
        for (size_t i = 0; i < differences.size(); ++i)
            newIndex[side][size_t(differences[i])] = qint32(i);
        if (!in.changeStarts.empty()) {
            out.changeStarts.push_back(0);
            for (qint32 index : differences) {
                out.changes.insert(out.changes.end(),
                                   in.changes.begin() + in.changeStarts[size_t(index)],
                                   in.changes.begin() + in.changeStarts[size_t(index) + 1]);
                out.changeStarts.push_back(qint32(out.changes.size()));
            }
        }
    }
    for (Side side : {Side::One, Side::Two})
        for (Difference& difference : kept.side(side).differences)
            if (difference.opposite >= 0)
                difference.opposite = newIndex[Other(side)][size_t(difference.opposite)];
    return kept;
}

}  // namespace corvella

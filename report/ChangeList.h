// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "core/Side.h"
#include "diff/Comparison.h"

// A comparison as a list of changes, one row each, the way a reviewer reads it: a deletion and
// the insertion that stands opposite it are one replaced row, a move is one row whatever the
// sides. The review window lists these rows, walks and filters them, and exports the rows it shows.
namespace corvella {

enum class ChangeKind : quint8 { Replaced, Inserted, Deleted, Moved, Typography };
inline constexpr size_t kChangeKinds = 5;

// Which of a side's lists a row's differences stand in.
enum class ChangeSource : quint8 { Differences, Moved, Reordered, Typography };

struct Change {
    ChangeKind kind = ChangeKind::Deleted;
    ChangeSource source = ChangeSource::Differences;
    // Its difference in that list of each side; -1 where the side has none (an insertion has none
    // in file 1, a deletion none in file 2).
    BySide<qint32> index{-1, -1};

    bool has(Side side) const { return index[side] >= 0; }
};

using ChangeCounts = std::array<qsizetype, kChangeKinds>;
// Which kinds are shown, by ChangeKind.
using ChangeKinds = std::array<bool, kChangeKinds>;

class ChangeList {
public:
    ChangeList() = default;
    // Rows in reading order of file 1; an insertion stands where its text would stand in file 1.
    // `others`, when given, are the differences' places in the other text (the window's link
    // makes them for lines and words), else their own (the layout-free comparison places its
    // own). A deletion and an insertion replace each other when they stand in each other's
    // place: the layout-free run opposite, or for lines and words the k-th deletion and the k-th
    // insertion of one stretch between equal content.
    explicit ChangeList(std::shared_ptr<const Comparison> comparison,
                        const BySide<std::vector<TextRange>>* others = nullptr);

    size_t size() const { return rows_.size(); }
    const Change& operator[](size_t row) const { return rows_[row]; }
    const std::vector<Change>& rows() const { return rows_; }
    const Comparison& comparison() const { return *comparison_; }
    const ChangeCounts& counts() const { return counts_; }

    // The row's difference on the side, nullptr where it has none.
    const Difference* on(const Change& change, Side side) const;
    // Its words on the side as the reports write them (a layout-free run's words, else the text
    // at its span); empty where it has none.
    QString words(const Change& change, Side side, QStringView text) const;
    // The same, valid while the comparison and the text are.
    QStringView wordsView(const Change& change, Side side, QStringView text) const;

    // "inserted", "deleted", "replaced", "moved", "typography".
    static QString KindName(ChangeKind kind);
    // The kinds shown unless the user asks: all but typography.
    static ChangeKinds DefaultKinds();
    // "412 changes: 120 replaced, 80 inserted, 200 deleted, 12 moved", kinds with none left out,
    // and ", 30 hidden by the filters" when `hidden` is not 0.
    static QString Heading(const ChangeCounts& counts, qsizetype hidden);

private:
    std::shared_ptr<const Comparison> comparison_;
    std::vector<Change> rows_;
    ChangeCounts counts_{};
};

// The rows shown: those of a shown kind whose words on either side contain `text` (all, when it
// is empty). `texts` are the compared texts. `keepGoing` is asked now and then; when it returns
// false the filtering stops and returns what it has.
std::vector<qint32> ShownRows(const ChangeList& list, const ChangeKinds& kinds, const QString& text,
                              Qt::CaseSensitivity caseSensitivity, const BySide<QStringView>& texts,
                              const std::function<bool()>& keepGoing = {});

// The comparison holding only the differences of the rows given (ascending), for a report of
// what a filtered list shows.
Comparison KeepRows(const ChangeList& list, const std::vector<qint32>& rows);

}  // namespace corvella

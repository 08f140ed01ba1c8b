// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>
#include <array>
#include <vector>

#include "core/TextRange.h"
#include "diff/Alignment.h"

// The rows of the web-page report: both texts cut at the same places of their content, so that
// a row holds a stretch of text 1 and the stretch of text 2 that corresponds to it, whatever the
// pages and lines of each.
namespace corvella::ReportRows {

// A row of unchanged text stops at the first line start both texts share once it holds this many
// lines, and at the next line start of either once it holds kMaxLines: about a screenful.
inline constexpr qsizetype kMinLines = 10;
inline constexpr qsizetype kMaxLines = 24;
// A change of at least this many words on one side stands in rows of its own, beside what
// replaced it or an empty cell; smaller ones stay inside the lines around them.
inline constexpr qsizetype kOwnRowWords = 12;

struct Row {
    std::array<TextRange, 2> in;  // of text 1 and text 2; together the rows cover both texts
    bool changed = false;         // a change's own row
};

// What the rows must respect on one side: its text, its marks (ascending, not overlapping), which
// a row never cuts when it can help it, and the starts of moved runs, each in a row of its own.
struct Side {
    QStringView text;
    const std::vector<TextRange>* marks = nullptr;
    std::vector<qsizetype> ownRowAt;
};

std::vector<Row> Cut(const Alignment& alignment, const Side& side1, const Side& side2);

}  // namespace corvella::ReportRows

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace corvella::LayoutCompare {

// What the layout-free comparison sets aside besides the layout. The defaults fold what only the
// typesetting changes (see WordFolding) and ignore nothing else.
struct Options {
    bool exactTypography = false;    // words that differ only in typography are differences
    bool ignoreCase = false;         // "Word" is "word"
    bool ignoreNumbers = false;      // a number pairs with any number
    bool ignorePunctuation = false;  // "(word," is "word"
};

}  // namespace corvella::LayoutCompare

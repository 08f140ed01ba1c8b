// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace corvella::LayoutCompare {

// What the layout-free comparison sets aside besides the layout. The defaults fold what only the
// typesetting changes (see WordFolding) and ignore nothing else.
struct Options {
    bool exactTypography = false;  // words that differ only in typography are differences
    bool ignoreCase = false;       // "Word" is "word"
    // Numbers are set aside: a number pairs with any number, and one only a text has is none of
    // its differences (page references of a contents or an index).
    bool ignoreNumbers = false;
    bool ignorePunctuation = false;  // "(word," is "word"
    // The changed characters of each replaced run are looked for (see CharacterChanges).
    bool refineChanges = true;
};

}  // namespace corvella::LayoutCompare

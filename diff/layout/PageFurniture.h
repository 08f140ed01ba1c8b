// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>
#include <vector>

// Page furniture: the running headers, footers and page numbers a typesetting adds to its pages.
// Two typesettings of one text differ mostly there, so the layout-free comparison leaves it out.
namespace corvella::PageFurniture {

// One line of a page, without its break.
struct PageLine {
    QStringView text;
    int page = 0;
};

// How far from a page's edges furniture is looked for, and how near another page must repeat it.
struct Rule {
    int edgeLines = 2;   // the first and the last this many non-empty lines of a page
    int pageWindow = 2;  // a repeat counts on the pages this far before or after
    int repeats = 1;     // on at least this many other pages
};

// Marks the furniture among `lines` (in page order). Among the edge lines of a page:
// - a line that is only a page number (arabic or roman, or "12/37"), and the lines between it
//   and the edge (a running header above a page number, "7.3. OBJECTS" over "179");
// - a line with a letter whose text, every digit run read as one, also stands at the same edge of
//   a page nearby ("Page 3 of 40", "CHAPTER 7. CLASSES"). The letter and the nearness keep code
//   lines such as "}" or "int main()" that happen to open a few pages in the text.
std::vector<bool> Find(const std::vector<PageLine>& lines, const Rule& rule = {});

// The line's text with white space trimmed and every run of digits replaced by one '#'.
QString DigitBlind(QStringView line);

// The trimmed line is a page number: only digits, a page of so many ("12/37", "12 / 37"), or only
// roman-numeral letters of one case.
bool IsPageNumber(QStringView line);

}  // namespace corvella::PageFurniture

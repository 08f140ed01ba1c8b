// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMarginsF>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <vector>

// A book with a known text for the layout-free comparison: chapters of headings and paragraphs,
// typeset into real PDF files with a running header that names the chapter, a footer
// "Page i of N" and words hyphenated at line ends; and a second edition with known edits.
namespace corvella::testing::LayoutBook {

struct Block {
    bool heading = false;
    QStringList words;
    std::vector<qsizetype> origin;  // per word: its index in the first edition's words, or -1
};

struct Chapter {
    QString title;  // the running header
    std::vector<Block> blocks;
};

using Book = std::vector<Chapter>;

// A book of `chapters` chapters with pseudo-words of two to five syllables, the same for the same
// seed. Its words carry their own indexes as origin.
Book Generate(int chapters, unsigned seed);

// The pane's text of a PDF, extracted as the window extracts it.
QString PaneText(const QString& pdf);

// The book's words in reading order: headings and paragraphs, no furniture.
QStringList Words(const Book& book);
std::vector<qsizetype> Origins(const Book& book);

// The second edition: words replaced, sentences inserted, paragraphs deleted, one paragraph moved
// to another chapter. The new words are of a vocabulary the first edition does not use.
struct Edition {
    Book book;
    int edits = 0;
    std::vector<qsizetype> movedOrigins;  // the first edition's indexes of the moved paragraph
};
Edition Edit(const Book& book, unsigned seed);

struct Geometry {
    QPageSize::PageSizeId pageSize;
    QMarginsF marginsMm;
    qreal fontPoints;
};

// Writes the book as a PDF; returns the number of pages, 0 on failure.
int Typeset(const Book& book, const Geometry& geometry, const QString& path);

}  // namespace corvella::testing::LayoutBook

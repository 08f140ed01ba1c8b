// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/LayoutBook.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <algorithm>
#include <random>

#include "core/MemoryDocument.h"

namespace corvella::testing::LayoutBook {

namespace {

// Every syllable has a vowel that is no roman numeral, so no word reads as a page number.
const QStringList kSyllables = {"ba", "ke", "lo", "mu", "ra", "te", "so", "nu", "pa", "de",
                                "go", "fu", "ha", "ve", "to", "ru", "sa", "ne", "po", "lu"};
// The edits' own syllables: their words never occur in the first edition.
const QStringList kEditSyllables = {"zy", "qo", "xa", "jy"};

QString pseudoWord(std::mt19937& random, const QStringList& syllables, int minSyllables,
                   int maxSyllables) {
    const int count = std::uniform_int_distribution<int>(minSyllables, maxSyllables)(random);
    QString word;
    for (int i = 0; i < count; ++i)
        word += syllables[std::uniform_int_distribution<int>(0, int(syllables.size()) - 1)(random)];
    return word;
}

QString capitalized(QString word) {
    word[0] = word[0].toUpper();
    return word;
}

// Sentences of 6 to 16 words, capitalised and ended with a full stop.
QStringList sentence(std::mt19937& random, const QStringList& syllables) {
    QStringList words;
    const int count = std::uniform_int_distribution<int>(6, 16)(random);
    for (int i = 0; i < count; ++i) words << pseudoWord(random, syllables, 1, 5);
    words.front() = capitalized(words.front());
    words.back() += u'.';
    return words;
}

struct Line {
    QString text;
    bool heading = false;
};

// Lines of `width` points: words that do not fit go to the next line, a long word is split with a
// hyphen when its first part still fits.
std::vector<Line> wrap(const QStringList& words, const QFontMetricsF& metrics, qreal width,
                       bool heading) {
    std::vector<Line> lines;
    QString line;
    auto fits = [&](const QString& text) { return metrics.horizontalAdvance(text) <= width; };
    for (QString word : words) {
        const QString joined = line.isEmpty() ? word : line + u' ' + word;
        if (fits(joined)) {
            line = joined;
            continue;
        }
        const bool letters =
            std::all_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); });
        if (!heading && letters && word.size() >= 7) {
            for (qsizetype cut = word.size() - 3; cut >= 3; --cut) {
                const QString first = line + u' ' + word.left(cut) + u'-';
                if (fits(first)) {
                    lines.push_back({first, heading});
                    line.clear();
                    word = word.mid(cut);
                    break;
                }
            }
        }
        if (!line.isEmpty()) lines.push_back({line, heading});
        line = word;
    }
    if (!line.isEmpty()) lines.push_back({line, heading});
    return lines;
}

struct Page {
    QString header;
    std::vector<Line> lines;
};

}  // namespace

Book Generate(int chapters, unsigned seed) {
    std::mt19937 random(seed);
    Book book;
    qsizetype index = 0;
    auto add = [&](Chapter& chapter, bool heading, QStringList words) {
        Block block{heading, std::move(words), {}};
        for (qsizetype i = 0; i < block.words.size(); ++i) block.origin.push_back(index++);
        chapter.blocks.push_back(std::move(block));
    };
    for (int c = 1; c <= chapters; ++c) {
        Chapter chapter;
        const QString title = capitalized(pseudoWord(random, kSyllables, 2, 4)) + u' ' +
                              pseudoWord(random, kSyllables, 2, 4);
        chapter.title = QStringLiteral("Chapter %1: %2").arg(c).arg(title);
        add(chapter, true, (QString::number(c) + u' ' + title).split(u' '));
        for (int section = 1; section <= 4; ++section) {
            add(chapter, true,
                {QStringLiteral("%1.%2").arg(c).arg(section),
                 capitalized(pseudoWord(random, kSyllables, 2, 4)),
                 pseudoWord(random, kSyllables, 2, 4)});
            for (int paragraph = 0; paragraph < 9; ++paragraph) {
                QStringList words;
                const int sentences = std::uniform_int_distribution<int>(3, 7)(random);
                for (int s = 0; s < sentences; ++s) words << sentence(random, kSyllables);
                add(chapter, false, words);
            }
        }
        book.push_back(std::move(chapter));
    }
    return book;
}

QStringList Words(const Book& book) {
    QStringList words;
    for (const Chapter& chapter : book)
        for (const Block& block : chapter.blocks) words << block.words;
    return words;
}

std::vector<qsizetype> Origins(const Book& book) {
    std::vector<qsizetype> origins;
    for (const Chapter& chapter : book)
        for (const Block& block : chapter.blocks)
            origins.insert(origins.end(), block.origin.begin(), block.origin.end());
    return origins;
}

Edition Edit(const Book& book, unsigned seed) {
    std::mt19937 random(seed);
    Edition edition{book, 0, {}};
    Book& edited = edition.book;
    auto pick = [&](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
    // A paragraph of chapter c, never a heading; the first chapter's are left alone for the move.
    auto paragraph = [&](int c) -> Block& {
        std::vector<Block>& blocks = edited[size_t(c)].blocks;
        for (;;) {
            Block& block = blocks[size_t(pick(int(blocks.size())))];
            if (!block.heading) return block;
        }
    };
    const int chapters = int(edited.size());

    // The first paragraph of the last chapter moves to the end of the second chapter.
    std::vector<Block>& last = edited.back().blocks;
    const auto moving =
        std::find_if(last.begin(), last.end(), [](const Block& b) { return !b.heading; });
    edition.movedOrigins = moving->origin;
    edited[1].blocks.push_back(*moving);
    last.erase(moving);
    ++edition.edits;

    for (int i = 0; i < 3; ++i) {  // paragraphs deleted
        std::vector<Block>& blocks = edited[size_t(2 + 2 * i)].blocks;
        const auto gone = std::find_if(blocks.begin() + 6, blocks.end(),
                                       [](const Block& b) { return !b.heading; });
        blocks.erase(gone);
        ++edition.edits;
    }
    for (int i = 0; i < 12; ++i) {  // sentences inserted
        Block& block = paragraph(1 + pick(chapters - 2));
        const QStringList inserted = sentence(random, kEditSyllables);
        // At a sentence's end, so that the word before keeps its full stop.
        std::vector<qsizetype> ends;
        for (qsizetype w = 0; w + 1 < block.words.size(); ++w)
            if (block.words[w].endsWith(u'.') && block.origin[size_t(w)] >= 0)
                ends.push_back(w + 1);
        if (ends.empty()) continue;
        const qsizetype at = ends[size_t(pick(int(ends.size())))];
        for (qsizetype k = 0; k < inserted.size(); ++k) {
            block.words.insert(at + k, inserted[k]);
            block.origin.insert(block.origin.begin() + at + k, -1);
        }
        ++edition.edits;
    }
    while (edition.edits < 56) {  // words replaced, one apart from any other edit
        Block& block = paragraph(1 + pick(chapters - 2));
        const qsizetype w = 1 + pick(int(block.words.size()) - 2);
        if (block.origin[size_t(w - 1)] < 0 || block.origin[size_t(w)] < 0 ||
            block.origin[size_t(w + 1)] < 0)
            continue;
        const bool stop = block.words[w].endsWith(u'.');
        block.words[w] = pseudoWord(random, kEditSyllables, 2, 4) + (stop ? "." : "");
        block.origin[size_t(w)] = -1;
        ++edition.edits;
    }
    return edition;
}

int Typeset(const Book& book, const Geometry& geometry, const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(geometry.pageSize));
    writer.setPageMargins(geometry.marginsMm, QPageLayout::Millimeter);
    QFont body(QStringLiteral("DejaVu Serif"));
    body.setPointSizeF(geometry.fontPoints);
    QFont heading = body;
    heading.setBold(true);
    heading.setPointSizeF(geometry.fontPoints * 1.3);
    const QFontMetricsF bodyMetrics(body, &writer);
    const QFontMetricsF headingMetrics(heading, &writer);
    const QRectF area = writer.pageLayout().paintRect(QPageLayout::Point);
    const qreal width = area.width();
    const qreal lineHeight = bodyMetrics.lineSpacing() * 1.2;
    // Room for the header above the body and the footer below it, each set apart as a printed
    // book sets it, so that the extractor does not read it as a line of the body's paragraph.
    const int linesPerPage = int((area.height() - 7 * lineHeight) / lineHeight);

    std::vector<Page> pages;
    for (const Chapter& chapter : book) {
        pages.push_back({chapter.title, {}});  // every chapter opens a page
        for (const Block& block : chapter.blocks) {
            const QFontMetricsF& metrics = block.heading ? headingMetrics : bodyMetrics;
            for (Line& line : wrap(block.words, metrics, width, block.heading)) {
                if (int(pages.back().lines.size()) >= linesPerPage)
                    pages.push_back({chapter.title, {}});
                pages.back().lines.push_back(std::move(line));
            }
        }
    }

    QPainter painter;
    if (!painter.begin(&writer)) return 0;
    const int total = int(pages.size());
    for (int p = 0; p < total; ++p) {
        if (p > 0) writer.newPage();
        painter.setFont(body);
        painter.drawText(QPointF(0, lineHeight), pages[size_t(p)].header);
        qreal y = 3.5 * lineHeight;
        for (const Line& line : pages[size_t(p)].lines) {
            painter.setFont(line.heading ? heading : body);
            painter.drawText(QPointF(0, y), line.text);
            y += lineHeight;
        }
        painter.setFont(body);
        const QString footer = QStringLiteral("Page %1 of %2").arg(p + 1).arg(total);
        painter.drawText(QPointF((width - bodyMetrics.horizontalAdvance(footer)) / 2,
                                 area.height() - lineHeight / 4),
                         footer);
    }
    return painter.end() ? total : 0;
}

QString PaneText(const QString& pdf) {
    const QString text = pdf + QStringLiteral(".txt");
    EXPECT_EQ(QProcess::execute("pdftotext", {"-enc", "UTF-8", pdf, text}), 0);
    MemoryDocument pane;
    pane.loadFromFile(text);
    return pane.text();
}

}  // namespace corvella::testing::LayoutBook

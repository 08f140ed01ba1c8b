// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/layout/PageFurniture.h"

#include <QHash>
#include <QString>
#include <algorithm>

namespace corvella::PageFurniture {

namespace {

bool isRoman(QStringView word, QStringView letters) {
    return std::all_of(word.begin(), word.end(), [&](QChar c) { return letters.contains(c); });
}

// The non-empty lines at the top and at the bottom of each page, as indexes into the lines.
struct Edges {
    std::vector<std::vector<size_t>> top;
    std::vector<std::vector<size_t>> bottom;
};

Edges edgesOf(const std::vector<PageLine>& lines, int edgeLines) {
    const int pages = lines.empty() ? 0 : lines.back().page + 1;
    std::vector<std::vector<size_t>> nonEmpty(size_t(std::max(pages, 0)));
    for (size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].text.trimmed().isEmpty()) nonEmpty[size_t(lines[i].page)].push_back(i);
    Edges edges{std::vector<std::vector<size_t>>(nonEmpty.size()),
                std::vector<std::vector<size_t>>(nonEmpty.size())};
    for (size_t page = 0; page < nonEmpty.size(); ++page) {
        const std::vector<size_t>& all = nonEmpty[page];
        const size_t count = std::min(all.size(), size_t(edgeLines));
        edges.top[page].assign(all.begin(), all.begin() + qsizetype(count));
        // A short page's lines are top lines only, so that no line is counted twice.
        const size_t fromBottom = std::min(count, all.size() - count);
        edges.bottom[page].assign(all.end() - qsizetype(fromBottom), all.end());
    }
    return edges;
}

bool hasLetter(QStringView line) {
    return std::any_of(line.begin(), line.end(), [](QChar c) { return c.isLetter(); });
}

// Marks the lines of one edge (each page's lines there, counted from the edge) that are page
// numbers, lie between the edge and a page number, or have letters and repeat at that edge of a
// page within the window.
void markEdge(const std::vector<PageLine>& lines, const std::vector<std::vector<size_t>>& edge,
              const Rule& rule, std::vector<bool>& furniture) {
    QHash<QString, std::vector<int>> pagesOf;  // digit-blind text -> pages, ascending
    std::vector<std::vector<QString>> keys(edge.size());
    for (size_t page = 0; page < edge.size(); ++page) {
        for (size_t line : edge[page]) {
            keys[page].push_back(DigitBlind(lines[line].text));
            std::vector<int>& pages = pagesOf[keys[page].back()];
            if (pages.empty() || pages.back() != int(page)) pages.push_back(int(page));
        }
    }
    for (size_t page = 0; page < edge.size(); ++page) {
        const std::vector<size_t>& own = edge[page];
        for (size_t k = 0; k < own.size(); ++k) {
            const QStringView text = lines[own[k]].text;
            if (IsPageNumber(text)) {
                for (size_t toEdge = 0; toEdge <= k; ++toEdge) furniture[own[toEdge]] = true;
                continue;
            }
            if (!hasLetter(text)) continue;
            const std::vector<int>& pages = pagesOf.value(keys[page][k]);
            const auto near =
                std::lower_bound(pages.begin(), pages.end(), int(page) - rule.pageWindow);
            const auto past =
                std::upper_bound(pages.begin(), pages.end(), int(page) + rule.pageWindow);
            if (past - near - 1 >= rule.repeats) furniture[own[k]] = true;
        }
    }
}

}  // namespace

QString DigitBlind(QStringView line) {
    QString blind;
    const QStringView trimmed = line.trimmed();
    blind.reserve(trimmed.size());
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        if (!trimmed[i].isDigit()) {
            blind += trimmed[i];
        } else if (i == 0 || !trimmed[i - 1].isDigit()) {
            blind += u'#';
        }
    }
    return blind;
}

bool IsPageNumber(QStringView line) {
    const QStringView word = line.trimmed();
    if (word.isEmpty()) return false;
    auto digits = [](QStringView text) {
        return !text.isEmpty() &&
               std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    };
    if (digits(word)) return true;
    // "12/37" and "12 / 37": a page of so many, as a browser prints it.
    const qsizetype slash = word.indexOf(u'/');
    if (slash > 0 && digits(word.left(slash).trimmed()) && digits(word.mid(slash + 1).trimmed()))
        return true;
    return isRoman(word, u"ivxlcdm") || isRoman(word, u"IVXLCDM");
}

std::vector<bool> Find(const std::vector<PageLine>& lines, const Rule& rule) {
    std::vector<bool> furniture(lines.size(), false);
    const Edges edges = edgesOf(lines, rule.edgeLines);
    markEdge(lines, edges.top, rule, furniture);
    // The bottom edge counted from the page's last line.
    std::vector<std::vector<size_t>> bottom = edges.bottom;
    for (std::vector<size_t>& page : bottom) std::reverse(page.begin(), page.end());
    markEdge(lines, bottom, rule, furniture);
    return furniture;
}

}  // namespace corvella::PageFurniture

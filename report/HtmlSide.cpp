// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/HtmlSide.h"

#include <algorithm>

#include "core/PaneText.h"
#include "diff/TextPlaces.h"

namespace corvella::HtmlSide {

namespace {

// A mark of form feeds only ends the page its last one ends.
TextRange placed(const TextRange& range, QStringView text) {
    const qsizetype start = std::clamp<qsizetype>(range.start, 0, text.size());
    const qsizetype end = std::clamp<qsizetype>(range.start + range.length, start, text.size());
    qsizetype feeds = 0;
    while (start + feeds < end && text[start + feeds] == PaneText::kFormFeed) ++feeds;
    if (feeds > 0 && start + feeds == end) return {end - 1, 0};
    return {start + feeds, end - start - feeds};
}

// Long lines wrap in a column half the page wide.
constexpr qsizetype kColumnChars = 70;

}  // namespace

void AppendEscaped(QString& out, QChar c) {
    switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case u'\'':
            out += QLatin1String("&#39;");
            break;
        default:
            out += c;
    }
}

std::vector<TextRange> Placed(const std::vector<TextRange>& marks, QStringView text) {
    std::vector<TextRange> out;
    out.reserve(marks.size());
    for (const TextRange& range : marks) out.push_back(placed(range, text));
    std::sort(out.begin(), out.end(), [](const TextRange& a, const TextRange& b) {
        return a.start != b.start ? a.start < b.start : a.length < b.length;
    });
    qsizetype end = 0;
    for (TextRange& mark : out) {
        const qsizetype markEnd = std::max(mark.start + mark.length, end);
        mark.start = std::max(mark.start, end);
        mark.length = markEnd - mark.start;
        end = markEnd;
    }
    return out;
}

Writer::Writer(int number, QStringView text, std::vector<TextRange> marks, std::vector<Link> links)
    : number_(number),
      text_(text),
      marks_(std::move(marks)),
      links_(std::move(links)),
      pages_(TextPlaces::PageCount(text)) {}

// The margin's number where a cell starts within a page: the page and line.
void Writer::number(QString& out) const {
    out += QStringLiteral("<span class=\"n\" data-n=\"%1:%2\"></span>").arg(page_).arg(line_);
}

// A page's number at its first line, with the id the summary links to. Pages without a line
// (form feeds one after the other) keep their ids there, and the line shows the last number.
void Writer::pageStarts(QString& out) {
    for (int page : pendingPages_)
        out +=
            QStringLiteral("<span class=\"n pn\" id=\"f%1p%2\" data-n=\"%3\"></span>")
                .arg(number_)
                .arg(page)
                .arg(page == pendingPages_.back() ? QStringLiteral("p. %1").arg(page) : QString());
    pendingPages_.clear();
}

Cell Writer::cell(const TextRange& range) {
    Cell cell;
    QString& out = cell.html;
    const qsizetype from = std::clamp<qsizetype>(range.start, 0, text_.size());
    const qsizetype to = std::clamp<qsizetype>(range.start + range.length, from, text_.size());
    if (from < to && !(from == 0 && pages_ > 0) && text_[from] != PaneText::kFormFeed) number(out);
    // A mark cut by the cell's start goes on in this cell.
    if (openUntil_ > from) out += QLatin1String("<mark>");
    qsizetype lineChars = 0;
    auto eventsAt = [&](qsizetype position) {
        if (openUntil_ == position) {
            out += QLatin1String("</mark>");
            openUntil_ = -1;
        }
        for (; nextLink_ < links_.size() && links_[nextLink_].at <= position; ++nextLink_) {
            const Link& link = links_[nextLink_];
            out += QStringLiteral("<a class=\"mv\" id=\"%1\" href=\"#%2\" data-n=\"%3\"></a>")
                       .arg(link.id, link.target, link.label);
        }
        for (; nextMark_ < marks_.size() && marks_[nextMark_].start <= position; ++nextMark_) {
            markedPages_.insert(page_);
            if (marks_[nextMark_].length == 0) {
                out += QLatin1String("<mark></mark>");
            } else {
                out += QLatin1String("<mark>");
                openUntil_ = position + marks_[nextMark_].length;
            }
        }
    };
    for (qsizetype i = from; i < to; ++i) {
        const QChar c = text_[i];
        if (i == 0 && pages_ > 0) pendingPages_.push_back(1);
        if (c == PaneText::kFormFeed) {
            // The text after the last form feed is a page only when it holds more than breaks.
            if (page_ < pages_) {
                ++page_;
                line_ = 1;
                pendingPages_.push_back(page_);
            }
        } else {
            pageStarts(out);
        }
        eventsAt(i);
        if (c == PaneText::kLF) {
            out += u'\n';
            ++line_;
            cell.height += 1 + lineChars / kColumnChars;
            lineChars = 0;
        } else if (c != PaneText::kCR && c != PaneText::kFormFeed) {
            AppendEscaped(out, c);
            ++lineChars;
        }
    }
    pageStarts(out);
    if (to == text_.size()) eventsAt(to);
    if (lineChars > 0) cell.height += 1 + lineChars / kColumnChars;
    // A mark that ends with the cell closes here, one that goes on is opened again in the next.
    if (openUntil_ >= 0) out += QLatin1String("</mark>");
    if (openUntil_ == to) openUntil_ = -1;
    return cell;
}

}  // namespace corvella::HtmlSide

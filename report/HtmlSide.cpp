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

// Changed characters within a mark, marked more strongly.
constexpr char kChangeOpen[] = "<span class=\"ch\">";

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

Writer::Writer(int number, const DifferenceReport::File& file, std::vector<TextRange> marks,
               std::vector<Link> links, std::vector<TextRange> changes)
    : number_(number),
      file_(file),
      text_(file.text),
      marks_(std::move(marks)),
      links_(std::move(links)),
      changes_(std::move(changes)),
      pages_(TextPlaces::PageCount(file.text)) {}

int Writer::shownPage(int page) const { return file_.pageNumber(page); }

// The margin's number where a cell starts within a page: the page and line.
void Writer::number(QString& out) const {
    out += QStringLiteral("<span class=\"n\" data-n=\"%1:%2\"></span>")
               .arg(shownPage(page_))
               .arg(line_);
}

// A page's number at its first line, with the id the summary links to. Pages without a line
// (form feeds one after the other) keep their ids there, and the line shows the last number.
void Writer::pageStarts(QString& out) {
    for (int page : pendingPages_)
        out += QStringLiteral("<span class=\"n pn\" id=\"f%1p%2\" data-n=\"%3\"></span>")
                   .arg(number_)
                   .arg(shownPage(page))
                   .arg(page == pendingPages_.back() ? QStringLiteral("p. %1").arg(shownPage(page))
                                                     : QString());
    pendingPages_.clear();
}

// What opens or closes at a position: the mark and the changed characters that end there, the
// links, the marks and the changed characters that start there. Changed characters lie within a
// mark.
void Writer::eventsAt(QString& out, qsizetype position) {
    if (changeUntil_ == position) {
        out += QLatin1String("</span>");
        changeUntil_ = -1;
    }
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
        markedPages_.insert(shownPage(page_));
        if (marks_[nextMark_].length == 0) {
            out += QLatin1String("<mark></mark>");
        } else {
            out += QLatin1String("<mark>");
            openUntil_ = position + marks_[nextMark_].length;
        }
    }
    for (; nextChange_ < changes_.size() && changes_[nextChange_].start <= position;
         ++nextChange_) {
        if (changes_[nextChange_].length == 0 || changeUntil_ >= 0) continue;
        out += QLatin1String(kChangeOpen);
        changeUntil_ = position + changes_[nextChange_].length;
    }
}

Cell Writer::cell(const TextRange& range) {
    Cell cell;
    QString& out = cell.html;
    const qsizetype from = std::clamp<qsizetype>(range.start, 0, text_.size());
    const qsizetype to = std::clamp<qsizetype>(range.start + range.length, from, text_.size());
    if (from < to && !(from == 0 && pages_ > 0) && text_[from] != PaneText::kFormFeed) number(out);
    // A mark (and changed characters within it) cut by the cell's start goes on in this cell.
    if (openUntil_ > from) out += QLatin1String("<mark>");
    if (changeUntil_ > from) out += QLatin1String(kChangeOpen);
    qsizetype lineChars = 0;
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
        eventsAt(out, i);
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
    if (to == text_.size()) eventsAt(out, to);
    if (lineChars > 0) cell.height += 1 + lineChars / kColumnChars;
    // What ends with the cell closes here, what goes on is opened again in the next.
    if (changeUntil_ >= 0) out += QLatin1String("</span>");
    if (changeUntil_ == to) changeUntil_ = -1;
    if (openUntil_ >= 0) out += QLatin1String("</mark>");
    if (openUntil_ == to) openUntil_ = -1;
    return cell;
}

}  // namespace corvella::HtmlSide

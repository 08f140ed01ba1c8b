// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/PageSelection.h"

#include <QStringList>

namespace corvella::PageSelection {

namespace {

// A page number from 1, or 0 when the text is none.
int pageNumber(QStringView text) {
    const QStringView digits = text.trimmed();
    for (QChar c : digits)
        if (c < u'0' || c > u'9') return 0;
    bool ok = false;
    const int page = digits.toInt(&ok);
    return ok ? page : 0;
}

Parsed problem(const QString& why) { return {{}, why}; }

// One span of the list, or a problem naming it.
Parsed span(QStringView part) {
    const QString shown = part.trimmed().toString();
    if (shown.isEmpty()) return problem(QStringLiteral("an empty range between commas"));
    const qsizetype dash = part.indexOf(u'-');
    const int first = pageNumber(dash < 0 ? part : part.left(dash));
    const QStringView rest = dash < 0 ? QStringView() : part.mid(dash + 1);
    const bool open = dash >= 0 && rest.trimmed().isEmpty();
    const int last = dash < 0 ? first : open ? kLastPage : pageNumber(rest);
    if (first == 0 || (!open && last == 0))
        return problem(QStringLiteral("'%1' is not a page range (write 1-12,15 or 5-)").arg(shown));
    if (!open && last < first) return problem(QStringLiteral("'%1' runs backwards").arg(shown));
    return {{{first, last}}, {}};
}

}  // namespace

Parsed Parse(QStringView text) {
    if (text.trimmed().isEmpty()) return problem(QStringLiteral("no pages given"));
    Parsed parsed;
    for (QStringView part : text.split(u',')) {
        const Parsed one = span(part);
        if (!one.ok()) return one;
        const Span next = one.spans.front();
        if (!parsed.spans.empty()) {
            const Span before = parsed.spans.back();
            if (before.last == kLastPage || next.first <= before.last)
                return problem(QStringLiteral("'%1' does not come after page %2")
                                   .arg(part.trimmed().toString())
                                   .arg(before.last == kLastPage ? before.first : before.last));
        }
        parsed.spans.push_back(next);
    }
    return parsed;
}

Parsed Resolve(QStringView text, int pages) {
    Parsed parsed = Parse(text);
    for (Span& span : parsed.spans) {
        if (span.last == kLastPage) span.last = std::max(span.first, pages);
        if (span.last > pages)
            return problem(QStringLiteral("page %1 is past the last page").arg(span.last));
    }
    return parsed;
}

std::vector<int> PageNumbers(const std::vector<Span>& spans) {
    std::vector<int> numbers;
    for (const Span& span : spans)
        for (int page = span.first; page <= span.last && page > 0; ++page) numbers.push_back(page);
    return numbers;
}

QString Text(const std::vector<Span>& spans) {
    QStringList parts;
    for (const Span& span : spans)
        parts << (span.first == span.last ? QString::number(span.first)
                  : span.last == kLastPage
                      ? QStringLiteral("%1-").arg(span.first)
                      : QStringLiteral("%1-%2").arg(span.first).arg(span.last));
    return parts.join(u',');
}

}  // namespace corvella::PageSelection

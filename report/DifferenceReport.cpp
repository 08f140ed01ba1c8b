// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/DifferenceReport.h"

namespace corvella::DifferenceReport {

int File::pageNumber(int page) const {
    if (pageNumbers.empty() || page < 1) return page;
    // A page after the last one chosen (the text's closing break) follows it.
    const size_t last = pageNumbers.size();
    return size_t(page) <= last ? pageNumbers[size_t(page) - 1]
                                : pageNumbers.back() + page - int(last);
}

QString MethodName(Method method) {
    switch (method) {
        case Method::Words:
            return QStringLiteral("words");
        case Method::IgnoringLayout:
            return QStringLiteral("ignore-layout");
        case Method::Lines:
            break;
    }
    return QStringLiteral("lines");
}

QString Hidden::sentence() const {
    if (!any()) return {};
    QStringList what;
    if (!kinds.isEmpty()) what << kinds.join(QStringLiteral(", "));
    if (!containing.isEmpty())
        what << QStringLiteral("shown only those containing \u201c%1\u201d").arg(containing);
    return QStringLiteral("Hidden by the filters: %1 (%2).")
        .arg(changes == 1 ? QStringLiteral("1 change") : QStringLiteral("%1 changes").arg(changes),
             what.join(QStringLiteral("; ")));
}

QString TextOf(const Comparison& comparison, Side side, size_t index, const File& file) {
    const ComparedSide& compared = comparison.side(side);
    if (index < compared.differenceWords.size()) return compared.differenceWords[index];
    const TextRange& span = compared.differences[index].span;
    return file.text.mid(span.start, span.length).toString();
}

}  // namespace corvella::DifferenceReport

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/DifferenceReport.h"

namespace corvella::DifferenceReport {

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

QString TextOf(const Comparison& comparison, Side side, size_t index, const File& file) {
    const ComparedSide& compared = comparison.side(side);
    if (index < compared.differenceWords.size()) return compared.differenceWords[index];
    const TextRange& span = compared.differences[index].span;
    return file.text.mid(span.start, span.length).toString();
}

}  // namespace corvella::DifferenceReport

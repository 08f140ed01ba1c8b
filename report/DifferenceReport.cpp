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

QString TextOf(const Comparison& comparison, int number, size_t index, const File& file) {
    const ComparedSide& side = comparison.side(number);
    if (index < side.differenceWords.size()) return side.differenceWords[index];
    const TextRange& span = side.differences[index].span;
    return file.text.mid(span.start, span.length).toString();
}

}  // namespace corvella::DifferenceReport

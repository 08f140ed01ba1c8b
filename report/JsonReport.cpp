// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/JsonReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "diff/TextPlaces.h"
#include "report/DifferenceCounts.h"

namespace corvella::JsonReport {

namespace {

using DifferenceReport::File;

QJsonObject place(qint32 page, qint32 line) {
    return {{QStringLiteral("page"), page}, {QStringLiteral("line"), line}};
}

QJsonObject place(const Difference& difference) { return place(difference.page, difference.line); }

QJsonObject fileObject(const Comparison& comparison, Side side, const File& file,
                       const File& otherFile) {
    const bool withOffsets = comparison.method == Method::Words;
    const bool withOther = comparison.method == Method::IgnoringLayout;
    const TextPlaces::Locator locator(file.text);
    const TextPlaces::Locator otherLocator(otherFile.text);
    const std::vector<Difference>& differences = comparison.side(side).differences;
    QJsonArray list;
    for (size_t i = 0; i < differences.size(); ++i) {
        const Difference& difference = differences[i];
        QJsonObject item{
            {QStringLiteral("page"), difference.page},
            {QStringLiteral("line"), difference.line},
            {QStringLiteral("text"), DifferenceReport::TextOf(comparison, side, i, file)}};
        if (withOffsets)
            item.insert(QStringLiteral("offset"), double(locator.of(difference.span).offset));
        if (withOther && difference.placed()) {
            const TextPlaces::Place other = otherLocator.of(difference.other);
            item.insert(QStringLiteral("other"), place(other.page, other.line));
        }
        list.append(item);
    }
    return {{QStringLiteral("name"), file.name},
            {QStringLiteral("pages"), TextPlaces::PageCount(file.text)},
            {QStringLiteral("differences"), list}};
}

// Moved runs or reordered words, each with its words in the first file's order and both places.
QJsonArray pairs(const std::vector<Difference>& in1, const std::vector<QString>& words,
                 const std::vector<Difference>& in2) {
    QJsonArray list;
    for (size_t i = 0; i < in1.size(); ++i)
        list.append(QJsonObject{{QStringLiteral("text"), words[i]},
                                {QStringLiteral("file1"), place(in1[i])},
                                {QStringLiteral("file2"), place(in2[i])}});
    return list;
}

// {"file1": {"lines": 3}, ...}: each figure under its group, named by its unit.
QJsonObject counts(const Comparison& comparison) {
    QJsonObject groups;
    for (const DifferenceCounts::Count& count : DifferenceCounts::Of(comparison)) {
        const QString group = count.key.section(u'.', 0, 0);
        QJsonObject figures = groups[group].toObject();
        figures.insert(count.key.section(u'.', 1), double(count.value));
        groups.insert(group, figures);
    }
    return groups;
}

}  // namespace

QByteArray Write(const Comparison& comparison, const File& first, const File& second) {
    QJsonObject report{{QStringLiteral("method"), DifferenceReport::MethodName(comparison.method)},
                       {QStringLiteral("counts"), counts(comparison)},
                       {QStringLiteral("file1"), fileObject(comparison, Side::One, first, second)},
                       {QStringLiteral("file2"), fileObject(comparison, Side::Two, second, first)}};
    if (comparison.method == Method::IgnoringLayout) {
        const ComparedSide& in1 = comparison.side(Side::One);
        const ComparedSide& in2 = comparison.side(Side::Two);
        report.insert(QStringLiteral("moved"), pairs(in1.moved, in1.movedWords, in2.moved));
        report.insert(QStringLiteral("reordered"),
                      pairs(in1.reordered, in1.reorderedWords, in2.reordered));
    }
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

}  // namespace corvella::JsonReport

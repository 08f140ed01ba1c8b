#include "compare/LayoutReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvella::LayoutReport {

namespace {

std::vector<DifferenceReport::Entry> entries(const std::vector<LayoutRun>& runs) {
    std::vector<DifferenceReport::Entry> list;
    list.reserve(runs.size());
    for (const LayoutRun& run : runs) list.push_back({run.page, run.line, 0, run.words});
    return list;
}

QJsonObject place(const LayoutRun& run) {
    return {{QStringLiteral("page"), run.page}, {QStringLiteral("line"), run.line}};
}

}  // namespace

Sides MakeSides(const LayoutComparison& comparison, DifferenceReport::Side first,
                DifferenceReport::Side second) {
    first.entries = entries(comparison.only1);
    second.entries = entries(comparison.only2);
    return {std::move(first), std::move(second)};
}

QByteArray FormatJson(const LayoutComparison& comparison, const Sides& sides) {
    QJsonObject report = DifferenceReport::JsonReport(QStringLiteral("ignore-layout"), sides.first,
                                                      sides.second, false);
    QJsonArray moved;
    for (const LayoutMove& move : comparison.moved)
        moved.append(QJsonObject{{QStringLiteral("text"), move.from.words},
                                 {QStringLiteral("file1"), place(move.from)},
                                 {QStringLiteral("file2"), place(move.to)}});
    report.insert(QStringLiteral("moved"), moved);
    QJsonArray reordered;
    for (const LayoutReorder& reorder : comparison.reordered)
        reordered.append(QJsonObject{{QStringLiteral("text"), reorder.in1.words},
                                     {QStringLiteral("file1"), place(reorder.in1)},
                                     {QStringLiteral("file2"), place(reorder.in2)}});
    report.insert(QStringLiteral("reordered"), reordered);
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

}  // namespace corvella::LayoutReport

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// index.json, and the totals every form of the index gives.
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

#include "batch/Index.h"

namespace corvella::Batch::Index {

Totals Totals::Of(const std::vector<PairResult>& results) {
    Totals totals;
    for (const PairResult& result : results) {
        ++totals.pairs;
        ++totals.byStatus[int(result.status)];
        if (result.resumed) ++totals.resumed;
        totals.seconds += result.seconds;
    }
    return totals;
}

QString Totals::sentence() const {
    QString text = QStringLiteral("%1 pair%2").arg(pairs).arg(pairs == 1 ? "" : "s");
    QStringList parts;
    const char* names[] = {"same", "differing", "added", "removed", "in trouble"};
    for (int status = 0; status < 5; ++status)
        if (byStatus[status] > 0)
            parts
                << QStringLiteral("%1 %2").arg(byStatus[status]).arg(QLatin1String(names[status]));
    if (!parts.isEmpty()) text += QStringLiteral(": ") + parts.join(QStringLiteral(", "));
    if (resumed > 0) text += QStringLiteral("; %1 from an earlier run").arg(resumed);
    return text;
}

QString ReportLink(const QString& output, const char* suffix) {
    return QString::fromLatin1(
        QUrl::toPercentEncoding(QStringLiteral("reports/") + output + QLatin1String(suffix), "/"));
}

QByteArray Json(const std::vector<PairResult>& results) {
    const Totals totals = Totals::Of(results);
    QJsonObject sums{{QStringLiteral("pairs"), double(totals.pairs)},
                     {QStringLiteral("resumed"), double(totals.resumed)}};
    for (int status = 0; status < 5; ++status)
        sums.insert(StatusName(Status(status)), double(totals.byStatus[status]));
    QJsonArray pairs;
    for (const PairResult& result : results) {
        QJsonObject entry = result.toJson(false);
        if (result.compared()) {
            entry.insert(QStringLiteral("json"), ReportLink(result.output, ".json"));
            entry.insert(QStringLiteral("html"), ReportLink(result.output, ".html"));
        }
        pairs.append(entry);
    }
    return QJsonDocument(
               QJsonObject{{QStringLiteral("totals"), sums}, {QStringLiteral("pairs"), pairs}})
        .toJson(QJsonDocument::Indented);
}

}  // namespace corvella::Batch::Index

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/ReviewExport.h"

#include <QFile>
#include <QSaveFile>

#include "annotate/AnnotatedExport.h"
#include "report/HtmlReport.h"
#include "report/JsonReport.h"

namespace corvella::ReviewExport {

DifferenceReport::File ReportedFile(const Reviewed& reviewed, Side side) {
    const QString name = reviewed.names[side].isEmpty()
                             ? QStringLiteral("File %1").arg(TextPaneOf(side))
                             : reviewed.names[side];
    return {name, reviewed.texts[side], reviewed.pageNumbers[side], reviewed.pageRanges[side]};
}

QString WriteReport(const Comparison& shown, const Reviewed& reviewed,
                    const DifferenceReport::Hidden& hidden, const QString& path) {
    const DifferenceReport::File first = ReportedFile(reviewed, Side::One);
    const DifferenceReport::File second = ReportedFile(reviewed, Side::Two);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) {
        JsonReport::Write(shown, first, second, file, hidden);
    } else {
        const Alignment alignment =
            reviewed.alignment ? *reviewed.alignment
                               : AlignWords(reviewed.texts[Side::One], reviewed.texts[Side::Two]);
        file.write(HtmlReport::Write(shown, alignment, first, second, hidden));
    }
    return file.commit() ? QString() : file.errorString();
}

QString WriteAnnotated(const Comparison& shown, const Reviewed& reviewed, const QString& folder) {
    BySide<AnnotatedExport::Source> sources;
    QStringList lines;
    for (const Side side : kBothSides) {
        if (reviewed.names[side].isEmpty())
            return QStringLiteral(
                       "The PDF of file %1 is not known: load it by its name to mark "
                       "its copy.")
                .arg(TextPaneOf(side));
        sources[side] = {reviewed.names[side], reviewed.texts[side], QString(),
                         reviewed.pageNumbers[side]};
    }
    const BySide<AnnotatedExport::Outcome> outcomes =
        AnnotatedExport::Write(shown, sources, folder);
    for (const Side side : kBothSides) {
        const AnnotatedExport::Outcome& outcome = outcomes[side];
        lines
            << (outcome.problem.isEmpty()
                    ? QStringLiteral("File %1 marked in %2").arg(TextPaneOf(side)).arg(outcome.copy)
                    : QStringLiteral("File %1 not marked: %2")
                          .arg(TextPaneOf(side))
                          .arg(outcome.problem));
    }
    return lines.join(u'\n');
}

}  // namespace corvella::ReviewExport

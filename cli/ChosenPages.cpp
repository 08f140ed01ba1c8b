// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/ChosenPages.h"

#include <QFileInfo>

#include "core/PaneText.h"
#include "diff/TextPlaces.h"
#include "extract/PDFToText.h"

namespace corvella::DiffProgram {

bool TakePagesOption(const QStringList& arguments, qsizetype& i, std::optional<QString>& pages1,
                     std::optional<QString>& pages2, QString& problem) {
    const QString& argument = arguments[i];
    const QString name = argument.section(u'=', 0, 0);
    if (name != QStringLiteral("--pages1") && name != QStringLiteral("--pages2")) return false;
    if (name == argument && ++i == arguments.size()) {
        problem = name + QStringLiteral(" needs a value: pages such as 1-12,15");
        return true;
    }
    (name.endsWith(u'1') ? pages1 : pages2) =
        name == argument ? arguments[i] : argument.mid(name.size() + 1);
    return true;
}

QString Resolve(ChosenPages& chosen, std::optional<int> pages) {
    if (!chosen.ranges) return {};
    const QString given = QStringLiteral("%1 '%2': ").arg(chosen.option, *chosen.ranges);
    if (!pages) return given + QStringLiteral("the file's page count cannot be read");
    const PageSelection::Parsed parsed = PageSelection::Resolve(*chosen.ranges, *pages);
    if (parsed.ok()) {
        chosen.spans = parsed.spans;
        return {};
    }
    return given + parsed.problem +
           QStringLiteral("; the file has %1 page%2").arg(*pages).arg(*pages == 1 ? "" : "s");
}

QString ResolveForPdfs(BySide<ChosenPages>& chosen, const BySide<QString>& files,
                       EventPump& events) {
    for (const Side side : kBothSides) {
        const QFileInfo info(files[side]);
        // A missing or unreadable file is told as such when it is loaded.
        const bool pdf = info.isFile() && info.isReadable() &&
                         info.suffix().compare(QStringLiteral("txt"), Qt::CaseInsensitive) != 0;
        if (!chosen[side].ranges || !pdf) continue;
        const QString problem =
            Resolve(chosen[side], RTB::DocumentInfoOf(files[side], events).pages);
        if (!problem.isEmpty()) return files[side] + QStringLiteral(": ") + problem;
    }
    return {};
}

QString KeepChosenPages(ChosenPages& chosen, PaneDocument& pane) {
    if (!chosen.ranges) return {};
    const QString text = pane.text();
    const QString problem = Resolve(chosen, TextPlaces::PageCount(text));
    if (problem.isEmpty()) pane.setText(KeepPages(text, chosen.spans));
    return problem;
}

DifferenceReport::File ReportedFile(const QString& name, QStringView text,
                                    const ChosenPages& chosen) {
    return {name, text, PageSelection::PageNumbers(chosen.spans),
            PageSelection::Text(chosen.spans)};
}

QString KeepPages(QStringView text, const std::vector<PageSelection::Span>& spans) {
    // Page n runs from the form feed ending page n - 1 up to its own.
    std::vector<qsizetype> starts{0};
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == PaneText::kFormFeed) starts.push_back(i + 1);
    auto page = [&](int number) {
        const size_t index = size_t(number - 1);
        const qsizetype end = index + 1 < starts.size() ? starts[index + 1] : text.size();
        return text.mid(starts[index], end - starts[index]);
    };
    QString kept;
    for (const PageSelection::Span& span : spans)
        for (int number = span.first; number <= span.last && size_t(number) <= starts.size();
             ++number)
            kept += page(number);
    // What follows the last form feed (the closing break) ends the text, as it ended the whole.
    const QStringView closing = text.mid(starts.back());
    if (!spans.empty() && size_t(spans.back().last) < starts.size() && closing.trimmed().isEmpty())
        kept += closing;
    return kept;
}

}  // namespace corvella::DiffProgram

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

#include "core/EventPump.h"
#include "core/PageSelection.h"
#include "core/PaneDocument.h"
#include "core/Side.h"
#include "report/DifferenceReport.h"

// --pages1 RANGES and --pages2 RANGES: the pages of each file that corvella-diff extracts and
// compares. Places keep the document's own page numbers.
namespace corvella::DiffProgram {

struct ChosenPages {
    QString option;                            // "--pages1" or "--pages2"
    std::optional<QString> ranges;             // as given; none for every page
    std::vector<PageSelection::Span> spans{};  // once resolved against the file's page count
};

// Takes `--pages1 RANGES`, `--pages1=RANGES` (or the same of --pages2) at arguments[i], moving i
// to its value. False when the argument is another; a missing value is a problem.
bool TakePagesOption(const QStringList& arguments, qsizetype& i, std::optional<QString>& pages1,
                     std::optional<QString>& pages2, QString& problem);

// Resolves the ranges for a file of `pages` pages (unknown when its page count cannot be read).
// Returns why they choose no pages, naming the option, the ranges and the file's page count
// ("--pages1 '1-20': page 20 is past the last page; the file has 12 pages"), or an empty text.
QString Resolve(ChosenPages& chosen, std::optional<int> pages);

// Resolve for each file that is a PDF with chosen pages, by the page count of its document
// information, before anything is extracted. The first problem after its file's name
// ("a.pdf: --pages1 ..."), or an empty text.
QString ResolveForPdfs(BySide<ChosenPages>& chosen, const BySide<QString>& files,
                       EventPump& events);

// Resolve for a text file loaded into `pane`, by its form feeds; keeps only the chosen pages there.
QString KeepChosenPages(ChosenPages& chosen, PaneDocument& pane);

// The file as the reports name it: its chosen pages keep their numbers.
DifferenceReport::File ReportedFile(const QString& name, QStringView text,
                                    const ChosenPages& chosen);

// The chosen pages of a text whose pages each end with a form feed, and its closing line break.
QString KeepPages(QStringView text, const std::vector<PageSelection::Span>& spans);

}  // namespace corvella::DiffProgram

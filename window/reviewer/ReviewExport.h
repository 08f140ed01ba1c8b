// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "diff/Comparison.h"
#include "report/DifferenceReport.h"
#include "window/reviewer/Reviewed.h"

// What the review window hands on of the changes it shows: the reports corvella-diff writes, and
// the PDFs with their differences marked, each of the comparison limited to the rows shown.
namespace corvella::ReviewExport {

// The file as the reports name it: its path as loaded ("File 1" when unknown), its text and the
// pages chosen.
DifferenceReport::File ReportedFile(const Reviewed& reviewed, Side side);

// Writes the web-page report, or the JSON one when the name ends in ".json", saying what the
// filters hid. Returns why it was not written, or an empty text.
QString WriteReport(const Comparison& shown, const Reviewed& reviewed,
                    const DifferenceReport::Hidden& hidden, const QString& path);

// Writes both annotated copies into the folder. Returns a line per copy: where it was written or
// why not.
QString WriteAnnotated(const Comparison& shown, const Reviewed& reviewed, const QString& folder);

}  // namespace corvella::ReviewExport

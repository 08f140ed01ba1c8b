// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIODevice>
#include <QString>

#include "diff/Alignment.h"
#include "report/DifferenceReport.h"

// One pair of a batch: the comparison writes its JSON report and its web page into the two files
// the batch names (--pair-reports JSON HTML), from one extraction of both PDFs.
namespace corvella::DiffProgram::PairReports {

// Writes both; when one cannot be written (a full disk, a folder gone), one line on `err` and
// false.
bool Write(const Comparison& comparison, const Alignment& alignment,
           const DifferenceReport::File& file1, const DifferenceReport::File& file2,
           const QString& json, const QString& html, QIODevice& err);

}  // namespace corvella::DiffProgram::PairReports

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIODevice>

#include "report/DifferenceReport.h"

namespace corvella::TextReport {

// "p12:l4 < text" for each difference of the first file, then "p3:l1 > text" for the second,
// one line each, written as it goes. A layout-free run adds where it stands in the other file:
// "p12:l4 < words  (p11:l30)". With `counts`, a last line "counts: file1 3 lines, file2 2 lines"
// (see DifferenceCounts::Sentence), which no difference's line can be mistaken for.
void Write(const Comparison& comparison, const DifferenceReport::File& first,
           const DifferenceReport::File& second, QIODevice& out, bool counts = false);

}  // namespace corvella::TextReport

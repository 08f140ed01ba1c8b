#pragma once

#include <QByteArray>

#include "compare/DifferenceReport.h"
#include "compare/LayoutComparison.h"

// The layout-free comparison's result written out as the other comparisons' differences are:
// one entry per run, at the page and line of its first word in its own file.
namespace corvella::LayoutReport {

struct Sides {
    DifferenceReport::Side first;
    DifferenceReport::Side second;
};

// The two files' sides (name and page count as given) with one entry per differing run.
Sides MakeSides(const LayoutComparison& comparison, DifferenceReport::Side first,
                DifferenceReport::Side second);

// The JSON report of method "ignore-layout", with the moved runs listed apart under "moved" and
// the reordered words of each stretch under "reordered": their words (in file 1's order) and
// their places in both files.
QByteArray FormatJson(const LayoutComparison& comparison, const Sides& sides);

}  // namespace corvella::LayoutReport

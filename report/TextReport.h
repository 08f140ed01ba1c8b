#pragma once

#include <QIODevice>

#include "report/DifferenceReport.h"

namespace corvella::TextReport {

// "p12:l4 < text" for each difference of the first file, then "p3:l1 > text" for the second,
// one line each, written as it goes.
void Write(const Comparison& comparison, const DifferenceReport::File& first,
           const DifferenceReport::File& second, QIODevice& out);

}  // namespace corvella::TextReport

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <vector>

#include "report/DifferenceReport.h"

// A comparison as one self-contained web page: both texts side by side, page by page, with the
// differences marked as the window marks them, a summary at the top and the keys n and p to walk
// the differences. Nothing in it is loaded from elsewhere.
namespace corvella::HtmlReport {

// The five characters that could end a text or an attribute, written as references.
QString Escape(QStringView text);

// The page of a comparison of the two files; each difference is marked at its marks.
QByteArray Write(const Comparison& comparison, const DifferenceReport::File& first,
                 const DifferenceReport::File& second);

}  // namespace corvella::HtmlReport

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "diff/Alignment.h"
#include "report/DifferenceReport.h"

// A comparison as one self-contained web page: a summary at the top, then both texts in the rows
// of one table, cut where their content corresponds (see ReportRows), so that the same passage
// stands at the same height on both sides however each is paged and wrapped. The differences are
// marked as the window marks them, moved runs link to their other place, and the keys n and p
// walk the marks. Nothing in it is loaded from elsewhere.
namespace corvella::HtmlReport {

// The five characters that could end a text or an attribute, written as references.
QString Escape(QStringView text);

// The page of a comparison of the two files; `alignment` pairs their equal content (AlignWords,
// or the layout-free comparison's own). What filters hid, if any, is said in the summary.
QByteArray Write(const Comparison& comparison, const Alignment& alignment,
                 const DifferenceReport::File& first, const DifferenceReport::File& second,
                 const DifferenceReport::Hidden& hidden = {});

}  // namespace corvella::HtmlReport

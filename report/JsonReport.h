// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

#include "report/DifferenceReport.h"

namespace corvella::JsonReport {

// One indented JSON object: the method, and per file its name, page count and differences
// ({page, line, text}, and for words the offset in the line). The layout-free comparison adds
// "moved" and "reordered": their words (in the first file's order) and their places in both.
QByteArray Write(const Comparison& comparison, const DifferenceReport::File& first,
                 const DifferenceReport::File& second);

}  // namespace corvella::JsonReport

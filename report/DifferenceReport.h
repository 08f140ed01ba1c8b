// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

#include "diff/Comparison.h"

// What every report of a comparison needs: the compared files and how a difference reads.
namespace corvella::DifferenceReport {

// A compared file: its name as given and its text as the panes hold it (CR LF breaks, a form
// feed ending each page), which the comparison's ranges point into.
struct File {
    QString name;
    QStringView text;
};

// "lines", "words" or "ignore-layout".
QString MethodName(Method method);

// The text of the side's difference `index`: the words of a layout-free run, else the text
// at its span in the file.
QString TextOf(const Comparison& comparison, Side side, size_t index, const File& file);

}  // namespace corvella::DifferenceReport

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "extract/SampleCommands.h"

#include <QStringList>

#include "core/ErrorReport.h"
#include "display/ShowRTF.h"

namespace corvella {

namespace {

void appendSample(MainWindow& window, const QString& location, int paneNumber,
                  const QStringList& lines) {
    Procedure proc(window.services().dialogs, location);
    PaneDocument& pane = window.pane(paneNumber);
    proc.step(100, [&] { window.ComparisonDone = false; });
    proc.step(102, [&] { ShowRTF(window); });
    for (const QString& line : lines)
        proc.step(104, [&] { pane.setText(pane.text() + line + QStringLiteral("\r")); });
    proc.step(106, [&] { pane.setText(pane.text() + QStringLiteral("\r")); });
}

}  // namespace

void PushButton8_Click(MainWindow& window) {
    appendSample(
        window, QStringLiteral("Form1.PushButton8_Click"), 1,
        {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
         QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7")});
}

void PushButton9_Click(MainWindow& window) {
    appendSample(
        window, QStringLiteral("Form1.PushButton9_Click"), 2,
        {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("x"),
         QStringLiteral("5"), QStringLiteral("x"), QStringLiteral("7")});
}

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <vector>

// What a drop of files onto the main window does, decided without the window.
namespace corvella::FileDrop {

struct Load {
    int pane;  // 1 or 2
    QString path;
};

// The loads a drop of these URLs makes: one local PDF goes into the pane of the half of the
// window it lands on (pane 1 on the left), two go into pane 1 and pane 2 in their order. Anything
// else is refused (no loads): other files, folders, unreadable or missing files, remote URLs,
// none or more than two.
std::vector<Load> Plan(const QList<QUrl>& urls, bool leftHalf);

// The action a drop is taken with: a copy where the source offers one, else a link, so the source
// never removes a dropped file; IgnoreAction when the source offers neither.
Qt::DropAction Action(Qt::DropActions possible);

}  // namespace corvella::FileDrop

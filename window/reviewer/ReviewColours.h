// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPalette>

namespace corvella {

// The review window's colours: those of the main window (red differences, blue moves, amber for
// the other side) where they read well on the palette's ground, lighter ones on a dark ground.
// Each text colour keeps a contrast of at least 4.5:1 against the ground it stands on.
struct ReviewColours {
    QColor text;        // ordinary text
    QColor ground;      // the texts' ground
    QColor difference;  // a difference's words
    QColor moved;       // a moved run's words, on movedGround
    QColor movedGround;
    QColor otherGround;  // the other side of the change chosen, under ordinary text
    QColor margin;       // the page:line margin's numbers, on ground

    // For the palette the window shows: its own text and ground, and the colours that read on it.
    static ReviewColours For(const QPalette& palette);
    // The contrast ratio of two colours (1 to 21), as WCAG defines it.
    static double Contrast(const QColor& a, const QColor& b);
};

}  // namespace corvella

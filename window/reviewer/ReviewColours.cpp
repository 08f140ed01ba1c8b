// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/ReviewColours.h"

#include <QtMath>
#include <algorithm>

#include "window/review/OverviewMarks.h"
#include "window/review/PaneOverlay.h"

namespace corvella {

namespace {

double luminance(const QColor& colour) {
    auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : qPow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

}  // namespace

double ReviewColours::Contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ReviewColours ReviewColours::For(const QPalette& palette) {
    ReviewColours colours;
    colours.text = palette.color(QPalette::Text);
    colours.ground = palette.color(QPalette::Base);
    if (luminance(colours.ground) >= 0.5) {
        // The main window's own colours; its pure red text reads too faintly on white, the
        // darker red of its scroll-bar marks does not.
        colours.difference = OverviewMarks::kDifference;
        colours.moved = PaneOverlay::kMovedText;
        colours.movedGround = PaneOverlay::kMovedGround;
        colours.otherGround = PaneOverlay::kOtherSideGround;
        colours.margin = QColor(0x59, 0x59, 0x59);
    } else {
        colours.difference = QColor(0xFF, 0x8A, 0x8A);
        colours.moved = QColor(0x9C, 0xC3, 0xFF);
        colours.movedGround = QColor(0x12, 0x22, 0x40);
        colours.otherGround = QColor(0x5C, 0x45, 0x00);
        colours.margin = QColor(0xB0, 0xB0, 0xB0);
    }
    return colours;
}

}  // namespace corvella

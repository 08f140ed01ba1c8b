// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

// The main window's fixed layout, in twips as designed, and its keyboard focus order.
namespace corvella::FormLayout {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidthTwips = 9240;
inline constexpr int kClientHeightTwips = 9480;

enum class ControlKind { CommandButton, Frame, Pane, OptionButton };

struct ControlDesign {
    QString name;
    ControlKind kind;
    QString caption;               // empty for panes
    QString container;             // empty for the window itself
    int left, top, width, height;  // twips, relative to the container
};

// Every drawn control in creation order: containers come before their children.
const std::vector<ControlDesign>& Controls();

// Design names in the order the Tab key visits them.
const QStringList& FocusOrder();

// Twips to pixels at 15 twips per pixel.
QRect ToPixels(const ControlDesign& control);
int ToPixels(int twips);

}  // namespace corvella::FormLayout

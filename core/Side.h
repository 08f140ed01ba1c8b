// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>
#include <array>
#include <cstddef>

namespace corvella {

// One of the two texts compared: text 1 stands in pane 1 and its list in work pane 3, text 2 in
// pane 2 and work pane 4.
enum class Side : quint8 { One, Two };

inline constexpr std::array<Side, 2> kBothSides{Side::One, Side::Two};

constexpr Side Other(Side side) { return side == Side::One ? Side::Two : Side::One; }
// 0 or 1, for a value kept per side.
constexpr std::size_t IndexOf(Side side) { return std::size_t(side); }
// 1 or 2: the text's number as files and reports name it ("file1", "f2p12").
constexpr int NumberOf(Side side) { return int(side) + 1; }

// The window's panes by number: the text panes 1 and 2, the work panes 3 and 4 that list their
// differences.
constexpr int TextPaneOf(Side side) { return int(side) + 1; }
constexpr int WorkPaneOf(Side side) { return int(side) + 3; }
constexpr bool IsWorkPane(int pane) { return pane == 3 || pane == 4; }
// The side a pane belongs to: pane 1 or 3 to text 1, pane 2 or 4 to text 2.
constexpr Side SideOfPane(int pane) { return pane == 1 || pane == 3 ? Side::One : Side::Two; }

// A value for each side.
template <typename T>
struct BySide {
    std::array<T, 2> values{};

    T& operator[](Side side) { return values[IndexOf(side)]; }
    const T& operator[](Side side) const { return values[IndexOf(side)]; }
    auto begin() { return values.begin(); }
    auto end() { return values.end(); }
    auto begin() const { return values.begin(); }
    auto end() const { return values.end(); }
};

// A value for each of the window's four panes, by the pane's number (1 to 4).
template <typename T>
struct ByPane {
    std::array<T, 4> values{};

    T& operator[](int pane) { return values[std::size_t(pane - 1)]; }
    const T& operator[](int pane) const { return values[std::size_t(pane - 1)]; }
};

}  // namespace corvella

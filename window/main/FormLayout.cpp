// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main/FormLayout.h"

#include <QtMath>

namespace corvella::FormLayout {

const std::vector<ControlDesign>& Controls() {
    using K = ControlKind;
    static const std::vector<ControlDesign> controls = {
        {"PushButton7", K::CommandButton, "Help", "", 120, 120, 9000, 405},
        {"Frame3", K::Frame, "PDF File #1:", "", 120, 600, 4440, 4905},
        {"RichTextBox1", K::Pane, "", "Frame3", 240, 390, 3975, 4335},
        {"RichTextBox3", K::Pane, "", "Frame3", 240, 390, 3975, 4335},
        {"Frame4", K::Frame, "PDF File #2:", "", 4680, 600, 4440, 4905},
        {"RichTextBox2", K::Pane, "", "Frame4", 240, 390, 3960, 4335},
        {"RichTextBox4", K::Pane, "", "Frame4", 240, 390, 3960, 4335},
        {"PushButton3", K::CommandButton, "Load PDF File #1", "", 120, 5610, 4440, 405},
        {"PushButton4", K::CommandButton, "Load PDF File #2", "", 4680, 5610, 4440, 405},
        {"PushButton8", K::CommandButton, "Load Sample PDF File (#1)", "", 120, 6120, 4440, 405},
        {"PushButton9", K::CommandButton, "Load Sample PDF File (#2)", "", 4680, 6120, 4440, 405},
        {"PushButton1", K::CommandButton, "Find Differences (Lines)", "", 120, 6630, 4455, 405},
        {"PushButton6", K::CommandButton, "Find Differences (Words)", "", 4680, 6630, 4440, 405},
        {"Frame1", K::Frame, "Method", "", 120, 7110, 9000, 1065},
        {"Option3", K::OptionButton, "Standard Comparison", "Frame1", 240, 300, 2505, 255},
        {"Option4", K::OptionButton, "MS Word Comparison Method (Word must be installed)", "Frame1",
         240, 650, 5580, 255},
        {"Frame2", K::Frame, "Standard Comparison Method", "", 120, 8280, 9000, 1065},
        {"Option1", K::OptionButton, "Display All Lines - Highlight Differences", "Frame2", 240,
         300, 3735, 255},
        {"Option2", K::OptionButton, "Display Just Lines with Differences", "Frame2", 240, 650,
         3840, 255},
        {"PushButton2", K::CommandButton, "Save #1 As PDF", "", 120, 9540, 4440, 405},
        {"PushButton5", K::CommandButton, "Save #2 As PDF", "", 4680, 9540, 4440, 405},
    };
    return controls;
}

const QStringList& FocusOrder() {
    static const QStringList order = {
        "RichTextBox1", "RichTextBox3", "RichTextBox2", "RichTextBox4", "PushButton3",
        "PushButton2",  "PushButton4",  "PushButton5",  "PushButton1",  "PushButton6",
        "Option3",      "Option1",      "PushButton7",  "Option4",      "Option2",
        "PushButton8",  "PushButton9"};
    return order;
}

int ToPixels(int twips) { return qRound(double(twips) / kTwipsPerPixel); }

QRect ToPixels(const ControlDesign& control) {
    return QRect(ToPixels(control.left), ToPixels(control.top), ToPixels(control.width),
                 ToPixels(control.height));
}

}  // namespace corvella::FormLayout

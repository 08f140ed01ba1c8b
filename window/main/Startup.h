// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCursor>
#include <QString>
#include <optional>

class QWidget;

namespace corvella {

class SettingsStore;
class MainWindow;

// The skin: when "x/o.cjs" exists in the program folder, the window and its frames, option
// buttons, check boxes and labels take the button-face colour and the file is applied to the
// window as a style sheet. No file: nothing changes. Throws Failure when the file cannot be read.
void ApplySkin(QWidget& window, const QString& programFolder);

// The hand pointer from "HAND-M.CUR" in the program folder: none when the file is absent; throws
// Failure when it is present but not a readable cursor picture.
std::optional<QCursor> LoadHandPicture(const QString& programFolder);

// Selects the stored comparison method: exactly "1" selects Option3, anything else Option4.
void RestoreComparisonMethod(MainWindow& window, SettingsStore& settings);

}  // namespace corvella

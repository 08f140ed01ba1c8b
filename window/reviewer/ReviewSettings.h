// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QMainWindow;
class QSplitter;

namespace corvella {

class ReviewOptions;

// The review window's state between runs, in a settings file of its own (never the main window's):
// its geometry, its docks and bars, the splitter of its texts and the options of the comparison.
namespace ReviewSettings {

// Of the window as it is shown; a file without geometry leaves the window 1200 by 800.
void Restore(const QString& file, QMainWindow& window, QSplitter& splitter, ReviewOptions& options);
void Save(const QString& file, const QMainWindow& window, const QSplitter& splitter,
          const ReviewOptions& options);

}  // namespace ReviewSettings
}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/ReviewSettings.h"

#include <QMainWindow>
#include <QSettings>
#include <QSplitter>
#include <array>

#include "window/reviewer/ReviewOptions.h"

namespace corvella::ReviewSettings {

namespace {

const QString kGeometry = QStringLiteral("window/geometry");
const QString kState = QStringLiteral("window/state");
const QString kSplitter = QStringLiteral("window/splitter");

// Each option's key, and where it stands in the options.
struct OptionKey {
    const char* key;
    bool LayoutCompare::Options::*value;
};
constexpr std::array<OptionKey, 4> kOptionKeys = {{
    {"options/exactTypography", &LayoutCompare::Options::exactTypography},
    {"options/ignoreCase", &LayoutCompare::Options::ignoreCase},
    {"options/ignoreNumbers", &LayoutCompare::Options::ignoreNumbers},
    {"options/ignorePunctuation", &LayoutCompare::Options::ignorePunctuation},
}};

}  // namespace

void Restore(const QString& file, QMainWindow& window, QSplitter& splitter,
             ReviewOptions& options) {
    const QSettings settings(file, QSettings::IniFormat);
    if (settings.contains(kGeometry))
        window.restoreGeometry(settings.value(kGeometry).toByteArray());
    else
        window.resize(1200, 800);
    window.restoreState(settings.value(kState).toByteArray());
    splitter.restoreState(settings.value(kSplitter).toByteArray());
    LayoutCompare::Options chosen;
    for (const OptionKey& option : kOptionKeys)
        chosen.*option.value = settings.value(QLatin1String(option.key), false).toBool();
    options.setOptions(chosen);
}

void Save(const QString& file, const QMainWindow& window, const QSplitter& splitter,
          const ReviewOptions& options) {
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(kGeometry, window.saveGeometry());
    settings.setValue(kState, window.saveState());
    settings.setValue(kSplitter, splitter.saveState());
    const LayoutCompare::Options chosen = options.options();
    for (const OptionKey& option : kOptionKeys)
        settings.setValue(QLatin1String(option.key), chosen.*option.value);
}

}  // namespace corvella::ReviewSettings

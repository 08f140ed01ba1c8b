// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/SettingsStore.h"

#include <QSettings>
#include <QStandardPaths>

namespace corvella {

namespace {
QString keyPath(const QString& section, const QString& key) { return section + u'/' + key; }

// Looked up on every use, so that the folder always follows $XDG_CONFIG_HOME.
QString iniFile(const QString& application) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           application + QStringLiteral(".ini");
}
}  // namespace

QString IniSettingsStore::get(const QString& application, const QString& section,
                              const QString& key, const QString& defaultValue) {
    QSettings settings(iniFile(application), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return defaultValue;
    const QVariant value = settings.value(keyPath(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

bool IniSettingsStore::save(const QString& application, const QString& section, const QString& key,
                            const QString& value) {
    QSettings settings(iniFile(application), QSettings::IniFormat);
    settings.setValue(keyPath(section, key), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace corvella

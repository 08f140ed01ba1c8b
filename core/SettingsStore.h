// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace corvella {

// The per-user store of text values, addressed by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `defaultValue` when the application, section or key does not exist.
    virtual QString get(const QString& application, const QString& section, const QString& key,
                        const QString& defaultValue) = 0;
    // Stores the value at once. Returns false when it could not be written.
    virtual bool save(const QString& application, const QString& section, const QString& key,
                      const QString& value) = 0;
};

// The real store: one INI file per application in the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config), one group per section. Every save is flushed to disk at
// once, because the process may end abruptly at shut-down.
class IniSettingsStore : public SettingsStore {
public:
    QString get(const QString& application, const QString& section, const QString& key,
                const QString& defaultValue) override;
    bool save(const QString& application, const QString& section, const QString& key,
              const QString& value) override;
};

// The comparison method setting: application "Kestrovan", section "Corvella", key "Comparison".
inline const QString kSettingsApplication = QStringLiteral("Kestrovan");
inline const QString kSettingsSection = QStringLiteral("Corvella");
inline const QString kComparisonKey = QStringLiteral("Comparison");

}  // namespace corvella

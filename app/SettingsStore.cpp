#include "app/SettingsStore.h"

#include <QSettings>

namespace corvella {

namespace {
QString keyPath(const QString& section, const QString& key) { return section + u'/' + key; }
}  // namespace

QString IniSettingsStore::get(const QString& application, const QString& section,
                              const QString& key, const QString& defaultValue) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, application);
    if (settings.status() != QSettings::NoError) return defaultValue;
    const QVariant value = settings.value(keyPath(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

bool IniSettingsStore::save(const QString& application, const QString& section,
                            const QString& key, const QString& value) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, application);
    settings.setValue(keyPath(section, key), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace corvella

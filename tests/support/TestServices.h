#pragma once

#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

#include "app/ErrorReport.h"
#include "app/HomePage.h"
#include "app/Services.h"
#include "app/SettingsStore.h"
#include "output/GetSetPrinter.h"
#include "tests/support/CountingPump.h"
#include "tests/support/ScriptedDialogs.h"

namespace corvella::testing {

class MemorySettings : public SettingsStore {
public:
    QString get(const QString& application, const QString& section, const QString& key,
                const QString& defaultValue) override {
        return values.value(application + u'/' + section + u'/' + key, defaultValue);
    }
    bool save(const QString& application, const QString& section, const QString& key,
              const QString& value) override {
        ++saves;
        if (refuseWrites) return false;
        values.insert(application + u'/' + section + u'/' + key, value);
        return true;
    }
    QString comparison() const {
        return values.value(kSettingsApplication + u'/' + kSettingsSection + u'/' + kComparisonKey);
    }

    QMap<QString, QString> values;
    bool refuseWrites = false;
    int saves = 0;
};

class ScriptedPrinters : public Printers {
public:
    QStringList InstalledPrinters() override {
        if (failure) throw Failure(*failure);
        return names;
    }
    QStringList names{kPdfPrinterName};
    std::optional<QString> failure;
};

class FixedRandom : public RandomSource {
public:
    void seedFromClock() override { ++seeds; }
    double next() override { return value; }
    double value = 0.5;
    int seeds = 0;
};

class RecordingLauncher : public Launcher {
public:
    void openUrl(const QString& address) override { opened << address; }
    QStringList opened;
};

// Every service scripted, a private program folder, and a process end that is only recorded.
struct TestServices {
    TestServices() : services{dialogs, pump} {
        services.settings = &settings;
        services.printers = &printers;
        services.random = &random;
        services.launcher = &launcher;
        services.programFolder = programFolder.path();
        services.endProcess = [this](int code) { exitCodes.push_back(code); };
    }
    TestServices(const TestServices&) = delete;
    TestServices& operator=(const TestServices&) = delete;

    ScriptedDialogs dialogs;
    CountingPump pump;
    MemorySettings settings;
    ScriptedPrinters printers;
    FixedRandom random;
    RecordingLauncher launcher;
    QTemporaryDir programFolder;
    std::vector<int> exitCodes;
    Services services;
};

}  // namespace corvella::testing

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFile>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

#include "core/ErrorReport.h"
#include "core/Services.h"
#include "core/SettingsStore.h"
#include "output/GetSetPrinter.h"
#include "tests/support/CountingPump.h"
#include "tests/support/ScriptedDialogs.h"
#include "window/main/HomePage.h"

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

// A print system in memory: printers by name and queue, a server default, the user's own default,
// and the jobs printed. Names are "queue" unless described.
class ScriptedPrinters : public Printers {
public:
    struct Printer {
        QString name;
        QString queue;
    };
    struct Job {
        QString queue;
        QByteArray document;
        QString defaultWhilePrinting;
    };

    QStringList InstalledPrinters() override {
        if (failure) throw PrinterFailure(1283, *failure);
        QStringList names;
        for (const Printer& printer : printers) names << printer.name;
        return names;
    }
    QString DefaultPrinterName() override {
        if (failure) throw PrinterFailure(1283, *failure);
        const std::optional<QString> queue = userDefault ? userDefault : serverDefault;
        for (const Printer& printer : printers)
            if (queue && printer.queue == *queue) return printer.name;
        return QString();
    }
    DefaultChoice UserDefaultChoice() override {
        if (failure || userDefaultUnreadable) throw PrinterFailure(2, "unreadable");
        return {userDefault};
    }
    bool SetUserDefault(const QString& printerName) override {
        const QString queue = QueueOf(printerName);
        if (queue.isEmpty()) return false;
        userDefault = queue;
        ++defaultChanges;
        return true;
    }
    bool RestoreUserDefault(const DefaultChoice& choice) override {
        userDefault = choice.queue;
        ++defaultChanges;
        return true;
    }
    QString QueueOf(const QString& printerName) override {
        if (failure) return QString();
        for (const Printer& printer : printers)
            if (printer.name == printerName) return printer.queue;
        return QString();
    }
    void PrintTextFile(const QString& queue, const QString& path, const QString&) override {
        if (failure || refusePrint || queue.isEmpty())
            throw PrinterFailure(1283, "The print system refused the job");
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        jobs.push_back({queue, file.readAll(), DefaultPrinterName()});
    }

    void setNames(const QStringList& names) {
        printers.clear();
        for (const QString& name : names)
            printers.push_back({name, QString(name).replace(' ', '_')});
    }

    std::vector<Printer> printers{{kPdfPrinterName, "Kestrovan_PDF_Writer"}};
    std::optional<QString> serverDefault;
    std::optional<QString> userDefault;
    std::optional<QString> failure;
    bool userDefaultUnreadable = false;
    bool refusePrint = false;
    int defaultChanges = 0;
    std::vector<Job> jobs;
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

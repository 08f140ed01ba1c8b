// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <chrono>

#include "core/EventPump.h"
#include "office/Word1.h"

namespace corvella {

// The word processor is LibreOffice Writer. The comparison runs in the helper program
// "corvella-office-compare", a process of its own with a time limit, so that Corvella starts
// without LibreOffice and survives an office that hangs or crashes. The running check reads /proc
// and the installation's files and needs no office libraries either.
class LibreOfficeWord1 : public Word1 {
public:
    struct Settings {
        QString helper;               // the helper program
        QStringList helperArguments;  // put before the two text paths
        std::chrono::milliseconds timeLimit{std::chrono::seconds(120)};
        QString procRoot = QStringLiteral("/proc");
    };

    // $CORVELLA_OFFICE_HELPER, else the helper beside the program's executable, else the installed
    // one; the office's start program from $CORVELLA_OFFICE when set.
    static Settings DefaultSettings();

    explicit LibreOfficeWord1(EventPump& events, Settings settings = DefaultSettings())
        : events_(events), settings_(std::move(settings)) {}

    // True when an office of this user with windows on the user's own profile runs and its
    // installation calls itself "LibreOffice".
    bool IsWordRunning() override;

    // Runs the helper, handling window events meanwhile; kills it past the time limit. Every
    // failure becomes a Failure with a one-line description.
    void CompareInWord(const QString& path1, const QString& path2) override;

private:
    EventPump& events_;
    Settings settings_;
};

// The product name an office installation gives itself ("LibreOffice"), read from the
// configuration files it starts with; empty when they cannot be read.
QString OfficeProductName(const QString& installationRoot);

}  // namespace corvella

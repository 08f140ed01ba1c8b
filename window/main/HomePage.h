// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace corvella {

// A source of random numbers in [0, 1).
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seedFromClock() = 0;
    virtual double next() = 0;
};

class ClockSeededRandom : public RandomSource {
public:
    void seedFromClock() override;
    double next() override;

private:
    quint32 state_ = 1;
};

// Opens an address in the user's browser, without waiting.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual void openUrl(const QString& address) = 0;
};

// xdg-open, detached. Throws Failure when it cannot be started.
class XdgLauncher : public Launcher {
public:
    void openUrl(const QString& address) override;
};

// On about one start-up in a hundred, opens the maker's home page.
void OpenHomePageOccasionally(RandomSource& random, Launcher& launcher);

}  // namespace corvella

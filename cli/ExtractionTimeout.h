// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QTimer>

// corvella-diff --timeout: a PDF whose text extraction takes longer than the limit is given up.
namespace corvella::DiffProgram {

// What is wrong with the option's value (seconds, a number greater than 0), or empty when it is
// right.
QString TimeoutProblem(const QString& seconds);

// Runs while one file loads: once the time has passed, the load under way is stopped (its
// extractors killed) and passed() tells so.
class ExtractionDeadline {
public:
    // `seconds` as TimeoutProblem accepts it.
    explicit ExtractionDeadline(const QString& seconds);
    bool passed() const { return passed_; }

private:
    QTimer timer_;
    bool passed_ = false;
};

}  // namespace corvella::DiffProgram

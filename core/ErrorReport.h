// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <exception>
#include <utility>

#include "core/Dialogs.h"

namespace corvella {

// A failing operation, with the operation's own description of what went wrong (may be empty).
class Failure : public std::exception {
public:
    explicit Failure(QString description)
        : description_(std::move(description)), what_(description_.toUtf8()) {}
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    QString description_;
    QByteArray what_;
};

// The text of the "Application Error" box for a failure at a numbered step of a procedure.
// `location` is "Module.Procedure", for example "Form1.PushButton7_Click".
QString ErrorReportText(const QString& location, int line, const QString& description);

// Shows the "Application Error" box and returns once the user has closed it.
void ErrorReport(Dialogs& dialogs, const QString& location, int line, const QString& description);

// A procedure made of numbered steps. A step that fails is reported with the procedure's location
// and the number of the step last begun (0 before the first), and the procedure goes on with its
// next step. Failures of called routines that have no report of their own surface in the step that
// called them.
//
//     Procedure proc(dialogs, "Form1.PushButton7_Click");
//     proc.step(100, [&] { ... });
//     proc.step(102, [&] { ... });
class Procedure {
public:
    Procedure(Dialogs& dialogs, QString location)
        : dialogs_(dialogs), location_(std::move(location)) {}

    // Begins step `line` and runs it under the trap.
    template <typename F>
    void step(int line, F&& body) {
        line_ = line;
        guard(std::forward<F>(body));
    }

    // Runs code under the trap without beginning a new step.
    template <typename F>
    void guard(F&& body) {
        try {
            body();
        } catch (const Failure& failure) {
            report(failure.description());
        } catch (const std::exception& error) {
            report(QString::fromLocal8Bit(error.what()));
        }
    }

    int line() const { return line_; }

private:
    void report(const QString& description);

    Dialogs& dialogs_;
    QString location_;
    int line_ = 0;
};

}  // namespace corvella

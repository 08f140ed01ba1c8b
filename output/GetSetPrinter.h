// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "core/Dialogs.h"
#include "core/ErrorReport.h"

namespace corvella {

// The PDF printer the Save-as-PDF commands print to.
inline const QString kPdfPrinterName = QStringLiteral("Kestrovan PDF Writer");

// A failure of the print system, with its own error number.
class PrinterFailure : public Failure {
public:
    PrinterFailure(int number, const QString& description)
        : Failure(description), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

// The user's own choice of default printer; none means the print system's default applies.
struct DefaultChoice {
    std::optional<QString> queue;
};

// The system's printers. A printer's name, as the program shows and compares it, is its
// description where one is set, else its queue name.
class Printers {
public:
    virtual ~Printers() = default;
    // Names of the installed printers in the print system's order. Throws PrinterFailure when they
    // cannot be listed.
    virtual QStringList InstalledPrinters() = 0;
    // The name of the current default printer; empty when there is none. Throws PrinterFailure.
    virtual QString DefaultPrinterName() = 0;
    // The user's own default choice, to put back exactly later. Throws PrinterFailure.
    virtual DefaultChoice UserDefaultChoice() = 0;
    // Makes the printer of that name the user's default; false when there is none or it fails.
    virtual bool SetUserDefault(const QString& printerName) = 0;
    // Puts a remembered choice back; false when that fails.
    virtual bool RestoreUserDefault(const DefaultChoice& choice) = 0;
    // The queue that prints for the printer of that name; empty when there is none.
    virtual QString QueueOf(const QString& printerName) = 0;
    // Submits a plain-text file to the queue by name. Throws PrinterFailure when it is refused.
    virtual void PrintTextFile(const QString& queue, const QString& path, const QString& title) = 0;
};

// The print system: CUPS through libcups. The user's default lives in ~/.cups/lpoptions.
class CupsPrinters : public Printers {
public:
    QStringList InstalledPrinters() override;
    QString DefaultPrinterName() override;
    DefaultChoice UserDefaultChoice() override;
    bool SetUserDefault(const QString& printerName) override;
    bool RestoreUserDefault(const DefaultChoice& choice) override;
    QString QueueOf(const QString& printerName) override;
    void PrintTextFile(const QString& queue, const QString& path, const QString& title) override;
};

namespace GetSetPrinter {

// The name of the current default printer. On a failure shows its own box and returns "".
QString GetDefaultPrinter(Printers& printers, Dialogs& dialogs);

// The text of that box.
QString DefaultPrinterErrorText(int number, const QString& description);

// Makes the printer the default; true when it now is. Shows nothing.
bool SetPrinterAsDefault(Printers& printers, const QString& printerName);

}  // namespace GetSetPrinter

}  // namespace corvella

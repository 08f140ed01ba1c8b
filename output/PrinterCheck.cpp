// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/PrinterCheck.h"

namespace corvella {

QString PdfPrinterMissingText() {
    const QString& name = kPdfPrinterName;
    const QString crlf = QStringLiteral("\r\n");
    return name + QStringLiteral(" is not installed. Please follow these instructions:") + crlf +
           crlf +
           QStringLiteral("1) Go to Control Panel -> Printers and Faxes to add a local printer.") +
           crlf + QStringLiteral("2) Choose ''CPW2: (") + name +
           QStringLiteral(")'' on Select a Printer Port dialog box, click Next.") + crlf +
           QStringLiteral(
               "3) Choose a Postscript printer (e.g. HP Color LaserJet PS), click Next.") +
           crlf + QStringLiteral("4) Enter ") + name +
           QStringLiteral(" as Printer name, click Next -> Finish.");
}

void CheckPdfPrinter(Printers& printers, Dialogs& dialogs) {
    bool found = false;
    for (const QString& name : printers.InstalledPrinters()) {
        if (name == kPdfPrinterName) {
            found = true;
            break;
        }
    }
    if (!found) MsgBox(dialogs, PdfPrinterMissingText());
}

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "core/Dialogs.h"
#include "output/GetSetPrinter.h"

namespace corvella {

// The instructions shown when the PDF printer is not installed.
QString PdfPrinterMissingText();

// Tells the user how to install the PDF printer when no installed printer has exactly its name.
// A failure to list the printers reaches the caller.
void CheckPdfPrinter(Printers& printers, Dialogs& dialogs);

}  // namespace corvella

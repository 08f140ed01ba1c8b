// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/Wordpad.h"

namespace corvella::Wordpad {

QString GetWordpadPath(Printers& printers) {
    try {
        return printers.QueueOf(kPdfPrinterName);
    } catch (const Failure&) {
        return QString();
    }
}

}  // namespace corvella::Wordpad

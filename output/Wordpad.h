// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "output/GetSetPrinter.h"

// How a plain-text file reaches the PDF printer: the print system's queue for it.
namespace corvella::Wordpad {

// The queue that prints for the PDF printer; empty when the print system has none.
QString GetWordpadPath(Printers& printers);

}  // namespace corvella::Wordpad

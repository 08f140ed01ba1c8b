// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QString>

namespace corvella {

// A password given for an encrypted PDF. The owner's password also lifts the document's own
// restrictions, such as the one on copying its text.
struct PdfPassword {
    QString password;
    bool owner = false;
};

// The passwords given, by the path a PDF is loaded from.
using PdfPasswords = QHash<QString, PdfPassword>;

}  // namespace corvella

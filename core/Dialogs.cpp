// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Dialogs.h"

#include "core/AppTitle.h"

namespace corvella {

MessageAnswer MsgBox(Dialogs& dialogs, const QString& text, MessageButtons buttons,
                     MessageIcon icon) {
    return dialogs.showMessage({text, AppTitle(), buttons, icon});
}

}  // namespace corvella

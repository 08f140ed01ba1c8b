// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "extract/TextPreview.h"

#include "core/PaneText.h"
#include "extract/TextIntoPane.h"

namespace corvella {

void TextPreview::add(const QByteArray& piece) {
    if (printable_ < Main::kEnoughPrintable) {
        held_ += piece;
        for (const QChar c : PaneText::canonicalFromFileText(piece))
            if (Main::IsPrintable(c) && ++printable_ >= Main::kEnoughPrintable) break;
        if (printable_ < Main::kEnoughPrintable) return;
        pane_.preview(held_);
        held_.clear();
        return;
    }
    pane_.preview(piece);
}

}  // namespace corvella

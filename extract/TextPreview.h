// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

#include "core/PaneDocument.h"

namespace corvella {

// Hands the pieces of a text being extracted on to its pane, in order, once they hold enough
// printable characters for the readable-text check to pass: a text that check turns away is never
// shown.
class TextPreview {
public:
    explicit TextPreview(PaneDocument& pane) : pane_(pane) {}
    void add(const QByteArray& piece);

private:
    PaneDocument& pane_;
    QByteArray held_;
    int printable_ = 0;
};

}  // namespace corvella

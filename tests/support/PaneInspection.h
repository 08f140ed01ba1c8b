#pragma once

#include <QString>

#include "app/PaneDocument.h"

namespace corvella::testing {

// The red characters of a pane, '^' under red and '.' under black characters; line breaks are
// left out since their colour is never seen.
inline QString RedMask(const PaneDocument& pane) {
    const QString text = pane.text();
    QString mask;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') continue;
        mask += pane.colorAt(i) == kRed ? u'^' : u'.';
    }
    return mask;
}

}  // namespace corvella::testing

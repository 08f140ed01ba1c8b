// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/Word1.h"

#include "core/Main.h"
#include "core/TempFolder.h"
#include "output/SaveRTB.h"

namespace corvella {

bool IsWordRunning(Word1* word) {
    if (word == nullptr) return false;
    try {
        return word->IsWordRunning();
    } catch (...) {
        return false;
    }
}

bool CancelIfWordOpen(Word1* word, Dialogs& dialogs) {
    if (!IsWordRunning(word)) return false;
    const QString text = QStringLiteral(
        "Word may be open. It is recommended that you close Word first. Use "
        "Ctrl+Alt+Del > Task Manager > WINWORD.EXE if necessary.\r\n\r\n"
        "Would you like to proceed anyway?");
    return MsgBox(dialogs, text, MessageButtons::YesNo) != MessageAnswer::Yes;
}

void CompareWithWordProcessor(MainWindow& window, Procedure& proc) {
    Services& services = window.services();
    const QString name1 = QStringLiteral("1.txt");
    const QString name2 = QStringLiteral("2.txt");
    proc.step(106, [&] { window.setPointer(PointerShape::Hourglass); });
    bool skip = false;
    proc.step(108, [&] { skip = CancelIfWordOpen(services.word, services.dialogs); });
    if (!skip) {
        proc.step(110, [&] {
            skip = window.pane(1).text().isEmpty() || window.pane(2).text().isEmpty();
        });
    }
    if (!skip) {
        proc.step(112, [&] { Main::DeleteFileQuietly(services.events, TempPath(name1)); });
        proc.step(114, [&] { Main::DeleteFileQuietly(services.events, TempPath(name2)); });
        proc.step(116, [&] { RTB::SaveRTBToFile(window.pane(1), TempPath(name1), services); });
        proc.step(118, [&] { RTB::SaveRTBToFile(window.pane(2), TempPath(name2), services); });
        proc.step(120, [&] {
            Require(services.word, "The word processor")
                .CompareInWord(TempPath(name1), TempPath(name2));
        });
        proc.step(122, [&] { Main::DeleteFileQuietly(services.events, TempPath(name1)); });
        proc.step(124, [&] { Main::DeleteFileQuietly(services.events, TempPath(name2)); });
    }
    proc.step(126, [&] { window.setPointer(PointerShape::Default); });
}

}  // namespace corvella

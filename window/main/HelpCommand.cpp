// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main/HelpCommand.h"

#include "core/ErrorReport.h"

namespace corvella {

QString HelpText1() {
    const QString twoCR = QStringLiteral("\r\r");
    return QStringLiteral("This program will:") + twoCR +
           QStringLiteral(
               "extract text from a PDF. This text is usually typed into the PDF "
               "using the keyboard.") +
           twoCR + QStringLiteral("This program will not:") + twoCR +
           QStringLiteral(
               "extract text that is inside an image. Even though the image is "
               "embedded within a PDF file, it is still an image and \"unreadable\".");
}

QString HelpText2() {
    return QStringLiteral("This program will not:") + QStringLiteral("\r\r") +
           QStringLiteral("*handle password protected PDF files.");
}

void PushButton7_Click(MainWindow& window) {
    Dialogs& dialogs = window.services().dialogs;
    Procedure proc(dialogs, QStringLiteral("Form1.PushButton7_Click"));
    proc.step(100, [&] { MsgBox(dialogs, HelpText1()); });
    proc.step(102, [&] { MsgBox(dialogs, HelpText2()); });
}

}  // namespace corvella

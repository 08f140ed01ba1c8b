// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include "core/PaneDocument.h"
#include "core/Services.h"

namespace corvella {

inline const QString kNoTextFileMessage =
    QStringLiteral("File could be password protected or text is protected.");
inline const QString kUnreadableTextMessage = QStringLiteral(
    "Text unreadable. Please view the file yourself to see if it is really a scanned image of "
    "text and not proper PDF text.");

namespace RTB {
// Loads an extracted text file into pane 1 (pane 2), or tells the user why not.
void FileToRich1(PaneDocument& pane1, const QString& textPath, Services& services);
void FileToRich2(PaneDocument& pane2, const QString& textPath, Services& services);
}  // namespace RTB

namespace Main {
// True when the file holds no usable text: at most five printable characters and at least one
// that is not printable, or nothing at all.
bool NoTextPDF(const QString& textPath, Services& services);
// The file's lines without their breaks (LF, CR LF and CR each end a line); UTF-8.
QStringList ReadFileToStringFSOLine(const QString& path, Services& services);
// Printable: codes 32-126 and 160 upwards.
bool IsPrintable(QChar c);
// So many printable characters anywhere make a text readable.
inline constexpr int kEnoughPrintable = 6;
}  // namespace Main

}  // namespace corvella

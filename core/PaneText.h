// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>

#include "core/TextRange.h"

// Text conventions shared by every pane implementation.
namespace corvella::PaneText {

inline constexpr QChar kCR = u'\r';
inline constexpr QChar kLF = u'\n';
// The extractor ends every page with a form feed.
inline constexpr QChar kFormFeed = u'\f';
inline const QString kBreak = QStringLiteral("\r\n");

// The text a pane holds after the given text was written into it: a CR alone or a CR LF
// becomes one CR LF break, a lone LF is dropped, a Unicode paragraph separator is a break and
// the two characters the text engine reserves for frames become U+FFFD.
QString canonical(const QString& written);

// Reads a file's text the way "load from file" treats it: UTF-8 (invalid bytes become U+FFFD),
// with LF, CR LF and CR each ending a line. The result is in canonical form.
QString canonicalFromFileText(const QByteArray& bytes);
// The same for a piece of a file that follows an earlier piece ending in a byte below 0x80 other
// than CR: the earlier piece's text followed by this one's is the text of both together.
QString canonicalFromLaterFileText(QByteArrayView bytes);
// Whether a file's bytes can be cut after `bytes` so: after nothing, or after such a byte.
bool cutsCleanlyAfter(QByteArrayView bytes);

// A text revision no pane's text had before (see PaneDocument::textRevision).
quint64 NewRevision();

// The selection a pane keeps after setting start or length, clamped to the text length.
// Throws Failure("Invalid property value") for negative values.
qsizetype clampStart(qsizetype start, qsizetype textLength);
qsizetype clampLength(qsizetype length, qsizetype start, qsizetype textLength);

}  // namespace corvella::PaneText

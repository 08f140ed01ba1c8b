// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

class QTextDocument;

namespace corvella::PanePlaces {

// A pane's text counts each paragraph break as CR LF, its document once; these map between the
// two counts and the view's lines (a wrapped paragraph is several), as the vertical scroll bar of
// a plain-text view counts them.
qsizetype ToDocument(const QTextDocument& document, qsizetype textPosition);
qsizetype ToText(const QTextDocument& document, qsizetype documentPosition);

// The view line holding a text position.
int LineOf(const QTextDocument& document, qsizetype textPosition);
// The text position where a view line starts.
qsizetype LineStart(const QTextDocument& document, int line);

// Lays out the paragraphs from `linesAbove` view lines above the text position to `linesBelow`
// below it, so that their lines count as the view will show them (a paragraph not laid out yet
// counts as one line).
void LayOutAround(const QTextDocument& document, qsizetype textPosition, int linesAbove,
                  int linesBelow);

}  // namespace corvella::PanePlaces

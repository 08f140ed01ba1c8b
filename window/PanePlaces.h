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

}  // namespace corvella::PanePlaces

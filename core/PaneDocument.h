// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "core/TextRange.h"

namespace corvella {

// Colours are 32-bit values with red in the low byte, green in the next, blue in the next.
using Color = std::uint32_t;
inline constexpr Color kBlack = 0;
inline constexpr Color kRed = 255;

// One text pane of the main window, as the rest of the program sees it.
//
// The text reads back with CR LF paragraph breaks. Writing text replaces everything and drops all
// colour; a CR alone or a CR LF becomes one paragraph break and a lone LF is not stored.
// Selection positions are 0-based and count the characters of the text as it reads back.
class PaneDocument {
public:
    virtual ~PaneDocument() = default;

    virtual QString text() const = 0;
    virtual qsizetype textLength() const = 0;
    virtual void setText(const QString& text) = 0;
    // Writes the text with `added` after it, as setText(text() + added) does; a pane that holds a
    // long text may do so without copying it.
    virtual void appendText(const QString& added) { setText(text() + added); }

    // Setting the start collapses the selection there (length 0). Values past the end are
    // clamped to the end; negative values fail.
    virtual qsizetype selStart() const = 0;
    virtual qsizetype selLength() const = 0;
    virtual void setSelStart(qsizetype start) = 0;
    virtual void setSelLength(qsizetype length) = 0;
    // Gives every character of the current selection the colour; nothing else changes.
    virtual void setSelColor(Color color) = 0;

    // Gives every character of the ranges the colour in one batch; the selection is untouched.
    virtual void colorRanges(const std::vector<TextRange>& ranges, Color color) = 0;
    // Colour of the character at a text position (a line break reads as black).
    virtual Color colorAt(qsizetype position) const = 0;

    virtual bool isShown() const = 0;
    virtual void setShown(bool shown) = 0;

    // Replaces the whole content with a UTF-8 text file's text; LF, CR LF and CR all end a line.
    // Throws Failure when the file cannot be read.
    virtual void loadFromFile(const QString& path) = 0;
    // The next piece of a text file on its way to loadFromFile, while the rest is still being
    // extracted: a pane may show it ahead. The text reads back as before until loadFromFile, which
    // keeps what was shown when the file's text begins with it; any other change drops it.
    virtual void preview(const QByteArray& filePiece) { static_cast<void>(filePiece); }
    // Whether the pane shows such pieces at all: for one that does not, nothing waits on them.
    virtual bool showsPreview() const { return false; }

    // Changes whenever the text changes (not when only colour or selection change), to a value
    // no text of any pane had before; a text given back by restoreContent has its own again.
    virtual quint64 textRevision() const = 0;

    // Keeps what the pane holds (text, colours, selection) aside while it is written as usual:
    // restoreContent() gives it back as it was, dropKeptContent() forgets it. A load keeps the
    // pane's content so that a load given up leaves the pane as it was.
    virtual void keepContent() = 0;
    virtual void restoreContent() = 0;
    virtual void dropKeptContent() = 0;
};

}  // namespace corvella

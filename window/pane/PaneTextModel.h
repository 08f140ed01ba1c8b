// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace corvella {

// A place in a pane's text as it reads back: a line break (CR LF) counts as two characters.
struct TextPosition {
    qsizetype at = 0;
};

// A place in the document that shows the text: every line break is one character, whether it
// parts two paragraphs or two lines within one.
struct DocumentPosition {
    qsizetype at = 0;
};

// A pane's text and how a document shows it, without any widget: the text in canonical form (CR LF
// breaks, see PaneText), its revision, and where its breaks stand in the document. The document
// holds several lines to a paragraph, parted by line separators, since its cost is per paragraph;
// a text with line separators of its own keeps a paragraph per line. Every conversion between a
// text position and a document position is made here.
class PaneTextModel {
public:
    static constexpr int kLinesPerParagraph = 10;
    static constexpr QChar kLineSeparator = QChar::LineSeparator;

    const QString& text() const { return text_; }
    qsizetype length() const { return text_.size(); }
    // Changes with every change of the text, to a value no text of any pane had before.
    quint64 revision() const { return revision_; }
    // Lines go several to a paragraph.
    bool grouped() const { return grouped_; }

    // A canonical text replaces the text, or goes after it.
    void assign(QString canonical);
    void append(const QString& canonical);
    // Whether a canonical text can go after this one as a part of the same grouping.
    bool canAppend(const QString& canonical) const;
    // The text was changed in the document; `read` reads it back when it is needed.
    void changedInDocument();
    bool readBack() const { return stale_; }
    void adoptRead(QString canonical);

    // The document position of a text position (one on the LF of a break is the next line's
    // start), and back.
    DocumentPosition toDocument(TextPosition position) const;
    TextPosition toText(DocumentPosition position) const;
    // Maps ascending text positions to the document in one sweep over the lines.
    class Sweep {
    public:
        explicit Sweep(const PaneTextModel& text)
            : breaks_(&text.breaks()), end_(text.documentLength()) {}
        DocumentPosition to(TextPosition position);
        // The text's line, from 0, of the position last mapped.
        qsizetype line() const { return qsizetype(line_); }

    private:
        const std::vector<int>* breaks_;
        qsizetype end_;
        std::size_t line_ = 0;
    };

    // The text's line, from 0, that holds a document position, and the document position where a
    // line starts.
    qsizetype lineOf(DocumentPosition position) const;
    DocumentPosition lineStart(qsizetype line) const;
    qsizetype lineCount() const { return qsizetype(breaks().size()) + 1; }
    // The characters the document holds for the whole text.
    qsizetype documentLength() const { return length() - qsizetype(breaks().size()); }
    // The document positions of the breaks, ascending.
    const std::vector<int>& breaks() const;

    // What the document holds for the text from `from` to `to` (both at line starts or the ends),
    // given the lines of the paragraph already written; counts on.
    QString documentText(qsizetype from, qsizetype to, int& linesInParagraph) const;
    // The text between two document positions with each break a line feed: the document's own
    // characters, as assistive technology reads them.
    QString readable(DocumentPosition from, DocumentPosition to) const;

private:
    QString text_;
    quint64 revision_ = 0;
    bool grouped_ = true;
    bool stale_ = false;
    mutable std::vector<int> breaks_;
    mutable qsizetype breaksOf_ = -1;  // the text length the breaks were found in, or -1
};

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>
#include <chrono>
#include <optional>

#include "core/EventPump.h"
#include "core/PaneDocument.h"
#include "window/pane/EventLoopTurns.h"
#include "window/pane/KnownColours.h"

namespace corvella {

// A text pane of the main window: a QPlainTextEdit seen through the PaneDocument operations.
//
// The document stores each line break once; the pane's text counts it as CR LF, so every
// position is mapped between the two counts. A position on the LF of a break maps to the start of
// the next line. The document's cost is per paragraph, not per character: a written text goes in
// several lines to a paragraph, parted by line separators, unless it holds line separators of its
// own. A paragraph not laid out yet counts its lines so, as the view's scroll bar counts lines.
//
// Written text is the pane's text at once, and goes into the document a slice at a time. Without
// keepLive, or when what is left fits in one slice, that happens before the write returns. With it,
// the slices of a long text run from the event loop while the pane is shown (a hidden pane waits
// until it is shown): from a zero timer of their own, and between the other events the loop hands
// out once a slice's time has passed, so a long run of those (a screen reader's requests) does not
// hold the document back. A timer, not a posted call: back-to-back posted calls would keep the
// loop from its timers. The panes share one clock, so two filling at once still leave the loop a
// slice's time between their slices. Every operation that needs the document finishes it first,
// yielding between slices; long colourings also yield between slices. So a thousand-page text never
// holds the window still, and a long text in a work pane nobody looks at costs no document at all.
class RichTextPane : public QPlainTextEdit, public PaneDocument {
    Q_OBJECT
public:
    explicit RichTextPane(QWidget* parent = nullptr);

    // Lets long operations hand the event loop a turn after each time slice.
    void keepLive(EventPump& events, std::chrono::milliseconds slice);
    // Puts all written text into the document now.
    void completeText();
    // Whether written text is still going into the document.
    bool isFilling() const { return filling_; }

    QString text() const override;
    qsizetype textLength() const override;
    void setText(const QString& text) override;
    void appendText(const QString& added) override;

    qsizetype selStart() const override;
    qsizetype selLength() const override;
    void setSelStart(qsizetype start) override;
    void setSelLength(qsizetype length) override;
    void setSelColor(Color color) override;

    void colorRanges(const std::vector<TextRange>& ranges, Color color) override;
    Color colorAt(qsizetype position) const override;
    // Read from the document's runs of format, not character by character; a long read hands the
    // event loop a turn after each slice.
    std::vector<TextRange> runsOfColor(Color color) const override;

    bool isShown() const override { return !isHidden(); }
    void setShown(bool shown) override { setVisible(shown); }

    void loadFromFile(const QString& path) override;
    void preview(const QByteArray& filePiece) override;
    bool showsPreview() const override { return pump_ != nullptr; }
    quint64 textRevision() const override { return revision_; }
    quint64 colourRevision() const override { return colourings_; }

    // Map a text position to the document and back.
    qsizetype toDocument(qsizetype textPosition) const;
    qsizetype toText(qsizetype documentPosition) const;
    // The line of the text, from 0, that holds a document position.
    qsizetype textLineOf(qsizetype documentPosition) const;

    // Scrolls the line holding the text position to near the top of the view.
    void showNearTop(qsizetype position);
    // Scrolls only when the line holding the text position is out of view.
    void bringIntoView(qsizetype position);
    // Puts the caret at the start of the selection, which stays as it is: a run walked to reads
    // from its first character on.
    void caretToSelectionStart();

protected:
    void showEvent(QShowEvent* event) override;
    // Like a rich-text box that hides its selection: while the pane has no focus the widget shows
    // only a caret and the selection is held aside, so no highlight stands in an idle pane.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // A third click selects the line, not the paragraph of lines it is in.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTextCursor selection() const;
    void setSelection(const QTextCursor& cursor);
    void showCursorKeepingView(const QTextCursor& cursor);
    bool widgetShowsHeldCaret() const;
    int lineNumberOf(qsizetype position);

    void setCanonicalText(QString canonical);
    // Writes the canonical form of `added` after the text, where that ends as a full rewrite
    // would; false, changing nothing, where it would not.
    bool addAfterText(const QString& added);
    // What goes into the document: the text, or while previewing the text shown ahead of it.
    const QString& incoming() const { return previewing_ ? preview_ : textCache_; }
    void endPreview();
    void dropPreview();
    // The document holds how the text begins, and goes on from there.
    void keepPreviewFor(QString text);
    void writeLater();
    void startFilling();
    void stopFilling();
    void scheduleFill();
    void fillSlice();
    void fillSliceIfDue();
    void selectDocumentRange(qsizetype start, qsizetype length);
    bool recordedSelectionIsCurrent() const;
    // The runs of the colour, or nothing when the document changed while the window had a turn.
    std::optional<std::vector<TextRange>> readRunsOfColor(Color color) const;
    // The document positions of the text's breaks.
    const std::vector<int>& breaks() const;
    // Makes each paragraph from `first` on that is not laid out count the lines its separators
    // part, and has the view take the new count.
    void countLinesFrom(int first);

    mutable QString textCache_;
    mutable bool textCacheValid_ = false;
    quint64 revision_ = 0;
    // The document is being changed by this class, which keeps the text and revision itself.
    bool ownEdit_ = false;
    // Written text not yet all in the document: its first filled_ characters are there.
    bool filling_ = false;
    qsizetype filled_ = 0;
    QTimer fillTimer_;
    EventLoopTurns loopTurns_{[this] { fillSliceIfDue(); }};
    // Pieces of a file on their way in, shown ahead of their load while the text is still empty:
    // the document holds the first filled_ characters of preview_.
    bool previewing_ = false;
    QString preview_;
    // The bytes shown, and whether every cut between their pieces was clean, so that the text of
    // the pieces is the text of their bytes together.
    QByteArray previewBytes_;
    bool previewClean_ = true;
    bool madeReadOnly_ = false;
    // The document parts lines within a paragraph by line separators; not for a text with line
    // separators of its own. A preview given such a piece shows no more pieces.
    bool grouped_ = true;
    bool previewHalted_ = false;
    QElapsedTimer sinceDoubleClick_;
    QPoint doubleClickAt_;
    mutable std::vector<int> breaks_;
    struct BreaksKey {
        quint64 revision = ~quint64(0);
        bool previewing = false;
        qsizetype size = -1;
        bool operator==(const BreaksKey& other) const {
            return revision == other.revision && previewing == other.previewing &&
                   size == other.size;
        }
    };
    mutable BreaksKey breaksKey_;
    EventPump* pump_ = nullptr;
    std::chrono::milliseconds slice_{15};
    // Some colour was given since the text was last written whole.
    bool coloured_ = false;
    // Counts the colourings, so that the runs last read out stay valid until the next one.
    quint64 colourings_ = 0;
    struct ColourRuns {
        Color color = kBlack;
        quint64 revision = 0;
        quint64 colourings = 0;
        std::vector<TextRange> runs;
    };
    mutable std::optional<ColourRuns> runsRead_;
    // The runs of each colour as the colourings made them, while nothing else changed the
    // document: at this revision and count of colourings.
    KnownColours known_;
    quint64 knownRevision_ = 0;
    quint64 knownColourings_ = 0;
    bool coloursKnown() const {
        return knownRevision_ == revision_ && knownColourings_ == colourings_;
    }

    // The selection last set through this interface, in text positions, and where it landed in
    // the document; it stays authoritative while the widget's cursor has not moved.
    struct RecordedSelection {
        qsizetype start = 0;
        qsizetype length = 0;
        int anchor = -1;
        int position = -1;
        quint64 revision = 0;  // an edit can move breaks without moving the widget's cursor
    } recorded_;

    // While the pane has no focus: the selection, and the caret the widget shows in its place. Both
    // are document cursors, so edits move them as they move the widget's own.
    bool selectionHidden_ = true;
    QTextCursor held_;
    QTextCursor heldCaret_;
};

}  // namespace corvella

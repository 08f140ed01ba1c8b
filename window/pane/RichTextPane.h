// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <chrono>
#include <optional>

#include "core/EventPump.h"
#include "core/PaneDocument.h"
#include "window/pane/HeldSelection.h"
#include "window/pane/PaneFill.h"
#include "window/pane/PaneTextModel.h"

namespace corvella {

// A text pane: a QPlainTextEdit seen through the PaneDocument operations. Its text, and how the
// document shows it, is a PaneTextModel; PaneFill puts written text into the document, and
// HeldSelection keeps the selection of a pane without focus. What is left here is what only the
// widget does: colouring the document, mapping the user's cursor, clicks and scrolling.
//
// Written text is the pane's text at once, and goes into the document a slice at a time (see
// PaneFill). Every operation that needs the document finishes it first, yielding between slices;
// long colourings also yield between slices. So a thousand-page text never holds the window still,
// and a long text in a work pane nobody looks at costs no document at all.
class RichTextPane : public QPlainTextEdit, public PaneDocument, private PaneFill::View {
    Q_OBJECT
public:
    explicit RichTextPane(QWidget* parent = nullptr);
    ~RichTextPane() override;

    // Lets long operations hand the event loop a turn after each time slice.
    void keepLive(EventPump& events, std::chrono::milliseconds slice);
    // Puts all written text into the document now.
    void completeText();
    // Whether written text is still going into the document.
    bool isFilling() const { return fill_.running() && !fill_.previewing(); }

    QString text() const override;
    qsizetype textLength() const override { return text().size(); }
    void setText(const QString& text) override;
    void appendText(const QString& added) override;

    qsizetype selStart() const override;
    qsizetype selLength() const override;
    void setSelStart(qsizetype start) override;
    void setSelLength(qsizetype length) override;
    void setSelColor(Color color) override;

    void colorRanges(const std::vector<TextRange>& ranges, Color color) override;
    Color colorAt(qsizetype position) const override;

    bool isShown() const override { return !isHidden(); }
    void setShown(bool shown) override { setVisible(shown); }

    void loadFromFile(const QString& path) override;
    void preview(const QByteArray& filePiece) override;
    bool showsPreview() const override { return fill_.pump() != nullptr; }
    quint64 textRevision() const override;

    // The document set aside for a load is a document of its own: giving it back is instant.
    void keepContent() override;
    void restoreContent() override;
    void dropKeptContent() override;

    // The text the document shows (ahead of a load, the preview), with its positions.
    const PaneTextModel& shownText() const;
    // Positions in the text and in the document as it is now (a text still going in ends where
    // it has got to).
    DocumentPosition toDocument(TextPosition position) const;
    TextPosition toText(DocumentPosition position) const { return shownText().toText(position); }
    TextPosition toText(const QTextCursor& cursor) const { return toText({cursor.position()}); }

    // The middle, in the viewport's coordinates, of the view line that holds the text position;
    // its paragraph must be laid out (one in view is).
    int lineMiddleY(qsizetype position) const;
    // Scrolls the line holding the text position to near the top of the view.
    void showNearTop(qsizetype position);
    // Scrolls only when the line holding the text position is out of view.
    void bringIntoView(qsizetype position);
    // Puts the caret at the start of the selection, which stays as it is: a run walked to reads
    // from its first character on.
    void caretToSelectionStart();

signals:
    // The text has a new revision (written, edited, or given back).
    void textRevised();

protected:
    void showEvent(QShowEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // A third click selects the line, not the paragraph of lines it is in.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // PaneFill::View
    QTextDocument& filledDocument() override { return *document(); }
    bool shown() const override { return isVisible(); }
    void fillEditing(bool editing) override { ownEdit_ = editing; }
    void fillRunning(bool running, bool preview) override;
    void sliceFilled(int firstBlock) override;
    void filled() override;

    void watch(QTextDocument* document);
    void revised();
    void clearDocument();
    void setCanonicalText(QString canonical);
    // Writes the canonical form of `added` after the text, where that ends as a full rewrite
    // would; false, changing nothing, where it would not.
    bool addAfterText(const QString& added);
    void write(qsizetype kept);
    void dropPreview();
    void keepPreviewFor(QString text);
    void selectDocumentRange(qsizetype start, qsizetype length);
    // Colours ranges sorted by start, a slice at a time; a text written meanwhile ends it.
    void paintSorted(const std::vector<TextRange>& sorted, Color color, quint64 revision);
    int lineNumberOf(qsizetype position);
    void setAside();
    QTextDocument* freshDocument();

    mutable PaneTextModel text_;
    PaneFill fill_{*this, this};
    HeldSelection selection_{*this};
    // The document is being changed by this class, which keeps the text and revision itself.
    bool ownEdit_ = false;
    bool madeReadOnly_ = false;
    // Some colour was given since the text was last written whole.
    bool coloured_ = false;
    QElapsedTimer sinceDoubleClick_;
    QPoint doubleClickAt_;

    // What keepContent keeps: the document and text, set aside at the first change after it.
    struct Kept {
        QTextDocument* document = nullptr;
        PaneTextModel text;
        bool coloured = false;
    };
    bool keeping_ = false;
    std::optional<Kept> kept_;
    TextRange keptSelection_;
};

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/pane/RichTextPane.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <memory>

#include "core/ErrorReport.h"
#include "core/PaneText.h"
#include "window/pane/PaneAccessible.h"
#include "window/pane/PanePlaces.h"

namespace corvella {

namespace {

QColor toQColor(Color color) {
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}
Color fromQColor(const QColor& color) {
    return Color(color.red()) | (Color(color.green()) << 8) | (Color(color.blue()) << 16);
}

}  // namespace

RichTextPane::RichTextPane(QWidget* parent) : QPlainTextEdit(parent) {
    PaneAccessible::Install();
    setUndoRedoEnabled(false);
    setTabChangesFocus(true);
    text_.assign(QString());
    watch(document());
}

RichTextPane::~RichTextPane() { dropKeptContent(); }

void RichTextPane::watch(QTextDocument* watched) {
    connect(watched, &QTextDocument::contentsChange, this, [this](int, int, int) {
        if (ownEdit_) return;
        // Typed or edited from outside: the text is read back out of the document when asked.
        keeping_ = keeping_ && kept_.has_value();
        text_.changedInDocument();
        emit textRevised();
    });
}

void RichTextPane::revised() { emit textRevised(); }

void RichTextPane::keepLive(EventPump& events, std::chrono::milliseconds slice) {
    fill_.keepLive(events, slice);
}

QString RichTextPane::text() const {
    if (text_.readBack()) {
        QString out;
        const QTextDocument* doc = document();
        out.reserve(2 * doc->characterCount());
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            if (block != doc->begin()) out += PaneText::kBreak;
            QString lines = block.text();
            if (text_.grouped()) lines.replace(PaneTextModel::kLineSeparator, PaneText::kBreak);
            out += lines;
        }
        text_.adoptRead(std::move(out));
    }
    return text_.text();
}

quint64 RichTextPane::textRevision() const { return text_.revision(); }

const PaneTextModel& RichTextPane::shownText() const {
    if (fill_.previewing()) return fill_.previewed();
    text();  // read back after an edit from outside
    return text_;
}

DocumentPosition RichTextPane::toDocument(TextPosition position) const {
    const DocumentPosition mapped = shownText().toDocument(position);
    return {std::min<qsizetype>(mapped.at, document()->characterCount() - 1)};
}

void RichTextPane::setText(const QString& text) {
    setAside();
    dropPreview();
    if (!text_.readBack() && text.size() > text_.length() && text.startsWith(text_.text()) &&
        addAfterText(text.sliced(text_.length())))
        return;
    setCanonicalText(PaneText::canonical(text));
}

void RichTextPane::appendText(const QString& added) {
    setAside();
    if (fill_.previewing() || text_.readBack() || !addAfterText(added)) setText(text() + added);
}

bool RichTextPane::addAfterText(const QString& added) {
    // Text written after the text already there (a load's final line break, say) on a pane without
    // colour: only the new part goes into the document, which ends as a full rewrite would. Only it
    // is made canonical too: each character's canonical form stands alone, and the text there is
    // canonical already.
    if (coloured_) return false;
    const QString canonical = PaneText::canonical(added);
    if (canonical.isEmpty() || !text_.canAppend(canonical)) return false;
    const qsizetype kept = text_.length();
    text_.append(canonical);
    write(isFilling() ? -1 : kept);
    return true;
}

void RichTextPane::clearDocument() {
    ownEdit_ = true;
    document()->clear();
    ownEdit_ = false;
}

void RichTextPane::setCanonicalText(QString canonical) {
    clearDocument();
    coloured_ = false;
    text_.assign(std::move(canonical));
    write(0);
}

void RichTextPane::write(qsizetype kept) {
    // `kept`: the characters of the text the document holds already; -1 for a fill under way.
    selection_.forget();
    revised();
    fill_.fill(text_, kept);
}

void RichTextPane::preview(const QByteArray& filePiece) {
    setAside();
    const bool empty =
        !coloured_ && !text_.readBack() && text_.length() == 0 && document()->characterCount() <= 1;
    fill_.preview(filePiece, empty);
}

void RichTextPane::keepPreviewFor(QString text) {
    fill_.endPreview();
    text_.assign(std::move(text));
    write(-1);
}

void RichTextPane::dropPreview() {
    if (!fill_.previewing()) return;
    fill_.endPreview();
    clearDocument();
    fill_.stop();
}

void RichTextPane::fillRunning(bool running, bool preview) {
    if (running) {
        // Nothing may be typed into a document that is still being filled while the window is
        // live.
        madeReadOnly_ = fill_.pump() != nullptr && !isReadOnly();
        if (madeReadOnly_) setReadOnly(true);
        // Until a load's text is in, the scroll range is taken from the line count alone: worked
        // out from the end of the document, it lays out the paragraphs a screen holds there after
        // every chunk, a third of the fill's time, while the extractor wants both cores. A work
        // pane's list fills as before: this way its showing waited 10 to 15 ms longer.
        if (preview) setCenterOnScroll(true);
        return;
    }
    if (madeReadOnly_) setReadOnly(false);
    madeReadOnly_ = false;
    setCenterOnScroll(false);
}

void RichTextPane::sliceFilled(int firstBlock) { PanePlaces::CountLines(*this, firstBlock); }

void RichTextPane::filled() {
    // Writing the whole text leaves the cursor, and the selection, after it; the view stays.
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    const int horizontal = horizontalScrollBar()->value();
    const int vertical = verticalScrollBar()->value();
    selection_.set(end);
    horizontalScrollBar()->setValue(horizontal);
    verticalScrollBar()->setValue(vertical);
}

void RichTextPane::showEvent(QShowEvent* event) {
    QPlainTextEdit::showEvent(event);
    fill_.shown();
}

void RichTextPane::completeText() {
    // What needs the document needs it as the text is, which a preview is not yet.
    dropPreview();
    fill_.complete();
}

void RichTextPane::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    sinceDoubleClick_.start();
    doubleClickAt_ = event->position().toPoint();
}

void RichTextPane::mousePressEvent(QMouseEvent* event) {
    const bool third = event->button() == Qt::LeftButton && sinceDoubleClick_.isValid() &&
                       sinceDoubleClick_.elapsed() < QApplication::doubleClickInterval() &&
                       (event->position().toPoint() - doubleClickAt_).manhattanLength() <
                           QApplication::startDragDistance();
    sinceDoubleClick_.invalidate();
    QPlainTextEdit::mousePressEvent(event);
    if (!third || !shownText().grouped()) return;
    // As the view selects a paragraph: from its start to the start of the next.
    const PaneTextModel& shown = shownText();
    const qsizetype line =
        shown.lineOf({cursorForPosition(event->position().toPoint()).position()});
    QTextCursor selected(document());
    selected.setPosition(int(shown.lineStart(line).at));
    selected.setPosition(
        int(std::min<qsizetype>(shown.lineStart(line + 1).at, document()->characterCount() - 1)),
        QTextCursor::KeepAnchor);
    selection_.set(selected);
}

void RichTextPane::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    // Laid out afresh, every paragraph counts one line until laid out again: fewer than the text
    // has.
    const QTextDocument* doc = document();
    if (shownText().grouped() &&
        doc->lineCount() < shownText().lineOf({doc->characterCount() - 1}) + 1)
        PanePlaces::CountLines(*this, 0);
}

void RichTextPane::focusInEvent(QFocusEvent* event) {
    selection_.focusIn();
    QPlainTextEdit::focusInEvent(event);
}

void RichTextPane::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    selection_.focusOut(event->reason());
}

qsizetype RichTextPane::selStart() const {
    // A text still going into the document leaves the selection after it.
    if (fill_.running()) return text_.length();
    if (const std::optional<TextRange> recorded = selection_.recorded(textRevision()))
        return recorded->start;
    return toText({selection_.current().selectionStart()}).at;
}

qsizetype RichTextPane::selLength() const {
    if (fill_.running()) return 0;
    if (const std::optional<TextRange> recorded = selection_.recorded(textRevision()))
        return recorded->length;
    const QTextCursor cursor = selection_.current();
    return toText({cursor.selectionEnd()}).at - toText({cursor.selectionStart()}).at;
}

void RichTextPane::selectDocumentRange(qsizetype start, qsizetype length) {
    completeText();
    QTextCursor cursor(document());
    cursor.setPosition(int(toDocument({start}).at));
    cursor.setPosition(int(toDocument({start + length}).at), QTextCursor::KeepAnchor);
    selection_.set(cursor);
    selection_.record({start, length}, cursor, textRevision());
}

void RichTextPane::setSelStart(qsizetype start) {
    selectDocumentRange(PaneText::clampStart(start, textLength()), 0);
}

void RichTextPane::setSelLength(qsizetype length) {
    const qsizetype start = selStart();
    selectDocumentRange(start, PaneText::clampLength(length, start, textLength()));
}

void RichTextPane::setSelColor(Color color) {
    const qsizetype start = selStart();
    const qsizetype length = selLength();
    if (length <= 0) return;
    colorRanges({{start, length}}, color);
}

void RichTextPane::colorRanges(const std::vector<TextRange>& ranges, Color color) {
    if (ranges.empty()) return;
    setAside();
    // The ranges are places in the text as it is now; a text written while the document is being
    // completed, or between two slices of colour, ends the colouring.
    const quint64 revision = textRevision();
    completeText();
    if (textRevision() != revision) return;
    std::vector<TextRange> sorted = ranges;
    auto byStart = [](const TextRange& a, const TextRange& b) { return a.start < b.start; };
    if (!std::is_sorted(sorted.begin(), sorted.end(), byStart))
        std::sort(sorted.begin(), sorted.end(), byStart);

    paintSorted(sorted, color, revision);
}

void RichTextPane::paintSorted(const std::vector<TextRange>& sorted, Color color,
                               quint64 revision) {
    // One forward sweep over the lines maps every position, instead of a search per range.
    const qsizetype length = textLength();
    PaneTextModel::Sweep starts(text_);
    // Many ranges, or a long one, are coloured a slice at a time with the window live between
    // slices; a text written meanwhile ends the colouring, its positions being gone.
    QTextCharFormat format;
    format.setForeground(toQColor(color));
    QTextCursor cursor(document());
    QElapsedTimer clock;
    auto beginSlice = [&] {
        clock.start();
        ownEdit_ = true;
        coloured_ = true;
        cursor.beginEditBlock();
    };
    auto endSlice = [&] {
        cursor.endEditBlock();
        ownEdit_ = false;
    };
    // Whether the colouring goes on after a slice that has run its time.
    auto nextSlice = [&] {
        if (fill_.pump() == nullptr || clock.elapsed() < fill_.sliceTime().count()) return true;
        endSlice();
        SliceTurn::Give(*fill_.pump());
        if (textRevision() != revision) return false;
        beginSlice();
        return true;
    };
    constexpr qsizetype kLongest = 32 * 1024;
    beginSlice();
    for (const TextRange& range : sorted) {
        const qsizetype from = std::clamp<qsizetype>(range.start, 0, length);
        const qsizetype to = std::clamp<qsizetype>(range.start + range.length, from, length);
        qsizetype docFrom = starts.to({from}).at;
        PaneTextModel::Sweep ends = starts;
        const qsizetype docTo = ends.to({to}).at;
        while (docFrom < docTo) {
            const qsizetype pieceEnd = std::min(docTo, docFrom + kLongest);
            cursor.setPosition(int(docFrom));
            cursor.setPosition(int(pieceEnd), QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(format);
            docFrom = pieceEnd;
            if (!nextSlice()) return;
        }
    }
    endSlice();
}

Color RichTextPane::colorAt(qsizetype position) const {
    // A text still going into the document has had no colour since it was written.
    if (fill_.running() || position < 0 || position >= textLength()) return kBlack;
    const QChar c = text().at(position);
    if (c == PaneText::kCR || c == PaneText::kLF) return kBlack;
    const int documentPosition = int(toDocument({position}).at);
    const QTextBlock block = document()->findBlock(documentPosition);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (documentPosition >= fragment.position() &&
            documentPosition < fragment.position() + fragment.length()) {
            const QTextCharFormat format = fragment.charFormat();
            return format.hasProperty(QTextFormat::ForegroundBrush)
                       ? fromQColor(format.foreground().color())
                       : kBlack;
        }
    }
    return kBlack;
}

int RichTextPane::lineNumberOf(qsizetype position) {
    completeText();
    return PanePlaces::LineOf(*this, std::clamp<qsizetype>(position, 0, textLength()));
}

int RichTextPane::lineMiddleY(qsizetype position) const {
    const int at =
        int(std::min<qsizetype>(toDocument({position}).at, document()->characterCount() - 1));
    const QTextBlock block = document()->findBlock(at);
    const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
    const QTextLayout* layout = block.layout();
    const QTextLine line =
        layout ? layout->lineForTextPosition(at - block.position()) : QTextLine();
    if (!line.isValid()) return int(box.center().y());
    return int(box.top() + line.y() + line.height() / 2);
}

void RichTextPane::showNearTop(qsizetype position) {
    constexpr int kLinesAbove = 2;  // some context before it
    // The vertical scroll bar of a plain-text view counts lines.
    verticalScrollBar()->setValue(std::max(0, lineNumberOf(position) - kLinesAbove));
}

void RichTextPane::bringIntoView(qsizetype position) {
    const int line = lineNumberOf(position);
    const int top = verticalScrollBar()->value();
    const int lineHeight = std::max(1, fontMetrics().lineSpacing());
    const int shownLines = std::max(1, viewport()->height() / lineHeight);
    if (line < top || line >= top + shownLines) showNearTop(position);
}

void RichTextPane::caretToSelectionStart() {
    const bool recorded = selection_.recorded(textRevision()).has_value();
    const QTextCursor current = selection_.current();
    if (!current.hasSelection() || current.position() == current.selectionStart()) return;
    QTextCursor turned(document());
    turned.setPosition(current.selectionEnd());
    turned.setPosition(current.selectionStart(), QTextCursor::KeepAnchor);
    selection_.set(turned);
    if (recorded) selection_.turned(turned);
}

void RichTextPane::loadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Failure(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw Failure(file.errorString());
    file.close();
    setAside();
    // Shown ahead and cut cleanly: only the rest of the file is decoded.
    if (std::optional<QString> text = fill_.previewedFile(bytes)) {
        keepPreviewFor(std::move(*text));
        return;
    }
    // Decoding a thousand pages takes a while: it runs beside the event loop.
    QString text;
    if (fill_.pump() != nullptr && bytes.size() > 1024 * 1024)
        RunBesideTheLoop(*fill_.pump(), [&] { text = PaneText::canonicalFromFileText(bytes); });
    else
        text = PaneText::canonicalFromFileText(bytes);
    // A preview that is how this text begins stays in the document, which goes on from there.
    if (fill_.previewBegins(text)) {
        keepPreviewFor(std::move(text));
        return;
    }
    dropPreview();
    setCanonicalText(std::move(text));
}

// ---- Content kept aside for a load ------------------------------------------------------------

void RichTextPane::keepContent() {
    dropKeptContent();
    // A text still going in is put in, so that the document kept is the whole of it.
    completeText();
    keeping_ = true;
    keptSelection_ = {selStart(), selLength()};
}

QTextDocument* RichTextPane::freshDocument() {
    QTextDocument* current = document();
    auto* fresh = new QTextDocument(this);
    fresh->setDocumentLayout(new QPlainTextDocumentLayout(fresh));
    fresh->setDefaultFont(current->defaultFont());
    fresh->setDocumentMargin(current->documentMargin());
    fresh->setUndoRedoEnabled(false);
    return fresh;
}

void RichTextPane::setAside() {
    if (!keeping_ || kept_) return;
    QTextDocument* current = document();
    // Owned by the pane, not by the view, which would delete it when it gets another.
    current->setParent(this);
    kept_ = Kept{current, text_, coloured_};
    QTextDocument* fresh = freshDocument();
    setDocument(fresh);
    watch(fresh);
    coloured_ = false;
}

void RichTextPane::restoreContent() {
    if (!keeping_) return;
    keeping_ = false;
    if (kept_) {
        fill_.endPreview();
        fill_.stop();
        QTextDocument* used = document();
        setDocument(kept_->document);
        delete used;
        text_ = kept_->text;
        coloured_ = kept_->coloured;
        kept_.reset();
        revised();
    }
    setSelStart(keptSelection_.start);
    setSelLength(keptSelection_.length);
}

void RichTextPane::dropKeptContent() {
    keeping_ = false;
    if (!kept_) return;
    delete kept_->document;
    kept_.reset();
}

}  // namespace corvella

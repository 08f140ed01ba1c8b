// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/pane/RichTextPane.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <memory>

#include "core/ErrorReport.h"
#include "core/PaneText.h"
#include "window/pane/PanePlaces.h"

namespace corvella {

namespace {
// What one slice puts into the document at least.
constexpr qsizetype kFillChunk = 16 * 1024;
// A paragraph of the document costs about as much to make as a few hundred characters; lines go
// in this many to a paragraph, which cuts a thousand pages' fill to a fifth.
constexpr int kLinesPerParagraph = 10;
constexpr QChar kLineSeparator = QChar::LineSeparator;

// The text written with its breaks made line separators, but every kLinesPerParagraph-th, which
// stays a paragraph break; `lines` counts the lines of the paragraph being written.
QString groupLines(QStringView written, int& lines) {
    QString out;
    out.reserve(written.size());
    qsizetype from = 0;
    for (qsizetype cr = written.indexOf(PaneText::kCR); cr >= 0;
         cr = written.indexOf(PaneText::kCR, from)) {
        // Canonical text has an LF after every CR, and a chunk ends after a whole break; a CR
        // alone is a break of the document's too.
        const bool crlf = cr + 1 < written.size() && written.at(cr + 1) == PaneText::kLF;
        const qsizetype next = cr + (crlf ? 2 : 1);
        if (lines < kLinesPerParagraph) {
            out += written.sliced(from, cr - from);
            out += kLineSeparator;
            ++lines;
        } else {
            out += written.sliced(from, next - from);
            lines = 1;
        }
        from = next;
    }
    out += written.sliced(std::min(from, written.size()));
    return out;
}

// Whether line k + 1 starts at or before a text position: it starts after break k, which stands k
// places later in the text than in the document.
bool nextLineStartsBy(const std::vector<int>& breaks, std::size_t k, qsizetype textPosition) {
    return qsizetype(breaks[k]) + qsizetype(k) + 2 <= textPosition;
}

// When the last slice of any pane ended: slices between other events wait a slice's time after it.
QElapsedTimer& sinceAnySlice() {
    static QElapsedTimer clock;
    return clock;
}

// The canonical text of a file's bytes, decoded on a thread of its own while the pump handles the
// window's events; a pump that cannot wait so simply waits for it.
QString decodeBesideTheLoop(const QByteArray& bytes, EventPump& pump) {
    QString text;
    std::atomic<bool> done{false};
    const std::unique_ptr<QThread> worker(QThread::create([&] {
        text = PaneText::canonicalFromFileText(bytes);
        done = true;
    }));
    // Its end is a queued call in this thread, which wakes a loop waiting for events.
    QObject::connect(
        worker.get(), &QThread::finished, QCoreApplication::instance(), [] {},
        Qt::QueuedConnection);
    worker->start();
    while (!done && pump.processEventsUntil([&] { return done.load(); }, std::chrono::seconds(1))) {
    }
    worker->wait();
    return text;
}

QColor toQColor(Color color) {
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}
Color fromQColor(const QColor& color) {
    return Color(color.red()) | (Color(color.green()) << 8) | (Color(color.blue()) << 16);
}
}  // namespace

RichTextPane::RichTextPane(QWidget* parent) : QPlainTextEdit(parent) {
    setUndoRedoEnabled(false);
    setTabChangesFocus(true);
    fillTimer_.setSingleShot(true);
    fillTimer_.setInterval(0);
    connect(&fillTimer_, &QTimer::timeout, this, [this] {
        if (!isVisible()) return;  // hidden meanwhile: it waits again
        // Not in the turn between slices of other work, nor right after another pane's slice:
        // the loop has its turn between.
        if (SliceTurn::inside() || (sinceAnySlice().isValid() && sinceAnySlice().elapsed() < 1)) {
            fillTimer_.start(1);
            return;
        }
        fillSlice();
        scheduleFill();
    });
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int, int) {
        if (ownEdit_) return;
        textCacheValid_ = false;
        ++revision_;
    });
}

void RichTextPane::keepLive(EventPump& events, std::chrono::milliseconds slice) {
    pump_ = &events;
    slice_ = slice;
}

QString RichTextPane::text() const {
    if (!textCacheValid_) {
        QString out;
        out.reserve(2 * document()->characterCount());
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            if (block != document()->begin()) out += PaneText::kBreak;
            QString lines = block.text();
            if (grouped_) lines.replace(kLineSeparator, PaneText::kBreak);
            out += lines;
        }
        textCache_ = out;
        textCacheValid_ = true;
    }
    return textCache_;
}

qsizetype RichTextPane::textLength() const { return text().size(); }

void RichTextPane::setText(const QString& text) {
    dropPreview();
    if (textCacheValid_ && text.size() > textCache_.size() && text.startsWith(textCache_) &&
        addAfterText(text.sliced(textCache_.size())))
        return;
    setCanonicalText(PaneText::canonical(text));
}

void RichTextPane::appendText(const QString& added) {
    if (previewing_ || !textCacheValid_ || !addAfterText(added)) setText(text() + added);
}

bool RichTextPane::addAfterText(const QString& added) {
    // Text written after the text already there (a load's final line break, say) on a pane without
    // colour: only the new part goes into the document, which ends as a full rewrite would. Only it
    // is made canonical too: each character's canonical form stands alone, and the text there is
    // canonical already.
    if (coloured_) return false;
    const QString canonical = PaneText::canonical(added);
    if (canonical.isEmpty() || (grouped_ && canonical.contains(kLineSeparator))) return false;
    if (!filling_) filled_ = textCache_.size();
    textCache_ += canonical;
    writeLater();
    return true;
}

void RichTextPane::setCanonicalText(QString canonical) {
    ownEdit_ = true;
    document()->clear();
    ownEdit_ = false;
    coloured_ = false;
    textCache_ = std::move(canonical);
    grouped_ = !textCache_.contains(kLineSeparator);
    filled_ = 0;
    writeLater();
}

void RichTextPane::preview(const QByteArray& filePiece) {
    if (!previewing_) {
        // Only a live pane that is empty, without colour and done filling shows a text ahead.
        if (pump_ == nullptr || filling_ || coloured_ || !textCacheValid_ ||
            !textCache_.isEmpty() || document()->characterCount() > 1)
            return;
        previewing_ = true;
        previewBytes_.clear();
        previewClean_ = true;
        grouped_ = true;
        startFilling();
        // Until the load's text is in, the scroll range is taken from the line count alone:
        // worked out from the end of the document, it lays out the paragraphs a screen holds there
        // after every chunk, a third of the fill's time, while the extractor wants both cores. It
        // is worked out once the text is in. A work pane's list fills as before: this way its
        // showing waited 10 to 15 ms longer.
        setCenterOnScroll(true);
        filled_ = 0;
    }
    if (previewHalted_) return;
    const bool later = !previewBytes_.isEmpty();
    const bool clean = !later || (previewClean_ && PaneText::cutsCleanlyAfter(previewBytes_));
    // Cut elsewhere, the text shown is only a guess, which the load checks against the file's.
    const QString piece = later && clean ? PaneText::canonicalFromLaterFileText(filePiece)
                                         : PaneText::canonicalFromFileText(filePiece);
    if (piece.contains(kLineSeparator)) {
        previewHalted_ = true;
        return;
    }
    previewClean_ = clean;
    preview_ += piece;
    previewBytes_ += filePiece;
    scheduleFill();
}

void RichTextPane::endPreview() {
    previewing_ = false;
    previewHalted_ = false;
    preview_.clear();
    previewBytes_.clear();
}

void RichTextPane::keepPreviewFor(QString text) {
    endPreview();
    textCache_ = std::move(text);
    writeLater();
}

void RichTextPane::dropPreview() {
    if (!previewing_) return;
    endPreview();
    ownEdit_ = true;
    document()->clear();
    ownEdit_ = false;
    filled_ = 0;
    stopFilling();
}

void RichTextPane::writeLater() {
    textCacheValid_ = true;
    recorded_ = RecordedSelection{};
    ++revision_;
    if (!filling_) startFilling();
    // What fits in one slice goes in now: nothing is left waiting on the event loop for it.
    if (pump_ == nullptr || textCache_.size() - filled_ <= kFillChunk)
        completeText();
    else
        scheduleFill();
}

void RichTextPane::startFilling() {
    filling_ = true;
    // Nothing may be typed into a document that is still being filled while the window is live.
    madeReadOnly_ = pump_ != nullptr && !isReadOnly();
    if (madeReadOnly_) setReadOnly(true);
}

void RichTextPane::stopFilling() {
    filling_ = false;
    fillTimer_.stop();
    loopTurns_.setWatching(false);
    if (madeReadOnly_) setReadOnly(false);
    setCenterOnScroll(false);
}

void RichTextPane::scheduleFill() {
    // A hidden pane's document waits until the pane is shown, or until an operation needs it; a
    // preview shown so far waits for its next piece.
    if (!filling_ || !isVisible() || filled_ >= incoming().size()) return;
    loopTurns_.setWatching(true);
    // The timer keeps a quiet loop filling; on a busy one the loop's other events also run slices
    // (loopTurns_), so requests queued ahead of it do not hold the text back.
    if (!fillTimer_.isActive()) fillTimer_.start(0);
}

void RichTextPane::showEvent(QShowEvent* event) {
    QPlainTextEdit::showEvent(event);
    scheduleFill();
}

void RichTextPane::fillSliceIfDue() {
    // Not from inside an edit of this class, and no more often than the posted slices when the
    // loop is quiet.
    if (!filling_ || ownEdit_ || !isVisible() || SliceTurn::inside() ||
        filled_ >= incoming().size())
        return;
    if (sinceAnySlice().isValid() && sinceAnySlice().elapsed() < slice_.count()) return;
    fillSlice();
}

void RichTextPane::fillSlice() {
    if (!filling_) return;
    QElapsedTimer clock;
    clock.start();
    QTextCursor end(document());
    ownEdit_ = true;
    const int firstChanged = document()->blockCount() - 1;
    int lines = int(document()->lastBlock().text().count(kLineSeparator)) + 1;
    // At least one chunk a slice, however short the slice.
    const QString& source = incoming();
    for (bool first = true; filled_ < source.size() && (first || clock.elapsed() < slice_.count());
         first = false) {
        qsizetype to = std::min(source.size(), filled_ + kFillChunk);
        if (to < source.size() && source.at(to - 1) == PaneText::kCR) ++to;  // whole breaks
        end.movePosition(QTextCursor::End);
        // The document takes a CR LF as one paragraph break.
        const QStringView chunk = QStringView(source).sliced(filled_, to - filled_);
        end.insertText(grouped_ ? groupLines(chunk, lines) : chunk.toString(), QTextCharFormat());
        filled_ = to;
    }
    ownEdit_ = false;
    if (grouped_) countLinesFrom(firstChanged);
    sinceAnySlice().start();
    if (filled_ < source.size()) return;
    if (previewing_) {
        fillTimer_.stop();
        loopTurns_.setWatching(false);
        return;
    }
    stopFilling();
    // Writing the whole text leaves the cursor, and the selection, after it; the view stays.
    end.movePosition(QTextCursor::End);
    const int horizontal = horizontalScrollBar()->value();
    const int vertical = verticalScrollBar()->value();
    setSelection(end);
    horizontalScrollBar()->setValue(horizontal);
    verticalScrollBar()->setValue(vertical);
}

void RichTextPane::completeText() {
    // What needs the document needs it as the text is, which a preview is not yet.
    dropPreview();
    while (filling_) {
        fillSlice();
        if (filling_ && pump_ != nullptr) SliceTurn::Give(*pump_);
    }
}

const std::vector<int>& RichTextPane::breaks() const {
    const QString& source = previewing_ ? preview_ : text();
    const BreaksKey key{revision_, previewing_, source.size()};
    if (breaksKey_ == key) return breaks_;
    // Canonical text breaks lines only with CR LF; the k-th break is k places earlier in the
    // document.
    breaks_.clear();
    for (qsizetype cr = source.indexOf(PaneText::kCR); cr >= 0;
         cr = source.indexOf(PaneText::kCR, cr + 1))
        breaks_.push_back(int(cr - qsizetype(breaks_.size())));
    breaks_.shrink_to_fit();
    breaksKey_ = key;
    return breaks_;
}

qsizetype RichTextPane::toDocument(qsizetype textPosition) const {
    // The line holding the position: the last one whose text start is not after it.
    const std::vector<int>& breaks = this->breaks();
    std::size_t low = 0;
    std::size_t high = breaks.size();
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (nextLineStartsBy(breaks, mid, textPosition))
            low = mid + 1;
        else
            high = mid;
    }
    return std::clamp<qsizetype>(textPosition - qsizetype(low), 0,
                                 document()->characterCount() - 1);
}

qsizetype RichTextPane::textLineOf(qsizetype documentPosition) const {
    const std::vector<int>& breaks = this->breaks();
    return std::lower_bound(breaks.begin(), breaks.end(), documentPosition) - breaks.begin();
}

qsizetype RichTextPane::toText(qsizetype documentPosition) const {
    return documentPosition + textLineOf(documentPosition);
}

void RichTextPane::countLinesFrom(int first) {
    QTextDocument* doc = document();
    QTextBlock block = doc->findBlockByNumber(std::max(0, first));
    // The breaks within a paragraph are its line separators; the one at its end is its own.
    const std::vector<int>& breaks = this->breaks();
    auto next = std::lower_bound(breaks.begin(), breaks.end(), block.position());
    for (; block.isValid(); block = block.next()) {
        const int end = block.position() + block.length() - 1;
        const auto after = std::lower_bound(next, breaks.end(), end);
        const int lines = int(after - next) + 1;
        next = after != breaks.end() && *after == end ? std::next(after) : after;
        // A paragraph laid out may count more lines, wrapped, but never fewer.
        if (block.lineCount() < lines) block.setLineCount(lines);
    }
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    emit layout->documentSizeChanged(layout->documentSize());
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
    if (!third || !grouped_) return;
    // As the view selects a paragraph: from its start to the start of the next.
    const int at = cursorForPosition(event->position().toPoint()).position();
    const std::vector<int>& breaks = this->breaks();
    const auto end = std::lower_bound(breaks.begin(), breaks.end(), at);
    QTextCursor line(document());
    line.setPosition(end == breaks.begin() ? 0 : *std::prev(end) + 1);
    line.setPosition(end == breaks.end() ? document()->characterCount() - 1 : *end + 1,
                     QTextCursor::KeepAnchor);
    setSelection(line);
}

void RichTextPane::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    // Laid out afresh, every paragraph counts one line until laid out again: fewer than the text
    // has.
    const QTextDocument* doc = document();
    if (grouped_ && doc->lineCount() < textLineOf(doc->characterCount() - 1) + 1) countLinesFrom(0);
}

bool RichTextPane::widgetShowsHeldCaret() const {
    const QTextCursor shown = textCursor();
    return !heldCaret_.isNull() && heldCaret_.document() == document() &&
           shown.anchor() == heldCaret_.anchor() && shown.position() == heldCaret_.position();
}

QTextCursor RichTextPane::selection() const {
    // A cursor put into the widget while the selection was held aside is the selection from then
    // on.
    return selectionHidden_ && widgetShowsHeldCaret() ? held_ : textCursor();
}

void RichTextPane::setSelection(const QTextCursor& cursor) {
    if (!selectionHidden_) {
        setTextCursor(cursor);
        return;
    }
    held_ = cursor;
    heldCaret_ = cursor;
    heldCaret_.clearSelection();
    setTextCursor(heldCaret_);
}

void RichTextPane::showCursorKeepingView(const QTextCursor& cursor) {
    // Only the highlight changes: the text stays where the user scrolled it.
    const int horizontal = horizontalScrollBar()->value();
    const int vertical = verticalScrollBar()->value();
    setTextCursor(cursor);
    horizontalScrollBar()->setValue(horizontal);
    verticalScrollBar()->setValue(vertical);
}

void RichTextPane::focusInEvent(QFocusEvent* event) {
    if (selectionHidden_) {
        selectionHidden_ = false;
        if (widgetShowsHeldCaret()) showCursorKeepingView(held_);
    }
    QPlainTextEdit::focusInEvent(event);
}

void RichTextPane::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    // A context menu of the pane works on the selection, so it stays in view for it.
    if (event->reason() == Qt::PopupFocusReason || selectionHidden_) return;
    held_ = textCursor();
    heldCaret_ = held_;
    heldCaret_.clearSelection();
    showCursorKeepingView(heldCaret_);
    selectionHidden_ = true;
}

bool RichTextPane::recordedSelectionIsCurrent() const {
    const QTextCursor cursor = selection();
    return cursor.anchor() == recorded_.anchor && cursor.position() == recorded_.position &&
           recorded_.revision == revision_;
}

qsizetype RichTextPane::selStart() const {
    // A text still going into the document leaves the selection after it.
    if (filling_) return textCache_.size();
    if (recordedSelectionIsCurrent()) return recorded_.start;
    return toText(selection().selectionStart());
}

qsizetype RichTextPane::selLength() const {
    if (filling_) return 0;
    if (recordedSelectionIsCurrent()) return recorded_.length;
    const QTextCursor cursor = selection();
    return toText(cursor.selectionEnd()) - toText(cursor.selectionStart());
}

void RichTextPane::selectDocumentRange(qsizetype start, qsizetype length) {
    completeText();
    const qsizetype from = toDocument(start);
    const qsizetype to = toDocument(start + length);
    QTextCursor cursor(document());
    cursor.setPosition(int(from));
    cursor.setPosition(int(to), QTextCursor::KeepAnchor);
    setSelection(cursor);
    recorded_ = {start, length, cursor.anchor(), cursor.position(), revision_};
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
    // The ranges are places in the text as it is now; a text written while the document is being
    // completed, or between two slices of colour, ends the colouring.
    const quint64 revision = revision_;
    completeText();
    if (revision_ != revision) return;
    // Kept as they are made only when known up to now: a text without colour, or colours known.
    const bool knownBefore = !coloured_ || coloursKnown();
    if (!coloured_) known_.clear();
    const quint64 colouringsBefore = colourings_;
    quint64 slices = 0;
    std::vector<TextRange> sorted = ranges;
    auto byStart = [](const TextRange& a, const TextRange& b) { return a.start < b.start; };
    if (!std::is_sorted(sorted.begin(), sorted.end(), byStart))
        std::sort(sorted.begin(), sorted.end(), byStart);

    // One forward sweep over the lines maps every position, instead of a search per range.
    const std::vector<int>& breaks = this->breaks();
    const qsizetype length = textLength();
    const qsizetype lastDocumentPosition = document()->characterCount() - 1;
    auto advance = [&](std::size_t& line, qsizetype textPosition) {
        while (line < breaks.size() && nextLineStartsBy(breaks, line, textPosition)) ++line;
        return std::min(textPosition - qsizetype(line), lastDocumentPosition);
    };

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
        ++colourings_;
        ++slices;
        cursor.beginEditBlock();
    };
    auto endSlice = [&] {
        cursor.endEditBlock();
        ownEdit_ = false;
    };
    // Whether the colouring goes on after a slice that has run its time.
    auto nextSlice = [&] {
        if (pump_ == nullptr || clock.elapsed() < slice_.count()) return true;
        endSlice();
        SliceTurn::Give(*pump_);
        if (revision_ != revision) return false;
        beginSlice();
        return true;
    };
    constexpr qsizetype kLongest = 32 * 1024;
    beginSlice();
    std::size_t start = 0;
    // The ranges within the text, for the runs kept, take the places of those already coloured.
    std::size_t painted = 0;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const qsizetype from = std::clamp<qsizetype>(sorted[i].start, 0, length);
        const qsizetype to =
            std::clamp<qsizetype>(sorted[i].start + sorted[i].length, from, length);
        if (knownBefore && to > from) sorted[painted++] = {from, to - from};
        qsizetype docFrom = advance(start, from);
        std::size_t end = start;
        const qsizetype docTo = advance(end, to);
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
    // No other colouring ran in a turn between the slices.
    if (!knownBefore || colourings_ != colouringsBefore + slices) return;
    sorted.resize(painted);
    known_.paint(text(), sorted, color);
    knownRevision_ = revision_;
    knownColourings_ = colourings_;
}

Color RichTextPane::colorAt(qsizetype position) const {
    // A text still going into the document has had no colour since it was written.
    if (filling_ || position < 0 || position >= textLength()) return kBlack;
    const QChar c = text().at(position);
    if (c == PaneText::kCR || c == PaneText::kLF) return kBlack;
    const qsizetype documentPosition = toDocument(position);
    const QTextBlock block = document()->findBlock(int(documentPosition));
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

std::vector<TextRange> RichTextPane::runsOfColor(Color color) const {
    // Line breaks read as black but are no fragments; black is asked of every character.
    if (color == kBlack) return PaneDocument::runsOfColor(color);
    if (filling_ || !coloured_) return {};  // no colour since it was written
    if (coloursKnown()) return known_.runsOf(color);
    if (runsRead_ && runsRead_->color == color && runsRead_->revision == revision_ &&
        runsRead_->colourings == colourings_)
        return runsRead_->runs;
    // A thousand coloured pages hold a million fragments: the window has its turn after each
    // slice, and a document changed meanwhile is read again.
    std::optional<std::vector<TextRange>> runs;
    while (!runs) {
        if (filling_) return {};  // written meanwhile
        runs = readRunsOfColor(color);
    }
    runsRead_ = ColourRuns{color, revision_, colourings_, *runs};
    return *runs;
}

std::optional<std::vector<TextRange>> RichTextPane::readRunsOfColor(Color color) const {
    const quint64 revision = revision_;
    const quint64 colourings = colourings_;
    QElapsedTimer clock;
    clock.start();
    std::vector<TextRange> runs;
    // The breaks before a place: those between paragraphs, and the line separators within one,
    // which are no run's (line breaks read as black).
    const std::vector<int>& breaks = this->breaks();
    auto breaksBefore = breaks.begin();
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.hasProperty(QTextFormat::ForegroundBrush) ||
                fromQColor(format.foreground().color()) != color)
                continue;
            const int end = fragment.position() + fragment.length();
            for (int from = fragment.position(); from < end;) {
                breaksBefore = std::lower_bound(breaksBefore, breaks.end(), from);
                const int to = breaksBefore == breaks.end() ? end : std::min(end, *breaksBefore);
                const qsizetype start = from + (breaksBefore - breaks.begin());
                // Nothing before a line separator at the fragment's start.
                if (to > from) {
                    if (!runs.empty() && runs.back().start + runs.back().length == start)
                        runs.back().length += to - from;
                    else
                        runs.push_back({start, to - from});
                }
                from = to + 1;
            }
        }
        if (pump_ != nullptr && clock.elapsed() >= slice_.count()) {
            SliceTurn::Give(*pump_);
            if (revision_ != revision || colourings_ != colourings) return std::nullopt;
            clock.restart();
        }
    }
    return runs;
}

int RichTextPane::lineNumberOf(qsizetype position) {
    completeText();
    return PanePlaces::LineOf(*this, std::clamp<qsizetype>(position, 0, textLength()));
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
    const bool recorded = recordedSelectionIsCurrent();
    const QTextCursor current = selection();
    if (!current.hasSelection() || current.position() == current.selectionStart()) return;
    QTextCursor turned(document());
    turned.setPosition(current.selectionEnd());
    turned.setPosition(current.selectionStart(), QTextCursor::KeepAnchor);
    setSelection(turned);
    if (recorded) {
        recorded_.anchor = turned.anchor();
        recorded_.position = turned.position();
    }
}

void RichTextPane::loadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Failure(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw Failure(file.errorString());
    file.close();
    // Shown ahead and cut cleanly: only the rest of the file is decoded.
    if (previewing_ && previewClean_ && bytes.startsWith(previewBytes_) &&
        (bytes.size() == previewBytes_.size() || PaneText::cutsCleanlyAfter(previewBytes_))) {
        const QString rest = PaneText::canonicalFromLaterFileText(
            QByteArrayView(bytes).sliced(previewBytes_.size()));
        // The preview's lines are grouped, which a text with line separators of its own is not.
        if (!rest.contains(kLineSeparator)) {
            keepPreviewFor(preview_ + rest);
            return;
        }
    }
    // Decoding a thousand pages takes a while: it runs beside the event loop.
    QString text = pump_ != nullptr && bytes.size() > 1024 * 1024
                       ? decodeBesideTheLoop(bytes, *pump_)
                       : PaneText::canonicalFromFileText(bytes);
    // A preview that is how this text begins stays in the document, which goes on from there.
    if (previewing_ && text.startsWith(preview_) && !text.contains(kLineSeparator)) {
        keepPreviewFor(std::move(text));
        return;
    }
    dropPreview();
    setCanonicalText(std::move(text));
}

}  // namespace corvella

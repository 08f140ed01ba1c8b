#include "app/RichTextPane.h"

#include <QFile>
#include <QFocusEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "app/ErrorReport.h"
#include "app/PaneText.h"

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
    setUndoRedoEnabled(false);
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int, int) {
        if (changingFormatOnly_) return;
        textCacheValid_ = false;
        ++revision_;
    });
}

QString RichTextPane::text() const {
    if (!textCacheValid_) {
        QString out;
        out.reserve(textLength());
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            if (block != document()->begin()) out += PaneText::kBreak;
            out += block.text();
        }
        textCache_ = out;
        textCacheValid_ = true;
    }
    return textCache_;
}

qsizetype RichTextPane::textLength() const {
    // The document counts a final paragraph separator and each break once.
    const QTextDocument* doc = document();
    return qsizetype(doc->characterCount() - 1) + qsizetype(doc->blockCount() - 1);
}

void RichTextPane::setText(const QString& text) {
    QString canonical = PaneText::canonical(text);
    // Text written after the text already there (a load's final line break, say) on a pane without
    // colour: only the new part goes into the document, which ends as a full rewrite would.
    if (!coloured_ && textCacheValid_ && canonical.size() > textCache_.size() &&
        canonical.startsWith(textCache_)) {
        appendCanonicalText(std::move(canonical));
        return;
    }
    setCanonicalText(canonical);
}

void RichTextPane::appendCanonicalText(QString canonical) {
    QString added = canonical.mid(textCache_.size());
    added.replace(PaneText::kBreak, QStringLiteral("\n"));
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(added, QTextCharFormat());
    textCache_ = std::move(canonical);
    textCacheValid_ = true;
    recorded_ = RecordedSelection{};
    // Writing the whole text leaves the cursor after it, the selection too.
    setSelection(end);
}

void RichTextPane::setCanonicalText(const QString& canonical) {
    QString documentText = canonical;
    documentText.replace(PaneText::kBreak, QStringLiteral("\n"));
    // Straight into the document: the editor's own setPlainText would carry the character format
    // at the cursor (a red one, say) over to the new text.
    document()->setPlainText(documentText);
    coloured_ = false;
    textCache_ = canonical;
    textCacheValid_ = true;
    recorded_ = RecordedSelection{};
}

qsizetype RichTextPane::toDocument(qsizetype textPosition) const {
    const QTextDocument* doc = document();
    // The paragraph holding the position: the last one whose text start is not after it. A
    // paragraph's text start is its document start plus one for each break before it.
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (qsizetype(doc->findBlockByNumber(mid).position()) + mid <= textPosition)
            low = mid;
        else
            high = mid - 1;
    }
    return std::min(textPosition - low, qsizetype(doc->characterCount() - 1));
}

qsizetype RichTextPane::toText(qsizetype documentPosition) const {
    return documentPosition + document()->findBlock(int(documentPosition)).blockNumber();
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
    if (recordedSelectionIsCurrent()) return recorded_.start;
    return toText(selection().selectionStart());
}

qsizetype RichTextPane::selLength() const {
    if (recordedSelectionIsCurrent()) return recorded_.length;
    const QTextCursor cursor = selection();
    return toText(cursor.selectionEnd()) - toText(cursor.selectionStart());
}

void RichTextPane::selectDocumentRange(qsizetype start, qsizetype length) {
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

void RichTextPane::paint(qsizetype docFrom, qsizetype docTo, Color color, QTextCursor& cursor) {
    if (docTo <= docFrom) return;
    cursor.setPosition(int(docFrom));
    cursor.setPosition(int(docTo), QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setForeground(toQColor(color));
    cursor.mergeCharFormat(format);
}

void RichTextPane::setSelColor(Color color) {
    const qsizetype start = selStart();
    const qsizetype length = selLength();
    if (length <= 0) return;
    colorRanges({{start, length}}, color);
}

void RichTextPane::colorRanges(const std::vector<TextRange>& ranges, Color color) {
    if (ranges.empty()) return;
    std::vector<TextRange> sorted = ranges;
    auto byStart = [](const TextRange& a, const TextRange& b) { return a.start < b.start; };
    if (!std::is_sorted(sorted.begin(), sorted.end(), byStart))
        std::sort(sorted.begin(), sorted.end(), byStart);

    // One forward sweep over the paragraphs maps every position, instead of a search per range.
    // A paragraph's length counts its separator, which the text counts twice.
    struct Sweep {
        QTextBlock block;
        qsizetype textStart = 0;
        qsizetype number = 0;
    };
    const QTextDocument* doc = document();
    const qsizetype length = textLength();
    const qsizetype lastDocumentPosition = doc->characterCount() - 1;
    auto advance = [&](Sweep& sweep, qsizetype textPosition) {
        for (QTextBlock next = sweep.block.next(); next.isValid(); next = sweep.block.next()) {
            const qsizetype nextStart = sweep.textStart + sweep.block.length() + 1;
            if (nextStart > textPosition) break;
            sweep = {next, nextStart, sweep.number + 1};
        }
        return std::min(textPosition - sweep.number, lastDocumentPosition);
    };

    changingFormatOnly_ = true;
    coloured_ = true;
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    Sweep start{doc->begin()};
    for (const TextRange& range : sorted) {
        const qsizetype from = std::clamp<qsizetype>(range.start, 0, length);
        const qsizetype to = std::clamp<qsizetype>(range.start + range.length, from, length);
        const qsizetype docFrom = advance(start, from);
        Sweep end = start;
        paint(docFrom, advance(end, to), color, cursor);
    }
    cursor.endEditBlock();
    changingFormatOnly_ = false;
}

Color RichTextPane::colorAt(qsizetype position) const {
    if (position < 0 || position >= textLength()) return kBlack;
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

void RichTextPane::loadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Failure(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw Failure(file.errorString());
    setCanonicalText(PaneText::canonicalFromFileText(bytes));
}

}  // namespace corvella

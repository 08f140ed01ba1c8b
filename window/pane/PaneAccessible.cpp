// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/pane/PaneAccessible.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <map>

#include "window/pane/RichTextPane.h"

namespace corvella {

namespace {

QAccessibleInterface* paneFactory(const QString& key, QObject* object) {
    if (key != QLatin1String(RichTextPane::staticMetaObject.className())) return nullptr;
    auto* pane = qobject_cast<RichTextPane*>(object);
    return pane != nullptr ? new PaneAccessible(pane) : nullptr;
}

QString rgb(const QColor& color) {
    return QStringLiteral("rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

// The attributes of a character format, named as assistive technology expects them.
QString describe(const QTextCharFormat& format, const QTextBlock& block) {
    std::map<QString, QString> attributes;
    const QFont font = format.font();
    if (!font.family().isEmpty()) {
        QString family = font.family();
        for (const QChar special : {u'\\', u':', u',', u'=', u';', u'"'})
            family.replace(special, QString(u'\\') + special);
        attributes[QStringLiteral("font-family")] = u'"' + family + u'"';
    }
    if (const int size = int(font.pointSize()); size > 0)
        attributes[QStringLiteral("font-size")] = QStringLiteral("%1pt").arg(size);
    attributes[QStringLiteral("font-weight")] =
        font.weight() > QFont::Normal ? QStringLiteral("bold") : QStringLiteral("normal");
    attributes[QStringLiteral("font-style")] =
        font.style() == QFont::StyleItalic    ? QStringLiteral("italic")
        : font.style() == QFont::StyleOblique ? QStringLiteral("oblique")
                                              : QStringLiteral("normal");
    if (format.underlineStyle() != QTextCharFormat::NoUnderline || font.underline()) {
        attributes[QStringLiteral("text-underline-style")] = QStringLiteral("solid");
        attributes[QStringLiteral("text-underline-type")] = QStringLiteral("single");
    }
    if (block.textDirection() == Qt::RightToLeft)
        attributes[QStringLiteral("writing-mode")] = QStringLiteral("rl");
    const QTextCharFormat::VerticalAlignment alignment = format.verticalAlignment();
    attributes[QStringLiteral("text-position")] =
        alignment == QTextCharFormat::AlignSubScript     ? QStringLiteral("sub")
        : alignment == QTextCharFormat::AlignSuperScript ? QStringLiteral("super")
                                                         : QStringLiteral("baseline");
    if (format.background().style() == Qt::SolidPattern)
        attributes[QStringLiteral("background-color")] = rgb(format.background().color());
    if (format.foreground().style() == Qt::SolidPattern)
        attributes[QStringLiteral("color")] = rgb(format.foreground().color());
    QString out;
    for (const auto& [name, value] : attributes) out += name + u':' + value + u';';
    return out;
}

}  // namespace

PaneAccessible::PaneAccessible(RichTextPane* pane)
    : QAccessibleWidget(pane, QAccessible::EditableText) {}

void PaneAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(paneFactory);
        return true;
    }();
    static_cast<void>(installed);
}

RichTextPane* PaneAccessible::pane() const { return static_cast<RichTextPane*>(widget()); }

QAccessible::State PaneAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.selectableText = true;
    state.multiLine = true;
    if (pane()->isReadOnly())
        state.readOnly = true;
    else
        state.editable = true;
    return state;
}

QString PaneAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value) return pane()->toPlainText();
    return QAccessibleWidget::text(type);
}

void PaneAccessible::setText(QAccessible::Text type, const QString& text) {
    if (type != QAccessible::Value) {
        QAccessibleWidget::setText(type, text);
        return;
    }
    if (!pane()->isReadOnly()) pane()->setText(text);
}

void* PaneAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QStringList PaneAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (pane()->contextMenuPolicy() == Qt::CustomContextMenu) names << showMenuAction();
    return names;
}

void PaneAccessible::doAction(const QString& actionName) {
    if (actionName != showMenuAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    emit pane()->customContextMenuRequested(pane()->cursorRect().center());
}

void PaneAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    const QTextCursor cursor = pane()->textCursor();
    if (selectionIndex != 0 || !cursor.hasSelection()) return;
    *startOffset = cursor.selectionStart();
    *endOffset = cursor.selectionEnd();
}

int PaneAccessible::selectionCount() const { return pane()->textCursor().hasSelection() ? 1 : 0; }

void PaneAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void PaneAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex != 0) return;
    QTextCursor cursor = pane()->textCursor();
    cursor.clearSelection();
    pane()->setTextCursor(cursor);
}

void PaneAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0) return;
    QTextCursor cursor = pane()->textCursor();
    cursor.setPosition(startOffset);
    cursor.setPosition(endOffset, QTextCursor::KeepAnchor);
    pane()->setTextCursor(cursor);
}

int PaneAccessible::cursorPosition() const { return pane()->textCursor().position(); }

void PaneAccessible::setCursorPosition(int position) {
    QTextCursor cursor = pane()->textCursor();
    cursor.setPosition(position);
    pane()->setTextCursor(cursor);
}

int PaneAccessible::characterCount() const { return pane()->document()->characterCount() - 1; }

QString PaneAccessible::text(int startOffset, int endOffset) const {
    QTextCursor cursor(pane()->document());
    cursor.setPosition(std::clamp(startOffset, 0, characterCount()));
    cursor.setPosition(std::clamp(endOffset, 0, characterCount()), QTextCursor::KeepAnchor);
    QString selected = cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n');
    // The line separators that part a paragraph's lines are the text's line breaks.
    if (pane()->shownText().grouped()) selected.replace(QChar::LineSeparator, u'\n');
    return selected;
}

std::pair<int, int> PaneAccessible::lineAt(int offset) const {
    const PaneTextModel& text = pane()->shownText();
    const qsizetype line = text.lineOf({offset});
    const int end =
        line + 1 < text.lineCount() ? int(text.lineStart(line + 1).at) - 1 : characterCount();
    return {int(text.lineStart(line).at), std::min(end, characterCount())};
}

std::pair<int, int> PaneAccessible::unitAt(int offset,
                                           QAccessible::TextBoundaryType boundaryType) const {
    QTextCursor cursor(pane()->document());
    cursor.setPosition(std::clamp(offset, 0, characterCount()));
    if (boundaryType != QAccessible::ParagraphBoundary &&
        boundaryType != QAccessible::SentenceBoundary)
        return QAccessible::qAccessibleTextBoundaryHelper(cursor, boundaryType);
    const auto [start, end] = lineAt(cursor.position());
    if (boundaryType == QAccessible::ParagraphBoundary) return {start, end};
    // The sentence within the line: from the boundary before the offset, unless one starts there,
    // to the next.
    QTextBoundaryFinder sentences(QTextBoundaryFinder::Sentence, text(start, end));
    const int within = cursor.position() - start;
    sentences.setPosition(within);
    int before = within;
    if (!(sentences.boundaryReasons() & QTextBoundaryFinder::StartOfItem))
        before = int(sentences.toPreviousBoundary());
    const int after = int(sentences.toNextBoundary());
    return {before < 0 ? start : start + before, after < 0 ? end : start + after};
}

QString PaneAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                     int* startOffset, int* endOffset) const {
    std::tie(*startOffset, *endOffset) = unitAt(offset, boundaryType);
    return text(*startOffset, *endOffset);
}

QString PaneAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int* startOffset, int* endOffset) const {
    std::tie(*startOffset, *endOffset) =
        unitAt(unitAt(offset, boundaryType).first - 1, boundaryType);
    return text(*startOffset, *endOffset);
}

QString PaneAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                        int* startOffset, int* endOffset) const {
    std::tie(*startOffset, *endOffset) = unitAt(unitAt(offset, boundaryType).second, boundaryType);
    return text(*startOffset, *endOffset);
}

QRect PaneAccessible::characterRect(int offset) const {
    QTextCursor cursor(pane()->document());
    cursor.setPosition(std::clamp(offset, 0, characterCount()));
    QRect rect = pane()->cursorRect(cursor);
    cursor.setPosition(std::min(offset + 1, characterCount()));
    const QRect next = pane()->cursorRect(cursor);
    if (next.top() == rect.top() && next.left() > rect.left()) rect.setRight(next.left());
    return QRect(pane()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

int PaneAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint at = pane()->viewport()->mapFromGlobal(point);
    if (!pane()->viewport()->rect().contains(at)) return -1;
    return pane()->cursorForPosition(at).position();
}

void PaneAccessible::scrollToSubstring(int startIndex, int endIndex) {
    static_cast<void>(endIndex);
    pane()->bringIntoView(pane()->toText({startIndex}).at);
}

QString PaneAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // As assistive technology asks: -2 the caret, -1 or the length the last character.
    const int count = characterCount();
    if (offset == -2) offset = cursorPosition();
    if (offset == -1 || offset == count) offset = count - 1;
    if (offset < 0 || offset > count) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    const QTextBlock block = pane()->document()->findBlock(offset);
    const auto [lineStart, lineEnd] = lineAt(offset);
    // A line break is black, whatever a colouring that ran over it gave it.
    QTextCharFormat format;
    format.setFont(pane()->document()->defaultFont());
    *startOffset = offset;
    *endOffset = offset + 1;
    for (auto it = block.begin(); offset < lineEnd && !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.contains(offset)) continue;
        format = fragment.charFormat();
        *startOffset = std::max(fragment.position(), lineStart);
        *endOffset = std::min(fragment.position() + fragment.length(), lineEnd);
        break;
    }
    return describe(format, block);
}

void PaneAccessible::deleteText(int startOffset, int endOffset) {
    replaceText(startOffset, endOffset, {});
}

void PaneAccessible::insertText(int offset, const QString& text) {
    replaceText(offset, offset, text);
}

void PaneAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    QTextCursor cursor(pane()->document());
    cursor.setPosition(startOffset);
    cursor.setPosition(endOffset, QTextCursor::KeepAnchor);
    cursor.insertText(text);
}

}  // namespace corvella

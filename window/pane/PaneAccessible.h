// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAccessibleWidget>

namespace corvella {

class RichTextPane;

// A text pane as assistive technology reads it. The pane's document holds several lines to a
// paragraph, parted by line separators; here, as in a document of a paragraph per line, every
// line break reads as a line feed, a paragraph is a line of the text, and attributes such as the
// colour of a run end with its line. Offsets are document positions, as a plain-text view's are.
class PaneAccessible : public QAccessibleWidget,
                       public QAccessibleTextInterface,
                       public QAccessibleEditableTextInterface {
public:
    explicit PaneAccessible(RichTextPane* pane);

    // Makes every pane answer with this interface.
    static void Install();

    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text type, const QString& text) override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // Besides focusing, showing the pane's context menu at the caret.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    RichTextPane* pane() const;
    // The boundaries of the unit at an offset; a paragraph and its sentences end with their line.
    std::pair<int, int> unitAt(int offset, QAccessible::TextBoundaryType boundaryType) const;
    // The line of the text holding a document position: its start and the position of its break
    // (or the end).
    std::pair<int, int> lineAt(int offset) const;
};

}  // namespace corvella

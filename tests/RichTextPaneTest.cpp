// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <random>

#include "core/ErrorReport.h"
#include "core/PaneText.h"
#include "tests/support/QStringPrinter.h"
#include "window/pane/PanePlaces.h"
#include "window/pane/RichTextPane.h"

namespace corvella {
namespace {

// ---------------------------------------------------------------------------------------------
// The text rules every pane shares.

TEST(PaneTextCanonical, BreaksBecomeCrLfAndLoneLineFeedsAreDropped) {
    EXPECT_EQ(PaneText::canonical(QString()), QString());
    EXPECT_EQ(PaneText::canonical(QStringLiteral("\r\r")), QStringLiteral("\r\n\r\n"));
    EXPECT_EQ(PaneText::canonical(QStringLiteral("\n\n")), QString());
    EXPECT_EQ(PaneText::canonical(QStringLiteral("\r\n\n")), QStringLiteral("\r\n"));
    EXPECT_EQ(PaneText::canonical(QStringLiteral("\n\r")), QStringLiteral("\r\n"));
    EXPECT_EQ(PaneText::canonical(QStringLiteral("ab\r")), QStringLiteral("ab\r\n"));
    EXPECT_EQ(PaneText::canonical(QStringLiteral("a\rb\r\nc\nd")), QStringLiteral("a\r\nb\r\ncd"));
    EXPECT_EQ(PaneText::canonical(QStringLiteral("a\u2029b")), QStringLiteral("a\r\nb"));
}

TEST(PaneTextCanonical, FrameMarkersOfTheTextEngineBecomeReplacementCharacters) {
    EXPECT_EQ(PaneText::canonical(QStringLiteral("a\uFDD0b\uFDD1")),
              QStringLiteral("a\uFFFDb\uFFFD"));
}

TEST(PaneTextFromFile, EveryLineEndEndsALine) {
    EXPECT_EQ(PaneText::canonicalFromFileText(QByteArray()), QString());
    EXPECT_EQ(PaneText::canonicalFromFileText("\r\r"), QStringLiteral("\r\n\r\n"));
    EXPECT_EQ(PaneText::canonicalFromFileText("\n\n"), QStringLiteral("\r\n\r\n"));
    EXPECT_EQ(PaneText::canonicalFromFileText("\r\n\n"), QStringLiteral("\r\n\r\n"));
    EXPECT_EQ(PaneText::canonicalFromFileText("ab\r"), QStringLiteral("ab\r\n"));
    EXPECT_EQ(PaneText::canonicalFromFileText("\nab"), QStringLiteral("\r\nab"));
    EXPECT_EQ(PaneText::canonicalFromFileText("a\nb\r\nc\rd"), QStringLiteral("a\r\nb\r\nc\r\nd"));
}

TEST(PaneTextFromFile, DecodesUtf8DropsTheByteOrderMarkAndReplacesInvalidBytes) {
    EXPECT_EQ(PaneText::canonicalFromFileText("\xEF\xBB\xBF"
                                              "ab"),
              QStringLiteral("ab"));
    EXPECT_EQ(PaneText::canonicalFromFileText("a\xFF"
                                              "b"),
              QStringLiteral("a\uFFFDb"));
    EXPECT_EQ(PaneText::canonicalFromFileText("\xCE\xB1\xCE\xB2"), QStringLiteral("\u03B1\u03B2"));
}

// ---------------------------------------------------------------------------------------------
// The window's pane widget.

// The colour the document itself gives the character at a document position (black when the
// character has no colour of its own).
QColor documentColor(const QTextDocument* document, int documentPosition) {
    QTextCursor cursor(const_cast<QTextDocument*>(document));
    cursor.setPosition(documentPosition);
    cursor.setPosition(documentPosition + 1, QTextCursor::KeepAnchor);
    const QTextCharFormat format = cursor.charFormat();
    return format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color()
                                                            : QColor(Qt::black);
}

class RichTextPaneTest : public ::testing::Test {
protected:
    // Text positions of the characters that read back red.
    std::vector<qsizetype> redPositions() const {
        std::vector<qsizetype> red;
        for (qsizetype i = 0; i < pane.textLength(); ++i) {
            const Color color = pane.colorAt(i);
            EXPECT_TRUE(color == kRed || color == kBlack) << "position " << i;
            if (color == kRed) red.push_back(i);
        }
        return red;
    }

    // Document positions whose characters the document shows in a colour other than black.
    std::vector<int> documentColoredPositions() const {
        std::vector<int> colored;
        const QTextDocument* doc = pane.document();
        for (int i = 0; i + 1 < doc->characterCount(); ++i) {
            const QChar c = doc->characterAt(i);
            if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) continue;
            if (documentColor(doc, i) != QColor(Qt::black)) colored.push_back(i);
        }
        return colored;
    }

    // Selects document positions [anchor, position) in the widget itself, as a user would.
    void userSelects(int anchor, int position) {
        QTextCursor cursor(pane.document());
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        pane.setTextCursor(cursor);
    }

    QString selectedText() const { return pane.text().mid(pane.selStart(), pane.selLength()); }

    // The focus arriving or leaving as the window system reports it.
    void sendFocus(QEvent::Type type, Qt::FocusReason reason = Qt::TabFocusReason) {
        QFocusEvent event(type, reason);
        QApplication::sendEvent(&pane, &event);
    }

    RichTextPane pane;
};

TEST_F(RichTextPaneTest, WrittenTextReadsBackWithOneCrLfPerParagraphBreak) {
    pane.setText(QStringLiteral("a\rb\r\nc\nd\u2029e"));
    EXPECT_EQ(pane.text(), QStringLiteral("a\r\nb\r\ncd\r\ne"));
    EXPECT_EQ(pane.textLength(), pane.text().size());
    EXPECT_EQ(pane.document()->toPlainText(), QStringLiteral("a\nb\ncd\ne"));

    pane.setText(QStringLiteral("\r\r"));
    EXPECT_EQ(pane.text(), QStringLiteral("\r\n\r\n"));
    EXPECT_EQ(pane.document()->toPlainText(), QStringLiteral("\n\n"));

    pane.setText(QStringLiteral("\n\n"));
    EXPECT_EQ(pane.text(), QString());
    EXPECT_EQ(pane.textLength(), 0);
}

TEST_F(RichTextPaneTest, WritingReplacesTheWholeText) {
    pane.setText(QStringLiteral("first\r\nsecond"));
    pane.setText(QStringLiteral("new"));
    EXPECT_EQ(pane.text(), QStringLiteral("new"));
    EXPECT_EQ(pane.document()->toPlainText(), QStringLiteral("new"));
    pane.setText(QString());
    EXPECT_EQ(pane.text(), QString());
    EXPECT_EQ(pane.textLength(), 0);
}

TEST_F(RichTextPaneTest, SelectionAfterABreakColoursExactlyTheSelectedCharacters) {
    sendFocus(QEvent::FocusIn);  // the widget shows the selection
    pane.setText(QStringLiteral("ab\r\ncd"));
    pane.setSelStart(4);
    pane.setSelLength(2);
    EXPECT_EQ(pane.selStart(), 4);
    EXPECT_EQ(pane.selLength(), 2);
    EXPECT_EQ(pane.textCursor().selectedText(), QStringLiteral("cd"));

    pane.setSelColor(kRed);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{4, 5}));
    EXPECT_EQ(pane.colorAt(0), kBlack);
    EXPECT_EQ(pane.colorAt(1), kBlack);
    // In the document the break is one character: "cd" sits at 3 and 4.
    EXPECT_EQ(documentColor(pane.document(), 0), QColor(Qt::black));
    EXPECT_EQ(documentColor(pane.document(), 1), QColor(Qt::black));
    EXPECT_EQ(documentColor(pane.document(), 3), QColor(Qt::red));
    EXPECT_EQ(documentColor(pane.document(), 4), QColor(Qt::red));
    EXPECT_EQ(documentColoredPositions(), (std::vector<int>{3, 4}));
}

TEST_F(RichTextPaneTest, SelectionAcrossSeveralBreaksMapsBothEnds) {
    pane.setText(QStringLiteral("ab\r\ncd\r\nef\r\ngh"));
    // "d\r\ne" : text 5..9, document 4..7.
    pane.setSelStart(5);
    pane.setSelLength(4);
    EXPECT_EQ(selectedText(), QStringLiteral("d\r\ne"));
    pane.setSelColor(kRed);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{5, 8}));
    EXPECT_EQ(documentColoredPositions(), (std::vector<int>{4, 6}));

    // A selection starting on a CR colours nothing before the break.
    pane.setText(QStringLiteral("ab\r\ncd"));
    pane.setSelStart(2);
    pane.setSelLength(3);
    pane.setSelColor(kRed);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{4}));
    EXPECT_EQ(documentColoredPositions(), (std::vector<int>{3}));
}

TEST_F(RichTextPaneTest, SettingTheStartCollapsesTheSelection) {
    pane.setText(QStringLiteral("abcdef"));
    pane.setSelStart(1);
    pane.setSelLength(3);
    ASSERT_EQ(pane.selLength(), 3);
    pane.setSelStart(2);
    EXPECT_EQ(pane.selStart(), 2);
    EXPECT_EQ(pane.selLength(), 0);
    EXPECT_FALSE(pane.textCursor().hasSelection());
}

TEST_F(RichTextPaneTest, PositionsPastTheEndAreClampedAndNegativeOnesFail) {
    pane.setText(QStringLiteral("ab\r\ncd"));
    pane.setSelStart(100);
    EXPECT_EQ(pane.selStart(), 6);
    EXPECT_EQ(pane.selLength(), 0);

    pane.setSelStart(1);
    pane.setSelLength(100);
    EXPECT_EQ(pane.selStart(), 1);
    EXPECT_EQ(pane.selLength(), 5);
    pane.setSelColor(kRed);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{1, 4, 5}));

    EXPECT_THROW(pane.setSelStart(-1), Failure);
    EXPECT_THROW(pane.setSelLength(-1), Failure);
    // A failed write leaves the selection as it was.
    EXPECT_EQ(pane.selStart(), 1);
    EXPECT_EQ(pane.selLength(), 5);
}

TEST_F(RichTextPaneTest, ColouringAnEmptySelectionChangesNothing) {
    pane.setText(QStringLiteral("abc"));
    pane.colorRanges({{1, 1}}, kRed);
    const quint64 revision = pane.textRevision();

    pane.setSelStart(1);
    pane.setSelColor(kBlack);
    pane.setSelStart(0);
    pane.setSelColor(kRed);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{1}));
    EXPECT_EQ(documentColoredPositions(), (std::vector<int>{1}));
    EXPECT_EQ(pane.textRevision(), revision);
}

TEST_F(RichTextPaneTest, ColourRangesInOneBatchLeavingTheSelectionAlone) {
    sendFocus(QEvent::FocusIn);  // the widget shows the selection
    pane.setText(QStringLiteral("one\r\ntwo\r\nthree"));
    pane.setSelStart(6);
    pane.setSelLength(2);

    pane.colorRanges({{0, 3}, {10, 5}}, kRed);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{0, 1, 2, 10, 11, 12, 13, 14}));
    EXPECT_EQ(documentColoredPositions(), (std::vector<int>{0, 1, 2, 8, 9, 10, 11, 12}));
    EXPECT_EQ(pane.selStart(), 6);
    EXPECT_EQ(pane.selLength(), 2);
    EXPECT_EQ(pane.textCursor().selectedText(), QStringLiteral("wo"));

    // Ranges reaching past the end stop at the end; black paints over red.
    pane.colorRanges({{12, 100}}, kBlack);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{0, 1, 2, 10, 11}));
    pane.colorRanges({}, kRed);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{0, 1, 2, 10, 11}));
}

TEST_F(RichTextPaneTest, ColourStaysUntilTheTextIsWritten) {
    pane.setText(QStringLiteral("red\r\nblack"));
    pane.setSelStart(0);
    pane.setSelLength(3);
    pane.setSelColor(kRed);
    pane.setSelStart(7);
    pane.setSelLength(1);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{0, 1, 2}));
    EXPECT_EQ(pane.text(), QStringLiteral("red\r\nblack"));

    pane.setText(QStringLiteral("red\r\nblack"));
    EXPECT_TRUE(redPositions().empty());
    EXPECT_TRUE(documentColoredPositions().empty());
}

TEST_F(RichTextPaneTest, WritingOrAddingTextAfterTheTextEndsAsAFullRewrite) {
    struct Case {
        QString before;
        QString written;
        bool colourFirst;
    };
    const Case cases[] = {
        {"line one\r\nline two", "line one\r\nline two\r", false},  // a load's final break
        {"a\r\n", "a\r\n\rb\rc", false},
        {"", "x\r", false},
        {"red\r\nblack", "red\r\nblack\r", true},  // the colour goes as with any write
        // What is added is made canonical on its own: a lone LF goes, a frame marker is replaced.
        {"a\r\n", QStringLiteral("a\r\n\nb") + QChar(0xFDD0) + "c", false},
        {"a", "a\n", false},  // nothing added once canonical
    };
    for (std::size_t run = 0; run < 2 * std::size(cases); ++run) {
        const Case& c = cases[run % std::size(cases)];
        const bool adding = run >= std::size(cases);
        SCOPED_TRACE(c.written.toStdString() + (adding ? " added" : " written"));
        pane.setText(c.before);
        if (c.colourFirst) pane.colorRanges({{0, 3}}, kRed);
        pane.setSelStart(1);
        pane.setSelLength(1);
        if (adding)
            pane.appendText(c.written.mid(c.before.size()));
        else
            pane.setText(pane.text() + c.written.mid(c.before.size()));

        RichTextPane fresh;
        fresh.setText(c.written);
        EXPECT_EQ(pane.text(), fresh.text());
        EXPECT_EQ(pane.document()->toPlainText(), fresh.document()->toPlainText());
        EXPECT_EQ(pane.document()->blockCount(), fresh.document()->blockCount());
        EXPECT_EQ(pane.selStart(), fresh.selStart());
        EXPECT_EQ(pane.selLength(), 0);
        EXPECT_TRUE(redPositions().empty());
        EXPECT_TRUE(documentColoredPositions().empty());
    }
}

TEST_F(RichTextPaneTest, TextWrittenWhileTheCursorSitsOnRedTextIsBlack) {
    pane.setText(QStringLiteral("abc\r\ndef"));
    pane.colorRanges({{0, 8}}, kRed);
    userSelects(1, 1);  // the widget's cursor inside red text
    ASSERT_EQ(pane.textCursor().charFormat().foreground().color(), QColor(Qt::red));

    pane.setText(QStringLiteral("xyz\r\nuvw"));
    EXPECT_TRUE(redPositions().empty());
    EXPECT_TRUE(documentColoredPositions().empty());

    // Also when the selection set through the pane covers red text.
    pane.colorRanges({{0, 8}}, kRed);
    pane.setSelStart(5);
    pane.setSelLength(2);
    pane.setText(QStringLiteral("new"));
    EXPECT_TRUE(redPositions().empty());
    EXPECT_TRUE(documentColoredPositions().empty());
}

TEST_F(RichTextPaneTest, ShownStateIsThePanesOwnWhateverItsParentDoes) {
    QWidget parent;
    auto* child = new RichTextPane(&parent);
    EXPECT_TRUE(child->isShown());  // not shown on screen yet, but not hidden either

    child->setShown(false);
    EXPECT_FALSE(child->isShown());
    child->setShown(true);
    EXPECT_TRUE(child->isShown());
    EXPECT_FALSE(child->isVisible());

    parent.show();
    EXPECT_TRUE(child->isVisible());
    child->setShown(false);
    EXPECT_FALSE(child->isShown());
    EXPECT_FALSE(child->isVisible());
    parent.hide();
    child->setShown(true);
    EXPECT_TRUE(child->isShown());
}

TEST_F(RichTextPaneTest, EditsThroughTheDocumentAreSeenByTextAndLength) {
    pane.setText(QStringLiteral("ab\r\ncd"));
    ASSERT_EQ(pane.text(), QStringLiteral("ab\r\ncd"));  // fills the text cache
    quint64 revision = pane.textRevision();

    QTextCursor cursor(pane.document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("x\ny"));
    EXPECT_EQ(pane.text(), QStringLiteral("ab\r\ncdx\r\ny"));
    EXPECT_EQ(pane.textLength(), pane.text().size());
    EXPECT_NE(pane.textRevision(), revision);
    revision = pane.textRevision();

    // Join the first two paragraphs: delete the break.
    cursor.setPosition(2);
    cursor.deleteChar();
    EXPECT_EQ(pane.text(), QStringLiteral("abcdx\r\ny"));
    EXPECT_EQ(pane.textLength(), pane.text().size());
    EXPECT_NE(pane.textRevision(), revision);
    revision = pane.textRevision();

    cursor.setPosition(0);
    cursor.insertBlock();
    EXPECT_EQ(pane.text(), QStringLiteral("\r\nabcdx\r\ny"));
    EXPECT_EQ(pane.textLength(), pane.text().size());
    EXPECT_NE(pane.textRevision(), revision);

    // The widget's own editing goes through the same document.
    pane.textCursor().insertText(QStringLiteral("!"));
    EXPECT_EQ(pane.textLength(), pane.text().size());
    EXPECT_EQ(pane.text().count(u'!'), 1);
}

TEST_F(RichTextPaneTest, RevisionChangesWithTheTextButNotWithColourOrSelection) {
    const quint64 initial = pane.textRevision();
    pane.setText(QStringLiteral("abc\r\ndef"));
    const quint64 written = pane.textRevision();
    EXPECT_NE(written, initial);

    pane.colorRanges({{0, 3}}, kRed);
    pane.setSelStart(5);
    pane.setSelLength(3);
    pane.setSelColor(kRed);
    pane.setSelColor(kBlack);
    EXPECT_EQ(pane.textRevision(), written);
    EXPECT_EQ(pane.text(), QStringLiteral("abc\r\ndef"));

    pane.setText(QStringLiteral("abc\r\ndef"));  // the same text written again is a new text
    EXPECT_NE(pane.textRevision(), written);
}

TEST_F(RichTextPaneTest, SelectionSetOnTheLineFeedOfABreakReadsBackAsSet) {
    pane.setText(QStringLiteral("ab\r\ncd"));
    pane.setSelStart(3);
    EXPECT_EQ(pane.selStart(), 3);
    EXPECT_EQ(pane.selLength(), 0);

    pane.setSelLength(2);  // the LF and "c"
    EXPECT_EQ(pane.selStart(), 3);
    EXPECT_EQ(pane.selLength(), 2);
    pane.setSelColor(kRed);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{4}));
    EXPECT_EQ(documentColoredPositions(), (std::vector<int>{3}));

    pane.setSelLength(1);  // the LF alone
    EXPECT_EQ(pane.selStart(), 3);
    EXPECT_EQ(pane.selLength(), 1);
}

TEST_F(RichTextPaneTest, SelectionFollowsTheWidgetOnceTheUserMovesIt) {
    pane.setText(QStringLiteral("ab\r\ncd"));
    pane.setSelStart(3);
    pane.setSelLength(1);

    userSelects(1, 4);  // "b", the break and "c"
    EXPECT_EQ(pane.selStart(), 1);
    EXPECT_EQ(pane.selLength(), 4);
    EXPECT_EQ(selectedText(), QStringLiteral("b\r\nc"));

    userSelects(5, 3);  // "cd" selected backwards
    EXPECT_EQ(pane.selStart(), 4);
    EXPECT_EQ(pane.selLength(), 2);

    pane.setSelLength(1);  // keeps the start the user chose
    EXPECT_EQ(pane.selStart(), 4);
    EXPECT_EQ(pane.selLength(), 1);
    pane.setSelColor(kRed);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{4}));
}

TEST_F(RichTextPaneTest, SelectionFollowsTheWidgetAfterABreakIsTypedBeforeIt) {
    sendFocus(QEvent::FocusIn);  // the widget shows the selection
    pane.setText(QStringLiteral("ab\r\ncd"));
    pane.setSelStart(4);
    pane.setSelLength(2);
    ASSERT_EQ(selectedText(), QStringLiteral("cd"));

    // Replace "a" by a paragraph break: the widget's selection is still "cd" and sits at the same
    // document positions, but "cd" now starts at text position 5.
    QTextCursor cursor(pane.document());
    cursor.setPosition(0);
    cursor.setPosition(1, QTextCursor::KeepAnchor);
    cursor.insertText(QStringLiteral("\n"));
    ASSERT_EQ(pane.text(), QStringLiteral("\r\nb\r\ncd"));
    ASSERT_EQ(pane.textCursor().selectedText(), QStringLiteral("cd"));

    EXPECT_EQ(pane.selStart(), 5);
    EXPECT_EQ(pane.selLength(), 2);
    EXPECT_EQ(selectedText(), QStringLiteral("cd"));
    pane.setSelColor(kRed);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{5, 6}));
}

TEST_F(RichTextPaneTest, SelectionIsHeldAsideWhileThePaneHasNoFocus) {
    QString text = QStringLiteral("ab\r\ncd\r\n");
    for (int i = 1; i <= 500; ++i) text += QStringLiteral("line %1\r\n").arg(i);
    pane.resize(200, 100);
    pane.show();
    pane.setText(text);
    pane.setSelStart(4);
    pane.setSelLength(2);
    EXPECT_FALSE(pane.textCursor().hasSelection()) << "nothing highlighted in an idle pane";
    QTextCursor(pane.document()).insertText(QStringLiteral("X"));  // moves the selection along
    QScrollBar* scroll = pane.verticalScrollBar();
    scroll->setValue(scroll->maximum() / 2);
    const int scrolled = scroll->value();

    sendFocus(QEvent::FocusIn);
    EXPECT_EQ(pane.textCursor().selectedText(), QStringLiteral("cd"));
    sendFocus(QEvent::FocusOut, Qt::PopupFocusReason);  // the pane's own context menu
    EXPECT_EQ(pane.textCursor().selectedText(), QStringLiteral("cd"));
    sendFocus(QEvent::FocusOut);
    EXPECT_FALSE(pane.textCursor().hasSelection());
    EXPECT_EQ(scroll->value(), scrolled) << "the text stays where the user scrolled it";
    EXPECT_EQ(selectedText(), QStringLiteral("cd"));
    pane.setSelColor(kRed);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{5, 6}));
}

TEST_F(RichTextPaneTest, CharactersOutsideTheBasicPlaneAndNoBreakSpacesSurvive) {
    const QString text = QString::fromUtf8(
        "\xF0\x9F\x98\x80 a\xC2\xA0"
        "b\r\n\xF0\x9D\x84\x9E"
        "\xC2\xA0\r\n\xF0\x9F\x98\x80");
    pane.setText(text);
    EXPECT_EQ(pane.text(), text);
    EXPECT_EQ(pane.textLength(), text.size());

    // The last emoji: two UTF-16 units after the second break.
    const qsizetype last = text.size() - 2;
    pane.setSelStart(last);
    pane.setSelLength(2);
    EXPECT_EQ(selectedText(), QString::fromUtf8("\xF0\x9F\x98\x80"));
    pane.setSelColor(kRed);
    EXPECT_EQ(redPositions(), (std::vector<qsizetype>{last, last + 1}));
    EXPECT_EQ(pane.text(), text);
}

TEST_F(RichTextPaneTest,
       ATextsOwnLineSeparatorsStayShiftReturnBreaksALineAndAThirdClickSelectsOne) {
    sendFocus(QEvent::FocusIn);
    pane.setText(QStringLiteral("a\u2028b\r\nc"));
    pane.setSelStart(2);
    pane.setSelLength(1);
    EXPECT_EQ(pane.textCursor().selectedText(), QStringLiteral("b"));
    QTextCursor end(pane.document());
    end.movePosition(QTextCursor::End);
    end.insertText(QStringLiteral("d"));  // read again from the document
    EXPECT_EQ(pane.text(), QStringLiteral("a\u2028b\r\ncd"));

    pane.setText(QStringLiteral("a\r\nb"));
    pane.setTextCursor(end);
    QTest::keyClick(&pane, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(pane.text(), QStringLiteral("a\r\nb\r\n"));

    // A third click selects the line with its break, as where each line is a paragraph.
    pane.setText(QStringLiteral("one\r\ntwo words\r\nthree"));
    pane.show();
    QTextCursor second(pane.document());
    second.setPosition(6);
    const QPoint at = pane.cursorRect(second).center();
    QTest::mouseDClick(pane.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(selectedText(), QStringLiteral("two words\r\n"));
}

// The view's lines are the text's while they are not laid out, and again after a new width.
TEST_F(RichTextPaneTest, AViewCountsEveryLineOfTheText) {
    QString text;
    for (int i = 1; i <= 500; ++i) text += QStringLiteral("line %1\r\n").arg(i);
    pane.resize(400, 200);
    pane.show();
    pane.setText(text);
    for (const int width : {400, 300}) {
        pane.resize(width, 200);
        QCoreApplication::processEvents();
        EXPECT_EQ(PanePlaces::LineOf(pane, text.size()), 500);
        EXPECT_EQ(PanePlaces::LineStart(pane, 249), text.indexOf(QStringLiteral("line 250\r")));
        EXPECT_EQ(pane.verticalScrollBar()->maximum() + pane.verticalScrollBar()->pageStep(), 501);
    }
}

TEST_F(RichTextPaneTest, LargeTextRoundTripsExactly) {
    sendFocus(QEvent::FocusIn);  // the widget shows the selection
    QString text;
    for (int i = 1; i <= 50000; ++i) text += QStringLiteral("line %1\r\n").arg(i);
    pane.setText(text);
    EXPECT_EQ(pane.text(), text);
    EXPECT_EQ(pane.textLength(), text.size());
    EXPECT_EQ(pane.document()->toPlainText(), QString(text).replace("\r\n", "\n"));

    // Positions far into the text map to the right characters.
    const qsizetype start = text.lastIndexOf(QStringLiteral("line 50000"));
    pane.setSelStart(start);
    pane.setSelLength(10);
    EXPECT_EQ(pane.textCursor().selectedText(), QStringLiteral("line 50000"));
    pane.setSelColor(kRed);
    EXPECT_EQ(pane.colorAt(start - 3), kBlack);
    EXPECT_EQ(pane.colorAt(start), kRed);
    EXPECT_EQ(pane.colorAt(start + 9), kRed);

    // User-like edit at the very end keeps length and text in step.
    QTextCursor cursor(pane.document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("tail"));
    EXPECT_EQ(pane.text(), text + QStringLiteral("tail"));
    EXPECT_EQ(pane.textLength(), text.size() + 4);
}

class RichTextPaneFileTest : public RichTextPaneTest {
protected:
    QString write(const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("file%1.txt").arg(++files));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
    int files = 0;
};

TEST_F(RichTextPaneFileTest, Utf8TextInAnyScriptSurvives) {
    const QString lines = QString::fromUtf8(
        "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\n"                              // Japanese
        "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC\r\n"  // Greek
        "\xD8\xA7\xD9\x84\xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A\xD8\xA9");            // Arabic
    pane.loadFromFile(write(lines.toUtf8()));
    EXPECT_EQ(pane.text(), lines);
    EXPECT_EQ(pane.textLength(), lines.size());
}

TEST_F(RichTextPaneFileTest, LfCrLfAndCrAllEndALine) {
    pane.loadFromFile(write("one\ntwo\r\nthree\rfour\n\n"));
    EXPECT_EQ(pane.text(), QStringLiteral("one\r\ntwo\r\nthree\r\nfour\r\n\r\n"));
    EXPECT_EQ(pane.document()->toPlainText(), QStringLiteral("one\ntwo\nthree\nfour\n\n"));
}

TEST_F(RichTextPaneFileTest, InvalidBytesAndByteOrderMark) {
    pane.loadFromFile(
        write("\xEF\xBB\xBF"
              "ab\xFF\xFE"
              "c\n"));
    EXPECT_EQ(pane.text(), QStringLiteral("ab\uFFFD\uFFFDc\r\n"));
    EXPECT_EQ(pane.textLength(), pane.text().size());
    pane.loadFromFile(write("\xE6\x97"));  // a character cut short at the end of the file
    EXPECT_FALSE(pane.text().isEmpty());
    for (const QChar c : pane.text()) EXPECT_EQ(c, QChar(QChar::ReplacementCharacter));
}

TEST_F(RichTextPaneFileTest, LoadingReplacesTextAndColour) {
    pane.setText(QStringLiteral("old text"));
    pane.colorRanges({{0, 3}}, kRed);
    const quint64 revision = pane.textRevision();
    pane.loadFromFile(write("new"));
    EXPECT_EQ(pane.text(), QStringLiteral("new"));
    EXPECT_TRUE(redPositions().empty());
    EXPECT_NE(pane.textRevision(), revision);
}

TEST_F(RichTextPaneFileTest, ALongFileDecodedWhileTheWindowIsLiveReadsAsItsText) {
    QtEventPump events;
    pane.keepLive(events, std::chrono::milliseconds(15));
    QByteArray bytes;
    for (int i = 0; bytes.size() <= 2 * 1024 * 1024; ++i)
        bytes += QStringLiteral("Zeile %1 \u00fcber \u4e2d\u6587\n").arg(i).toUtf8();
    bool handled = false;
    QTimer::singleShot(0, [&] { handled = true; });
    pane.loadFromFile(write(bytes));
    EXPECT_TRUE(handled);  // the window had its turn while the text was decoded
    EXPECT_EQ(pane.text(), PaneText::canonicalFromFileText(bytes));
    pane.completeText();
    EXPECT_EQ(pane.document()->toPlainText().count(u'\n'), bytes.count('\n'));
}

TEST_F(RichTextPaneFileTest, MissingFileFailsWithADescription) {
    pane.setText(QStringLiteral("kept"));
    try {
        pane.loadFromFile(dir.filePath(QStringLiteral("no such file.txt")));
        ADD_FAILURE() << "loading a missing file did not fail";
    } catch (const Failure& failure) {
        EXPECT_FALSE(failure.description().isEmpty());
    }
    EXPECT_EQ(pane.text(), QStringLiteral("kept"));
}

TEST_F(RichTextPaneFileTest, APreviewStaysOnlyWhereTheFileBeginsWithItAndReadsAsNoTextUntilThen) {
    QtEventPump events;
    pane.keepLive(events, std::chrono::milliseconds(15));
    pane.show();
    struct Case {
        const char* name;
        std::vector<QByteArray> pieces;
        QByteArray file;
        bool stays;
    };
    const Case cases[] = {
        {"the file's beginning", {"one\ntwo\n", "three\n"}, "one\ntwo\nthree\nfour", true},
        {"another text", {"one\n"}, "uno\n", false},
        {"a break cut in two", {"one\r", "\ntwo"}, "one\r\ntwo", false},
        {"a character cut in two", {"caf\xC3", "\xA9\n"}, "caf\xC3\xA9\nmore", false},
        {"a byte-order mark after the start",
         {"one\n", "\xEF\xBB\xBFtwo"},
         "one\n\xEF\xBB\xBFtwo",
         true},
        {"a line separator of the text's own",
         {"one\n", "\xE2\x80\xA8"},
         "one\n\xE2\x80\xA8",
         false},
        {"a line separator after the preview", {"one\n"}, "one\ntwo\xE2\x80\xA8", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pane.setText(QString());
        for (const QByteArray& piece : c.pieces) pane.preview(piece);
        EXPECT_TRUE(QTest::qWaitFor([&] { return pane.document()->characterCount() > 3; }));
        EXPECT_EQ(pane.text(), QString());
        EXPECT_EQ(pane.selStart(), 0);
        // Kept, the document is not written again: a place in it stays where it was.
        QTextCursor place(pane.document());
        place.setPosition(2);
        pane.loadFromFile(write(c.file));
        pane.completeText();
        EXPECT_EQ(pane.text(), PaneText::canonicalFromFileText(c.file));
        EXPECT_EQ(pane.document()->toPlainText(),
                  QString(pane.text())
                      .replace(PaneText::kBreak, QStringLiteral("\n"))
                      .replace(QChar::LineSeparator, u'\n'));
        EXPECT_EQ(place.position() == 2, c.stays) << place.position();
    }
    // Anything else done to the pane drops the preview; a pane with text shows none.
    pane.setText(QString());
    pane.preview("shown ahead");
    pane.setText(QStringLiteral("written"));
    pane.completeText();
    EXPECT_EQ(pane.document()->toPlainText(), QStringLiteral("written"));
    pane.preview("not shown");
    pane.completeText();
    EXPECT_EQ(pane.document()->toPlainText(), QStringLiteral("written"));
}

}  // namespace
}  // namespace corvella

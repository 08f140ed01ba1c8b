// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Judging an extracted text file and loading it into a pane.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "core/AppTitle.h"
#include "core/MemoryDocument.h"
#include "extract/TextIntoPane.h"
#include "extract/TextPreview.h"
#include "tests/support/TestServices.h"
#include "window/pane/RichTextPane.h"

using namespace corvella;
using corvella::testing::TestServices;

namespace {

class TextIntoPaneTest : public ::testing::Test {
protected:
    QString file(const QByteArray& bytes) {
        const QString path = dir.filePath(QString("text%1.txt").arg(++count));
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return path;
    }
    void load(const QByteArray& bytes) { RTB::FileToRich1(pane, file(bytes), test.services); }

    QTemporaryDir dir;
    int count = 0;
    TestServices test;
    RichTextPane pane;
};

TEST_F(TextIntoPaneTest, PageBreaksOnlyAreUnreadableAndThePaneKeepsItsText) {
    pane.setText("before");
    load("\f\r\n\f\r\n\f\r\n");
    ASSERT_EQ(test.dialogs.texts(), QStringList{kUnreadableTextMessage});
    EXPECT_EQ(test.dialogs.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(test.dialogs.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(test.dialogs.messages[0].title, AppTitle());
    EXPECT_EQ(pane.text(), "before");
}

TEST_F(TextIntoPaneTest, ControlCharactersBeforeSixPrintableOnesAreReadable) {
    load("\f\r\ntwo words\r\n");
    EXPECT_TRUE(test.dialogs.messages.empty());
    EXPECT_EQ(pane.text(), "\f\r\ntwo words\r\n");
}

TEST_F(TextIntoPaneTest, FewPrintableCharactersAloneAreReadable) {
    load("abc");
    EXPECT_TRUE(test.dialogs.messages.empty());
    EXPECT_EQ(pane.text(), "abc");
}

// The check reads the file a block at a time; a character cut by a block's end, or a byte-order
// mark inside the file, counts as it does in the whole file.
TEST_F(TextIntoPaneTest, LongRunsOfControlCharactersBeforeTheText) {
    struct Case {
        QByteArray tail;
        bool readable;
    };
    const QByteArray controls(65535, '\x01');
    const Case cases[] = {
        {"\xC3\xA9"
         "abcd",
         false},  // five printable characters: é and abcd
        {"\xC3\xA9"
         "abcde",
         true},  // six
        {"x\xEF\xBB\xBF"
         "abcd",
         true},  // a byte-order mark inside the file is a character
        {QByteArray(70000, '\x02') + "abcdef", true},
        {"\xC3", false},  // a cut-off character at the very end: one
    };
    for (const Case& c : cases) {
        test.dialogs.messages.clear();
        load(controls + c.tail);
        EXPECT_EQ(test.dialogs.messages.empty(), c.readable) << c.tail.left(20).toHex().constData();
    }
}

TEST_F(TextIntoPaneTest, FewPrintableCharactersWithATabAreUnreadable) {
    load("ab\t");
    EXPECT_EQ(test.dialogs.texts(), QStringList{kUnreadableTextMessage});
}

TEST_F(TextIntoPaneTest, NonLatinTextIsReadable) {
    for (const QByteArray& text : {QByteArray("\f日本語のテキスト"), QByteArray("\tΩμέγα κείμενο"),
                                   QByteArray("\x01نص عربي"), QByteArray("\fàéîõüç")}) {
        test.dialogs.messages.clear();
        load(text);
        EXPECT_TRUE(test.dialogs.messages.empty()) << text.constData();
        EXPECT_EQ(pane.text(), QString::fromUtf8(text));
    }
}

TEST_F(TextIntoPaneTest, MissingFileSaysItMayBeProtected) {
    pane.setText("kept");
    RTB::FileToRich2(pane, dir.filePath("nothing.txt"), test.services);
    EXPECT_EQ(test.dialogs.texts(), QStringList{kNoTextFileMessage});
    EXPECT_EQ(pane.text(), "kept");
}

TEST_F(TextIntoPaneTest, EmptyFileHoldsNoText) {
    pane.setText("kept");
    load("");
    EXPECT_EQ(test.dialogs.texts(), QStringList{kUnreadableTextMessage});
    EXPECT_EQ(pane.text(), "kept");
}

TEST_F(TextIntoPaneTest, InvalidUtf8IsLoadedWithReplacementCharacters) {
    load("caf\xe9 \xff\xfe broken \xc3");
    EXPECT_TRUE(test.dialogs.messages.empty());
    EXPECT_TRUE(pane.text().startsWith("caf\uFFFD "));
}

TEST_F(TextIntoPaneTest, LargeFileIsLoadedWhole) {
    QByteArray big;
    for (int i = 0; i < 100000; ++i) big += "line " + QByteArray::number(i) + "\r\n";
    load(big);
    EXPECT_EQ(pane.text(), QString::fromLatin1(big));
}

TEST_F(TextIntoPaneTest, LinesEndAtLfCrLfAndCr) {
    EXPECT_EQ(Main::ReadFileToStringFSOLine(file("a\nb\r\nc\rd\r\n"), test.services),
              (QStringList{"a", "b", "c", "d"}));
    EXPECT_TRUE(Main::ReadFileToStringFSOLine(file(""), test.services).isEmpty());
    EXPECT_EQ(Main::ReadFileToStringFSOLine(file("\r\n"), test.services), QStringList{""});
}

TEST_F(TextIntoPaneTest, FileThatCannotBeReadIsReported) {
    // A folder has a modification time but cannot be read as text.
    RTB::FileToRich1(pane, dir.path(), test.services);
    ASSERT_EQ(test.dialogs.messages.size(), 2u);
    EXPECT_TRUE(test.dialogs.messages[0].text.contains(
        "in Corvella2021/08/31.Main.ReadFileToStringFSOLine at line 100"));
    EXPECT_EQ(test.dialogs.messages[1].text, kUnreadableTextMessage);
}

TEST(PrintableTest, CodesThatCount) {
    EXPECT_FALSE(Main::IsPrintable(QChar(31)));
    EXPECT_TRUE(Main::IsPrintable(QChar(32)));
    EXPECT_TRUE(Main::IsPrintable(QChar(126)));
    EXPECT_FALSE(Main::IsPrintable(QChar(127)));
    EXPECT_FALSE(Main::IsPrintable(QChar(159)));
    EXPECT_TRUE(Main::IsPrintable(QChar(160)));
    EXPECT_TRUE(Main::IsPrintable(QChar(0x65E5)));
}

// A pane that notes the pieces it is shown ahead.
struct PreviewedPane : MemoryDocument {
    void preview(const QByteArray& filePiece) override { shown.push_back(filePiece); }
    std::vector<QByteArray> shown;
};

TEST(TextPreviewTest, PiecesWaitUntilTheTextIsSureToBeReadable) {
    PreviewedPane pane;
    TextPreview preview(pane);
    for (const QByteArray piece : {"\f", "ab\t\n", "\x01"}) preview.add(piece);
    EXPECT_TRUE(pane.shown.empty());  // two printable characters are not yet a text
    preview.add("cdef\f");
    preview.add("g\f");
    EXPECT_EQ(pane.shown, (std::vector<QByteArray>{"\fab\t\n\x01"
                                                   "cdef\f",
                                                   "g\f"}));
}

}  // namespace

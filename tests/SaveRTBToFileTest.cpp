// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a pane's text to a file: the bytes written, the overwrite question, the reports when the
// file cannot be made, and files planted or left behind around the target.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/AppTitle.h"
#include "core/ErrorReport.h"
#include "output/SaveRTB.h"
#include "tests/support/MemoryPane.h"
#include "tests/support/TestServices.h"
#include "window/pane/RichTextPane.h"

using namespace corvella;
using corvella::testing::MemoryPane;
using corvella::testing::TestServices;

namespace {

QString report(int line, const QString& description) {
    return ErrorReportText(QStringLiteral("RTB.SaveRTBToFile"), line, description);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

class SaveRTBToFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Everything in the folder, hidden files included.
    QStringList entries() const {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    QString overwriteQuestion(const QString& path) const {
        return "Are you sure you wish to overwrite " + path + " ?";
    }

    QTemporaryDir folder;
    const QString target = folder.filePath("1.txt");
    TestServices test;
    MemoryPane pane;
};

TEST_F(SaveRTBToFileTest, WritesThePlainTextAndOneCRLFAsUTF8) {
    RichTextPane rich;
    rich.setText("first\rsecond é 😀\r\rlast");
    rich.setSelStart(0);
    rich.setSelLength(5);
    rich.setSelColor(kRed);  // colour is not saved
    RTB::SaveRTBToFile(rich, target, test.services);
    EXPECT_EQ(readFile(target),
              QByteArray("first\r\nsecond \xc3\xa9 \xf0\x9f\x98\x80\r\n\r\nlast\r\n"));
    EXPECT_TRUE(test.dialogs.messages.empty());
    EXPECT_EQ(entries(), QStringList{"1.txt"});
}

TEST_F(SaveRTBToFileTest, AnEmptyPaneGivesExactlyCRLF) {
    RTB::SaveRTBToFile(pane, target, test.services);
    EXPECT_EQ(readFile(target), QByteArray("\r\n"));
}

TEST_F(SaveRTBToFileTest, AnExistingFileIsReplacedOnlyAfterYes) {
    writeFile(target, "old contents");
    pane.setText("new");
    test.dialogs.answers = {MessageAnswer::No};
    RTB::SaveRTBToFile(pane, target, test.services);
    ASSERT_EQ(test.dialogs.messages.size(), 1u);
    const MessageRequest& box = test.dialogs.messages[0];
    EXPECT_EQ(box.text, overwriteQuestion(target));
    EXPECT_EQ(box.title, AppTitle());
    EXPECT_EQ(box.buttons, MessageButtons::YesNo);
    EXPECT_EQ(box.icon, MessageIcon::None);
    EXPECT_EQ(readFile(target), "old contents");
    EXPECT_EQ(entries(), QStringList{"1.txt"});

    test.dialogs.answers = {MessageAnswer::Yes};
    RTB::SaveRTBToFile(pane, target, test.services);
    EXPECT_EQ(test.dialogs.texts(),
              (QStringList{overwriteQuestion(target), overwriteQuestion(target)}));
    EXPECT_EQ(readFile(target), "new\r\n");
    EXPECT_EQ(entries(), QStringList{"1.txt"});
}

TEST_F(SaveRTBToFileTest, AMissingFolderIsReportedForTheOpenAndTheWrite) {
    const QString path = folder.filePath("missing/1.txt");
    RTB::SaveRTBToFile(pane, path, test.services);
    EXPECT_EQ(test.dialogs.texts(), (QStringList{report(108, "No such file or directory"),
                                                 report(110, "Bad file descriptor")}));
    for (const MessageRequest& box : test.dialogs.messages) {
        EXPECT_EQ(box.title, "Application Error");
        EXPECT_EQ(box.icon, MessageIcon::Warning);
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(SaveRTBToFileTest, AFolderAtTheTargetIsNotReplaced) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("1.txt"));
    RTB::SaveRTBToFile(pane, target, test.services);
    // The folder exists, so the question comes first.
    EXPECT_EQ(test.dialogs.texts(),
              (QStringList{overwriteQuestion(target), report(108, "Is a directory"),
                           report(110, "Bad file descriptor")}));
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_EQ(entries(), QStringList{"1.txt"});
}

TEST_F(SaveRTBToFileTest, AReadOnlyFileIsNotReplaced) {
    if (geteuid() == 0) GTEST_SKIP() << "the superuser may write any file";
    writeFile(target, "keep");
    ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner));
    RTB::SaveRTBToFile(pane, target, test.services);
    EXPECT_EQ(test.dialogs.texts(),
              (QStringList{overwriteQuestion(target), report(108, "Permission denied"),
                           report(110, "Bad file descriptor")}));
    EXPECT_EQ(readFile(target), "keep");
}

TEST_F(SaveRTBToFileTest, ADanglingLinkAtTheTargetIsReplacedNotFollowed) {
    const QString elsewhere = folder.filePath("elsewhere.txt");
    ASSERT_TRUE(QFile::link(elsewhere, target));
    pane.setText("text");
    RTB::SaveRTBToFile(pane, target, test.services);
    EXPECT_TRUE(test.dialogs.messages.empty());
    EXPECT_FALSE(QFileInfo(target).isSymLink());
    EXPECT_EQ(readFile(target), "text\r\n");
    EXPECT_FALSE(QFileInfo::exists(elsewhere));
}

TEST_F(SaveRTBToFileTest, ALinkToAnotherFileIsReplacedAndThatFileIsKept) {
    const QString elsewhere = folder.filePath("elsewhere.txt");
    writeFile(elsewhere, "someone else's file");
    ASSERT_TRUE(QFile::link(elsewhere, target));
    pane.setText("text");
    RTB::SaveRTBToFile(pane, target, test.services);
    EXPECT_EQ(test.dialogs.texts(), QStringList{overwriteQuestion(target)});
    EXPECT_FALSE(QFileInfo(target).isSymLink());
    EXPECT_EQ(readFile(target), "text\r\n");
    EXPECT_EQ(readFile(elsewhere), "someone else's file");
}

TEST_F(SaveRTBToFileTest, AFailedWriteLeavesTheOldFileAndNoHalfWrittenOne) {
    writeFile(target, "old contents");
    pane.setText("new");
    pane.failOn(MemoryPane::Operation::ReadText, "Input/output error");
    RTB::SaveRTBToFile(pane, target, test.services);
    EXPECT_EQ(test.dialogs.texts(),
              (QStringList{overwriteQuestion(target), report(110, "Input/output error")}));
    EXPECT_EQ(readFile(target), "old contents");
    EXPECT_EQ(entries(), QStringList{"1.txt"});

    // Without an earlier file there is no file at all afterwards.
    QFile::remove(target);
    RTB::SaveRTBToFile(pane, target, test.services);
    EXPECT_TRUE(entries().isEmpty());
}

}  // namespace

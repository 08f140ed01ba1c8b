// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Loading PDF files into the panes: real PDFs, the real extractor and the real window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdio>

#include "extract/LoadCommands.h"
#include "extract/PDFToText.h"
#include "extract/TextIntoPane.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;
using corvella::testing::TestServices;
namespace TestPdfs = corvella::testing::TestPdfs;

namespace {

QString redLines(const PaneDocument& pane) {
    const QString text = pane.text();
    QStringList red;
    for (const QString& line : text.split("\r\n")) {
        const qsizetype at = text.indexOf(line);
        if (!line.isEmpty() && pane.colorAt(at) == kRed) red << line;
    }
    return red.join('|');
}

class LoadCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        form = std::make_unique<Form1>(test.services);
        form->Form_Load();
        ASSERT_TRUE(test.dialogs.messages.empty());
    }

    QString pdf(const QString& name, const QStringList& pages) {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(TestPdfs::WriteTextPdf(path, pages));
        return path;
    }
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return path;
    }
    QStringList folderListing() const {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    void choose(const QStringList& paths) { test.dialogs.fileSelections.push_back(paths); }

    TestServices test;
    QTemporaryDir folder;
    std::unique_ptr<Form1> form;
};

TEST_F(LoadCommandsTest, DialogAsksForPdfFilesAndAllowsSeveral) {
    choose({});
    form->PushButton(3)->click();
    ASSERT_EQ(test.dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(test.dialogs.fileRequests[0].title,
              "Load List(s) - Hold Ctrl to select multiple list files");
    EXPECT_EQ(test.dialogs.fileRequests[0].filter, "PDF Files (*.pdf)");
    EXPECT_TRUE(test.dialogs.fileRequests[0].allowMultiple);
}

TEST_F(LoadCommandsTest, OneReadablePdfFillsThePaneAndLeavesNothingBesideIt) {
    const QString path = pdf("report.pdf", {"First line of the report\nSecond line", "Page two"});
    const QString userText = file("report.txt", "the user's own notes");
    const QStringList before = folderListing();
    form->pane(1).setText("old text");
    form->pane(1).setSelStart(0);
    form->pane(1).setSelLength(3);
    form->pane(1).setSelColor(kRed);
    choose({path});
    form->PushButton(3)->click();

    const QString text = form->pane(1).text();
    EXPECT_TRUE(text.startsWith("First line of the report\r\nSecond line\r\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Page two"));
    // The extractor ends each page with a form feed; the command adds one more line break.
    EXPECT_TRUE(text.endsWith("Page two\r\n\r\n\f\r\n"));
    EXPECT_EQ(form->pane(1).colorAt(0), kBlack);
    EXPECT_TRUE(test.dialogs.messages.empty());
    EXPECT_EQ(folderListing(), before);
    QFile notes(userText);
    ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
    EXPECT_EQ(notes.readAll(), "the user's own notes");
    EXPECT_FALSE(QFile::exists(RTB::ExtractedTextPath()));
}

TEST_F(LoadCommandsTest, StepsRunInOrder) {
    form->Option(2)->click();
    form->ComparisonDone = true;
    std::vector<PointerShape> pointers;
    bool option1AtFirstYield = true;
    test.pump.hook = [&] {
        pointers.push_back(form->pointer());
        option1AtFirstYield = option1AtFirstYield && form->Option(1)->isChecked();
    };
    choose({pdf("a.pdf", {"alphabet"})});
    form->PushButton(4)->click();
    EXPECT_FALSE(form->ComparisonDone);
    ASSERT_FALSE(pointers.empty());
    EXPECT_EQ(pointers.front(), PointerShape::Hourglass);  // while the extractor runs
    EXPECT_FALSE(option1AtFirstYield);
    EXPECT_TRUE(form->Option(1)->isChecked());
    EXPECT_EQ(form->pointer(), PointerShape::Default);
    EXPECT_EQ(form->pane(2).text(), "alphabet\r\n\r\n\f\r\n");
}

TEST_F(LoadCommandsTest, CancelledDialogChangesNothingForEitherPane) {
    for (int button : {3, 4}) {
        const int paneNumber = button == 3 ? 1 : 2;
        form->pane(paneNumber).setText("keep me");
        form->Option(2)->click();
        choose({});
        form->PushButton(button)->click();
        EXPECT_EQ(form->pane(paneNumber).text(), "keep me");
        EXPECT_TRUE(form->Option(2)->isChecked());
        EXPECT_EQ(form->pointer(), PointerShape::Default);
        EXPECT_FALSE(form->ComparisonDone);
        EXPECT_TRUE(form->pane(paneNumber).isShown());
    }
    EXPECT_TRUE(test.dialogs.messages.empty());
}

TEST_F(LoadCommandsTest, SeveralFilesLoadInTurnAndEachFailureHasItsMessage) {
    const QString first = pdf("one.pdf", {"opening document"});
    const QString unreadable = folder.filePath("two.pdf");
    ASSERT_TRUE(TestPdfs::WriteImageOnlyPdf(unreadable));
    const QString third = pdf("three.pdf", {"closing document"});
    choose({first, unreadable, third});
    form->PushButton(3)->click();
    EXPECT_EQ(test.dialogs.texts(), QStringList{kUnreadableTextMessage});
    EXPECT_EQ(form->pane(1).text(), "closing document\r\n\r\n\f\r\n");
}

TEST_F(LoadCommandsTest, PdfsWithoutTextSayTheyMayBeProtected) {
    const QString plain = pdf("plain.pdf", {"secret text"});
    const QString locked = folder.filePath("locked.pdf");
    ASSERT_TRUE(TestPdfs::Encrypt(plain, locked, "password", true));
    const QString noCopy = folder.filePath("nocopy.pdf");
    ASSERT_TRUE(TestPdfs::Encrypt(plain, noCopy, "", false));
    QFile broken(plain);
    ASSERT_TRUE(broken.open(QIODevice::ReadOnly));
    const QString truncated = file("broken.pdf", broken.readAll().left(200));
    const QString empty = file("empty.pdf", "");
    const QString renamed = file("notes.pdf", "just some text, not a PDF\n");

    for (const QString& path : {locked, noCopy, truncated, empty, renamed}) {
        SCOPED_TRACE(path.toStdString());
        test.dialogs.messages.clear();
        form->pane(2).setText("before");
        choose({path});
        form->PushButton(4)->click();
        EXPECT_EQ(test.dialogs.texts(), QStringList{kNoTextFileMessage});
        EXPECT_EQ(form->pane(2).text(), "\r\n");  // emptied, then the one break
    }
}

TEST_F(LoadCommandsTest, MixedCaseExtensionAndReadOnlyFolderLoad) {
    const QString path = pdf("Mixed.Pdf", {"mixed case extension"});
    ASSERT_TRUE(
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    choose({path});
    form->PushButton(3)->click();
    QFile::setPermissions(folder.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(form->pane(1).text().startsWith("mixed case extension"));
}

TEST_F(LoadCommandsTest, NonLatinTextOnSeveralPages) {
    choose({pdf("greek.pdf", {"Καλημέρα κόσμε", "Δεύτερη σελίδα", "Третья страница"})});
    form->PushButton(3)->click();
    const QString text = form->pane(1).text();
    EXPECT_TRUE(text.contains("Καλημέρα κόσμε"));
    EXPECT_TRUE(text.contains("Δεύτερη σελίδα"));
    EXPECT_TRUE(text.contains("Третья страница"));
}

TEST_F(LoadCommandsTest, HostileFileNamesNeitherBreakTheExtractorNorTouchOtherFiles) {
    const QStringList names = {"with space.pdf", "with \"quotes\".pdf", "$(touch pwned).pdf",
                               "-rf.pdf",        "new\nline.pdf",       "semi;colon & amp.pdf"};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString path = pdf(name, {"text of " + QString(name).replace('\n', ' ')});
        const QStringList before = folderListing();
        choose({path});
        form->PushButton(3)->click();
        EXPECT_TRUE(form->pane(1).text().startsWith("text of "))
            << form->pane(1).text().toStdString();
        EXPECT_EQ(folderListing(), before);
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("pwned")));
    EXPECT_FALSE(QFile::exists("pwned"));
    EXPECT_TRUE(test.dialogs.messages.empty());
}

TEST_F(LoadCommandsTest, NameThatIsNotUtf8GivesTheMessageAndNothingElse) {
    // A name whose bytes are not UTF-8 decodes with replacement characters, so the path handed
    // over no longer names the file.
    const QByteArray rawName = QFile::encodeName(folder.path()) + "/caf\xe9.pdf";
    const QString good = pdf("good.pdf", {"good text here"});
    ASSERT_EQ(::rename(QFile::encodeName(good).constData(), rawName.constData()), 0);
    const QStringList before = folderListing();
    choose({QFile::decodeName(rawName)});
    form->PushButton(3)->click();
    EXPECT_EQ(test.dialogs.texts(), QStringList{kNoTextFileMessage});
    EXPECT_EQ(folderListing(), before);
}

TEST_F(LoadCommandsTest, EndToEndTwoPdfsTheirDifferingLinesTurnRed) {
    choose({pdf("left.pdf", {"Common opening line\nLeft only line\nCommon closing line"})});
    form->PushButton(3)->click();
    choose({pdf("right.pdf", {"Common opening line\nRight only line\nCommon closing line"})});
    form->PushButton(4)->click();
    form->PushButton(1)->click();
    EXPECT_EQ(redLines(form->pane(1)), "Left only line");
    EXPECT_EQ(redLines(form->pane(2)), "Right only line");
    EXPECT_EQ(form->pane(3).text(), "Left only line\r\n");
    EXPECT_EQ(form->pane(4).text(), "Right only line\r\n");
    form->Option(2)->click();
    EXPECT_TRUE(form->pane(3).isShown());
    EXPECT_FALSE(form->pane(1).isShown());
    // Loading a new PDF brings the full texts back and selects "Display All Lines".
    choose({pdf("again.pdf", {"Another text"})});
    form->PushButton(3)->click();
    EXPECT_TRUE(form->pane(1).isShown());
    EXPECT_TRUE(form->Option(1)->isChecked());
    EXPECT_TRUE(test.dialogs.messages.empty());
}

TEST(FixDoubleBackslashTest, CollapsesPairsAndKeepsANetworkStart) {
    EXPECT_EQ(FixDoubleBackslash("/home//user/a.pdf"), "/home/user/a.pdf");
    EXPECT_EQ(FixDoubleBackslash("/a///b"), "/a//b");  // pairs do not overlap
    EXPECT_EQ(FixDoubleBackslash("////server//share/file.pdf"), "//server/share/file.pdf");
    EXPECT_EQ(FixDoubleBackslash("//server/f"), "//server/f");
    EXPECT_EQ(FixDoubleBackslash("relative//x"), "relative/x");
}

TEST(SelectionListTest, OneFileOrFolderAndNames) {
    EXPECT_EQ(SelectionList({"/d/a.pdf"}), QStringList{"/d/a.pdf"});
    EXPECT_EQ(SelectionList({"/d/a.pdf", "/d/b c.pdf"}), (QStringList{"/d", "a.pdf", "b c.pdf"}));
    EXPECT_EQ(SelectionList({"/a.pdf", "/b.pdf"}), (QStringList{"/", "a.pdf", "b.pdf"}));
}

}  // namespace

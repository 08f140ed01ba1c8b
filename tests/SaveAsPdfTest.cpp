// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// "Save #1 As PDF" and "Save #2 As PDF" against a scripted print system.
#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QRadioButton>

#include "core/AppTitle.h"
#include "output/GetSetPrinter.h"
#include "output/SaveAsPdf.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;
using corvella::testing::TestServices;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class SaveAsPdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        test.printers.printers.push_back({"Office Laser", "Office"});
        test.printers.serverDefault = "Office";
        form = std::make_unique<Form1>(test.services);
        form->Form_Load();
        ASSERT_TRUE(test.dialogs.messages.empty());
        form->pane(1).setText("Pane one text\rsecond line");
        form->pane(2).setText("Pane two ü € text");
        test.dialogs.messages.clear();
    }

    TestServices test;
    std::unique_ptr<Form1> form;
};

TEST_F(SaveAsPdfTest, VisiblePaneIsPrintedToThePdfPrinterAndTheDefaultComesBack) {
    form->PushButton(2)->click();
    ASSERT_EQ(test.printers.jobs.size(), 1u);
    const auto& job = test.printers.jobs[0];
    EXPECT_EQ(job.queue, "Kestrovan_PDF_Writer");
    EXPECT_EQ(job.document, "Pane one text\r\nsecond line\r\n");
    EXPECT_EQ(fileBytes(PrintTempFile()), job.document);
    EXPECT_EQ(job.defaultWhilePrinting, kPdfPrinterName);
    EXPECT_FALSE(test.printers.userDefault.has_value());  // the server's default applies again
    EXPECT_EQ(test.printers.DefaultPrinterName(), "Office Laser");
    EXPECT_TRUE(test.dialogs.messages.empty());
    EXPECT_EQ(form->pointer(), PointerShape::Default);
}

TEST_F(SaveAsPdfTest, UsersOwnDefaultIsPutBack) {
    test.printers.userDefault = "Office";
    form->PushButton(5)->click();
    ASSERT_EQ(test.printers.jobs.size(), 1u);
    EXPECT_EQ(test.printers.jobs[0].document, QString("Pane two ü € text\r\n").toUtf8());
    EXPECT_EQ(test.printers.userDefault, std::optional<QString>("Office"));
}

TEST_F(SaveAsPdfTest, WorkPaneIsPrintedWhenItIsTheVisibleOne) {
    form->PushButton(1)->click();  // fills the work panes
    form->Option(2)->click();      // and shows them
    form->PushButton(2)->click();
    ASSERT_EQ(test.printers.jobs.size(), 1u);
    EXPECT_EQ(test.printers.jobs[0].document, form->pane(3).text().toUtf8() + "\r\n");
    EXPECT_NE(form->pane(3).text(), form->pane(1).text());
}

TEST_F(SaveAsPdfTest, BothCommandsShareOneTempFile) {
    form->PushButton(2)->click();
    form->PushButton(5)->click();
    EXPECT_EQ(fileBytes(PrintTempFile()), QString("Pane two ü € text\r\n").toUtf8());
    EXPECT_EQ(test.printers.jobs.size(), 2u);
}

TEST_F(SaveAsPdfTest, MissingPdfPrinterDoesNothingAndSaysNothing) {
    test.printers.printers = {{"Office Laser", "Office"}};
    test.printers.userDefault = "Office";
    form->PushButton(2)->click();
    EXPECT_TRUE(test.printers.jobs.empty());
    EXPECT_FALSE(QFile::exists(PrintTempFile()));
    EXPECT_TRUE(test.dialogs.messages.empty());
    EXPECT_EQ(test.printers.userDefault, std::optional<QString>("Office"));
    EXPECT_EQ(form->pointer(), PointerShape::Default);
}

TEST_F(SaveAsPdfTest, NeitherPaneVisibleSaysSoAndPutsTheDefaultBack) {
    form->pane(1).setShown(false);
    form->pane(3).setShown(false);
    form->PushButton(2)->click();
    ASSERT_EQ(test.dialogs.messages.size(), 1u);
    EXPECT_EQ(test.dialogs.messages[0].text, "savertb problem");
    EXPECT_EQ(test.dialogs.messages[0].title, AppTitle());
    EXPECT_EQ(test.dialogs.messages[0].icon, MessageIcon::None);
    EXPECT_TRUE(test.printers.jobs.empty());
    EXPECT_FALSE(test.printers.userDefault.has_value());
}

TEST_F(SaveAsPdfTest, RefusedPrintIsReportedAtItsLineAndTheDefaultIsStillPutBack) {
    test.printers.refusePrint = true;
    test.printers.userDefault = "Office";
    form->PushButton(2)->click();
    EXPECT_EQ(test.dialogs.texts(),
              QStringList{ErrorReportText("Form1.PushButton2_Click", 116,
                                          "The print system refused the job")});
    EXPECT_EQ(test.printers.userDefault, std::optional<QString>("Office"));

    test.dialogs.messages.clear();
    form->PushButton(1)->click();
    form->Option(2)->click();
    form->PushButton(5)->click();
    EXPECT_EQ(test.dialogs.texts(),
              QStringList{ErrorReportText("Form1.PushButton5_Click", 124,
                                          "The print system refused the job")});
}

TEST_F(SaveAsPdfTest, UnknownDefaultIsLeftAloneAndThePrintStillGoesByName) {
    test.printers.userDefault = "Office";
    test.printers.userDefaultUnreadable = true;
    form->PushButton(2)->click();
    ASSERT_EQ(test.printers.jobs.size(), 1u);
    EXPECT_EQ(test.printers.jobs[0].queue, "Kestrovan_PDF_Writer");
    EXPECT_EQ(test.printers.defaultChanges, 0);
    EXPECT_EQ(test.printers.userDefault, std::optional<QString>("Office"));
}

TEST_F(SaveAsPdfTest, UnreadableDefaultPrinterShowsItsOwnBox) {
    test.printers.failure = QString("Service unavailable");
    form->PushButton(2)->click();
    ASSERT_EQ(test.dialogs.messages.size(), 1u);
    EXPECT_EQ(test.dialogs.messages[0].text,
              "Error No: 1283\r\nService unavailable\r\nHas occured in "
              "modPrinters.GetDefaultPrinter\r\nPlease contact Technical Support");
    EXPECT_EQ(test.dialogs.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(test.dialogs.messages[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(test.printers.jobs.empty());
    EXPECT_EQ(test.printers.defaultChanges, 0);
}

TEST_F(SaveAsPdfTest, SetPrinterAsDefaultReportsWhetherThePrinterExists) {
    EXPECT_FALSE(GetSetPrinter::SetPrinterAsDefault(test.printers, "No Such Printer"));
    EXPECT_FALSE(test.printers.userDefault.has_value());
    EXPECT_TRUE(GetSetPrinter::SetPrinterAsDefault(test.printers, "Office Laser"));
    EXPECT_EQ(test.printers.userDefault, std::optional<QString>("Office"));
    EXPECT_TRUE(test.dialogs.messages.empty());
}

}  // namespace

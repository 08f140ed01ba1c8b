// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The printer list and the PDF printer check against a real, private CUPS server.
#include <gtest/gtest.h>

#include "core/AppTitle.h"
#include "output/GetSetPrinter.h"
#include "output/PrinterCheck.h"
#include "tests/support/CupsTestServer.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;
using corvella::testing::CupsTestServer;
using corvella::testing::ScriptedDialogs;
using corvella::testing::TestServices;

namespace {

class CupsPrintersTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (CupsTestServer::folder().isEmpty())
            GTEST_SKIP() << "no private CUPS server (tools/cups-test-server.sh needs root)";
        CupsTestServer::removeAllQueues();
    }
    void TearDown() override {
        if (!CupsTestServer::folder().isEmpty()) CupsTestServer::removeAllQueues();
    }

    QStringList checkMessages() {
        ScriptedDialogs dialogs;
        CheckPdfPrinter(printers, dialogs);
        return dialogs.texts();
    }

    CupsPrinters printers;
};

TEST_F(CupsPrintersTest, PdfPrinterIsFoundByItsDescription) {
    ASSERT_TRUE(CupsTestServer::addQueue("Kestrovan_PDF_Writer", "Kestrovan PDF Writer"));
    EXPECT_EQ(printers.InstalledPrinters(), QStringList{"Kestrovan PDF Writer"});
    EXPECT_TRUE(checkMessages().isEmpty());
}

TEST_F(CupsPrintersTest, NamesComeInThePrintSystemsOrder) {
    ASSERT_TRUE(CupsTestServer::addQueue("B_queue", "Alpha"));
    ASSERT_TRUE(CupsTestServer::addQueue("A_queue", "Zed"));
    EXPECT_EQ(printers.InstalledPrinters(), (QStringList{"Zed", "Alpha"}));
}

TEST_F(CupsPrintersTest, NoPrinterAtAllShowsTheInstructions) {
    EXPECT_TRUE(printers.InstalledPrinters().isEmpty());
    EXPECT_EQ(checkMessages(), QStringList{PdfPrinterMissingText()});
}

TEST_F(CupsPrintersTest, NameDifferingOnlyInCaseShowsTheInstructions) {
    ASSERT_TRUE(CupsTestServer::addQueue("kestrovan_lower", "kestrovan pdf writer"));
    EXPECT_EQ(checkMessages(), QStringList{PdfPrinterMissingText()});
}

TEST_F(CupsPrintersTest, StartUpShowsTheInstructionsOnceWhenThePrinterIsMissing) {
    ASSERT_TRUE(CupsTestServer::addQueue("Office", "Office Laser"));
    TestServices test;
    test.services.printers = &printers;
    Form1 form(test.services);
    form.Form_Load();
    EXPECT_EQ(test.dialogs.texts(), QStringList{PdfPrinterMissingText()});
    EXPECT_EQ(test.dialogs.messages[0].title, AppTitle());
}

// No CUPS server at all: an empty list, the instructions, and start-up goes on.
TEST(NoCupsServerTest, EmptyListAndStartUpGoesOn) {
    const QByteArray previous = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", "/nonexistent/corvella/cups.sock");
    CupsPrinters printers;
    EXPECT_TRUE(printers.InstalledPrinters().isEmpty());
    TestServices test;
    test.services.printers = &printers;
    Form1 form(test.services);
    form.Form_Load();
    EXPECT_EQ(test.dialogs.texts(), QStringList{PdfPrinterMissingText()});
    EXPECT_EQ(form.windowTitle(), "Corvella");
    qputenv("CUPS_SERVER", previous);
}

}  // namespace

// Closing the window ends the process at once, even in the middle of a command.
#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>

#include "app/Form1.h"
#include "app/TempFolder.h"
#include "extract/Deployment.h"
#include "tests/support/TestServices.h"

using namespace corvella;
using corvella::testing::TestServices;

namespace {

QStringList extractorCopies() {
    return QDir(TempFolder()).entryList({"pdftotext-*"}, QDir::Files | QDir::System);
}

// Runs in a child process: a long line comparison whose first yield closes the window.
[[noreturn]] void closeDuringComparison() {
    TestServices test;
    test.services.endProcess = nullptr;  // the real end: _exit
    Form1 form(test.services);
    form.Form_Load();
    if (!QFile::exists(Deployment::ExtractorPath())) std::_Exit(10);
    QString text;
    for (int i = 0; i < 20000; ++i) text += QStringLiteral("line %1\r").arg(i);
    form.pane(1).setText(text);
    form.pane(2).setText(text + "more\r");
    test.pump.hook = [&] { form.close(); };
    form.PushButton(1)->click();
    std::_Exit(20);  // reached only if closing did not end the process
}

TEST(ShutdownDeathTest, ClosingDuringACommandEndsTheProcessAndRemovesTheExtractor) {
    ASSERT_TRUE(extractorCopies().isEmpty());
    EXPECT_EXIT(closeDuringComparison(), ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(extractorCopies().isEmpty()) << extractorCopies().join(' ').toStdString();
}

TEST(ShutdownTest, ClosingNeverAsksAndEndsWithCodeZero) {
    TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_EQ(test.exitCodes, std::vector<int>{0});
    EXPECT_TRUE(test.dialogs.messages.empty());
}

}  // namespace

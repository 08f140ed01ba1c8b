// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up sequence: its steps, their order, what each does and how each failure is reported.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QImageWriter>
#include <QPushButton>
#include <QRadioButton>

#include "core/AppTitle.h"
#include "output/PrinterCheck.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;
using corvella::testing::TestServices;

namespace {

QString startupReport(int line, const QString& description) {
    return ErrorReportText("Form1.Form_Load", line, description);
}

class StartupTest : public ::testing::Test {
protected:
    QString programFile(const QString& name) const { return test.programFolder.filePath(name); }

    void writeProgramFile(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(programFile(name)).path());
        QFile file(programFile(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // A real cursor file: Qt writes an icon, which becomes a cursor by its type and hot spot.
    QByteArray cursorFile(int hotX, int hotY) {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(QImageWriter(&buffer, "ico").write(image));
        QByteArray bytes = buffer.data();
        bytes[2] = 2;  // type: cursor
        bytes[10] = char(hotX);
        bytes[11] = 0;
        bytes[12] = char(hotY);
        bytes[13] = 0;
        return bytes;
    }

    Form1& start() {
        form = std::make_unique<Form1>(test.services);
        form->Form_Load();
        return *form;
    }

    TestServices test;
    std::unique_ptr<Form1> form;
};

TEST_F(StartupTest, PlainStartShowsNoMessageAndPreparesTheWindow) {
    Form1& window = start();
    EXPECT_TRUE(test.dialogs.messages.empty());
    EXPECT_EQ(window.windowTitle(), "Corvella");
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(AppTitle(), "Corvella");
    EXPECT_TRUE(window.Option(1)->isChecked());
    EXPECT_TRUE(window.Option(3)->isChecked());
    EXPECT_FALSE(window.ComparisonDone);
    EXPECT_TRUE(window.styleSheet().isEmpty());
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(test.random.seeds, 1);
    EXPECT_TRUE(test.launcher.opened.isEmpty());
}

TEST_F(StartupTest, SkinFileIsAppliedAndColoursTheFramesAndOptions) {
    const QByteArray sheet = "QPushButton { color: rgb(0, 0, 128); }";
    writeProgramFile("x/o.cjs", sheet);
    Form1& window = start();
    EXPECT_EQ(window.styleSheet(), QString::fromUtf8(sheet));
    const QColor face = window.palette().color(QPalette::Button);
    EXPECT_EQ(window.palette().color(QPalette::Window), face);
    EXPECT_EQ(window.Frame(1)->palette().color(QPalette::Window), face);
    EXPECT_EQ(window.Option(2)->palette().color(QPalette::Window), face);
    EXPECT_TRUE(test.dialogs.messages.empty());
}

TEST_F(StartupTest, HandPictureIsLoadedWithItsHotSpot) {
    writeProgramFile("HAND-M.CUR", cursorFile(5, 7));
    Form1& window = start();
    EXPECT_TRUE(test.dialogs.messages.empty());
    window.setPointer(PointerShape::Hand);
    const QCursor shown = window.PushButton(3)->cursor();
    EXPECT_EQ(shown.shape(), Qt::BitmapCursor);
    EXPECT_EQ(shown.hotSpot(), QPoint(5, 7));
    EXPECT_EQ(shown.pixmap().size(), QSize(32, 32));
}

TEST_F(StartupTest, UnreadableHandPictureIsReportedAndStartUpGoesOn) {
    writeProgramFile("HAND-M.CUR", "this is no cursor");
    Form1& window = start();
    ASSERT_EQ(test.dialogs.messages.size(), 1u);
    EXPECT_EQ(test.dialogs.messages[0].text,
              startupReport(108, "Invalid picture: " + programFile("HAND-M.CUR")));
    EXPECT_EQ(window.windowTitle(), "Corvella");  // later steps ran
    window.setPointer(PointerShape::Hand);
    EXPECT_EQ(window.PushButton(3)->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(StartupTest, HomePageOpensOnlyWhenTheDrawIsSeven) {
    test.random.value = 0.06;  // floor(6.0) + 1 == 7
    start();
    EXPECT_EQ(test.launcher.opened, QStringList{"https://www.kestrovan.example/corvella"});
    test.launcher.opened.clear();
    test.random.value = 0.07;  // 8
    start();
    test.random.value = 0.0599;  // 6
    start();
    EXPECT_TRUE(test.launcher.opened.isEmpty());
}

TEST_F(StartupTest, MissingPdfPrinterIsExplainedBeforeTheWindowIsShown) {
    test.printers.setNames({"Office Laser", "kestrovan pdf writer"});
    bool windowWasVisible = true;
    test.dialogs.onMessage = [&](const MessageRequest&) {
        windowWasVisible = form && form->isVisible();
    };
    start();
    ASSERT_EQ(test.dialogs.messages.size(), 1u);
    const MessageRequest& box = test.dialogs.messages[0];
    EXPECT_EQ(box.text, PdfPrinterMissingText());
    EXPECT_EQ(box.title, "Corvella");
    EXPECT_EQ(box.icon, MessageIcon::None);
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    EXPECT_FALSE(windowWasVisible);
}

TEST_F(StartupTest, FailuresOfSeveralStepsAreReportedInOrderAndStartUpFinishes) {
    writeProgramFile("HAND-M.CUR", "garbage");
    test.printers.failure = QString("The print system is not running");
    test.services.settings = nullptr;
    Form1& window = start();
    const QStringList texts = test.dialogs.texts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_TRUE(texts[0].contains("at line 108"));
    EXPECT_EQ(texts[1], startupReport(114, "The settings store is not available"));
    EXPECT_EQ(texts[2], startupReport(118, "The print system is not running"));
    EXPECT_FALSE(window.ComparisonDone);
    EXPECT_TRUE(window.PushButton(1)->isEnabled());
}

}  // namespace

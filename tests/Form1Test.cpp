// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QtMath>
#include <memory>

#include "core/AppTitle.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

namespace corvella {
namespace {

using testing::ScriptedDialogs;
using testing::TestServices;

// The window's controls as designed: positions in twips relative to the container.
struct DesignedControl {
    const char* name;
    const char* caption;    // empty for panes
    const char* container;  // empty for the window
    int left, top, width, height;
};

const DesignedControl kDesign[] = {
    {"PushButton7", "Help", "", 120, 120, 9000, 405},
    {"Frame3", "PDF File #1:", "", 120, 600, 4440, 4905},
    {"RichTextBox1", "", "Frame3", 240, 390, 3975, 4335},
    {"RichTextBox3", "", "Frame3", 240, 390, 3975, 4335},
    {"Frame4", "PDF File #2:", "", 4680, 600, 4440, 4905},
    {"RichTextBox2", "", "Frame4", 240, 390, 3960, 4335},
    {"RichTextBox4", "", "Frame4", 240, 390, 3960, 4335},
    {"PushButton3", "Load PDF File #1", "", 120, 5610, 4440, 405},
    {"PushButton4", "Load PDF File #2", "", 4680, 5610, 4440, 405},
    {"PushButton8", "Load Sample PDF File (#1)", "", 120, 6120, 4440, 405},
    {"PushButton9", "Load Sample PDF File (#2)", "", 4680, 6120, 4440, 405},
    {"PushButton1", "Find Differences (Lines)", "", 120, 6630, 4455, 405},
    {"PushButton6", "Find Differences (Words)", "", 4680, 6630, 4440, 405},
    {"Frame1", "Method", "", 120, 7110, 9000, 1065},
    {"Option3", "Standard Comparison", "Frame1", 240, 300, 2505, 255},
    {"Option4", "MS Word Comparison Method (Word must be installed)", "Frame1", 240, 650, 5580,
     255},
    {"Frame2", "Standard Comparison Method", "", 120, 8280, 9000, 1065},
    {"Option1", "Display All Lines - Highlight Differences", "Frame2", 240, 300, 3735, 255},
    {"Option2", "Display Just Lines with Differences", "Frame2", 240, 650, 3840, 255},
    {"PushButton2", "Save #1 As PDF", "", 120, 9540, 4440, 405},
    {"PushButton5", "Save #2 As PDF", "", 4680, 9540, 4440, 405},
};

const QStringList kFocusOrder = {
    "RichTextBox1", "RichTextBox3", "RichTextBox2", "RichTextBox4", "PushButton3", "PushButton2",
    "PushButton4",  "PushButton5",  "PushButton1",  "PushButton6",  "Option3",     "Option1",
    "PushButton7",  "Option4",      "Option2",      "PushButton8",  "PushButton9"};

const QString kSample1 = QStringLiteral("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n\r\n");
const QString kSample2 = QStringLiteral("1\r\n2\r\n3\r\nx\r\n5\r\nx\r\n7\r\n\r\n");

int pixels(int twips) { return qRound(twips / 15.0); }

QRect designedRect(const DesignedControl& control) {
    return QRect(pixels(control.left), pixels(control.top), pixels(control.width),
                 pixels(control.height));
}

class Form1Test : public ::testing::Test {
protected:
    void TearDown() override { SetAppTitle(); }

    QWidget* control(const char* name) const {
        QWidget* widget = form->findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    std::vector<QWidget*> buttons() const {
        std::vector<QWidget*> out;
        for (int n = 1; n <= 9; ++n) out.push_back(form->PushButton(n));
        return out;
    }

    // A pointer move with no mouse button down, delivered as the window system would.
    static void moveOver(QWidget* widget) {
        const QPointF local(3, 3);
        QMouseEvent move(QEvent::MouseMove, local, widget->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    static void pressTab(QWidget* widget) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    }

    // Text positions of the characters the pane shows red.
    static std::vector<qsizetype> redPositions(const PaneDocument& pane) {
        std::vector<qsizetype> red;
        for (qsizetype i = 0; i < pane.textLength(); ++i)
            if (pane.colorAt(i) != kBlack) red.push_back(i);
        return red;
    }

    void loadSamplesAndCompare() {
        form->PushButton(8)->click();
        form->PushButton(9)->click();
        form->PushButton(1)->click();
    }

    TestServices all;  // every service scripted, an empty private program folder
    ScriptedDialogs& dialogs = all.dialogs;
    std::unique_ptr<Form1> form = std::make_unique<Form1>(all.services);
};

// ---------------------------------------------------------------------------------------------
// Controls and look.

TEST_F(Form1Test, EveryControlHasItsNameCaptionPlaceAndContainer) {
    for (const DesignedControl& design : kDesign) {
        SCOPED_TRACE(design.name);
        QWidget* widget = control(design.name);
        ASSERT_NE(widget, nullptr);
        const QString caption = QString::fromUtf8(design.caption);
        QWidget* container = *design.container ? control(design.container) : form.get();
        EXPECT_EQ(widget->parentWidget(), container);
        EXPECT_EQ(widget->geometry(), designedRect(design));

        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_EQ(button->text(), caption);
            EXPECT_EQ(widget->accessibleName(), caption);
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_EQ(frame->title(), caption);
            EXPECT_EQ(widget->accessibleName(), caption);
        } else {
            EXPECT_NE(qobject_cast<RichTextPane*>(widget), nullptr);
            EXPECT_EQ(widget->accessibleName(), QString::fromLatin1(design.name));
        }
    }
    EXPECT_EQ(form->findChildren<QPushButton*>().size(), 9);
    EXPECT_EQ(form->findChildren<QGroupBox*>().size(), 4);
    EXPECT_EQ(form->findChildren<QRadioButton*>().size(), 4);
    EXPECT_EQ(form->findChildren<RichTextPane*>().size(), 4);
}

TEST_F(Form1Test, ControlsHaveTheRightKinds) {
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(form->PushButton(n)->objectName(), QStringLiteral("PushButton%1").arg(n));
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(form->Option(n)->objectName(), QStringLiteral("Option%1").arg(n));
        EXPECT_EQ(form->Frame(n)->objectName(), QStringLiteral("Frame%1").arg(n));
        EXPECT_EQ(form->RichTextBox(n)->objectName(), QStringLiteral("RichTextBox%1").arg(n));
        EXPECT_EQ(&form->pane(n), static_cast<PaneDocument*>(form->RichTextBox(n)));
    }
}

TEST_F(Form1Test, PixelPlacesAreRoundedFromTwips) {
    EXPECT_EQ(form->Option(4)->geometry(), QRect(16, 43, 372, 17));  // 650 twips -> 43 px
    EXPECT_EQ(form->Option(2)->geometry(), QRect(16, 43, 256, 17));
    EXPECT_EQ(form->RichTextBox(1)->geometry(), QRect(16, 26, 265, 289));
    EXPECT_EQ(form->RichTextBox(2)->geometry(), QRect(16, 26, 264, 289));
    EXPECT_EQ(form->PushButton(1)->geometry(), QRect(8, 442, 297, 27));
}

TEST_F(Form1Test, ClientAreaHasNoMenuBarAndTheSaveButtonsLieBelowIt) {
    EXPECT_EQ(form->size(), QSize(616, 632));
    form->show();
    EXPECT_EQ(form->size(), QSize(616, 632));
    EXPECT_TRUE(form->findChildren<QMenuBar*>().isEmpty());
    EXPECT_GE(form->PushButton(2)->geometry().top(), form->height());
    EXPECT_GE(form->PushButton(5)->geometry().top(), form->height());
}

TEST_F(Form1Test, FontsAreBoldAndButtonsLarger) {
    const QString family = QFontDatabase::hasFamily(QStringLiteral("Arial"))
                               ? QStringLiteral("Arial")
                               : QStringLiteral("Liberation Sans");
    std::vector<QWidget*> nineAndAHalf = {form.get()};
    for (int n = 1; n <= 4; ++n) {
        nineAndAHalf.push_back(form->Frame(n));
        nineAndAHalf.push_back(form->Option(n));
        nineAndAHalf.push_back(form->RichTextBox(n));
    }
    for (QWidget* widget : nineAndAHalf) {
        SCOPED_TRACE(widget->objectName().toStdString());
        EXPECT_EQ(widget->font().family(), family);
        EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), 9.0);
        EXPECT_TRUE(widget->font().bold());
    }
    for (QWidget* widget : buttons()) {
        SCOPED_TRACE(widget->objectName().toStdString());
        EXPECT_EQ(widget->font().family(), family);
        EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), 11.25);
        EXPECT_TRUE(widget->font().bold());
    }
}

TEST_F(Form1Test, WindowFramesAndOptionsHaveAWhiteBackground) {
    std::vector<QWidget*> white = {form.get()};
    for (int n = 1; n <= 4; ++n) {
        white.push_back(form->Frame(n));
        white.push_back(form->Option(n));
    }
    for (QWidget* widget : white) {
        SCOPED_TRACE(widget->objectName().toStdString());
        EXPECT_EQ(widget->palette().color(QPalette::Window), QColor(255, 255, 255));
        EXPECT_EQ(widget->palette().color(widget->backgroundRole()), QColor(255, 255, 255));
        EXPECT_TRUE(widget->autoFillBackground());
    }
}

TEST_F(Form1Test, ResizingTheWindowMovesNoControl) {
    form->show();
    QHash<QWidget*, QRect> before;
    for (const DesignedControl& design : kDesign) {
        QWidget* widget = control(design.name);
        ASSERT_NE(widget, nullptr);
        before.insert(widget, widget->geometry());
    }
    for (const QSize size : {QSize(900, 800), QSize(300, 200), QSize(616, 632)}) {
        form->resize(size);
        QApplication::processEvents();
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            EXPECT_EQ(it.key()->geometry(), it.value()) << it.key()->objectName().toStdString();
    }
}

// ---------------------------------------------------------------------------------------------
// Keyboard focus order.

TEST_F(Form1Test, FocusChainVisitsTheControlsInDesignOrder) {
    const QSet<QString> named(kFocusOrder.cbegin(), kFocusOrder.cend());
    QStringList visited;
    QWidget* widget = form->RichTextBox(1);
    do {
        if (named.contains(widget->objectName())) visited << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != form->RichTextBox(1) && visited.size() <= kFocusOrder.size());
    EXPECT_EQ(visited, kFocusOrder);
}

TEST_F(Form1Test, TabReachesEveryControlInOrderIncludingTheSaveButtons) {
    form->Form_Load();
    form->pane(3).setShown(true);
    form->pane(4).setShown(true);
    form->show();
    form->activateWindow();
    QApplication::processEvents();
    form->RichTextBox(1)->setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(form->focusWidget(), form->RichTextBox(1));

    // A group of option buttons is one Tab stop: the selected option (Option3, Option1) takes
    // the focus and the unselected one (Option4, Option2) is passed over.
    const QStringList expected = {"RichTextBox1", "RichTextBox3", "RichTextBox2", "RichTextBox4",
                                  "PushButton3",  "PushButton2",  "PushButton4",  "PushButton5",
                                  "PushButton1",  "PushButton6",  "Option3",      "Option1",
                                  "PushButton7",  "PushButton8",  "PushButton9"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QWidget* focused = form->focusWidget();
        ASSERT_NE(focused, nullptr);
        visited << focused->objectName();
        pressTab(focused);
    }
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(form->focusWidget(), form->RichTextBox(1)) << "Tab does not wrap around";
}

// ---------------------------------------------------------------------------------------------
// Start-up state and the option buttons.

TEST_F(Form1Test, PanesHoldTheirNamesUntilStartUp) {
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(form->pane(n).text(), QStringLiteral("RichTextBox%1").arg(n));
    EXPECT_TRUE(form->Option(3)->isChecked());
    EXPECT_FALSE(form->Option(4)->isChecked());
    EXPECT_TRUE(form->PushButton(1)->isEnabled());
}

TEST_F(Form1Test, StartUpEmptiesThePanesAndShowsTheTextPanes) {
    form->ComparisonDone = true;
    SetAppTitle(QStringLiteral("Something Else Entirely"));
    form->Form_Load();

    for (int n = 1; n <= 4; ++n) EXPECT_EQ(form->pane(n).text(), QString()) << n;
    EXPECT_TRUE(form->Option(1)->isChecked());
    EXPECT_FALSE(form->Option(2)->isChecked());
    EXPECT_TRUE(form->Option(3)->isChecked());
    EXPECT_TRUE(form->pane(1).isShown());
    EXPECT_TRUE(form->pane(2).isShown());
    EXPECT_FALSE(form->pane(3).isShown());
    EXPECT_FALSE(form->pane(4).isShown());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Corvella"));
    EXPECT_EQ(AppTitle(), QStringLiteral("Corvella"));
    EXPECT_FALSE(form->windowIcon().isNull());
    EXPECT_FALSE(form->ComparisonDone);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(Form1Test, MethodOptionsEnableAndDisableFindDifferencesLines) {
    form->Form_Load();
    form->Option(4)->click();
    EXPECT_TRUE(form->Option(4)->isChecked());
    EXPECT_FALSE(form->Option(3)->isChecked());
    EXPECT_FALSE(form->PushButton(1)->isEnabled());
    EXPECT_TRUE(form->Option(1)->isChecked()) << "the two option groups are independent";

    form->Option(3)->click();
    EXPECT_TRUE(form->Option(3)->isChecked());
    EXPECT_TRUE(form->PushButton(1)->isEnabled());
}

TEST_F(Form1Test, DisplayOptionBeforeAnyComparisonKeepsTheTextPanes) {
    form->Form_Load();
    form->Option(2)->click();
    EXPECT_TRUE(form->Option(2)->isChecked());
    EXPECT_TRUE(form->pane(1).isShown());
    EXPECT_TRUE(form->pane(2).isShown());
    EXPECT_FALSE(form->pane(3).isShown());
    EXPECT_FALSE(form->pane(4).isShown());
}

TEST_F(Form1Test, OptionsActWhenSelectedThroughTheirAccessibleAction) {
    form->Form_Load();
    loadSamplesAndCompare();
    // Option, work panes in view, lines button enabled, settings saved so far; each row starts
    // where the last ended.
    const int rows[][4] = {{2, 1, 1, 0}, {1, 0, 1, 0}, {4, 0, 0, 1}, {3, 0, 1, 2}};
    for (const auto& [option, workPanes, linesButton, saves] : rows) {
        SCOPED_TRACE(option);
        QAccessible::queryAccessibleInterface(form->Option(option))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_TRUE(form->Option(option)->isChecked());
        EXPECT_EQ(form->pane(1).isShown(), !workPanes);
        EXPECT_EQ(form->pane(4).isShown(), bool(workPanes));
        EXPECT_EQ(form->PushButton(1)->isEnabled(), bool(linesButton));
        EXPECT_EQ(all.settings.saves, saves);
    }
    EXPECT_EQ(all.settings.comparison(), "1");
}

// ---------------------------------------------------------------------------------------------
// The pointer.

TEST_F(Form1Test, CommandButtonsShowTheHandAndTheBackgroundTheDefault) {
    form->show();
    for (QWidget* button : buttons()) {
        SCOPED_TRACE(button->objectName().toStdString());
        moveOver(form.get());
        ASSERT_EQ(form->pointer(), PointerShape::Default);
        moveOver(button);
        EXPECT_EQ(form->pointer(), PointerShape::Hand);
        EXPECT_EQ(button->cursor().shape(), Qt::ArrowCursor);  // no hand picture loaded
    }
    moveOver(form.get());
    EXPECT_EQ(form->pointer(), PointerShape::Default);
}

TEST_F(Form1Test, TheHandPictureShowsOverTheButtonsWhileThePointerIsTheHand) {
    form->show();
    form->setHandPicture(QCursor(Qt::CrossCursor));
    moveOver(form->PushButton(3));
    EXPECT_EQ(form->pointer(), PointerShape::Hand);
    EXPECT_EQ(form->PushButton(3)->cursor().shape(), Qt::CrossCursor);
    moveOver(form.get());
    EXPECT_EQ(form->pointer(), PointerShape::Default);
    EXPECT_EQ(form->PushButton(3)->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form->RichTextBox(1)->viewport()->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(Form1Test, BackgroundFramesDisplayOptionsAndPanesShowTheDefault) {
    form->show();
    std::vector<QWidget*> plain = {form.get(), form->Option(1), form->Option(2)};
    for (int n = 1; n <= 4; ++n) {
        plain.push_back(form->Frame(n));
        plain.push_back(form->RichTextBox(n)->viewport());
    }
    for (QWidget* widget : plain) {
        SCOPED_TRACE((widget->objectName().isEmpty() ? widget->parentWidget()->objectName()
                                                     : widget->objectName())
                         .toStdString());
        moveOver(form->PushButton(7));
        ASSERT_EQ(form->pointer(), PointerShape::Hand);
        moveOver(widget);
        EXPECT_EQ(form->pointer(), PointerShape::Default);
    }
}

TEST_F(Form1Test, MethodOptionsLeaveThePointerAsItWas) {
    form->show();
    for (int n : {3, 4}) {
        SCOPED_TRACE(n);
        moveOver(form->PushButton(1));
        moveOver(form->Option(n));
        EXPECT_EQ(form->pointer(), PointerShape::Hand);
        moveOver(form.get());
        moveOver(form->Option(n));
        EXPECT_EQ(form->pointer(), PointerShape::Default);
    }
}

TEST_F(Form1Test, HourglassStaysWhateverThePointerMovesOver) {
    form->show();
    form->setPointer(PointerShape::Hourglass);
    for (QWidget* widget :
         {static_cast<QWidget*>(form->PushButton(8)), static_cast<QWidget*>(form.get()),
          static_cast<QWidget*>(form->Frame(3)),
          static_cast<QWidget*>(form->RichTextBox(1)->viewport())}) {
        moveOver(widget);
        EXPECT_EQ(form->pointer(), PointerShape::Hourglass);
    }
    EXPECT_EQ(form->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(form->PushButton(8)->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(form->RichTextBox(1)->viewport()->cursor().shape(), Qt::WaitCursor);

    form->setPointer(PointerShape::Default);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form->PushButton(8)->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form->RichTextBox(1)->viewport()->cursor().shape(), Qt::IBeamCursor);
    moveOver(form->PushButton(8));
    EXPECT_EQ(form->pointer(), PointerShape::Hand);
}

// ---------------------------------------------------------------------------------------------
// Help.

TEST_F(Form1Test, HelpShowsTwoBoxesWithTheApplicationTitle) {
    form->Form_Load();
    form->PushButton(7)->click();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("This program will:\r\rextract text from a PDF. This text is usually "
                             "typed into the PDF using the keyboard.\r\rThis program will "
                             "not:\r\rextract text that is inside an image. Even though the "
                             "image is embedded within a PDF file, it is still an image and "
                             "\"unreadable\"."));
    EXPECT_EQ(dialogs.messages[1].text,
              QStringLiteral("This program will not:\r\r*handle password protected PDF files."));
    for (const MessageRequest& box : dialogs.messages) {
        EXPECT_EQ(box.title, QStringLiteral("Corvella"));
        EXPECT_EQ(box.title, AppTitle());
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_EQ(box.icon, MessageIcon::None);
    }
}

// ---------------------------------------------------------------------------------------------
// Sample texts and the line comparison on the real window.

TEST_F(Form1Test, SampleButtonsFillTheTwoPanes) {
    form->Form_Load();
    form->PushButton(8)->click();
    form->PushButton(9)->click();
    EXPECT_EQ(form->pane(1).text(), kSample1);
    EXPECT_EQ(form->pane(2).text(), kSample2);
    EXPECT_EQ(form->pane(3).text(), QString());
    EXPECT_EQ(form->pane(4).text(), QString());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(Form1Test, SampleButtonAppendsToWhatThePaneHolds) {
    form->Form_Load();
    form->PushButton(8)->click();
    form->PushButton(8)->click();
    EXPECT_EQ(form->pane(1).text(), kSample1 + kSample1);
    EXPECT_EQ(form->pane(2).text(), QString());
}

TEST_F(Form1Test, SampleButtonsClearTheComparisonAndKeepThePointer) {
    form->Form_Load();
    form->setPointer(PointerShape::Hand);
    form->ComparisonDone = true;
    form->PushButton(8)->click();
    EXPECT_FALSE(form->ComparisonDone);
    EXPECT_EQ(form->pointer(), PointerShape::Hand);
    form->ComparisonDone = true;
    form->PushButton(9)->click();
    EXPECT_FALSE(form->ComparisonDone);
    EXPECT_EQ(form->pointer(), PointerShape::Hand);
}

TEST_F(Form1Test, SampleLoadAfterAComparisonBringsBackTheTextPanes) {
    form->Form_Load();
    loadSamplesAndCompare();
    form->Option(2)->click();
    ASSERT_TRUE(form->pane(3).isShown());
    ASSERT_FALSE(form->pane(1).isShown());

    form->PushButton(9)->click();
    EXPECT_TRUE(form->Option(2)->isChecked());
    EXPECT_TRUE(form->pane(1).isShown());
    EXPECT_TRUE(form->pane(2).isShown());
    EXPECT_FALSE(form->pane(3).isShown());
    EXPECT_FALSE(form->pane(4).isShown());
}

TEST_F(Form1Test, FindDifferencesLinesColoursAndListsTheDifferingLines) {
    form->Form_Load();
    loadSamplesAndCompare();

    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(form->pane(1).text(), kSample1);
    EXPECT_EQ(form->pane(2).text(), kSample2);
    // "4" and "6" in pane 1, the two "x" in pane 2: text positions 9 and 15.
    EXPECT_EQ(redPositions(form->pane(1)), (std::vector<qsizetype>{9, 15}));
    EXPECT_EQ(redPositions(form->pane(2)), (std::vector<qsizetype>{9, 15}));
    EXPECT_EQ(form->pane(1).colorAt(9), kRed);
    EXPECT_EQ(form->pane(2).colorAt(15), kRed);
    EXPECT_EQ(form->pane(3).text(), QStringLiteral("4\r\n6\r\n"));
    EXPECT_EQ(form->pane(4).text(), QStringLiteral("x\r\nx\r\n"));
    EXPECT_TRUE(form->ComparisonDone);
    EXPECT_FALSE(form->BusyFlag);
    EXPECT_EQ(form->pointer(), PointerShape::Default);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
    // Display all lines: the text panes stay in view.
    EXPECT_TRUE(form->pane(1).isShown());
    EXPECT_FALSE(form->pane(3).isShown());
}

TEST_F(Form1Test, DisplayOptionsSwitchBetweenTextAndDifferencePanesAfterAComparison) {
    form->Form_Load();
    loadSamplesAndCompare();

    form->Option(2)->click();
    EXPECT_FALSE(form->pane(1).isShown());
    EXPECT_FALSE(form->pane(2).isShown());
    EXPECT_TRUE(form->pane(3).isShown());
    EXPECT_TRUE(form->pane(4).isShown());

    form->Option(1)->click();
    EXPECT_TRUE(form->pane(1).isShown());
    EXPECT_TRUE(form->pane(2).isShown());
    EXPECT_FALSE(form->pane(3).isShown());
    EXPECT_FALSE(form->pane(4).isShown());
}

TEST_F(Form1Test, ComparingAgainRepaintsOnlyTheDifferences) {
    form->Form_Load();
    loadSamplesAndCompare();
    form->PushButton(1)->click();
    EXPECT_EQ(redPositions(form->pane(1)), (std::vector<qsizetype>{9, 15}));
    EXPECT_EQ(redPositions(form->pane(2)), (std::vector<qsizetype>{9, 15}));
    EXPECT_EQ(form->pane(3).text(), QStringLiteral("4\r\n6\r\n"));
    EXPECT_EQ(form->pane(4).text(), QStringLiteral("x\r\nx\r\n"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(Form1Test, AComparisonLeavesNoHighlightUntilThePaneHasTheFocus) {
    form->Form_Load();
    form->show();
    form->activateWindow();
    form->PushButton(1)->setFocus();  // as when the user clicks it
    loadSamplesAndCompare();
    RichTextPane* pane = form->RichTextBox(1);
    const std::pair selection{pane->selStart(), pane->selLength()};
    ASSERT_GT(selection.second, 0) << "the comparison leaves the last coloured line selected";
    // Pixels of the selection highlight, and red ones, in the pane as drawn.
    auto count = [pane](auto matches) {
        const QImage image = pane->viewport()->grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += matches(image.pixelColor(x, y));
        return n;
    };
    const QColor highlight = pane->palette().color(QPalette::Active, QPalette::Highlight);
    auto highlighted = [&] { return count([&](QColor c) { return c == highlight; }); };
    auto red = [&] { return count([](QColor c) { return c.red() > 200 && c.green() < 80; }); };
    const int redPixels = red();
    EXPECT_EQ(highlighted(), 0);
    EXPECT_GT(redPixels, 0);

    pane->setFocus(Qt::TabFocusReason);
    EXPECT_GT(highlighted(), 0);
    form->PushButton(1)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(highlighted(), 0);
    EXPECT_EQ(red(), redPixels) << "red text keeps its colour";
    EXPECT_EQ(std::pair(pane->selStart(), pane->selLength()), selection);

    QTest::mouseClick(pane->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    EXPECT_EQ(form->focusWidget(), pane);
    EXPECT_EQ(std::pair(pane->selStart(), pane->selLength()),
              std::pair(qsizetype(0), qsizetype(0)));
}

}  // namespace
}  // namespace corvella

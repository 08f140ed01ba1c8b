// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <new>
#include <stdexcept>

#include "core/AppTitle.h"
#include "core/BuildConfig.h"
#include "core/ErrorReport.h"
#include "tests/support/ScriptedDialogs.h"
#include "window/main/QtDialogs.h"

namespace corvella {
namespace {

using testing::ScriptedDialogs;

QString supportEmail() { return QString::fromUtf8(build::kSupportEmail); }

// ---------------------------------------------------------------------------------------------
// The report text and its box.

TEST(ErrorReportText, IsByteExact) {
    EXPECT_EQ(ErrorReportText(QStringLiteral("Form1.PushButton7_Click"), 102,
                              QStringLiteral("Disk full")),
              QStringLiteral("Disk full\r\nin Corvella2021/08/31.Form1.PushButton7_Click at line "
                             "102\r\rPlease email screenshot of this message to ") +
                  supportEmail());
    EXPECT_FALSE(supportEmail().isEmpty());
}

TEST(ErrorReportText, EmptyDescriptionLeavesTheFirstLineEmpty) {
    const QString text = ErrorReportText(QStringLiteral("Module.Proc"), 0, QString());
    const QStringList lines = QtDialogs::displayText(text).split(u'\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], QString());
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("in "))) << lines[1].toStdString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("\r\nin Corvella2021/08/31.Module.Proc at line 0")));
}

TEST(ErrorReportBox, IsAnApplicationErrorWarningWithOk) {
    ScriptedDialogs dialogs;
    ErrorReport(dialogs, QStringLiteral("Form1.Form_Load"), 112, QStringLiteral("Oops"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const MessageRequest& box = dialogs.messages[0];
    EXPECT_EQ(box.text, QStringLiteral("Oops\r\nin Corvella2021/08/31.Form1.Form_Load at line "
                                       "112\r\rPlease email screenshot of this message to ") +
                            supportEmail());
    EXPECT_EQ(box.title, QStringLiteral("Application Error"));
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
}

// ---------------------------------------------------------------------------------------------
// Procedures made of numbered steps.

class ProcedureTest : public ::testing::Test {
protected:
    QString report(const QString& location, int line, const QString& description) const {
        return ErrorReportText(location, line, description);
    }

    ScriptedDialogs dialogs;
};

void throwWithoutReport() { throw Failure(QStringLiteral("from below")); }

void reportingRoutine(Dialogs& dialogs, bool& reachedAfterFailure) {
    Procedure proc(dialogs, QStringLiteral("Module2.Inner"));
    proc.step(10, [&] { throw Failure(QStringLiteral("inner failure")); });
    proc.step(12, [&] { reachedAfterFailure = true; });
}

TEST_F(ProcedureTest, FailureBeforeAnyStepIsReportedAtLineZero) {
    Procedure proc(dialogs, QStringLiteral("Form1.Early"));
    EXPECT_EQ(proc.line(), 0);
    proc.guard([] { throw Failure(QStringLiteral("too early")); });
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              report(QStringLiteral("Form1.Early"), 0, QStringLiteral("too early")));
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Application Error"));
}

TEST_F(ProcedureTest, FailingStepIsReportedWithItsNumberAndTheRestOfItIsSkipped) {
    Procedure proc(dialogs, QStringLiteral("Form1.Steps"));
    bool first = false, restOfFailedStep = false, next = false;
    proc.step(100, [&] { first = true; });
    proc.step(102, [&] {
        throw Failure(QStringLiteral("bad"));
        restOfFailedStep = true;
    });
    proc.step(104, [&] { next = true; });

    EXPECT_TRUE(first);
    EXPECT_FALSE(restOfFailedStep);
    EXPECT_TRUE(next);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              report(QStringLiteral("Form1.Steps"), 102, QStringLiteral("bad")));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Warning);
}

TEST_F(ProcedureTest, TwoFailingStepsGiveTwoBoxesInOrder) {
    Procedure proc(dialogs, QStringLiteral("Form1.Twice"));
    proc.step(100, [] { throw Failure(QStringLiteral("first")); });
    proc.step(102, [] {});
    proc.step(104, [] { throw Failure(QStringLiteral("second")); });
    EXPECT_EQ(dialogs.texts(),
              QStringList({report(QStringLiteral("Form1.Twice"), 100, QStringLiteral("first")),
                           report(QStringLiteral("Form1.Twice"), 104, QStringLiteral("second"))}));
}

TEST_F(ProcedureTest, GuardedCodeKeepsTheStepLastBegun) {
    Procedure proc(dialogs, QStringLiteral("Form1.Guarded"));
    proc.step(106, [] {});
    proc.guard([] { throw Failure(QStringLiteral("between steps")); });
    EXPECT_EQ(dialogs.texts(), QStringList({report(QStringLiteral("Form1.Guarded"), 106,
                                                   QStringLiteral("between steps"))}));
}

TEST_F(ProcedureTest, RoutineWithoutItsOwnReportFailsInTheCallersStep) {
    Procedure proc(dialogs, QStringLiteral("Form1.Caller"));
    proc.step(100, [] {});
    proc.step(106, [] { throwWithoutReport(); });
    EXPECT_EQ(
        dialogs.texts(),
        QStringList({report(QStringLiteral("Form1.Caller"), 106, QStringLiteral("from below"))}));
}

TEST_F(ProcedureTest, RoutineWithItsOwnReportReportsItselfAndTheCallerGoesOn) {
    Procedure proc(dialogs, QStringLiteral("Form1.Caller"));
    bool innerWentOn = false, callerWentOn = false;
    proc.step(108, [&] {
        reportingRoutine(dialogs, innerWentOn);
        callerWentOn = true;
    });
    EXPECT_TRUE(innerWentOn);
    EXPECT_TRUE(callerWentOn);
    EXPECT_EQ(dialogs.texts(), QStringList({report(QStringLiteral("Module2.Inner"), 10,
                                                   QStringLiteral("inner failure"))}));
}

TEST_F(ProcedureTest, EmptyDescriptionIsReportedToo) {
    Procedure proc(dialogs, QStringLiteral("Form1.Quiet"));
    proc.step(110, [] { throw Failure(QString()); });
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const QStringList lines = QtDialogs::displayText(dialogs.messages[0].text).split(u'\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], QString());
    EXPECT_EQ(lines[1], QStringLiteral("in Corvella2021/08/31.Form1.Quiet at line 110"));
}

TEST_F(ProcedureTest, StandardLibraryErrorsAreReported) {
    Procedure proc(dialogs, QStringLiteral("Form1.Std"));
    bool after = false;
    proc.step(100, [] { throw std::runtime_error("disk on fire"); });
    proc.step(102, [] { throw std::bad_alloc(); });
    proc.step(104, [&] { after = true; });
    EXPECT_TRUE(after);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text,
              report(QStringLiteral("Form1.Std"), 100, QStringLiteral("disk on fire")));
    const QString second = dialogs.messages[1].text;
    EXPECT_FALSE(second.startsWith(QStringLiteral("\r\n"))) << "the error's own text is lost";
    EXPECT_TRUE(second.contains(QStringLiteral("in Corvella2021/08/31.Form1.Std at line 102\r\r")));
    EXPECT_EQ(dialogs.messages[1].title, QStringLiteral("Application Error"));
}

// ---------------------------------------------------------------------------------------------
// The real message box.

TEST(QtDialogsText, EachLineEndBecomesOneLineBreak) {
    EXPECT_EQ(QtDialogs::displayText(QStringLiteral("a\r\nb")), QStringLiteral("a\nb"));
    EXPECT_EQ(QtDialogs::displayText(QStringLiteral("a\rb")), QStringLiteral("a\nb"));
    EXPECT_EQ(QtDialogs::displayText(QStringLiteral("a\nb")), QStringLiteral("a\nb"));
    EXPECT_EQ(QtDialogs::displayText(QStringLiteral("a\r\rb")), QStringLiteral("a\n\nb"));
    EXPECT_EQ(QtDialogs::displayText(QStringLiteral("a\n\rb")), QStringLiteral("a\n\nb"));
    EXPECT_EQ(QtDialogs::displayText(QStringLiteral("\r\r\n\n")), QStringLiteral("\n\n\n"));
    EXPECT_EQ(QtDialogs::displayText(QStringLiteral("plain")), QStringLiteral("plain"));
}

// What the box looked like while it was open.
struct SeenBox {
    bool found = false;
    bool wasActiveModal = false;
    bool modal = false;
    Qt::WindowModality modality = Qt::NonModal;
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

class QtDialogsBoxTest : public ::testing::Test {
protected:
    // Once the next box is open, notes what it shows and presses `press`.
    void answerNextBox(QMessageBox::StandardButton press) {
        QTimer::singleShot(0, [this, press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            seen.wasActiveModal = box != nullptr;
            if (!box) {
                for (QWidget* widget : QApplication::topLevelWidgets())
                    if (auto* candidate = qobject_cast<QMessageBox*>(widget);
                        candidate && candidate->isVisible())
                        box = candidate;
            }
            if (!box) return;
            seen.found = true;
            seen.modal = box->isModal();
            seen.modality = box->windowModality();
            seen.title = box->windowTitle();
            seen.text = box->text();
            seen.format = box->textFormat();
            seen.icon = box->icon();
            seen.buttons = box->standardButtons();
            if (QAbstractButton* button = box->button(press))
                button->click();
            else
                box->reject();
        });
    }

    QtDialogs dialogs;
    SeenBox seen;
};

TEST_F(QtDialogsBoxTest, YesNoBoxIsModalAndAnswersNo) {
    answerNextBox(QMessageBox::No);
    const MessageAnswer answer = dialogs.showMessage({QStringLiteral("Replace it?\r\rSecond line"),
                                                      QStringLiteral("Corvella"),
                                                      MessageButtons::YesNo, MessageIcon::Warning});
    ASSERT_TRUE(seen.found) << "no message box was open";
    EXPECT_TRUE(seen.wasActiveModal);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
    EXPECT_EQ(seen.title, QStringLiteral("Corvella"));
    EXPECT_EQ(seen.text, QStringLiteral("Replace it?\n\nSecond line"));
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(answer, MessageAnswer::No);
}

TEST_F(QtDialogsBoxTest, YesNoBoxAnswersYes) {
    answerNextBox(QMessageBox::Yes);
    EXPECT_EQ(dialogs.showMessage({QStringLiteral("Go on?"), QStringLiteral("T"),
                                   MessageButtons::YesNo, MessageIcon::None}),
              MessageAnswer::Yes);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}

TEST_F(QtDialogsBoxTest, OkBoxShowsMarkupLiterally) {
    answerNextBox(QMessageBox::Ok);
    const MessageAnswer answer =
        dialogs.showMessage({QStringLiteral("<b>x</b>"), QStringLiteral("Application Error"),
                             MessageButtons::Ok, MessageIcon::Warning});
    ASSERT_TRUE(seen.found) << "no message box was open";
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.title, QStringLiteral("Application Error"));
    EXPECT_EQ(seen.text, QStringLiteral("<b>x</b>"));
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(answer, MessageAnswer::Ok);
}

// ---------------------------------------------------------------------------------------------
// The application title.

TEST(ShortenedTitle, NameWithoutSpaceIsKept) {
    EXPECT_EQ(ShortenedTitle(QStringLiteral("Corvella")), QStringLiteral("Corvella"));
}

TEST(ShortenedTitle, ShortNameStillLosesItsLastWord) {
    EXPECT_EQ(ShortenedTitle(QStringLiteral("A B C")), QStringLiteral("A B"));
    EXPECT_EQ(ShortenedTitle(QStringLiteral("Corvella Pro")), QStringLiteral("Corvella"));
}

TEST(ShortenedTitle, LongNameIsCutWordByWordUntilItFits) {
    // 57 characters; dropping "Files" leaves 51, "Document" 42, "Portable" 33.
    EXPECT_EQ(
        ShortenedTitle(QStringLiteral("Corvella Text Comparison Tool For Portable Document Files")),
        QStringLiteral("Corvella Text Comparison Tool For"));
    // Exactly 40 characters after the last word goes: nothing more is dropped.
    const QString forty = QStringLiteral("abcdefghij abcdefghij abcdefghij abcdefg");
    ASSERT_EQ(forty.size(), 40);
    EXPECT_EQ(ShortenedTitle(forty + QStringLiteral(" tail")), forty);
}

TEST(ShortenedTitle, LongNameWithoutSpaceIsCutToFortyCharacters) {
    const QString fifty = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWX");
    ASSERT_EQ(fifty.size(), 50);
    EXPECT_EQ(ShortenedTitle(fifty), QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN"));
    // A first word longer than 40 characters is cut once the other words are gone.
    EXPECT_EQ(ShortenedTitle(fifty + QStringLiteral(" more words")),
              QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN"));
}

class AppTitleTest : public ::testing::Test {
protected:
    void TearDown() override { SetAppTitle(); }
    ScriptedDialogs dialogs;
};

TEST_F(AppTitleTest, SetAppTitleStoresTheShortenedName) {
    SetAppTitle(QStringLiteral("Corvella Text Comparison Tool For Portable Document Files"));
    EXPECT_EQ(AppTitle(), QStringLiteral("Corvella Text Comparison Tool For"));
    SetAppTitle();
    EXPECT_EQ(AppTitle(), QStringLiteral("Corvella"));
}

TEST_F(AppTitleTest, MessageBoxesCarryTheApplicationTitle) {
    SetAppTitle(QStringLiteral("Corvella Reader Edition"));
    MsgBox(dialogs, QStringLiteral("hello"));
    MsgBox(dialogs, QStringLiteral("sure?"), MessageButtons::YesNo, MessageIcon::Warning);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Corvella Reader"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("hello"));
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(dialogs.messages[1].title, QStringLiteral("Corvella Reader"));
    EXPECT_EQ(dialogs.messages[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(dialogs.messages[1].icon, MessageIcon::Warning);
}

}  // namespace
}  // namespace corvella

// The window's panes keep the window live: written text goes into the document a slice at a time
// (a hidden pane's only once it is shown) and long colourings yield, yet every command gives what
// panes written at once give.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTextDocument>

#include "cli/HeadlessWindow.h"
#include "compare/LinesCommand.h"
#include "compare/WordsCommand.h"
#include "core/PaneText.h"
#include "tests/support/PaneInspection.h"
#include "tests/support/TestServices.h"
#include "window/Form1.h"
#include "window/RichTextPane.h"

using namespace corvella;
using corvella::testing::CountingPump;
using corvella::testing::RedMask;
using corvella::testing::TestServices;

namespace {

QString longText(int lines) {
    QString text;
    for (int i = 0; i < lines; ++i) text += QStringLiteral("line %1 of a long text\r").arg(i);
    return text;
}

class LivePaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        pane.keepLive(pump, std::chrono::milliseconds(0));
        pane.resize(200, 200);
        pane.show();
    }
    int documentBlocks() const { return pane.document()->blockCount(); }

    CountingPump pump;
    RichTextPane pane;
};

TEST_F(LivePaneTest, WrittenTextIsThePanesAtOnceAndFillsTheDocumentOverSeveralTurns) {
    const QString text = longText(20000);
    pane.setText(text);
    const QString canonical = PaneText::canonical(text);
    EXPECT_EQ(pane.text(), canonical);
    EXPECT_EQ(pane.textLength(), canonical.size());
    EXPECT_EQ(pane.selStart(), canonical.size());
    EXPECT_EQ(pane.colorAt(5), kBlack);
    EXPECT_LT(documentBlocks(), 20001);  // nothing of it yet
    EXPECT_TRUE(pane.isReadOnly());      // nobody types into a half-filled document

    int turns = 0;
    while (documentBlocks() < 20001 && turns < 10000) {
        QCoreApplication::processEvents();
        ++turns;
    }
    EXPECT_GT(turns, 1);
    EXPECT_EQ(pane.document()->toPlainText(), QString(canonical).replace("\r\n", "\n"));
    EXPECT_FALSE(pane.isReadOnly());
    EXPECT_EQ(pane.selStart(), canonical.size());
}

TEST_F(LivePaneTest, AHiddenPaneBuildsItsDocumentOnlyWhenShownOrNeeded) {
    struct Case {
        const char* name;
        std::function<void(RichTextPane&)> then;
        bool built;
    };
    const Case cases[] = {
        {"reading", [](RichTextPane& p) { static_cast<void>(p.text()); }, false},
        {"shown",
         [](RichTextPane& p) {
             p.show();
             for (int turn = 0; turn < 1000 && p.document()->blockCount() < 3001; ++turn)
                 QCoreApplication::processEvents();
         },
         true},
        {"coloured",
         [](RichTextPane& p) {
             p.colorRanges({{0, 4}}, kRed);
         },
         true},
        {"selected", [](RichTextPane& p) { p.setSelStart(3); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pane.hide();
        pane.setText(longText(3000));
        QCoreApplication::processEvents();
        ASSERT_EQ(documentBlocks(), 1);
        c.then(pane);
        EXPECT_EQ(documentBlocks() == 3001, c.built);
        EXPECT_EQ(pane.text(), PaneText::canonical(longText(3000)));
    }
    EXPECT_EQ(pane.colorAt(0), kBlack);  // the last write dropped the colour
}

TEST_F(LivePaneTest, TextWrittenDuringAFillOrAColouringWins) {
    pane.setText(longText(5000));
    bool rewritten = false;
    pump.hook = [&] {
        if (rewritten) return;
        rewritten = true;
        pane.setText("the newer text\r");
    };
    // Colouring needs the document: the fill yields, the text is rewritten meanwhile, and the
    // colouring stops rather than colour the new text at the old places.
    pane.colorRanges({{0, 4}, {200, 4}, {90000, 4}}, kRed);
    pump.hook = nullptr;
    pane.completeText();
    EXPECT_TRUE(rewritten);
    EXPECT_EQ(pane.text(), "the newer text\r\n");
    EXPECT_EQ(pane.document()->toPlainText(), "the newer text\n");
    EXPECT_EQ(RedMask(pane), QString(14, u'.'));
}

// ---- Whole commands: the live window against panes written at once ----------------------------

QString randomText(QRandomGenerator& random) {
    static const QStringList words = {"a", "b", "A", "a,", "", "é", "the", "x\ty"};
    QString text;
    const int lines = random.bounded(40);
    for (int i = 0; i < lines; ++i) {
        const int count = random.bounded(6);
        for (int w = 0; w < count; ++w) {
            if (w > 0) text += u' ';
            text += words[random.bounded(words.size())];
        }
        text += random.bounded(2) ? QStringLiteral("\r") : QStringLiteral("\r\n");
    }
    return text;
}

TEST(LiveWindowTest, CommandsGiveWhatPanesWrittenAtOnceGive) {
    TestServices test;
    test.services.yieldSlice = std::chrono::milliseconds(0);  // a yield after every slice
    Form1 live(test.services);
    live.Form_Load();
    live.show();
    TestServices plain;
    HeadlessWindow reference(plain.services);
    QRandomGenerator random(20261208);
    MainWindow* const windows[] = {&live, &reference};

    for (int round = 0; round < 150; ++round) {
        const QString text1 = randomText(random);
        const QString text2 = randomText(random);
        for (MainWindow* window : windows) {
            window->pane(1).setText(text1);
            window->pane(2).setText(text2);
        }
        for (bool words : {false, true}) {
            SCOPED_TRACE(QStringLiteral("round %1 words %2").arg(round).arg(words).toStdString());
            for (MainWindow* window : windows)
                words ? PushButton6_Click(*window) : PushButton1_Click(*window);
            for (int number = 1; number <= 4; ++number)
                ASSERT_EQ(live.pane(number).text(), reference.pane(number).text()) << number;
            for (int number : {1, 2}) {
                ASSERT_EQ(RedMask(live.pane(number)), RedMask(reference.pane(number))) << number;
                ASSERT_EQ(live.pane(number).selStart(), reference.pane(number).selStart());
                ASSERT_EQ(live.pane(number).selLength(), reference.pane(number).selLength());
            }
        }
    }
    EXPECT_GT(test.pump.count, 150);
    EXPECT_TRUE(test.dialogs.messages.empty());
}

TEST(LiveWindowTest, ALoadDuringTheWordComparisonBreaksNothing) {
    TestServices test;
    test.services.yieldSlice = std::chrono::milliseconds(0);
    Form1 form(test.services);
    form.Form_Load();
    form.pane(1).setText(longText(3000));
    form.pane(2).setText(longText(2900) + "one more line\r");
    int yields = 0;
    test.pump.hook = [&] {
        if (++yields == 5) form.pane(1).setText("replaced while comparing\r");
    };
    form.PushButton(6)->click();
    test.pump.hook = nullptr;
    EXPECT_GE(yields, 5);
    EXPECT_FALSE(form.BusyFlag);
    EXPECT_EQ(form.pane(1).text(), "replaced while comparing\r\n");
    EXPECT_TRUE(test.dialogs.messages.empty());
}

}  // namespace

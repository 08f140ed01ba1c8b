// The window's panes keep the window live: written text goes into the document a slice at a time
// (a hidden pane's only once it is shown) and long colourings yield, yet every command gives what
// panes written at once give.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QAccessible>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <memory>

#include "cli/HeadlessWindow.h"
#include "compare/LinesCommand.h"
#include "compare/WordsCommand.h"
#include "core/PaneText.h"
#include "extract/LoadCommands.h"
#include "extract/TextIntoPane.h"
#include "tests/support/PaneInspection.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"
#include "window/Form1.h"
#include "window/RichTextPane.h"

using namespace corvella;
using corvella::testing::CountingPump;
using corvella::testing::RedMask;
using corvella::testing::TestServices;
namespace TestPdfs = corvella::testing::TestPdfs;

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

// ---- A busy event loop ------------------------------------------------------------------------

bool widgetsShowTheirPanes(const Form1& form) {
    for (int number = 1; number <= 4; ++number) {
        const RichTextPane& pane = *form.RichTextBox(number);
        if (pane.isVisible() &&
            pane.document()->toPlainText() != QString(pane.text()).replace("\r\n", "\n"))
            return false;
    }
    return true;
}

// An accessibility client reading every pane's text and colours as a screen reader may, over a
// socket that always has its next request waiting, beside a timer of the window (a caret's blink,
// say): the event loop is never idle while it runs.
class BusyReader : public QObject {
public:
    explicit BusyReader(const Form1& form) : form_(form) {
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets_) != 0) return;
        requests_ = std::make_unique<QSocketNotifier>(sockets_[0], QSocketNotifier::Read);
        connect(requests_.get(), &QSocketNotifier::activated, this, &BusyReader::read);
        blink_.start(1);
    }
    ~BusyReader() override {
        requests_.reset();
        for (int fd : sockets_)
            if (fd >= 0) close(fd);
    }

    // Runs the event loop as the window runs it (not a yield from a command) until the widgets
    // show their panes' text, or for a minute at most. True when they caught up.
    bool waitForWidgets() {
        if (!requests_) return false;
        clock_.start();
        request();
        loop_.exec();
        return widgetsShowTheirPanes(form_);
    }

private:
    void request() { static_cast<void>(!write(sockets_[1], "r", 1)); }
    void read() {
        char byte = 0;
        static_cast<void>(!::read(sockets_[0], &byte, 1));
        for (int number = 1; number <= 4; ++number) {
            QAccessibleTextInterface* text =
                QAccessible::queryAccessibleInterface(form_.RichTextBox(number))->textInterface();
            int start = 0;
            int end = 0;
            static_cast<void>(text->text(0, text->characterCount()));
            static_cast<void>(text->attributes(0, &start, &end));
        }
        if (widgetsShowTheirPanes(form_) || clock_.elapsed() > 60000)
            loop_.quit();
        else
            request();
    }

    const Form1& form_;
    int sockets_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> requests_;
    QEventLoop loop_;
    QElapsedTimer clock_;
    QTimer blink_;
};

TEST(LiveWindowTest, PanesShowTheirTextWhileTheEventLoopIsNeverIdle) {
    QTemporaryDir folder;
    const QString plain = folder.filePath("plain.pdf");
    const QString locked = folder.filePath("locked.pdf");
    ASSERT_TRUE(TestPdfs::WriteTextPdf(plain, {"secret text"}));
    ASSERT_TRUE(TestPdfs::Encrypt(plain, locked, "password", true));
    struct Case {
        const char* name;
        std::function<void(Form1&)> command;
    };
    const Case cases[] = {
        {"a write", [](Form1& form) { form.pane(1).setText(longText(4000)); }},
        {"the line comparison", [](Form1& form) { form.PushButton(1)->click(); }},
        {"the word comparison", [](Form1& form) { form.PushButton(6)->click(); }},
        {"a load without text after both comparisons",
         [&](Form1& form) { LoadChosenFiles(form, 1, {locked}); }},
    };
    TestServices test;
    test.services.yieldSlice = std::chrono::milliseconds(0);  // a slice for every part
    Form1 form(test.services);
    form.Form_Load();
    form.show();
    form.pane(2).setText(longText(2900) + "one more line\r");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.command(form);
        EXPECT_TRUE(BusyReader(form).waitForWidgets());
    }
    EXPECT_EQ(form.pane(1).text(), "\r\n");
    EXPECT_EQ(test.dialogs.texts(), QStringList{kNoTextFileMessage});
}

}  // namespace

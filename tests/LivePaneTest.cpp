// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's panes keep the window live: a long written text goes into the document a slice at a
// time (a hidden pane's only once it is shown) and long colourings yield, yet every command gives
// what panes written at once give, and however busy the event loop is the widgets catch up.
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
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <memory>

#include "compare/LinesCommand.h"
#include "compare/WordsCommand.h"
#include "core/PaneText.h"
#include "display/MemoryWindow.h"
#include "extract/LoadCommands.h"
#include "extract/TextIntoPane.h"
#include "tests/support/PaneInspection.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"
#include "window/pane/RichTextPane.h"

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
    int documentLines() const { return int(pane.document()->toPlainText().count(u'\n')) + 1; }

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
    EXPECT_LT(documentLines(), 20001);  // nothing of it yet
    EXPECT_TRUE(pane.isReadOnly());     // nobody types into a half-filled document

    int turns = 0;
    while (pane.isFilling() && turns < 10000) {
        QCoreApplication::processEvents();
        ++turns;
    }
    EXPECT_GT(turns, 1);
    EXPECT_EQ(pane.document()->toPlainText(), QString(canonical).replace("\r\n", "\n"));
    EXPECT_FALSE(pane.isReadOnly());
    EXPECT_EQ(pane.selStart(), canonical.size());

    // What fits in one slice is in the document before the write returns, shown or hidden.
    for (bool shown : {true, false}) {
        pane.setVisible(shown);
        pane.setText(QStringLiteral("a short text %1\r").arg(shown));
        EXPECT_EQ(pane.document()->toPlainText(), QStringLiteral("a short text %1\n").arg(shown));
    }
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
             for (int turn = 0; turn < 1000 && p.document()->toPlainText().count(u'\n') < 3000;
                  ++turn)
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
        ASSERT_EQ(documentLines(), 1);
        c.then(pane);
        EXPECT_EQ(documentLines() == 3001, c.built);
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

TEST_F(LivePaneTest, TwoPanesFillingAtOnceLeaveTheLoopItsTimers) {
    RichTextPane other;
    other.keepLive(pump, std::chrono::milliseconds(0));
    other.resize(200, 200);
    other.show();
    pane.setText(longText(20000));
    other.setText(longText(20000));
    int firedWhileFilling = 0;
    QTimer zero;
    QObject::connect(&zero, &QTimer::timeout, [&] {
        if (pane.isFilling() && other.isFilling()) ++firedWhileFilling;
    });
    zero.start(0);
    for (int turn = 0; turn < 100000 && (pane.isFilling() || other.isFilling()); ++turn)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_FALSE(pane.isFilling() || other.isFilling());
    EXPECT_GT(firedWhileFilling, 0);
    EXPECT_EQ(other.document()->toPlainText(),
              PaneText::canonical(longText(20000)).replace("\r\n", "\n"));
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
    MemoryWindow reference(plain.services);
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

// Cheap unless the lengths agree: a reader may ask after every request.
bool widgetsShowTheirPanes(const Form1& form) {
    for (int number = 1; number <= 4; ++number) {
        const RichTextPane& pane = *form.RichTextBox(number);
        if (!pane.isVisible()) continue;
        const QTextDocument& document = *pane.document();
        const qsizetype shownLength = document.characterCount() - 1 + pane.text().count(u'\r');
        if (shownLength != pane.textLength() ||
            document.toPlainText() != QString(pane.text()).replace("\r\n", "\n"))
            return false;
    }
    return true;
}

// What a screen reader asks of every pane: how long it is, its first characters and their colour.
void readEveryPane(const Form1& form) {
    for (int number = 1; number <= 4; ++number) {
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(form.RichTextBox(number))->textInterface();
        int start = 0;
        int end = 0;
        static_cast<void>(text->text(0, std::min(text->characterCount(), 200)));
        static_cast<void>(text->attributes(0, &start, &end));
    }
}

// How an accessibility client keeps the event loop busy.
enum class Client {
    // One request always waiting on its socket, beside a timer of the window (a caret's blink).
    OneRequestAlwaysWaiting,
    // Many requests queued, as a client that asks without waiting for answers leaves them: each one
    // a posted call, as the accessibility bus hands its requests to the window.
    ManyRequestsQueued,
};

class BusyReader : public QObject {
public:
    static constexpr int kQueued = 500;

    BusyReader(const Form1& form, Client client) : form_(form) {
        if (client == Client::ManyRequestsQueued) {
            for (int i = 0; i < kQueued; ++i) postRequest();
            return;
        }
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets_) != 0) return;
        requests_ = std::make_unique<QSocketNotifier>(sockets_[0], QSocketNotifier::Read);
        connect(requests_.get(), &QSocketNotifier::activated, this, [this] {
            char byte = 0;
            static_cast<void>(!::read(sockets_[0], &byte, 1));
            serve();
            request();
        });
        request();
        blink_.start(1);
    }
    ~BusyReader() override {
        requests_.reset();
        for (int fd : sockets_)
            if (fd >= 0) close(fd);
    }

    // Runs the event loop as the window runs it (not a yield from a command) until the widgets
    // show their panes' text, or for a minute at most. Returns how many requests were served until
    // then, or -1 if they never caught up.
    int requestsUntilWidgetsCaughtUp() {
        queuedAtEnd_ = queued_;
        if (widgetsShowTheirPanes(form_)) return 0;
        served_ = 0;
        caughtUpAfter_ = -1;
        waiting_ = true;
        clock_.start();
        loop_.exec();
        return caughtUpAfter_;
    }
    // Requests waiting when the command had ended: ahead of anything it left to the event loop.
    int queuedWhenCommandEnded() const { return queuedAtEnd_; }

private:
    void request() { static_cast<void>(!write(sockets_[1], "r", 1)); }
    // Asks again as each answer comes, so the same number of requests is always queued: those
    // queued when the command ends are ahead of anything it leaves to the event loop.
    void postRequest() {
        ++queued_;
        QMetaObject::invokeMethod(
            this,
            [this] {
                --queued_;
                serve();
                postRequest();
            },
            Qt::QueuedConnection);
    }
    // Requests served while the command runs are kept short, or each of its many yields would
    // serve a whole queue of them.
    void serve() {
        if (!waiting_) {
            static_cast<void>(QAccessible::queryAccessibleInterface(form_.RichTextBox(1)));
            return;
        }
        readEveryPane(form_);
        ++served_;
        const bool caughtUp = widgetsShowTheirPanes(form_);
        if (!caughtUp && clock_.elapsed() < 60000) return;
        if (caughtUp) caughtUpAfter_ = served_;
        waiting_ = false;
        loop_.quit();
    }

    const Form1& form_;
    int sockets_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> requests_;
    QTimer blink_;
    int queued_ = 0;
    int queuedAtEnd_ = 0;
    bool waiting_ = false;
    int served_ = 0;
    int caughtUpAfter_ = -1;
    QEventLoop loop_;
    QElapsedTimer clock_;
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
        {"a long write", [](Form1& form) { form.pane(1).setText(longText(4000)); }},
        {"the line comparison", [](Form1& form) { form.PushButton(1)->click(); }},
        {"the word comparison", [](Form1& form) { form.PushButton(6)->click(); }},
        {"a load without text after both comparisons",
         [&](Form1& form) { LoadChosenFiles(form, 1, {locked}); }},
    };
    const std::pair<const char*, Client> clients[] = {
        {"one request always waiting", Client::OneRequestAlwaysWaiting},
        {"many requests queued", Client::ManyRequestsQueued},
    };
    for (const auto& [clientName, client] : clients) {
        SCOPED_TRACE(clientName);
        TestServices test;
        test.services.yieldSlice = std::chrono::milliseconds(0);  // a slice for every part
        Form1 form(test.services);
        form.Form_Load();
        form.show();
        form.pane(2).setText(longText(2900) + "one more line\r");
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            BusyReader reader(form, client);
            c.command(form);
            // The widgets catch up while the requests queued before the command's end are still
            // being served, not after them.
            const int requests = reader.requestsUntilWidgetsCaughtUp();
            EXPECT_GE(requests, 0) << "the widgets never showed their panes";
            EXPECT_LT(requests, BusyReader::kQueued / 10);
            if (client == Client::ManyRequestsQueued) {
                EXPECT_EQ(reader.queuedWhenCommandEnded(), BusyReader::kQueued);
            }
        }
        EXPECT_EQ(form.pane(1).text(), "\r\n");
        EXPECT_EQ(test.dialogs.texts(), QStringList{kNoTextFileMessage});
    }
}

}  // namespace

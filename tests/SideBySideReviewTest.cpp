// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Reviewing both texts at once in the real window: panes 1 and 2 scroll together through the
// alignment of their contents, each difference gone to shows its other side in the other pane,
// moves have a colour of their own and lead to their other place, the scroll bars mark the
// differences, and a work pane's entry leads to its place. Mostly on a book typeset twice on other
// paper with known edits and a moved paragraph.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QWheelEvent>
#include <map>
#include <set>

#include "core/MemoryDocument.h"
#include "diff/layout/LayoutFreeWords.h"
#include "tests/support/LayoutBook.h"
#include "tests/support/PaneInspection.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"
#include "window/pane/PanePlaces.h"

namespace corvella {
namespace {

namespace LayoutBook = testing::LayoutBook;
using testing::TestServices;

// 200 short lines; lines 50, 51, 120 and 190 differ, and the second text may have a line of its
// own after line 150.
QString lines(bool second, bool inserted) {
    QString out;
    for (int line = 1; line <= 200; ++line) {
        const bool differs = line == 50 || line == 51 || line == 120 || line == 190;
        out += QStringLiteral("Line %1 %2\r\n")
                   .arg(line)
                   .arg(second && differs ? QStringLiteral("was changed here")
                                          : QStringLiteral("of the text"));
        if (second && inserted && line == 150) out += QStringLiteral("An inserted line\r\n");
    }
    return out;
}

int lineOf(RichTextPane* pane, qsizetype position) { return PanePlaces::LineOf(*pane, position); }
// The view row (lines from its top) of a text position.
int rowOf(RichTextPane* pane, qsizetype position) {
    return lineOf(pane, position) - pane->verticalScrollBar()->value();
}
QString viewLines(RichTextPane* pane, int from, int to) {
    const qsizetype start = PanePlaces::LineStart(*pane, std::max(0, from));
    return pane->text().mid(start, PanePlaces::LineStart(*pane, to + 1) - start);
}
// The words of at least three syllables: rare enough in the book to name a passage.
QSet<QString> longWords(const QString& text) {
    QSet<QString> words;
    for (const QString& word : text.split(QRegularExpression("[^a-z]+"), Qt::SkipEmptyParts))
        if (word.size() >= 6) words.insert(word);
    return words;
}
// The long words of a pane's view lines that are in the other text too: those the comparison
// ignoring layout left black, or any of the other's words.
QSet<QString> keptWords(RichTextPane* pane, int from, int to, const QSet<QString>* others) {
    const qsizetype start = PanePlaces::LineStart(*pane, std::max(0, from));
    const QString lines = pane->text().mid(start, PanePlaces::LineStart(*pane, to + 1) - start);
    QSet<QString> words;
    for (const QRegularExpressionMatch& word : QRegularExpression("[a-z]{6,}").globalMatch(lines))
        if (others ? others->contains(word.captured())
                   : pane->colorAt(start + word.capturedStart()) == kBlack)
            words.insert(word.captured());
    return words;
}
// Pane 1's line 1 is the text's first line: the text of a line of the 200-line texts.
qsizetype lineStart(const QString& text, int line) {
    qsizetype at = 0;
    for (int l = 1; l < line; ++l) at = text.indexOf(QStringLiteral("\r\n"), at) + 2;
    return at;
}
int lineNumberAt(const QString& text, qsizetype position) {
    return int(text.left(position).count(QStringLiteral("\r\n"))) + 1;
}

struct Untouched {
    qsizetype selStart, selLength;
    int anchor, position;
    size_t redRuns;
};
Untouched untouched(RichTextPane* pane) {
    return {pane->selStart(), pane->selLength(), pane->textCursor().anchor(),
            pane->textCursor().position(), corvella::testing::RunsOfColor(*pane, kRed).size()};
}
void expectUntouched(RichTextPane* pane, const Untouched& before) {
    const Untouched now = untouched(pane);
    EXPECT_EQ(now.selStart, before.selStart);
    EXPECT_EQ(now.selLength, before.selLength);
    EXPECT_EQ(now.anchor, before.anchor);
    EXPECT_EQ(now.position, before.position);
    EXPECT_EQ(now.redRuns, before.redRuns);
}

// Triggers a menu entry through its accessible action, as a screen reader would.
void pressThroughAccessibility(QMenu* menu, const QString& name) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(menu);
    ASSERT_NE(face, nullptr);
    for (int i = 0; i < face->childCount(); ++i) {
        QAccessibleInterface* entry = face->child(i);
        if (entry->text(QAccessible::Name) != name) continue;
        ASSERT_NE(entry->actionInterface(), nullptr);
        entry->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        return;
    }
    FAIL() << "no entry " << name.toStdString();
}

QRect sliderOf(QScrollBar* bar) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider,
                                        bar);
}

// Drags the bar's slider to the value, as the mouse does.
void drag(QScrollBar* bar, int value) {
    const QPoint handle = sliderOf(bar).center();
    QTest::mousePress(bar, Qt::LeftButton, {}, handle);
    bar->setValue(value);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, handle);
}

QMenu* contextMenu(RichTextPane* pane, QPoint at) {
    emit pane->customContextMenuRequested(at);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

class SideBySideReviewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new QTemporaryDir;
        first = new LayoutBook::Book(LayoutBook::Generate(8, 18));
        second = new LayoutBook::Edition(LayoutBook::Edit(*first, 2026));
        LayoutBook::Typeset(*first, {QPageSize::A5, {15, 15, 15, 15}, 11},
                            folder->filePath("small.pdf"));
        LayoutBook::Typeset(second->book, {QPageSize::Letter, {30, 25, 20, 25}, 14},
                            folder->filePath("edited.pdf"));
        book1 = new QString(LayoutBook::PaneText(folder->filePath("small.pdf")));
        book2 = new QString(LayoutBook::PaneText(folder->filePath("edited.pdf")));
    }
    static void TearDownTestSuite() {
        delete folder;
        delete first;
        delete second;
        delete book1;
        delete book2;
    }

    void SetUp() override {
        all.services.beep = [this] { ++beeps; };
        form.Form_Load();
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    // Loads the texts, runs a command (a button's number, or 0 for Ignoring Layout) and waits
    // for the link.
    void compare(const QString& text1, const QString& text2, int button) {
        form.pane(1).setText(text1);
        form.pane(2).setText(text2);
        if (button == 0)
            form.IgnoringLayoutAction()->trigger();
        else
            form.PushButton(button)->click();
        // Linked, and both documents laid out whole: a long text fills its pane a slice at a
        // time, and a busy machine lets the link get ready first.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return form.sideBySide()->linkReady() && !pane(1)->isFilling() &&
                       !pane(2)->isFilling();
            },
            60000));
    }
    RichTextPane* pane(int number) const { return form.RichTextBox(number); }

    TestServices all;
    Form1 form{all.services};
    int beeps = 0;

    static QTemporaryDir* folder;
    static LayoutBook::Book* first;
    static LayoutBook::Edition* second;
    static QString* book1;
    static QString* book2;
};
QTemporaryDir* SideBySideReviewTest::folder = nullptr;
LayoutBook::Book* SideBySideReviewTest::first = nullptr;
LayoutBook::Edition* SideBySideReviewTest::second = nullptr;
QString* SideBySideReviewTest::book1 = nullptr;
QString* SideBySideReviewTest::book2 = nullptr;

// Each way of scrolling one pane brings the passage at its middle to the other's middle, or keeps
// the other at its top or bottom at the ends; only the other's view moves.
TEST_F(SideBySideReviewTest, ScrollingOnePaneBringsTheSamePassageToTheOther) {
    struct Case {
        const char* means;
        int button;  // 0: Ignoring Layout
        int leader;
        double share;  // of the leader's scroll range
    } cases[] = {
        {"scroll bar", 0, 1, 0.3}, {"wheel", 0, 1, 0.55},      {"page keys", 0, 1, 0.75},
        {"arrow keys", 0, 2, 0.4}, {"scroll bar", 1, 2, 0.65}, {"Ctrl+End", 0, 1, 1},
        {"Ctrl+Home", 6, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.means << ", pane " << c.leader << ", button "
                                          << c.button << " at " << c.share);
        compare(*book1, *book2, c.button);
        RichTextPane* leader = pane(c.leader);
        RichTextPane* follower = pane(3 - c.leader);
        QScrollBar* bar = leader->verticalScrollBar();
        const int target = int(c.share * bar->maximum());
        const QString means = c.means;
        leader->setFocus(Qt::TabFocusReason);
        const Untouched before = untouched(follower);
        // Where the means should take the view: the lines a thumb dragged over but not shown yet
        // only count as laid out once walked past, which can renumber the line the view starts
        // at; the keys and the wheel go on from there.
        int expected = target;
        auto startAt = [&](int value) {
            drag(bar, value);
            expected = bar->value() + (target - value);
        };
        if (means == "scroll bar") {
            drag(bar, target);
        } else if (means == "wheel") {
            startAt(target - 30);
            for (int notch = 0; notch < 10; ++notch) {
                const QPointF at(10, 10);
                QWheelEvent wheel(at, leader->viewport()->mapToGlobal(at), QPoint(),
                                  QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                                  false);
                QApplication::sendEvent(leader->viewport(), &wheel);
            }
        } else if (means == "page keys" || means == "arrow keys") {
            startAt(target - 3 * bar->pageStep());
            QTest::mouseClick(leader->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
            const bool page = means == "page keys";
            for (int i = 0; i < (page ? 3 : 4 * bar->pageStep()); ++i)
                QTest::keyClick(leader, page ? Qt::Key_PageDown : Qt::Key_Down);
        } else {
            drag(bar, bar->maximum() / 2);
            QTest::keyClick(leader, c.share > 0 ? Qt::Key_End : Qt::Key_Home, Qt::ControlModifier);
        }
        if (means.startsWith("Ctrl")) {
            // At the same place relative to the top or the bottom.
            QScrollBar* other = follower->verticalScrollBar();
            if (c.share > 0)
                EXPECT_EQ(other->maximum() - other->value(), bar->maximum() - bar->value());
            else
                EXPECT_EQ(other->value(), bar->value());
        } else {
            EXPECT_NEAR(bar->value(), expected, bar->pageStep());
            const int row = ScrollLink::AnchorRow(bar->value(), bar->maximum(), bar->pageStep());
            ASSERT_EQ(row, bar->pageStep() / 2) << "away from either end";
            const int top = bar->value();
            const int otherTop = follower->verticalScrollBar()->value();
            // The words of the middle lines that the other edition kept (five lines either side:
            // the middle may fall on a page's footer, the blank lines around a page break, or a
            // rewritten sentence).
            const QSet<QString> all = longWords(follower->text());
            const QSet<QString> mine =
                keptWords(leader, top + row - 5, top + row + 5, c.button == 0 ? nullptr : &all);
            const QSet<QString> theirs =
                longWords(viewLines(follower, otherTop + row - 11, otherTop + row + 11));
            ASSERT_GE(mine.size(), 2);
            EXPECT_GE(QSet<QString>(mine).intersect(theirs).size() * 3, mine.size() * 2)
                << viewLines(leader, top + row, top + row).toStdString() << " | "
                << viewLines(follower, otherTop + row - 1, otherTop + row + 1).toStdString();
        }
        // Settled: neither pane's relayouts lead the other back.
        const std::pair<int, int> settled{bar->value(), follower->verticalScrollBar()->value()};
        QTest::qWait(50);
        EXPECT_EQ(std::make_pair(bar->value(), follower->verticalScrollBar()->value()), settled);
        expectUntouched(follower, before);
        EXPECT_EQ(follower->text(), c.leader == 1 ? *book2 : *book1);
    }

    // "Scroll Panes Together" through its accessible action: unchecked, the panes part.
    QMenu* menu = contextMenu(pane(1), QPoint(5, 5));
    ASSERT_NE(menu, nullptr);
    pressThroughAccessibility(menu, SideBySideReview::kScrollTogether);
    menu->close();
    EXPECT_FALSE(form.sideBySide()->scrollTogether()->isChecked());
    const int still = pane(2)->verticalScrollBar()->value();
    // Moved by value, not by a press on the track, which may land on a mark and go there.
    pane(1)->verticalScrollBar()->setValue(pane(1)->verticalScrollBar()->maximum() / 2);
    EXPECT_EQ(pane(2)->verticalScrollBar()->value(), still);

    // New text in a pane drops the link and the marks until the next comparison.
    form.sideBySide()->scrollTogether()->setChecked(true);
    form.pane(2).setText(*book2 + QStringLiteral("An afterword.\r\n"));
    QTest::qWait(20);
    EXPECT_FALSE(form.sideBySide()->linkReady());
    EXPECT_TRUE(form.sideBySide()->marks(1).empty());
    drag(pane(1)->verticalScrollBar(), 10);
    EXPECT_EQ(pane(2)->verticalScrollBar()->value(), still);
}

// F8 to every difference: the other pane shows its other side at the same height, marked with a
// ground of its own; that pane's selection, caret and colours stay. The line and word
// comparisons on short texts with known counterparts ("" = the point before that line where the
// text would stand), the layout-free one on the book, checked against its known edits.
TEST_F(SideBySideReviewTest, EachDifferenceGoneToShowsItsOtherSide) {
    const QString changed = QStringLiteral("Line %1 was changed here");
    const QString kept = QStringLiteral("Line %1 of the text");
    struct Case {
        const char* what;
        int button;
        int pane;
        bool inserted;
        std::map<int, QString> expected;  // by the place's line: the other side's text
    } cases[] = {
        {"lines",
         1,
         1,
         true,
         {{50, changed.arg(50) + "\r\n" + changed.arg(51)},
          {120, changed.arg(120)},
          {190, changed.arg(190)}}},
        {"lines",
         1,
         2,
         true,
         {{50, kept.arg(50) + "\r\n" + kept.arg(51)},
          {120, kept.arg(120)},
          {151, ""},
          {191, kept.arg(190)}}},
        {"words",
         6,
         1,
         false,
         {{50, "was changed here"},
          {51, "was changed here"},
          {120, "was changed here"},
          {190, "was changed here"}}},
        {"ignoring layout", 0, 1, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.what << ", pane " << c.pane);
        const bool book = c.button == 0;
        compare(book ? *book1 : lines(false, c.inserted), book ? *book2 : lines(true, c.inserted),
                c.button);
        RichTextPane* own = pane(c.pane);
        RichTextPane* other = pane(3 - c.pane);
        const QString ownText = own->text();
        const QString otherText = other->text();
        own->setFocus(Qt::TabFocusReason);
        const Untouched before = untouched(other);

        // The book's words in both panes, in reading order, and which of the first edition's
        // words the second keeps.
        LayoutFreeWords::Dictionary dictionary;
        const std::vector<LayoutFreeWords::Word> words1 =
            LayoutFreeWords::Read(ownText, dictionary);
        const std::vector<LayoutFreeWords::Word> words2 =
            LayoutFreeWords::Read(otherText, dictionary);
        std::map<qsizetype, qsizetype> keptAt;  // first edition's word -> its index in the second
        const std::vector<qsizetype> origins = LayoutBook::Origins(second->book);
        for (size_t w = 0; w < origins.size(); ++w)
            if (origins[w] >= 0) keptAt[origins[w]] = qsizetype(w);
        if (book) {
            ASSERT_EQ(words2.size(), origins.size());
        }

        int walked = 0;
        std::set<int> linesSeen;
        for (;;) {
            const int beepsBefore = beeps;
            QTest::keyClick(own, Qt::Key_F8);
            if (beeps != beepsBefore) break;
            ++walked;
            const TextRange place{own->selStart(), own->selLength()};
            const std::optional<TextRange> mark =
                form.sideBySide()->overlay(3 - c.pane).otherSide();
            ASSERT_TRUE(mark) << "place " << place.start;
            QScrollBar* otherBar = other->verticalScrollBar();
            if (otherBar->value() > 0 && otherBar->value() < otherBar->maximum()) {
                EXPECT_EQ(rowOf(other, mark->start), rowOf(own, place.start)) << "same height";
            }
            if (!book) {
                const int line = lineNumberAt(ownText, place.start);
                linesSeen.insert(line);
                ASSERT_TRUE(c.expected.count(line)) << line;
                const QString& expected = c.expected.at(line);
                EXPECT_EQ(otherText.mid(mark->start, mark->length), expected) << line;
                if (expected.isEmpty()) {
                    EXPECT_EQ(mark->start, lineStart(otherText, line)) << "insertion point";
                }
                continue;
            }
            // The run's word and the nearest words before and after it that the second edition
            // kept: the mark stands between those, give or take a word.
            auto word = std::find_if(words1.begin(), words1.end(), [&](const auto& w) {
                return w.start() <= place.start && place.start < w.end();
            });
            ASSERT_NE(word, words1.end());
            qsizetype index = word - words1.begin(), before = index - 1, after = index + 1;
            while (before >= 0 && !keptAt.count(before)) --before;
            while (after < qsizetype(words1.size()) && !keptAt.count(after)) ++after;
            const qsizetype from = before < 1 ? 0 : words2[size_t(keptAt[before] - 1)].end();
            const qsizetype to = after + 1 >= qsizetype(words1.size()) || !keptAt.count(after)
                                     ? otherText.size()
                                     : words2[size_t(keptAt[after] + 1)].start();
            EXPECT_GE(mark->start, from) << ownText.mid(place.start, place.length).toStdString();
            EXPECT_LE(mark->start + mark->length, to);
        }
        if (book) {
            EXPECT_GE(walked, second->edits / 2);
        } else {
            EXPECT_EQ(linesSeen.size(), c.expected.size());
        }
        expectUntouched(other, before);
        // The next key takes the mark away.
        QTest::keyClick(own, Qt::Key_Left);
        EXPECT_FALSE(form.sideBySide()->overlay(3 - c.pane).otherSide());
    }
}

// The moved paragraph is blue on a pale ground in both panes, is no red run and no stop of F8;
// "Go to Other Place" (its accessible action, and Ctrl+G) brings the other pane to it.
TEST_F(SideBySideReviewTest, AMovedParagraphLeadsToItsOtherPlace) {
    compare(*book1, *book2, 0);
    const ComparedSide& in1 = form.comparison().side(Side::One);
    const ComparedSide& in2 = form.comparison().side(Side::Two);
    ASSERT_EQ(in1.moved.size(), 1u);
    for (int number = 1; number <= 2; ++number) {
        const TextRange move = form.comparison().side(SideOfPane(number)).moved[0].span;
        const auto& shown = form.sideBySide()->overlay(number).moves();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].start, move.start);
        for (const TextRange& red : corvella::testing::RunsOfColor(*pane(number), kRed))
            EXPECT_TRUE(red.start + red.length <= move.start ||
                        red.start >= move.start + move.length);
        EXPECT_EQ(form.pane(number).colorAt(move.start), kBlack);
    }
    // Painted: the pale ground stands in pane 1's view once the move is in it.
    RichTextPane* one = pane(1);
    one->showNearTop(in1.moved[0].span.start);
    const QImage view = one->viewport()->grab().toImage();
    int ground = 0;
    for (int y = 0; y < view.height(); ++y)
        for (int x = 0; x < view.width(); ++x)
            ground += view.pixelColor(x, y) == PaneOverlay::kMovedGround;
    EXPECT_GT(ground, 100);

    const qsizetype inside = in1.moved[0].span.start + 3;
    QTextCursor cursor(one->document());
    cursor.setPosition(int(one->toDocument({inside}).at));
    QMenu* menu = contextMenu(one, one->cursorRect(cursor).center());
    ASSERT_NE(menu, nullptr);
    pressThroughAccessibility(menu, SideBySideReview::kGoToOtherPlace);
    menu->close();
    const std::optional<TextRange> landed = form.sideBySide()->overlay(2).otherSide();
    ASSERT_TRUE(landed);
    EXPECT_EQ(landed->start, in2.moved[0].span.start);
    const QString movedFirst = LayoutBook::Words(*first)[second->movedOrigins.front()];
    EXPECT_TRUE(pane(2)->text().mid(landed->start).startsWith(movedFirst));
    EXPECT_EQ(rowOf(pane(2), landed->start), rowOf(one, inside));

    // Back with the key, from the caret in pane 2's copy.
    pane(2)->setFocus(Qt::TabFocusReason);
    form.pane(2).setSelStart(in2.moved[0].span.start + 1);
    QTest::keyClick(pane(2), Qt::Key_G, Qt::ControlModifier);
    const std::optional<TextRange> back = form.sideBySide()->overlay(1).otherSide();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->start, in1.moved[0].span.start);
}

// The red marks on the scroll bar stand at each difference's share of the text, the current one
// apart, the move in its colour; a click on a mark goes there as F8 would.
TEST_F(SideBySideReviewTest, ScrollBarMarksStandAtTheirPlacesAndAClickGoesThere) {
    struct Case {
        int pane;
        std::vector<int> marked;  // lines, from 1, of 201 (the last one empty)
        int unmarked;
        int clicked;
    } cases[] = {{1, {50, 120, 190}, 85, 120}, {2, {50, 120, 151, 191}, 100, 191}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pane);
        compare(lines(false, true), lines(true, true), 1);
        RichTextPane* own = pane(c.pane);
        QScrollBar* bar = own->verticalScrollBar();
        const OverviewMarks& marks = form.sideBySide()->marks(c.pane);
        const QRect track = marks.track();
        const int total = int(own->text().count(u'\n')) + 1;
        auto yOf = [&](int line) { return track.top() + (line - 1) * track.height() / total; };
        auto rowHas = [&](const QImage& image, int y, const QColor& color) {
            for (int dy = -2; dy <= 2; ++dy)
                for (int x = track.left(); x <= track.right(); ++x)
                    if (image.pixelColor(x, y + dy) == color) return true;
            return false;
        };
        QImage image = bar->grab().toImage();
        for (int line : c.marked)
            EXPECT_TRUE(rowHas(image, yOf(line), OverviewMarks::kDifference)) << line;
        EXPECT_FALSE(rowHas(image, yOf(c.unmarked), OverviewMarks::kDifference));

        own->setFocus(Qt::TabFocusReason);
        QTest::keyClick(own, Qt::Key_F8);
        image = bar->grab().toImage();
        EXPECT_TRUE(rowHas(image, yOf(c.marked.front()), OverviewMarks::kCurrent));

        // A press on the slider grabs it, even over a mark.
        const int current = own->selStart();
        const int value = bar->value();
        bar->setValue((bar->maximum() + bar->pageStep()) * (c.clicked - 1) / total -
                      bar->pageStep() / 2);
        ASSERT_TRUE(QTest::qWaitFor([&] { return marks.summaryIsCurrent(); }, 10000));
        const QPoint onSlider(sliderOf(bar).center().x(), yOf(c.clicked));
        ASSERT_TRUE(sliderOf(bar).contains(onSlider));
        QTest::mouseClick(bar, Qt::LeftButton, {}, onSlider);
        EXPECT_EQ(own->selStart(), current);
        bar->setValue(value);

        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(track.center().x(), yOf(c.clicked)));
        EXPECT_EQ(lineNumberAt(own->text(), own->selStart()), c.clicked);
        EXPECT_GT(own->selLength(), 0);
        const int row = rowOf(own, own->selStart());
        EXPECT_TRUE(row >= 0 && row <= bar->pageStep()) << row;
        EXPECT_TRUE(form.sideBySide()->overlay(3 - c.pane).otherSide());
    }
    // The move of the book on pane 1's bar, in the moves' colour.
    compare(*book1, *book2, 0);
    const OverviewMarks& marks = form.sideBySide()->marks(1);
    pane(1)->verticalScrollBar()->grab();  // once painted, the marks follow the lines laid out
    ASSERT_TRUE(QTest::qWaitFor([&] { return marks.summaryIsCurrent(); }, 10000));
    const int line = lineOf(pane(1), form.comparison().side(Side::One).moved[0].span.start);
    const int y = marks.track().top() + marks.summary().pixelOf(line);
    const QImage image = pane(1)->verticalScrollBar()->grab().toImage();
    bool blue = false;
    for (int x = marks.track().left(); x <= marks.track().right(); ++x)
        blue = blue || image.pixelColor(x, y) == PaneOverlay::kMovedText;
    EXPECT_TRUE(blue);
    EXPECT_NEAR(double(y - marks.track().top()) / marks.track().height(),
                double(line) / (pane(1)->verticalScrollBar()->maximum() +
                                pane(1)->verticalScrollBar()->pageStep()),
                0.01);
}

// Enter, a double-click or "Show in Text" on an entry of a work pane: the panes with their
// differences are shown again, and that difference is gone to, its other side following.
TEST_F(SideBySideReviewTest, AnEntryOfAWorkPaneLeadsToItsPlace) {
    struct Case {
        const char* how;
        int button;
        int workPane;
        int entry;  // the work pane's paragraph
        int line;   // of the text where it stands
    } cases[] = {
        {"Enter", 1, 3, 2, 120}, {"double-click", 6, 4, 4, 51}, {"Show in Text", 0, 3, 3, 120}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        form.Option(2)->click();
        compare(lines(false, false), lines(true, false), c.button);
        RichTextPane* work = pane(c.workPane);
        ASSERT_TRUE(work->isVisible());
        work->setFocus(Qt::TabFocusReason);
        QTextCursor cursor(work->document());
        cursor.setPosition(int(work->toDocument({lineStart(work->text(), c.entry + 1)}).at));
        work->setTextCursor(cursor);
        const QString how = c.how;
        if (how == "Enter") {
            QTest::keyClick(work, Qt::Key_Return);
        } else if (how == "double-click") {
            QTest::mouseDClick(work->viewport(), Qt::LeftButton, {}, work->cursorRect().center());
        } else {
            QMenu* menu = contextMenu(work, work->cursorRect().center());
            ASSERT_NE(menu, nullptr);
            pressThroughAccessibility(menu, SideBySideReview::kShowInText);
            menu->close();
        }
        const int number = c.workPane - 2;
        EXPECT_TRUE(form.Option(1)->isChecked());
        ASSERT_TRUE(pane(number)->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), pane(number));
        EXPECT_EQ(lineNumberAt(pane(number)->text(), pane(number)->selStart()), c.line);
        EXPECT_TRUE(form.sideBySide()->overlay(3 - number).otherSide());
        form.Option(1)->click();
    }
}

}  // namespace
}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The review window on a book typeset twice with known edits, driven as a user drives it: opened
// from the main window by key and menu, its list walked and filtered, its texts searched and
// zoomed, its reports and annotated copies written, its options and pages changed, and its
// colours, names and settings checked.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "cli/DiffProgram.h"
#include "tests/support/LayoutBook.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"
#include "window/reviewer/ReviewColours.h"

namespace corvella {
namespace {

namespace LayoutBook = testing::LayoutBook;
using testing::TestServices;

class NamedDialogs : public ReviewDialogs {
public:
    QString saveFileName(const QString&, const QString&, const QString&) override { return file; }
    QString folder(const QString&) override { return folderName; }
    void tell(const QString&, const QString& text) override { told << text; }
    QString file;
    QString folderName;
    QStringList told;
};

class ReviewWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new QTemporaryDir;
        // The review window's settings go to a folder of the test's own.
        qputenv("XDG_CONFIG_HOME", folder->filePath("config").toUtf8());
        const LayoutBook::Book first = LayoutBook::Generate(8, 18);
        const LayoutBook::Edition second = LayoutBook::Edit(first, 2026);
        LayoutBook::Typeset(first, {QPageSize::A5, {15, 15, 15, 15}, 11}, pdf(1));
        LayoutBook::Typeset(second.book, {QPageSize::Letter, {30, 25, 20, 25}, 14}, pdf(2));
    }
    static void TearDownTestSuite() { delete folder; }
    static QString pdf(int number) {
        return folder->filePath(number == 1 ? "small.pdf" : "edited.pdf");
    }

    void SetUp() override {
        QFile::remove(ReviewWindow::DefaultSettingsFile());
        form.Form_Load();
        form.show();
        form.loadGivenFile(1, pdf(1));
        form.loadGivenFile(2, pdf(2));
        ASSERT_FALSE(form.pane(1).text().isEmpty());
    }

    // Compares (ignoring layout, or with a button's method) and opens the review window with
    // Ctrl+R; waits for its list.
    ReviewWindow* open(int button = 0) {
        if (button == 0)
            form.IgnoringLayoutAction()->trigger();
        else
            form.PushButton(button)->click();
        form.activateWindow();
        QTest::keyClick(&form, Qt::Key_R, Qt::ControlModifier);
        ReviewWindow* review = form.reviewWindow();
        if (review) {
            review->setDialogs(&dialogs);
            settle(review);
            // Its keys are the active window's.
            review->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(review));
        }
        return review;
    }
    static void settle(ReviewWindow* review) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return review->settled(); }, 60000));
    }
    static QTableView* table(ReviewWindow* review) { return review->changes()->table(); }
    static int rows(ReviewWindow* review) { return review->changes()->model().rowCount(); }

    TestServices all;
    Form1 form{all.services};
    NamedDialogs dialogs;
    static QTemporaryDir* folder;
};
QTemporaryDir* ReviewWindowTest::folder = nullptr;

// Presses a context-menu entry of a pane through its accessible action, as a screen reader would.
void pressInMenu(RichTextPane* pane, const QString& name) {
    emit pane->customContextMenuRequested(QPoint(5, 5));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(menu);
    for (int i = 0; i < face->childCount(); ++i)
        if (face->child(i)->text(QAccessible::Name) == name) {
            ASSERT_TRUE(face->child(i)->state().disabled == false) << name.toStdString();
            face->child(i)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            menu->close();
            return;
        }
    menu->close();
    FAIL() << "no entry " << name.toStdString();
}

TEST_F(ReviewWindowTest, OpensOnTheLastComparisonAndFollowsTheMainWindow) {
    EXPECT_FALSE(form.OpenReviewAction()->isEnabled()) << "nothing compared yet";
    ReviewWindow* review = open();
    ASSERT_NE(review, nullptr);
    EXPECT_TRUE(review->isVisible());
    EXPECT_EQ(review->reviewed()->comparison, form.shown().stage()->comparison);
    EXPECT_EQ(review->texts()->pane(Side::Two)->text(), form.pane(2).text());
    EXPECT_GT(rows(review), 10);

    struct Case {
        const char* how;
        std::function<void()> act;
        QString stateHas;  // empty: the review shows the main window's comparison
    } cases[] = {
        {"a line comparison", [&] { form.PushButton(1)->click(); }, {}},
        {"pane 1's menu",
         [&] {
             review->close();
             pressInMenu(form.RichTextBox(1), QStringLiteral("Open Review Window"));
         },
         {}},
        {"new text in pane 2",
         [&] { form.pane(2).setText(form.pane(2).text() + QStringLiteral("An afterword.\r\n")); },
         QStringLiteral("file 2 changed")},
        {"pane 2's menu after comparing again",
         [&] {
             form.IgnoringLayoutAction()->trigger();
             review->close();
             pressInMenu(form.RichTextBox(2), QStringLiteral("Open Review Window"));
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        c.act();
        settle(review);
        EXPECT_TRUE(review->isVisible());
        if (c.stateHas.isEmpty()) {
            ASSERT_NE(review->reviewed(), nullptr);
            EXPECT_EQ(review->reviewed()->comparison, form.shown().stage()->comparison);
            EXPECT_EQ(review->changes()->model().list()->comparison().method,
                      form.shown().comparison().method);
        } else {
            QTest::qWait(20);  // the revision is checked once the text is written
            EXPECT_EQ(review->reviewed(), nullptr);
            EXPECT_TRUE(review->state()->text().contains(c.stateHas))
                << review->state()->text().toStdString();
            EXPECT_EQ(review->changes()->heading()->text(), review->state()->text());
            EXPECT_EQ(rows(review), 0);
            EXPECT_TRUE(review->texts()->pane(Side::One)->text().isEmpty());
        }
    }
}

// F8 and Shift+F8 walk the rows in order; each row chosen is shown and selected in the texts, and
// the margins name its place as the list does.
void walk(ReviewWindow* review) {
    review->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(review));
    const ChangeTableModel& model = review->changes()->model();
    review->changes()->table()->setFocus();
    struct Step {
        Qt::KeyboardModifiers modifiers;
        int row;  // the table row chosen after the key
    } steps[] = {{Qt::NoModifier, 0},    {Qt::NoModifier, 1}, {Qt::NoModifier, 2},
                 {Qt::ShiftModifier, 1}, {Qt::NoModifier, 2}, {Qt::NoModifier, 3}};
    for (const Step& step : steps) {
        QTest::keyClick(review->changes()->table(), Qt::Key_F8, step.modifiers);
        ASSERT_EQ(review->changes()->table()->currentIndex().row(), step.row);
        const Change& change = (*model.list())[size_t(model.listRow(step.row))];
        for (const Side side : kBothSides) {
            const Difference* own = model.list()->on(change, side);
            if (!own) continue;
            RichTextPane* pane = review->texts()->pane(side);
            SCOPED_TRACE(::testing::Message()
                         << "row " << step.row << " side " << TextPaneOf(side));
            EXPECT_EQ(pane->selStart(), own->span.start);
            EXPECT_EQ(pane->selLength(), own->span.length);
            EXPECT_EQ(QStringLiteral("p") + review->texts()
                                                ->margin(side)
                                                ->placeOf(own->span.start)
                                                .replace(u':', QStringLiteral(":l")),
                      model.place(change, side));
            const int top = pane->cursorRect(pane->textCursor()).top();
            EXPECT_GE(top, 0);
            EXPECT_LT(top, pane->viewport()->height());
        }
    }
    // The strip links the change gone to with its other side.
    LinkStrip* strip = review->texts()->strip();
    strip->repaint();
    const Change& last = (*model.list())[size_t(model.listRow(steps[5].row))];
    const Side side = last.has(Side::One) ? Side::One : Side::Two;
    const Difference& own = *model.list()->on(last, side);
    const TextRange other = last.source == ChangeSource::Differences
                                ? review->reviewed()->otherPlace(side, size_t(last.index[side]))
                                : own.other;
    EXPECT_TRUE(std::any_of(strip->painted().begin(), strip->painted().end(),
                            [&](const LinkStrip::Band& band) {
                                return band.place[side].start == own.span.start &&
                                       band.place[Other(side)].start == other.start;
                            }));
}

// Both comparisons' rows are walked and shown so.
TEST_F(ReviewWindowTest, RowsWalkInOrderAndGoToTheirPlaces) {
    for (const int button : {0, 6}) {  // ignoring layout, words
        SCOPED_TRACE(::testing::Message() << "button " << button);
        ReviewWindow* review = open(button);
        ASSERT_NE(review, nullptr);
        // The words' other places come with the link, and the list is made again with them.
        ASSERT_TRUE(QTest::qWaitFor([&] { return review->texts()->linked(); }, 60000));
        settle(review);
        walk(review);
    }
}

// Once the alignment has come, scrolling either text brings the other to the same passage.
TEST_F(ReviewWindowTest, TextsScrollTogether) {
    ReviewWindow* review = open();
    ASSERT_NE(review, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return review->texts()->linked(); }, 60000));
    const struct {
        Side leader;
        double share;
    } cases[] = {{Side::One, 0.3}, {Side::One, 0.7}, {Side::Two, 0.5}, {Side::Two, 0.1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "file " << TextPaneOf(c.leader) << " at " << c.share);
        RichTextPane* leader = review->texts()->pane(c.leader);
        QScrollBar* bar = leader->verticalScrollBar();
        QScrollBar* other = review->texts()->pane(Other(c.leader))->verticalScrollBar();
        QTest::mouseClick(leader->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        bar->setValue(int(c.share * bar->maximum()));
        // The same book on other paper: the same passage stands near the same share of it.
        EXPECT_NEAR(double(other->value()) / other->maximum(), c.share, 0.1);
    }
}

// The kind toggles and the text filter choose the rows; the heading counts what they hide.
TEST_F(ReviewWindowTest, FiltersChooseTheRowsAndTheHeadingCountsThem) {
    ReviewWindow* review = open();
    ASSERT_NE(review, nullptr);
    ChangesDock* dock = review->changes();
    const ChangeList& list = *dock->model().list();
    EXPECT_FALSE(dock->kindToggle(ChangeKind::Typography)->isChecked());
    struct Case {
        const char* what;
        std::function<void()> set;
        std::function<bool(const Change&, const QString& words)> shows;
    } cases[] = {
        {"default kinds", [] {},
         [](const Change& c, const QString&) { return c.kind != ChangeKind::Typography; }},
        {"no deletions", [&] { dock->kindToggle(ChangeKind::Deleted)->click(); },
         [](const Change& c, const QString&) {
             return c.kind != ChangeKind::Typography && c.kind != ChangeKind::Deleted;
         }},
        {"every kind",
         [&] {
             dock->kindToggle(ChangeKind::Deleted)->click();
             dock->kindToggle(ChangeKind::Typography)->click();
         },
         [](const Change&, const QString&) { return true; }},
        {"words typed",
         [&] {
             dock->filter()->setFocus();
             QTest::keyClicks(dock->filter(), QStringLiteral("a"));
         },
         [](const Change&, const QString& words) {
             return words.contains(u'a', Qt::CaseInsensitive);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.set();
        settle(review);
        std::vector<qint32> expected;
        for (size_t row = 0; row < list.size(); ++row) {
            QString words;
            for (const Side side : kBothSides)
                words += list.words(list[row], side, review->reviewed()->texts[side]) + u' ';
            if (c.shows(list[row], words)) expected.push_back(qint32(row));
        }
        EXPECT_EQ(dock->model().shown(), expected);
        EXPECT_EQ(dock->heading()->text(),
                  ChangeList::Heading(list.counts(), qsizetype(list.size() - expected.size())));
    }
}

// Both reports hold exactly the rows shown; the annotated copies are written beside each other.
TEST_F(ReviewWindowTest, ExportsWriteTheRowsShown) {
    ReviewWindow* review = open();
    ASSERT_NE(review, nullptr);
    // Nothing hidden: both reports are corvella-diff's for the same files and method.
    review->changes()->kindToggle(ChangeKind::Typography)->click();
    settle(review);
    for (const char* format : {"json", "html"}) {
        dialogs.file = folder->filePath(QStringLiteral("all.") + format);
        review->command(QStringLiteral("ExportReport"))->trigger();
        settle(review);
        DiffProgram::Options options;
        options.ignoreLayout = true;
        options.json = QByteArray(format) == "json";
        options.html = !options.json;
        options.file1 = pdf(1);
        options.file2 = pdf(2);
        QBuffer out, err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        DiffProgram::Compare(options, out, err);
        QFile file(dialogs.file);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << format;
        EXPECT_TRUE(file.readAll() == out.data()) << format;
    }
    review->changes()->kindToggle(ChangeKind::Typography)->click();
    review->changes()->kindToggle(ChangeKind::Inserted)->click();
    settle(review);
    const Comparison kept =
        KeepRows(*review->changes()->model().list(), review->changes()->model().shown());
    const struct {
        const char* name;
        bool json;
    } cases[] = {{"report.json", true}, {"report.html", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.file = folder->filePath(c.name);
        review->command(QStringLiteral("ExportReport"))->trigger();
        settle(review);
        QFile file(dialogs.file);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        if (c.json) {
            const QJsonObject report = QJsonDocument::fromJson(written).object();
            EXPECT_EQ(report.value("file1").toObject().value("name").toString(), pdf(1));
            const QJsonObject hidden = report.value("hidden").toObject();
            EXPECT_EQ(hidden.value("kinds").toArray(), QJsonArray({"inserted", "typography"}));
            EXPECT_EQ(hidden.value("changes").toInteger(),
                      qsizetype(review->changes()->model().list()->size() -
                                review->changes()->model().shown().size()));
            for (const Side side : kBothSides)
                EXPECT_EQ(report.value(QStringLiteral("file%1").arg(TextPaneOf(side)))
                              .toObject()
                              .value("differences")
                              .toArray()
                              .size(),
                          qsizetype(kept.side(side).differences.size()));
        } else {
            EXPECT_TRUE(written.contains("<html")) << "a web page";
            EXPECT_TRUE(written.contains(QFileInfo(pdf(2)).fileName().toUtf8()));
        }
    }
    dialogs.folderName = folder->filePath("marked");
    review->command(QStringLiteral("ExportAnnotated"))->trigger();
    settle(review);
    EXPECT_EQ(QDir(dialogs.folderName).entryList({"*.pdf"}, QDir::Files).size(), 2)
        << review->state()->text().toStdString();
}

// Find goes through both texts, with and without case; zoom and copy act on the keys.
TEST_F(ReviewWindowTest, FindZoomAndCopyWorkFromTheKeyboard) {
    ReviewWindow* review = open();
    ASSERT_NE(review, nullptr);
    review->activateWindow();
    QTest::keyClick(review, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(review->findBar()->field()->hasFocus());
    // A word only one file has, in any case: of its insertions or deletions.
    const ChangeList& list = *review->changes()->model().list();
    const BySide<QString>& texts = review->reviewed()->texts;
    BySide<QString> only;
    for (const Change& change : list.rows())
        for (const Side side : kBothSides)
            for (const QString& word : list.words(change, side, texts[side]).split(u' '))
                if (only[side].isEmpty() && word.size() > 4 &&
                    !texts[Other(side)].contains(word, Qt::CaseInsensitive))
                    only[side] = word;
    ASSERT_FALSE(only[Side::One].isEmpty() || only[Side::Two].isEmpty());
    struct Case {
        QString text;
        bool matchCase;
        QKeySequence keys;  // Return in the field, F3 or Shift+F3 anywhere
        bool found;
        Side side;
    } cases[] = {
        {only[Side::Two], false, QKeySequence(Qt::Key_Return), true, Side::Two},
        {only[Side::Two].toUpper(), false, QKeySequence(Qt::Key_Return), true, Side::Two},
        {only[Side::Two].toUpper(), true, QKeySequence(Qt::Key_Return), false, Side::Two},
        {only[Side::One], false, QKeySequence::FindNext, true, Side::One},
        {only[Side::Two], false, QKeySequence::FindPrevious, true, Side::Two},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        review->findBar()->field()->setText(c.text);
        review->findBar()->matchCase()->setChecked(c.matchCase);
        review->findBar()->field()->setFocus();
        QTest::keySequence(review->findBar()->field(), c.keys);
        EXPECT_EQ(review->findBar()->outcome()->text().isEmpty(), c.found);
        if (!c.found) continue;
        RichTextPane* pane = review->texts()->pane(c.side);
        EXPECT_EQ(pane->text()
                      .mid(pane->selStart(), pane->selLength())
                      .compare(c.text, Qt::CaseInsensitive),
                  0);
        EXPECT_EQ(pane->selLength(), c.text.size());
    }

    const qreal points = review->texts()->pointSize();
    const struct {
        QKeySequence keys;
        qreal by;
    } zooms[] = {{QKeySequence::ZoomIn, 1},
                 {QKeySequence(Qt::CTRL | Qt::Key_Equal), 2},
                 {QKeySequence::ZoomOut, 1},
                 {QKeySequence(Qt::CTRL | Qt::Key_0), 0}};
    for (const auto& zoom : zooms) {
        QTest::keySequence(review, zoom.keys);
        EXPECT_EQ(review->texts()->pointSize(), points + zoom.by)
            << zoom.keys.toString().toStdString();
    }

    table(review)->setFocus();
    QTest::keyClick(table(review), Qt::Key_F8);
    QTest::keyClick(table(review), Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    const Change& change =
        (*review->changes()->model().list())[size_t(review->changes()->model().listRow(0))];
    for (const Side side : kBothSides)
        EXPECT_TRUE(copied.contains(review->changes()->model().words(change, side)))
            << copied.toStdString();
}

// The options compare again and are remembered; pages compare only those, and a range past the
// end is named with the file's page count.
TEST_F(ReviewWindowTest, OptionsAndPagesCompareAgain) {
    ReviewWindow* review = open();
    ASSERT_NE(review, nullptr);
    ReviewOptions* options = review->options();
    options->toggle(ReviewOptions::kIgnoreCase)->click();
    settle(review);
    EXPECT_TRUE(review->reviewed()->comparison->options.ignoreCase);
    EXPECT_NE(review->reviewed()->comparison, form.shown().stage()->comparison);
    const QSettings settings(ReviewWindow::DefaultSettingsFile(), QSettings::IniFormat);
    EXPECT_TRUE(settings.value("options/ignoreCase").toBool());

    struct Case {
        QString pages;
        QString stateHas;  // empty: compared
        int firstPage;     // of file 1's text shown
    } cases[] = {
        {QStringLiteral("2-3"), {}, 2},
        {QStringLiteral("1-999"), QStringLiteral("page 999"), 2},  // what was shown stays
        {QString(), {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pages.toStdString());
        options->pagesField(Side::One)->setText(c.pages);
        options->pagesField(Side::One)->setFocus();
        QTest::keyClick(options->pagesField(Side::One), Qt::Key_Return);
        settle(review);
        ASSERT_NE(review->reviewed(), nullptr);
        EXPECT_EQ(review->texts()->margin(Side::One)->placeOf(0),
                  QStringLiteral("%1:1").arg(c.firstPage));
        EXPECT_TRUE(review->reviewed()->comparison->options.ignoreCase);
        if (c.stateHas.isEmpty()) {
            EXPECT_EQ(review->reviewed()->pageRanges[Side::One], c.pages);
            EXPECT_TRUE(review->state()->text().isEmpty()) << review->state()->text().toStdString();
        } else {
            const QString state = review->state()->text();
            EXPECT_TRUE(state.contains(c.stateHas) && state.contains(QStringLiteral("file 1")) &&
                        state.contains(QStringLiteral("the file has")))
                << state.toStdString();
        }
    }

    // Without options and pages, the main window's comparison is shown as it is.
    options->toggle(ReviewOptions::kIgnoreCase)->click();
    settle(review);
    EXPECT_EQ(review->reviewed()->comparison, form.shown().stage()->comparison);
    options->toggle(ReviewOptions::kIgnoreCase)->click();

    // A window made afresh has the options and the size the last one left.
    review->resize(900, 700);
    review->close();
    ReviewWindow again(form.shown(), {{form.RichTextBox(1), form.RichTextBox(2)}}, all.services,
                       ReviewWindow::DefaultSettingsFile());
    EXPECT_TRUE(again.options()->toggle(ReviewOptions::kIgnoreCase)->isChecked());
    EXPECT_EQ(again.size(), QSize(900, 700));
    EXPECT_NE(QFileInfo(ReviewWindow::DefaultSettingsFile()).fileName(),
              kSettingsApplication + QStringLiteral(".ini"));
}

// Every control, the dock, the list and its rows have names; Tab alone reaches the list, both
// texts and the filters.
TEST_F(ReviewWindowTest, EveryControlHasANameAndTheKeyboardReachesIt) {
    ReviewWindow* review = open();
    ASSERT_NE(review, nullptr);
    for (QWidget* widget : review->findChildren<QWidget*>()) {
        if (!widget->isVisible() || widget->focusPolicy() == Qt::NoFocus) continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        EXPECT_FALSE(face->text(QAccessible::Name).isEmpty())
            << widget->metaObject()->className() << " " << widget->objectName().toStdString();
    }
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(table(review));
    ASSERT_NE(list->tableInterface(), nullptr);
    EXPECT_TRUE(list->tableInterface()->cellAt(0, 0)->text(QAccessible::Name).startsWith("Kind: "));
    // The heading's counts read as text, as a screen reader asks for them.
    QAccessibleInterface* heading =
        QAccessible::queryAccessibleInterface(review->changes()->heading());
    ASSERT_NE(heading->textInterface(), nullptr);
    EXPECT_EQ(heading->textInterface()->text(0, heading->textInterface()->characterCount()),
              ChangeList::Heading(review->changes()->model().list()->counts(),
                                  qsizetype(review->changes()->model().list()->size() -
                                            review->changes()->model().shown().size())));
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(review->changes())
                     ->text(QAccessible::Name)
                     .isEmpty());

    std::set<QWidget*> reached;
    review->activateWindow();
    table(review)->setFocus();
    for (int i = 0; i < 40; ++i) {
        reached.insert(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (QWidget* wanted : std::initializer_list<QWidget*>{
             review->texts()->pane(Side::One), review->texts()->pane(Side::Two),
             review->changes()->filter(), review->changes()->kindToggle(ChangeKind::Moved),
             review->options()->pagesField(Side::Two)})
        EXPECT_TRUE(reached.count(wanted)) << wanted->objectName().toStdString();
}

// The texts take the colours for the window's palette: a difference's words, a move's and the
// ground.
TEST_F(ReviewWindowTest, TheTextsTakeTheColoursOfThePalette) {
    ReviewWindow* review = open();
    ASSERT_NE(review, nullptr);
    QPalette dark = review->palette();
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
    auto asPane = [](const QColor& c) {
        return Color(c.red()) | Color(c.green()) << 8 | Color(c.blue()) << 16;
    };
    for (const QPalette& palette : {dark, QApplication::palette()}) {
        review->setPalette(palette);
        settle(review);
        const ReviewColours colours = ReviewColours::For(palette);
        for (const Side side : kBothSides) {
            RichTextPane* pane = review->texts()->pane(side);
            const ComparedSide& compared = review->reviewed()->comparison->side(side);
            ASSERT_FALSE(compared.differences.empty());
            EXPECT_EQ(pane->palette().color(QPalette::Base), colours.ground);
            EXPECT_EQ(pane->colorAt(compared.marksOf(compared.differences.front()).front().start),
                      asPane(colours.difference));
            EXPECT_EQ(pane->colorAt(0), asPane(colours.text));
        }
    }
}

// Each text colour keeps 4.5:1 against its ground on a light and a dark palette.
TEST(ReviewColoursTest, TextColoursKeepTheirContrast) {
    QPalette dark;
    dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    dark.setColor(QPalette::Text, QColor(0xE8, 0xE8, 0xE8));
    QPalette light;
    light.setColor(QPalette::Base, Qt::white);
    light.setColor(QPalette::Text, Qt::black);
    for (const QPalette& palette : {light, dark}) {
        const ReviewColours c = ReviewColours::For(palette);
        const struct {
            const char* what;
            QColor text, ground;
        } pairs[] = {{"text", c.text, c.ground},
                     {"difference", c.difference, c.ground},
                     {"move", c.moved, c.movedGround},
                     {"other side", c.text, c.otherGround},
                     {"margin", c.margin, c.ground}};
        for (const auto& pair : pairs)
            EXPECT_GE(ReviewColours::Contrast(pair.text, pair.ground), 4.5)
                << pair.what << " on " << palette.color(QPalette::Base).name().toStdString();
    }
    EXPECT_NEAR(ReviewColours::Contrast(Qt::black, Qt::white), 21, 0.01);
}

}  // namespace
}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The window as assistive technology reads it: each pane's text with line feeds for its breaks,
// whole, by paragraph and by word, its caret and selection, and its red runs from the attributes,
// after a load and after each comparison; the window a window, and a pane's context menu shown
// reachable from the application with its entries.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

#include "tests/support/PaneInspection.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;

namespace {

// The pane's text and red runs in the offsets a reader uses: one character a line break.
struct Readable {
    QString text;
    std::vector<std::pair<int, int>> red;

    static Readable Of(RichTextPane& pane) {
        Readable expected{pane.text().replace(QStringLiteral("\r\n"), QStringLiteral("\n")), {}};
        for (const TextRange& run : corvella::testing::RunsOfColor(pane, kRed))
            expected.red.push_back({int(pane.toDocument({run.start}).at),
                                    int(pane.toDocument({run.start + run.length}).at)});
        return expected;
    }
};

Readable read(RichTextPane& pane) {
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&pane)->textInterface();
    Readable read{text->text(0, text->characterCount()), {}};
    for (int at = 0, start = 0, end = 0; at < text->characterCount(); at = std::max(end, at + 1))
        if (text->attributes(at, &start, &end).contains(QStringLiteral("color:rgb(255,0,0)"))) {
            if (!read.red.empty() && read.red.back().second == start)
                read.red.back().second = end;
            else
                read.red.push_back({start, end});
        }
    return read;
}

void expectReadAsWritten(RichTextPane& pane, const std::string& when) {
    SCOPED_TRACE(when + ", " + pane.objectName().toStdString());
    pane.completeText();
    const Readable expected = Readable::Of(pane);
    const Readable got = read(pane);
    EXPECT_EQ(got.text, expected.text);
    EXPECT_EQ(got.red, expected.red);
    // Every line is a paragraph, read whole at any of its offsets, and its words lie within it.
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&pane)->textInterface();
    const QStringList lines = expected.text.split(u'\n');
    int at = 0;
    for (const QString& line : lines) {
        int start = -1;
        int end = -1;
        for (const int offset : {at, at + int(line.size()) / 2}) {
            EXPECT_EQ(text->textAtOffset(offset, QAccessible::ParagraphBoundary, &start, &end),
                      line);
            EXPECT_EQ(start, at);
        }
        if (!line.trimmed().isEmpty()) {
            const int word = at + int(line.indexOf(line.trimmed().front()));
            EXPECT_TRUE(line.contains(
                text->textAtOffset(word, QAccessible::WordBoundary, &start, &end).trimmed()));
        }
        at += int(line.size()) + 1;
    }
    // The caret and the selection as the view shows them.
    const QTextCursor cursor = pane.textCursor();
    EXPECT_EQ(text->cursorPosition(), cursor.position());
    EXPECT_EQ(text->selectionCount(), cursor.hasSelection() ? 1 : 0);
}

TEST(AccessibleTextTest, PanesReadAsTheirTextAfterALoadAndEveryComparison) {
    corvella::testing::TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    form.show();
    QTemporaryDir dir;
    // Twelve lines a page and more than ten lines a paragraph of the document.
    auto pages = [](const QString& changed) {
        QStringList out;
        for (int page = 1; page <= 3; ++page) {
            QString text;
            for (int line = 1; line <= 12; ++line)
                text += QStringLiteral("Page %1 line %2 %3\n")
                            .arg(page)
                            .arg(line)
                            .arg(line % 5 == 0 ? changed : QStringLiteral("the same words"));
            out << text;
        }
        return out;
    };
    for (int number = 1; number <= 2; ++number) {
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(number));
        ASSERT_TRUE(corvella::testing::TestPdfs::WriteTextPdf(
            pdf, pages(number == 1 ? QStringLiteral("one version") : QStringLiteral("another"))));
        test.dialogs.fileSelections.push_back({pdf});
        form.PushButton(2 + number)->click();
        expectReadAsWritten(*form.RichTextBox(number), "after the load");
    }
    const std::pair<const char*, std::function<void()>> comparisons[] = {
        {"lines", [&] { form.PushButton(1)->click(); }},
        {"words", [&] { form.PushButton(6)->click(); }},
        {"ignoring layout", [&] { form.IgnoringLayoutAction()->trigger(); }},
    };
    for (const auto& [name, compare] : comparisons) {
        compare();
        ASSERT_FALSE(corvella::testing::RunsOfColor(form.pane(1), kRed).empty()) << name;
        for (int number = 1; number <= 4; ++number)
            expectReadAsWritten(*form.RichTextBox(number), std::string("after ") + name);
    }
}

TEST(AccessibleTextTest, TheWindowIsAWindowAndAShownContextMenuIsReachable) {
    corvella::testing::TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    form.show();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&form)->role(), QAccessible::Window);
    emit form.RichTextBox(1)->customContextMenuRequested(QPoint(5, 5));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
    QStringList entries;
    for (int i = 0; i < application->childCount(); ++i) {
        QAccessibleInterface* child = application->child(i);
        if (child->object() != menu) continue;
        for (int j = 0; j < child->childCount(); ++j)
            entries << child->child(j)->text(QAccessible::Name);
    }
    menu->close();
    for (const char* entry : {"Find Differences (Ignoring Layout)", "Scroll Panes Together",
                              "Go to Other Place", "Next Difference", "Previous Difference"})
        EXPECT_TRUE(entries.contains(QLatin1String(entry)))
            << entry << " in " << entries.join(", ").toStdString();
}

}  // namespace

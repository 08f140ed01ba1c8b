// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The engines' results are what the commands list: on random texts and on the corpus pairs, each
// Find Differences command lists in work panes 3 and 4 exactly the differences its engine finds
// in the same two texts, and hands back the same spans.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "compare/LayoutCommand.h"
#include "compare/LinesCommand.h"
#include "compare/WordsCommand.h"
#include "core/PaneText.h"
#include "diff/LineComparison.h"
#include "diff/WordComparison.h"
#include "diff/layout/LayoutComparison.h"
#include "tests/support/FakeWindow.h"

using namespace corvella;
using corvella::testing::FakeWindow;

namespace {

// What a work pane lists for a side of the engine's result.
QString listing(Method method, const ComparedSide& side, const QString& text) {
    QString out;
    for (size_t i = 0; i < side.differences.size(); ++i) {
        const Difference& d = side.differences[i];
        if (method == Method::Lines)
            out += LineCompare::PieceOf(text, d).toString() + PaneText::kCR;
        else if (method == Method::Words)
            out += PaneText::kBreak + text.mid(d.span.start, d.span.length);
        else
            out += PaneText::kBreak + LayoutEntry(d, side.differenceWords[i]);
    }
    return PaneText::canonical(out);
}

void expectSameAsCommands(const QString& text1, const QString& text2, const std::string& what) {
    const struct {
        Method method;
        void (*command)(MainWindow&, Comparison*);
        Comparison (*engine)(QStringView, QStringView, const Progress&);
    } methods[] = {
        {Method::Lines, PushButton1_Click, LineCompare::Compare},
        {Method::Words, PushButton6_Click, WordCompare::Compare},
        {Method::IgnoringLayout, FindDifferencesIgnoringLayout,
         [](QStringView a, QStringView b, const Progress& p) {
             return LayoutCompare::Compare(a, b, p);
         }},
    };
    for (const auto& m : methods) {
        FakeWindow window;
        window.pane(1).setText(text1);
        window.pane(2).setText(text2);
        Comparison listed;
        m.command(window, &listed);
        const QString own[] = {window.pane(1).text(), window.pane(2).text()};
        const Comparison found = m.engine(own[0], own[1], {});
        for (int side = 1; side <= 2; ++side) {
            SCOPED_TRACE(what + " method " + std::to_string(int(m.method)) + " side " +
                         std::to_string(side));
            EXPECT_TRUE(window.pane(side + 2).text() ==
                        listing(m.method, found.side(SideOfPane(side)), own[side - 1]));
            const auto& a = listed.side(SideOfPane(side)).differences;
            const auto& b = found.side(SideOfPane(side)).differences;
            ASSERT_EQ(a.size(), b.size());
            for (size_t i = 0; i < a.size(); ++i) {
                EXPECT_EQ(a[i].span.start, b[i].span.start);
                EXPECT_EQ(a[i].span.length, b[i].span.length);
                EXPECT_EQ(std::make_pair(a[i].page, a[i].line),
                          std::make_pair(b[i].page, b[i].line));
            }
        }
        EXPECT_TRUE(window.dialogs.messages.empty());
    }
}

TEST(EngineListingTest, RandomTextsListWhatTheEnginesFind) {
    static const QStringList words = {"a", "b", "ab", "", " ", "x y", "\f", "12", "docu-", "ment"};
    static const QStringList breaks = {"\r\n", "\r", "\n", " "};
    QRandomGenerator random(25);
    for (int round = 0; round < 300; ++round) {
        QString texts[2];
        for (QString& text : texts)
            for (int i = int(random.bounded(30)); i > 0; --i)
                text += words[int(random.bounded(words.size()))] +
                        breaks[int(random.bounded(breaks.size()))];
        expectSameAsCommands(texts[0], texts[1], "round " + std::to_string(round));
    }
}

TEST(EngineListingTest, CorpusPairsListWhatTheEnginesFind) {
    const QDir corpus(qEnvironmentVariable("CORVELLA_CORPUS_DIR"));
    const char* pairs[][2] = {{"pairs/install-guide-amd64.pdf", "pairs/install-guide-arm64.pdf"},
                              {"pairs/cpp-annotations-a4.pdf", "pairs/cpp-annotations-letter.pdf"}};
    QTemporaryDir scratch;
    int compared = 0;
    for (const auto& pair : pairs) {
        QString texts[2];
        for (int i = 0; i < 2; ++i) {
            const QString out = scratch.filePath(QString::number(i));
            if (QProcess::execute("pdftotext", {"-enc", "UTF-8", corpus.filePath(pair[i]), out}) !=
                0)
                break;
            QFile file(out);
            if (file.open(QIODevice::ReadOnly))
                texts[i] = PaneText::canonicalFromFileText(file.readAll()) + PaneText::kBreak;
        }
        if (texts[0].isEmpty() || texts[1].isEmpty()) continue;
        expectSameAsCommands(texts[0], texts[1], pair[0]);
        ++compared;
    }
    if (compared == 0) GTEST_SKIP() << "no corpus pairs in " << corpus.path().toStdString();
}

}  // namespace

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The engines' results are what the commands find: on random texts and on the corpus pairs, each
// Find Differences command hands back the differences and marks its engine finds in the same two
// texts, and each difference's entry stands where the work pane lists it.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "compare/LayoutCommand.h"
#include "compare/LinesCommand.h"
#include "compare/WordsCommand.h"
#include "compare/WorkPaneEntries.h"
#include "core/PaneText.h"
#include "diff/LineComparison.h"
#include "diff/WordComparison.h"
#include "diff/layout/LayoutComparison.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/PaneInspection.h"

using namespace corvella;
using corvella::testing::FakeWindow;
using corvella::testing::MarkedMask;

namespace {

// The lines of a work pane that hold any text, as the entries of the differences should give them.
std::vector<std::pair<qsizetype, qsizetype>> listedLines(const QString& list) {
    std::vector<std::pair<qsizetype, qsizetype>> lines;
    for (qsizetype start = 0, end; start < list.size(); start = end + 2) {
        end = list.indexOf(PaneText::kBreak, start);
        if (end < 0) end = list.size();
        if (end > start) lines.push_back({start, end - start});
    }
    return lines;
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
        for (const Side side : kBothSides) {
            SCOPED_TRACE(what + " method " + std::to_string(int(m.method)) + " side " +
                         std::to_string(NumberOf(side)));
            const ComparedSide& a = listed.side(side);
            const ComparedSide& b = found.side(side);
            ASSERT_EQ(a.differences.size(), b.differences.size());
            for (size_t i = 0; i < a.differences.size(); ++i) {
                EXPECT_EQ(a.differences[i].span.start, b.differences[i].span.start);
                EXPECT_EQ(a.differences[i].span.length, b.differences[i].span.length);
                EXPECT_EQ(std::make_pair(a.differences[i].page, a.differences[i].line),
                          std::make_pair(b.differences[i].page, b.differences[i].line));
            }
            EXPECT_TRUE(MarkedMask(own[IndexOf(side)], a) == MarkedMask(own[IndexOf(side)], b));
            std::vector<std::pair<qsizetype, qsizetype>> entries;
            for (const TextRange& entry : WorkPaneEntries(m.method, a))
                if (entry.length > 0) entries.push_back({entry.start, entry.length});
            EXPECT_EQ(entries, listedLines(window.workPane(side).text()));
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

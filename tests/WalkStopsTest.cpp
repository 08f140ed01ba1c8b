// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the difference walk stops in panes 1 and 2 after each comparison of the corpus pairs: the
// stops recorded in tests/data/walk-stops.tsv (their count and a digest of every stop), which the
// window's walk over the red of its panes gave.
// CORVELLA_RECORD_STOPS=FILE writes the table anew. Skipped without the corpus.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "compare/LayoutCommand.h"
#include "compare/LinesCommand.h"
#include "compare/WordsCommand.h"
#include "core/PaneText.h"
#include "display/MemoryWindow.h"
#include "tests/support/TestServices.h"
#include "window/review/ShownComparison.h"

using namespace corvella;

namespace {

QString extracted(const QString& pdf, QTemporaryDir& scratch) {
    const QString out = scratch.filePath(QStringLiteral("text"));
    if (QProcess::execute(QStringLiteral("pdftotext"), {"-enc", "UTF-8", pdf, out}) != 0) return {};
    QFile file(out);
    return file.open(QIODevice::ReadOnly)
               ? PaneText::canonicalFromFileText(file.readAll()) + PaneText::kBreak
               : QString();
}

// "count sha256" of the stops, one "start,length" a line.
QString digest(const std::vector<TextRange>& stops) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const TextRange& stop : stops)
        hash.addData(QStringLiteral("%1,%2\n").arg(stop.start).arg(stop.length).toLatin1());
    return QStringLiteral("%1 %2")
        .arg(stops.size())
        .arg(QString::fromLatin1(hash.result().toHex()));
}

QMap<QString, QString> recorded() {
    QMap<QString, QString> rows;
    QFile file(QStringLiteral(CORVELLA_SOURCE_DIR "/tests/data/walk-stops.tsv"));
    if (!file.open(QIODevice::ReadOnly)) return rows;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> cells = line.split('\t');
        if (cells.size() == 2)
            rows.insert(QString::fromUtf8(cells[0]), QString::fromUtf8(cells[1]));
    }
    return rows;
}

TEST(WalkStopsTest, EveryMethodStopsWhereItStoppedOnTheCorpusPairs) {
    const QDir corpus(qEnvironmentVariable("CORVELLA_CORPUS_DIR"));
    const char* pairs[][2] = {{"pairs/install-guide-amd64.pdf", "pairs/install-guide-arm64.pdf"},
                              {"pairs/cpp-annotations-a4.pdf", "pairs/cpp-annotations-letter.pdf"}};
    const struct {
        const char* name;
        void (*command)(MainWindow&, Comparison*);
    } methods[] = {{"lines", PushButton1_Click},
                   {"words", PushButton6_Click},
                   {"ignoring-layout", FindDifferencesIgnoringLayout}};
    const QMap<QString, QString> expected = recorded();
    QMap<QString, QString> found;
    QTemporaryDir scratch;
    for (const auto& pair : pairs) {
        const QString texts[] = {extracted(corpus.filePath(pair[0]), scratch),
                                 extracted(corpus.filePath(pair[1]), scratch)};
        if (texts[0].isEmpty() || texts[1].isEmpty()) continue;
        for (const auto& method : methods) {
            corvella::testing::TestServices test;
            MemoryWindow window(test.services);
            window.pane(1).setText(texts[0]);
            window.pane(2).setText(texts[1]);
            Comparison comparison;
            method.command(window, &comparison);
            ShownComparison shown;
            shown.show(std::move(comparison),
                       {{{window.pane(1).text(), window.pane(2).text()}}, {}, {}});
            for (const Side side : kBothSides) {
                const QString key =
                    QStringLiteral("%1 %2 %3")
                        .arg(QString::fromLatin1(pair[0]), QString::fromLatin1(method.name))
                        .arg(NumberOf(side));
                found.insert(key, digest(*shown.stage()->stops(side)));
                EXPECT_EQ(found[key], expected.value(key)) << key.toStdString();
            }
        }
    }
    if (found.isEmpty()) GTEST_SKIP() << "no corpus pairs in " << corpus.path().toStdString();
    if (const QString out = qEnvironmentVariable("CORVELLA_RECORD_STOPS"); !out.isEmpty()) {
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (auto it = found.cbegin(); it != found.cend(); ++it)
            file.write((it.key() + u'\t' + it.value() + u'\n').toUtf8());
    }
}

}  // namespace

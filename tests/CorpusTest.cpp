// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Real third-party PDFs through the real load path: thousand-page manuals, non-Latin scripts, a
// password-protected file and a scanned page. Skipped when the corpus has not been fetched
// (tools/fetch-corpus.sh).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>

#include "core/PaneText.h"
#include "extract/LoadCommands.h"
#include "extract/PDFToText.h"
#include "extract/TextIntoPane.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"
#include "window/pane/RichTextPane.h"

using namespace corvella;
using corvella::testing::TestServices;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The files the manifest lists, relative to the corpus folder.
QStringList corpusFiles(const QString& corpus) {
    QStringList files;
    const QList<QByteArray> rows = readAll(corpus + "/MANIFEST.tsv").split('\n');
    for (qsizetype i = 1; i < rows.size(); ++i)
        if (!rows[i].isEmpty()) files << QString::fromUtf8(rows[i].split('\t').first());
    return files;
}

TEST(CorpusTest, EveryFileLoadsExactlyAsOneExtractorRunReadsIt) {
    const QString corpus = qEnvironmentVariable("CORVELLA_CORPUS_DIR");
    const QStringList files = corpusFiles(corpus);
    if (files.isEmpty()) GTEST_SKIP() << "no corpus in '" << corpus.toStdString() << "'";

    TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    form.show();  // a pane on screen shows a text's first pages while the rest is extracted
    QTemporaryDir scratch;
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QString pdf = QDir(corpus).filePath(name);
        const QString single = scratch.filePath("single.txt");
        QFile::remove(single);
        QProcess::execute("pdftotext", {"-enc", "UTF-8", pdf, single});
        const QByteArray expected = readAll(single);

        // Page ranges extracted at the same time give the very bytes of one run.
        test.services.extractorRuns = 4;
        QString path = pdf;
        RTB::PDFToText(path, test.services);
        EXPECT_TRUE(readAll(path) == expected);
        QFile::remove(path);

        // The load command with the machine's own number of runs.
        test.services.extractorRuns = 0;
        test.dialogs.messages.clear();
        test.dialogs.fileSelections.push_back({pdf});
        PushButton3_Click(form);
        if (name.startsWith("protected/")) {
            EXPECT_EQ(test.dialogs.texts(), QStringList{kNoTextFileMessage});
        } else if (name.startsWith("scanned/")) {
            EXPECT_EQ(test.dialogs.texts(), QStringList{kUnreadableTextMessage});
        } else {
            EXPECT_TRUE(test.dialogs.messages.empty())
                << test.dialogs.texts().join('|').toStdString();
            EXPECT_TRUE(form.pane(1).text() == PaneText::canonicalFromFileText(expected) + "\r\n");
            form.RichTextBox(1)->completeText();
            EXPECT_TRUE(form.RichTextBox(1)->document()->toPlainText() ==
                        QString(form.pane(1).text()).replace(PaneText::kBreak, "\n"));
        }
    }
}

}  // namespace

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: what it reads, how the real program answers it without a display, and the
// real program started with files.
#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>

#include "tests/support/QStringPrinter.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"
#include "window/main/CommandLine.h"
#include "window/main/Form1.h"

namespace corvella {
namespace {

using Action = CommandLine::Action;

TEST(CommandLineTest, ReadsUpToTwoFilesAndTheOptions) {
    struct Row {
        QStringList arguments;
        Action action;
        QStringList files;
        QString problem;
    };
    const Row rows[] = {
        {{"../b.pdf", "file:///tmp/two%20words.pdf"},
         Action::Run,
         {"/home/u/b.pdf", "/tmp/two words.pdf"},
         {}},
        {{"--", "-x.pdf"}, Action::Run, {"/home/u/docs/-x.pdf"}, {}},
        {{"a.pdf", "-h"}, Action::Help, {}, {}},
        {{"a", "b", "c"}, Action::Misuse, {}, "at most two PDF files can be given, not 3"},
        {{"--help", "-platform"}, Action::Misuse, {}, "unknown option '-platform'"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CommandLine line = ParseCommandLine(row.arguments, "/home/u/docs");
        EXPECT_EQ(line.action, row.action);
        EXPECT_EQ(line.files, row.files);
        EXPECT_EQ(line.problem, row.problem);
    }
}

TEST(CommandLineTest, HelpVersionAndMisuseAnswerWithoutADisplay) {
    // Arguments, exit code, and the start of standard output or, for misuse, standard error.
    const std::tuple<QStringList, int, QString> rows[] = {
        {{"--help"},
         0,
         "Usage: corvella [--help] [--version] [--review PDF1 PDF2] [PDF1 [PDF2]]\nCompares"},
        {{"--version"}, 0, "Corvella 1.0\n"},
        {{"--bogus"}, 2, "corvella: unknown option '--bogus'\nUsage: corvella"},
        {{"a.pdf", "b.pdf", "c.pdf"}, 2, "corvella: at most two PDF files can be given"},
        {{"--review", "a.pdf"}, 2, "corvella: --review needs two PDF files, not 1"},
    };
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    for (const auto& [arguments, exitCode, text] : rows) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CORVELLA_PROGRAM), arguments);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitCode(), exitCode);
        const QByteArray out = program.readAllStandardOutput();
        const QByteArray err = program.readAllStandardError();
        const QString& shown = QString::fromUtf8(exitCode == 0 ? out : err);
        EXPECT_EQ(shown.left(text.size()), text);
        EXPECT_TRUE((exitCode == 0 ? err : out).isEmpty());
    }
}

// The texts the load buttons give pane 1 and pane 2 for these files (none: the pane stays empty).
std::pair<QString, QString> loadedByButtons(const QString& first, const QString& second) {
    testing::TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    for (const auto& [button, path] : {std::pair{3, first}, std::pair{4, second}}) {
        if (path.isEmpty()) continue;
        test.dialogs.fileSelections.push_back({path});
        form.PushButton(button)->click();
    }
    return {form.pane(1).text(), form.pane(2).text()};
}

TEST(ProgramStartTest, FilesOnTheCommandLineLoadAsTheButtonsLoadThem) {
    QTemporaryDir folder;
    const QString first = folder.filePath("first.pdf");
    const QString second = folder.filePath("second file.pdf");
    ASSERT_TRUE(testing::TestPdfs::WriteTextPdf(first, {"Text of the first file\nshared"}));
    ASSERT_TRUE(testing::TestPdfs::WriteTextPdf(second, {"Text of the second file\nshared"}));
    ASSERT_TRUE(QDir(folder.path()).mkdir("folder.pdf"));
    struct Row {
        QStringList arguments;
        QString pane1File, pane2File;
        QString message;
        bool review;  // the review window is open on them
    };
    const Row rows[] = {
        {{"first.pdf", QUrl::fromLocalFile(second).toString()}, first, second, {}, false},
        {{"--review", "first.pdf", "second file.pdf"}, first, second, {}, true},
        {{first}, first, {}, {}, false},
        {{"missing.pdf", "second file.pdf"},
         {},
         second,
         '"' + folder.filePath("missing.pdf") + "\" cannot be loaded: there is no such file.",
         false},
        {{"first.pdf", "folder.pdf"},
         first,
         {},
         '"' + folder.filePath("folder.pdf") + "\" cannot be loaded: it is a folder.",
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        // The real program with scripted dialogs, reporting its window once the files are loaded.
        QProcess program;
        program.setWorkingDirectory(folder.path());
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(CORVELLA_PROBE), row.arguments);
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitCode(), 0);
        const QJsonObject window =
            QJsonDocument::fromJson(program.readAllStandardOutput()).object();

        const auto [pane1, pane2] = loadedByButtons(row.pane1File, row.pane2File);
        EXPECT_TRUE(pane1.contains("Text of") || pane2.contains("Text of"));
        EXPECT_EQ(window["pane1"].toString(), pane1);
        EXPECT_EQ(window["pane2"].toString(), pane2);
        EXPECT_TRUE(window["shown"].toBool()) << "the files load into the window shown";
        EXPECT_TRUE(window["option1"].toBool());
        EXPECT_EQ(window["review"].toBool(), row.review);
        const QJsonArray messages = window["messages"].toArray();
        ASSERT_EQ(messages.size(), row.message.isEmpty() ? 0 : 1);
        if (row.message.isEmpty()) continue;
        EXPECT_EQ(messages[0]["text"].toString(), row.message);
        EXPECT_EQ(messages[0]["title"].toString(), "Corvella");
        EXPECT_TRUE(messages[0]["warning"].toBool());
    }
}

}  // namespace
}  // namespace corvella

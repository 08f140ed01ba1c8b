// The command line: what it reads, how the real program answers it without a display, and the
// real program started with files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>

#include "app/CommandLine.h"
#include "app/Form1.h"
#include "extract/GivenFiles.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"

namespace corvella {
namespace {

using testing::TestServices;
namespace TestPdfs = testing::TestPdfs;
using Action = CommandLine::Action;

TEST(CommandLineTest, ReadsUpToTwoFilesAndTheOptions) {
    struct Row {
        QStringList arguments;
        Action action;
        QStringList files;
        QString problem;
    };
    const Row rows[] = {
        {{}, Action::Run, {}, {}},
        {{"a.pdf"}, Action::Run, {"/home/u/docs/a.pdf"}, {}},
        {{"../b.pdf", "/abs/c.pdf"}, Action::Run, {"/home/u/b.pdf", "/abs/c.pdf"}, {}},
        {{"file:///tmp/two%20words.pdf"}, Action::Run, {"/tmp/two words.pdf"}, {}},
        {{"--", "-x.pdf", "--help"},
         Action::Run,
         {"/home/u/docs/-x.pdf", "/home/u/docs/--help"},
         {}},
        {{"a.pdf", "--help"}, Action::Help, {}, {}},
        {{"-h"}, Action::Help, {}, {}},
        {{"--version"}, Action::Version, {}, {}},
        {{"a", "b", "c"}, Action::Misuse, {}, "at most two PDF files can be given, not 3"},
        {{"--help", "--bogus"}, Action::Misuse, {}, "unknown option '--bogus'"},
        {{"-platform", "xcb"}, Action::Misuse, {}, "unknown option '-platform'"},
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
    struct Row {
        QStringList arguments;
        int exitCode;
        QString out;  // the start of standard output
        QString err;  // the start of standard error
    };
    const Row rows[] = {
        {{"--help"}, 0, "Usage: corvella [--help] [--version] [PDF1 [PDF2]]\nCompares", ""},
        {{"--version"}, 0, "Corvella 1.0\n", ""},
        {{"--bogus"}, 2, "", "corvella: unknown option '--bogus'\nUsage: corvella"},
        {{"a.pdf", "b.pdf", "c.pdf"}, 2, "", "corvella: at most two PDF files can be given"},
    };
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CORVELLA_PROGRAM), row.arguments);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), row.exitCode);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString err = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(out.left(row.out.size()), row.out);
        EXPECT_EQ(out.isEmpty(), row.out.isEmpty()) << out.toStdString();
        EXPECT_EQ(err.left(row.err.size()), row.err);
        EXPECT_EQ(err.isEmpty(), row.err.isEmpty()) << err.toStdString();
    }
}

class ProgramStartTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString pdf(const QString& name, const QString& text) {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(TestPdfs::WriteTextPdf(path, {text}));
        return path;
    }

    // The real program started in the folder with these arguments, as the window holds it once
    // the files are loaded.
    QJsonObject start(const QStringList& arguments) {
        QProcess program;
        program.setWorkingDirectory(folder.path());
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(CORVELLA_PROBE), arguments);
        EXPECT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitCode(), 0);
        return QJsonDocument::fromJson(program.readAllStandardOutput()).object();
    }

    // The texts the load buttons give pane 1 and pane 2 for these files (none: left empty).
    std::pair<QString, QString> loadedByButtons(const QString& first, const QString& second) {
        TestServices test;
        Form1 form(test.services);
        form.Form_Load();
        for (const auto& [button, path] : {std::pair{3, first}, std::pair{4, second}}) {
            if (path.isEmpty()) continue;
            test.dialogs.fileSelections.push_back({path});
            form.PushButton(button)->click();
        }
        EXPECT_TRUE(test.dialogs.messages.empty());
        return {form.pane(1).text(), form.pane(2).text()};
    }

    QTemporaryDir folder;
};

TEST_F(ProgramStartTest, FilesOnTheCommandLineLoadAsTheButtonsLoadThem) {
    const QString first = pdf("first.pdf", "Text of the first file\nshared line");
    const QString second = pdf("second file.pdf", "Text of the second file\nshared line");
    const QString missing = folder.filePath("missing.pdf");
    struct Row {
        QStringList arguments;
        QString pane1File, pane2File;
        QStringList messages;
    };
    const Row rows[] = {
        {{"first.pdf", QUrl::fromLocalFile(second).toString()}, first, second, {}},
        {{first}, first, {}, {}},
        {{"missing.pdf", "second file.pdf"},
         {},
         second,
         {'"' + missing + "\" cannot be loaded: there is no such file."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const QJsonObject window = start(row.arguments);
        const auto [pane1, pane2] = loadedByButtons(row.pane1File, row.pane2File);
        EXPECT_FALSE(pane1.isEmpty() && pane2.isEmpty());
        EXPECT_EQ(window["pane1"].toString(), pane1);
        EXPECT_EQ(window["pane2"].toString(), pane2);
        EXPECT_TRUE(window["option1"].toBool());
        EXPECT_TRUE(window["shown"].toBool()) << "the files load into the window shown";
        const QJsonArray messages = window["messages"].toArray();
        ASSERT_EQ(messages.size(), row.messages.size());
        for (qsizetype i = 0; i < row.messages.size(); ++i) {
            EXPECT_EQ(messages[i]["text"].toString(), row.messages[i]);
            EXPECT_EQ(messages[i]["title"].toString(), "Corvella");
            EXPECT_TRUE(messages[i]["warning"].toBool());
        }
    }
}

TEST_F(ProgramStartTest, AFileThatCannotBeReadIsNamedAndItsPaneStaysAsItWas) {
    const QString locked = pdf("locked.pdf", "locked text");
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    QDir(folder.path()).mkdir("folder.pdf");
    struct Row {
        QString path;
        QString reason;
    };
    std::vector<Row> rows = {{folder.filePath("gone.pdf"), "there is no such file"},
                             {folder.filePath("folder.pdf"), "it is a folder"}};
    if (::geteuid() != 0)  // the superuser reads every file
        rows.push_back({locked, "you have no permission to read it"});
    TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        test.dialogs.messages.clear();
        form.pane(2).setText("keep me");
        LoadGivenFile(form, 2, row.path);
        ASSERT_EQ(test.dialogs.messages.size(), 1u);
        EXPECT_EQ(test.dialogs.messages[0].text,
                  '"' + row.path + "\" cannot be loaded: " + row.reason + '.');
        EXPECT_EQ(test.dialogs.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(test.dialogs.messages[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(form.pane(2).text(), "keep me");
    }
}

}  // namespace
}  // namespace corvella

// corvella-diff, the real program: it lists exactly what the window's commands list, places it on
// its page and line, and answers with the established exit statuses.
#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "diff/TextPlaces.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"
#include "window/Form1.h"

using namespace corvella;
using corvella::testing::TestServices;
namespace TestPdfs = corvella::testing::TestPdfs;

namespace {

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The program as a user starts it: no display, no platform plugin chosen.
Outcome diff(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("CORVELLA_DIFF"), arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// The listed texts of one file in the JSON report.
QStringList jsonTexts(const QByteArray& json, const char* file) {
    QStringList texts;
    const QJsonObject report = QJsonDocument::fromJson(json).object();
    for (const QJsonValue& entry : report[file].toObject()["differences"].toArray())
        texts << entry.toObject()["text"].toString();
    return texts;
}

// The entries of a work pane: lines ended by a break, or words each after a break.
QStringList workPaneEntries(const PaneDocument& pane, bool words) {
    QStringList entries = pane.text().split("\r\n");
    if (words)
        entries.removeFirst();
    else
        entries.removeLast();
    return entries;
}

QString randomText(QRandomGenerator& random) {
    static const QStringList words = {"alpha", "beta", "Beta", "gamma", "", "delta,", "x", "\f"};
    QString text;
    const int lines = random.bounded(12);
    for (int line = 0; line < lines; ++line) {
        const int count = random.bounded(5);
        for (int w = 0; w < count; ++w) {
            if (w > 0) text += u' ';
            text += words[random.bounded(words.size())];
        }
        text += random.bounded(3) == 0 ? QStringLiteral("\n") : QStringLiteral("\r\n");
    }
    // Six printable characters make any text readable, whatever control characters it holds.
    return text + QStringLiteral("closing words");
}

class DiffProgramTest : public ::testing::Test {
protected:
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return path;
    }

    TestServices test;
    QTemporaryDir folder;
};

TEST_F(DiffProgramTest, ListsExactlyWhatTheWindowsCommandsList) {
    Form1 form(test.services);
    form.Form_Load();
    QRandomGenerator random(20261208);
    for (int round = 0; round < 40; ++round) {
        const QString path1 = file("one.txt", randomText(random).toUtf8());
        const QString path2 = file("two.txt", randomText(random).toUtf8());
        for (bool words : {false, true}) {
            SCOPED_TRACE(QStringLiteral("round %1 words %2").arg(round).arg(words).toStdString());
            for (int number : {1, 2}) {
                form.pane(number).loadFromFile(number == 1 ? path1 : path2);
                form.pane(number).setText(form.pane(number).text() + "\r");
            }
            form.PushButton(words ? 6 : 1)->click();
            const QStringList expected1 = workPaneEntries(form.pane(3), words);
            const QStringList expected2 = workPaneEntries(form.pane(4), words);

            QStringList arguments{"--format", "json", path1, path2};
            if (words) arguments.prepend("--words");
            const Outcome run = diff(arguments);
            EXPECT_EQ(jsonTexts(run.out, "file1"), expected1);
            EXPECT_EQ(jsonTexts(run.out, "file2"), expected2);
            EXPECT_EQ(run.status, expected1.isEmpty() && expected2.isEmpty() ? 0 : 1);
        }
    }
    EXPECT_TRUE(test.dialogs.messages.empty());
}

TEST_F(DiffProgramTest, PdfDifferencesStandOnTheirPagesAndLines) {
    const QString old = folder.filePath("old.pdf");
    const QString changed = folder.filePath("new.pdf");
    ASSERT_TRUE(
        TestPdfs::WriteTextPdf(old, {"alpha\nbeta", "gamma\ndelta three\nepsilon", "zeta"}));
    ASSERT_TRUE(TestPdfs::WriteTextPdf(changed,
                                       {"alpha\nbeta", "gamma\ndelta four\nepsilon", "zeta\neta"}));
    const QStringList before = QDir(folder.path()).entryList(QDir::Files);

    const Outcome lines = diff({old, changed});
    EXPECT_EQ(lines.status, 1) << lines.err.constData();
    EXPECT_EQ(lines.out, "p2:l2 < delta three\np2:l2 > delta four\np3:l2 > eta\n");

    const Outcome words = diff({"--words", "--format=json", old, changed});
    EXPECT_EQ(words.status, 1);
    const QJsonObject report = QJsonDocument::fromJson(words.out).object();
    EXPECT_EQ(report["method"].toString(), "words");
    EXPECT_EQ(report["file1"].toObject()["pages"].toInt(), 3);
    // The extra line of the new file shifts the lines after it: the last page's closing form
    // feed is compared with an empty line, and stays on the page it ends.
    EXPECT_EQ(report["file1"].toObject()["differences"].toArray(),
              (QJsonArray{QJsonObject{{"page", 2}, {"line", 2}, {"offset", 6}, {"text", "three"}},
                          QJsonObject{{"page", 3}, {"line", 3}, {"offset", 0}, {"text", "\f"}}}));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), before);  // nothing beside the inputs
}

TEST_F(DiffProgramTest, ExitStatusesAndOneLineForEachTrouble) {
    const QString plain = folder.filePath("plain.pdf");
    ASSERT_TRUE(TestPdfs::WriteTextPdf(plain, {"some text on a page"}));
    const QString locked = folder.filePath("locked.pdf");
    ASSERT_TRUE(TestPdfs::Encrypt(plain, locked, "password", true));
    const QString scanned = folder.filePath("scanned.pdf");
    ASSERT_TRUE(TestPdfs::WriteImageOnlyPdf(scanned));
    const QString same = file("same.txt", "one line\n");
    const QString other = file("other.txt", "another line\n");
    const QString controls = file("controls.txt", "ab\t\x01");

    struct Case {
        QStringList arguments;
        int status;
        QByteArray out;  // exactly, or the start of it for the usage text
        QByteArray err;  // contained
    };
    const Case cases[] = {
        {{same, same}, 0, "", ""},
        {{"--quiet", same, other}, 1, "", ""},
        {{plain, plain}, 0, "", ""},
        {{same, folder.filePath("missing.pdf")}, 2, "", "missing.pdf: No such file or directory"},
        {{locked, same},
         2,
         "",
         "locked.pdf: File could be password protected or text is protected."},
        {{same, scanned}, 2, "", "scanned.pdf: Text unreadable."},
        {{controls, same}, 2, "", "controls.txt: Text unreadable."},
        {{folder.path(), same}, 2, "", "Is a directory"},
        {{"--bogus", same, other}, 2, "", "unknown option '--bogus'"},
        {{same, other, same}, 2, "", "two files are needed, 3 given"},
        {{"--format", "xml", same, other}, 2, "", "unknown format 'xml'"},
        {{"--timeout", "0", same, other}, 2, "", "invalid timeout '0'"},
        {{"--timeout=soon", same, other}, 2, "", "invalid timeout 'soon'"},
        {{same, other, "--timeout"}, 2, "", "--timeout needs a value"},
        {{"--timeout=60", "--quiet", same, other}, 1, "", ""},
        {{"--help"}, 0, "Usage: corvella-diff", ""},
        {{"--version"}, 0, "corvella-diff ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Outcome run = diff(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(c.out.isEmpty() ? run.out.isEmpty() : run.out.startsWith(c.out))
            << run.out.constData();
        if (c.err.isEmpty())
            EXPECT_TRUE(run.err.isEmpty()) << run.err.constData();
        else
            EXPECT_TRUE(run.err.contains(c.err)) << run.err.constData();
        // A file's trouble is one line naming it; misuse adds the usage text.
        if (c.err.contains(": ")) {
            EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
        }
    }
}

TEST(DifferenceReportTest, PagesEndAtFormFeedsAndLinesCountOnTheirPage) {
    const QString text = "a b\r\nc\r\n\fd e\r\n\r\n\f\fg\r\n\f\r\n";
    struct Case {
        TextRange range;
        int page;
        int line;
        qsizetype offset;
    };
    const Case cases[] = {
        {{2, 1}, 1, 1, 2},   // "b"
        {{5, 1}, 1, 2, 0},   // "c"
        {{8, 2}, 2, 1, 0},   // "\fd": the form feed opens page 2
        {{11, 1}, 2, 1, 3},  // "e"
        {{16, 3}, 4, 1, 0},  // "\f\fg": page 3 has no text at all
        {{21, 1}, 4, 2, 0},  // the closing form feed stays on the page it ends
        {{14, 0}, 2, 2, 0},  // an empty line
    };
    for (const Case& c : cases) {
        const TextPlaces::Place place = TextPlaces::Locator(text).of(c.range);
        EXPECT_EQ(place.page, c.page) << c.range.start;
        EXPECT_EQ(place.line, c.line) << c.range.start;
        EXPECT_EQ(place.offset, c.offset) << c.range.start;
    }
    EXPECT_EQ(TextPlaces::PageCount(text), 4);
    EXPECT_EQ(TextPlaces::PageCount(u"no form feed\r\n"), 1);
    EXPECT_EQ(TextPlaces::PageCount(u""), 0);
}

TEST(DiffProgramLinkTest, NeedsNoWidgetOrGuiLibrary) {
    QProcess ldd;
    ldd.start("ldd", {qEnvironmentVariable("CORVELLA_DIFF")});
    ASSERT_TRUE(ldd.waitForFinished());
    const QByteArray libraries = ldd.readAllStandardOutput();
    EXPECT_TRUE(libraries.contains("libQt6Core"));
    EXPECT_FALSE(libraries.contains("libQt6Gui"));
    EXPECT_FALSE(libraries.contains("libQt6Widgets"));
}

}  // namespace

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>

#include "diff/TextPlaces.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

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
        {{"--counts", same, same}, 0, "counts: file1 0 lines, file2 0 lines\n", ""},
        {{"--counts", "--quiet", same, other}, 1, "", ""},
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

// The counts of one report as "group.unit" (file1.lines, moved.runs) and their figures.
using Counts = std::map<QString, qint64>;

// A unit as its plural: "line" and "lines" are "lines".
QString plural(QString unit) { return unit.endsWith('s') ? unit : unit + 's'; }

Counts jsonCounts(const QByteArray& json) {
    Counts counts;
    const QJsonObject groups = QJsonDocument::fromJson(json).object()["counts"].toObject();
    for (auto group = groups.begin(); group != groups.end(); ++group) {
        const QJsonObject figures = group.value().toObject();
        for (auto figure = figures.begin(); figure != figures.end(); ++figure)
            counts[group.key() + '.' + figure.key()] = figure.value().toInteger(-1);
    }
    return counts;
}

// The summary's figures, each in a span named by its key and followed by its unit.
Counts htmlCounts(const QByteArray& html) {
    static const QRegularExpression count(
        QStringLiteral("data-key=\"([a-z0-9]+)\\.([a-z]+)\">(\\d+)</span> ([a-z]+)"));
    Counts counts;
    for (auto it = count.globalMatch(QString::fromUtf8(html)); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        EXPECT_EQ(plural(match.captured(4)), match.captured(2)) << "the unit stands beside it";
        counts[match.captured(1) + '.' + match.captured(2)] = match.captured(3).toLongLong();
    }
    return counts;
}

// "counts: file1 5 runs of 12 words, file2 4 runs of 9 words, 1 run moved, 6 words reordered,
// typography: 2 words, case ignored: 1 word", the text format's last line with --counts.
Counts textCounts(const QByteArray& text) {
    const QList<QByteArray> lines = text.trimmed().split('\n');
    EXPECT_TRUE(lines.last().startsWith("counts: ")) << lines.last().constData();
    static const QRegularExpression part(
        QStringLiteral("^(?:(file[12]) (\\d+) ([a-z]+)(?: of (\\d+) ([a-z]+))?|(\\d+) ([a-z]+) "
                       "(moved|reordered)|(typography|[a-z]+ ignored): (\\d+) ([a-z]+))$"));
    Counts counts;
    for (const QString& item : QString::fromUtf8(lines.last().mid(8)).split(", ")) {
        const QRegularExpressionMatch match = part.match(item);
        EXPECT_TRUE(match.hasMatch()) << item.toStdString();
        if (!match.captured(9).isEmpty()) {
            // "case ignored" is counted as ignoredCase.
            QString group = match.captured(9);
            if (group.endsWith(" ignored"))
                group = "ignored" + group.left(1).toUpper() + group.mid(1).chopped(8);
            counts[group + '.' + plural(match.captured(11))] = match.captured(10).toLongLong();
        } else if (!match.captured(1).isEmpty()) {
            counts[match.captured(1) + '.' + plural(match.captured(3))] =
                match.captured(2).toLongLong();
            if (!match.captured(4).isEmpty())
                counts[match.captured(1) + '.' + plural(match.captured(5))] =
                    match.captured(4).toLongLong();
        } else {
            counts[match.captured(8) + '.' + plural(match.captured(7))] =
                match.captured(6).toLongLong();
        }
    }
    return counts;
}

qint64 wordsOf(const QJsonArray& entries) {
    qint64 words = 0;
    for (const QJsonValue& entry : entries)
        words += entry.toObject()["text"].toString().split(' ', Qt::SkipEmptyParts).size();
    return words;
}

TEST_F(DiffProgramTest, CountsSayWhatTheyCountAndAgreeInEveryFormat) {
    // A replaced word, an inserted line and a sentence moved from the start to the end.
    const QString one =
        file("one.txt",
             "the quick brown fox jumps over\nlorem ipsum dolor sit amet consectetur\n"
             "adipiscing elit sed do eiusmod tempor\nincididunt ut labore et dolore\n");
    const QString two =
        file("two.txt",
             "lorem ipsum dolor sit amet consectetur\nadipiscing elit sed do eiusmod "
             "tempus\nincididunt ut labore et dolore\nextra words here\nthe quick "
             "brown fox jumps over\n");
    const struct {
        const char* method;
        QStringList options;
        QStringList keys;  // what the method counts, in which unit
    } methods[] = {
        {"lines", {}, {"file1.lines", "file2.lines"}},
        {"words", {"--words"}, {"file1.words", "file2.words"}},
        {"ignore-layout",
         {"--ignore-layout"},
         {"file1.runs", "file1.words", "file2.runs", "file2.words", "moved.runs", "reordered.words",
          "typography.words"}},
    };
    for (const auto& m : methods) {
        SCOPED_TRACE(m.method);
        const Outcome json = diff(m.options + QStringList{"--format", "json", one, two});
        const Outcome html = diff(m.options + QStringList{"--format", "html", one, two});
        const Outcome text = diff(m.options + QStringList{"--counts", one, two});
        for (const Outcome* run : {&json, &html, &text}) EXPECT_EQ(run->status, 1);
        const Counts counts = jsonCounts(json.out);
        QStringList keys;
        for (const auto& [key, value] : counts) keys << key;
        EXPECT_EQ(keys, m.keys);
        EXPECT_EQ(htmlCounts(html.out), counts);
        EXPECT_EQ(textCounts(text.out), counts);

        // The figures are those of the listed entries, in their unit.
        const QJsonObject report = QJsonDocument::fromJson(json.out).object();
        const QString unit = m.keys.first().section('.', 1);
        const int entries = int(text.out.count('\n')) - 1;  // without the counts' line
        qint64 listed = 0;
        for (const char* f : {"file1", "file2"}) {
            const QJsonArray differences = report[f].toObject()["differences"].toArray();
            listed += differences.size();
            EXPECT_EQ(counts.at(QString(f) + '.' + unit), differences.size()) << f;
            if (m.keys.contains(QString(f) + ".runs")) {
                EXPECT_EQ(counts.at(QString(f) + ".words"), wordsOf(differences)) << f;
            }
        }
        EXPECT_EQ(entries, listed);
        if (m.keys.contains("moved.runs")) {
            EXPECT_EQ(counts.at("moved.runs"), report["moved"].toArray().size());
            EXPECT_EQ(counts.at("moved.runs"), 1);
            EXPECT_EQ(counts.at("reordered.words"), wordsOf(report["reordered"].toArray()));
        }
    }
    // Without --counts the text format lists the differences only.
    EXPECT_FALSE(diff({one, two}).out.contains("counts:"));
}

TEST_F(DiffProgramTest, LayoutFreeEntriesNameTheirPlaceInTheOtherFile) {
    // The second edition opens with a new page: the same text stands a page later.
    const QString old = folder.filePath("old.pdf");
    const QString changed = folder.filePath("new.pdf");
    ASSERT_TRUE(TestPdfs::WriteTextPdf(
        old, {"apple banana cherry\ndate elder fig", "grape honey iris\njuniper kiwi lemon"}));
    ASSERT_TRUE(TestPdfs::WriteTextPdf(
        changed, {"mango nectar olive plum", "apple banana cherry\ndate elder fig",
                  "grape honey iris\njuniper quince lemon"}));
    // The replaced word and its replacement name their changed characters: the whole word.
    const struct {
        const char* file;
        int page, line;
        const char* text;
        int otherPage, otherLine;
        QJsonValue changes;
    } expected[] = {
        {"file1", 2, 2, "kiwi", 3, 2, QJsonArray{QJsonArray{0, 4}}},
        // where it would stand: the start
        {"file2", 1, 1, "mango nectar olive plum", 1, 1, QJsonValue::Undefined},
        {"file2", 3, 2, "quince", 2, 2, QJsonArray{QJsonArray{0, 6}}},
    };
    const Outcome json = diff({"--ignore-layout", "--format", "json", old, changed});
    const Outcome text = diff({"--ignore-layout", old, changed});
    const QJsonObject report = QJsonDocument::fromJson(json.out).object();
    QJsonArray entries = report["file1"].toObject()["differences"].toArray();
    for (const QJsonValue& entry : report["file2"].toObject()["differences"].toArray())
        entries.append(entry);
    ASSERT_EQ(entries.size(), qsizetype(std::size(expected))) << json.out.constData();
    QByteArray lines;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const auto& e = expected[i];
        QJsonObject entry = entries[i].toObject();
        EXPECT_EQ(entry.take("changes"), e.changes);
        EXPECT_EQ(
            entry,
            (QJsonObject{{"page", e.page},
                         {"line", e.line},
                         {"text", e.text},
                         {"other", QJsonObject{{"page", e.otherPage}, {"line", e.otherLine}}}}));
        lines += QStringLiteral("p%1:l%2 %3 %4  (p%5:l%6)\n")
                     .arg(e.page)
                     .arg(e.line)
                     .arg(QString(e.file) == "file1" ? '<' : '>')
                     .arg(e.text)
                     .arg(e.otherPage)
                     .arg(e.otherLine)
                     .toUtf8();
    }
    EXPECT_EQ(text.out, lines);
}

TEST_F(DiffProgramTest, LayoutOptionsAndChosenPages) {
    const QString old = folder.filePath("old.pdf");
    const QString changed = folder.filePath("new.pdf");
    ASSERT_TRUE(TestPdfs::WriteTextPdf(old, {"alpha beta", "gamma delta", "epsilon zeta"}));
    ASSERT_TRUE(TestPdfs::WriteTextPdf(changed, {"intro", "gamma delta changed", "epsilon zeta"}));
    const QString upper = file("upper.txt", "The Cat sat, on page 12 (of 40).\n");
    const QString lower = file("lower.txt", "the cat sat on page 13 of 41\n");
    const QString curly = file("curly.txt", "\u201cA \ufb01ne no-charge offer\u201d \u2013 now\n");
    const QString plain = file("plain.txt", "\"A fine nocharge offer\" -- now\n");
    const QString typo = file("typo.txt", "we recieve it\n");
    const QString fixed = file("fixed.txt", "we receive it\n");
    const QString paged1 = file("paged1.txt", "one\n\ftwo three\n\ffour\n");
    const QString paged2 = file("paged2.txt", "two four\n\fone\n");
    struct Case {
        QStringList arguments;
        int status;
        QByteArray out;  // contained
        QByteArray err;  // contained
    };
    const Case cases[] = {
        {{"--ignore-layout", upper, lower}, 1, "p1:l1 < The Cat sat,", ""},
        {{"--ignore-layout", "--ignore-case", "--ignore-punctuation", "--ignore-numbers",
          "--counts", upper, lower},
         0,
         "typography: 0 words, case ignored: 2 words, punctuation ignored: 2 words, numbers "
         "ignored: 2 words",
         ""},
        {{"--ignore-layout", "--ignore-case", "--format", "json", upper, lower},
         1,
         "\"options\": [\"ignore-case\"]",
         ""},
        {{"--ignore-layout", "--counts", curly, plain}, 0, "typography: 5 words", ""},
        // The web page marks the changed characters within the changed word.
        {{"--ignore-layout", "--format", "html", typo, fixed},
         1,
         "<mark>rec<span class=\"ch\">ie</span>ve</mark>",
         ""},
        {{"--ignore-layout", "--exact-typography", curly, plain}, 1, "p1:l1 < ", ""},
        {{"--words", "--ignore-case", upper, lower}, 2, "", "--ignore-case works only with"},
        {{"--ignore-numbers", upper, lower}, 2, "", "--ignore-numbers works only with"},
        // Places keep the document's page numbers.
        {{"--pages1", "2-3", "--pages2", "2-", old, changed},
         1,
         "p2:l1 < gamma delta\np2:l1 > gamma delta changed\n",
         ""},
        {{"--ignore-layout", "--format=json", "--pages2=2,3", old, changed},
         1,
         "\"pageRanges\": \"2,3\"",
         ""},
        {{"--pages1", "2", "--pages2", "1", paged1, paged2}, 1, "p2:l1 < two three", ""},
        {{"--pages1", "2-5", old, changed},
         2,
         "",
         "old.pdf: --pages1 '2-5': page 5 is past the last page; the file has 3 pages"},
        {{"--pages2", "", old, changed}, 2, "", "--pages2 '': no pages given; the file has 3"},
        {{"--pages2", "3-1", old, changed}, 2, "", "'3-1' runs backwards; the file has 3"},
        {{"--pages1=x", old, changed}, 2, "", "--pages1 'x': 'x' is not a page range"},
        {{"--pages1", "4", paged1, paged2}, 2, "", "paged1.txt: --pages1 '4': page 4 is past"},
        {{old, changed, "--pages1"}, 2, "", "--pages1 needs a value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Outcome run = diff(c.arguments);
        EXPECT_EQ(run.status, c.status) << run.err.constData();
        EXPECT_TRUE(run.out.contains(c.out)) << run.out.constData();
        EXPECT_TRUE(run.err.contains(c.err)) << run.err.constData();
        // A trouble with the chosen pages is one line, and nothing is compared.
        if (run.err.contains("; the file has")) {
            EXPECT_EQ(run.err.count('\n'), 1);
            EXPECT_TRUE(run.out.isEmpty());
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

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// corvella-diff --batch, the real program over a small tree of real PDFs: every pair found and
// named with what became of it in all three forms of the index, awkward names and broken PDFs
// included; a second run takes over what the first finished; an interruption leaves nothing
// half-done; the exit status says whether every pair was compared.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <QXmlStreamReader>
#include <map>

#include "batch/PairListing.h"
#include "batch/Shard.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/StandIns.h"
#include "tests/support/TestPdfs.h"

using namespace corvella;
using namespace corvella::testing;

namespace {

TEST(BatchListingTest, ReadsTabSeparatedPairsAndNamesTheFirstMalformedEntry) {
    const struct {
        QByteArray listing;
        QByteArrayList expected;  // first, second and key of each pair, or the problem
    } cases[] = {
        {"a.pdf\tb.pdf\n\r\nold/c d.pdf\tnew/c d.pdf\r\n",
         {"a.pdf", "b.pdf", "b.pdf", "old/c d.pdf", "new/c d.pdf", "new/c d.pdf"}},
        {"/x/1.pdf\t/y/../z/./2.pdf", {"/x/1.pdf", "/y/../z/./2.pdf", "y/z/2.pdf"}},
        {QByteArray("-a\n.pdf\t-b\n.pdf\0\0c\td\0", 20),
         {"-a\n.pdf", "-b\n.pdf", "-b\n.pdf", "c", "d", "d"}},
        {"a.pdf\tb.pdf\nno tab\n", {"line 2: two file paths parted by one tab are needed"}},
        {"a\tb\tc\n", {"line 1: two file paths parted by one tab are needed"}},
        {"\tb\n", {"line 1: two file paths parted by one tab are needed"}},
        {"a\t..\n", {"line 1: two file paths parted by one tab are needed"}},
        {QByteArray("a\tb\0x", 5), {"entry 2: two file paths parted by one tab are needed"}},
    };
    for (const auto& c : cases) {
        const Batch::PairListing::Parsed parsed = Batch::PairListing::Parse(c.listing);
        QByteArrayList got;
        for (const Batch::Pair& pair : parsed.pairs)
            got << pair.paths[Side::One] << pair.paths[Side::Two] << pair.key;
        if (!parsed.problem.isEmpty()) got << parsed.problem.toUtf8();
        EXPECT_EQ(got, c.expected) << c.listing.toStdString();
    }
}

TEST(BatchListingTest, EveryKeyFallsInOneShareWhateverTheOrder) {
    QByteArrayList keys;
    for (int i = 0; i < 300; ++i)
        keys << "folder " + QByteArray::number(i % 7) + "/" + QByteArray::number(i) + ".pdf";
    for (int count : {1, 2, 3, 8}) {
        std::map<QByteArray, int> shareOf;
        for (int index = 1; index <= count; ++index)
            for (const QByteArray& key : keys)
                if (Batch::Shard{index, count}.holds(key)) {
                    EXPECT_TRUE(shareOf.emplace(key, index).second);
                }
        EXPECT_EQ(shareOf.size(), size_t(keys.size())) << count;
        // Shares fill evenly enough for hosts to finish together.
        for (int index = 1; index <= count; ++index)
            EXPECT_GT(std::count_if(shareOf.begin(), shareOf.end(),
                                    [index](const auto& entry) { return entry.second == index; }),
                      keys.size() / count / 2);
    }
    QString problem;
    for (const char* wrong : {"0/3", "4/3", "1", "a/b", "1/0"}) {
        problem.clear();
        Batch::Shard::Parse(wrong, &problem);
        EXPECT_FALSE(problem.isEmpty()) << wrong;
    }
}

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

bool waitFor(const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < 120000) QThread::msleep(20);
    return condition();
}

// A tree of PDFs in old/ and new/, and a stand-in extractor first on the PATH: it never ends on
// a file named "endless.pdf", and runs the real pdftotext otherwise, after removing the pair
// "gone.pdf" (which is never the largest, so never compared first).
class BatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath("bin");
        ASSERT_TRUE(WriteScript(
            path("bin/pdftotext"),
            QStringLiteral("case \"$*\" in */endless.pdf*) echo $$ >> '%1'; exec sleep 600;;\n"
                           "*/gone.pdf*) ;; *) rm -f '%2/old/gone.pdf' '%2/new/gone.pdf';; esac\n"
                           "exec '%3' \"$@\"\n")
                .arg(path("pids"), dir.path(), QStandardPaths::findExecutable("pdftotext"))));
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    void pdf(const QString& name, const QStringList& pages) {
        QDir(dir.path()).mkpath(QFileInfo(path(name)).path());
        ASSERT_TRUE(TestPdfs::WriteTextPdf(path(name), pages)) << name.toStdString();
    }

    // The same PDF on both sides, or a changed one on the second.
    void pair(const QString& name, bool differs = false) {
        pdf("old/" + name, {"Chapter " + name, "Its second page"});
        pdf("new/" + name, {"Chapter " + name, differs ? "A new second page" : "Its second page"});
    }

    void start(QProcess& process, const QStringList& arguments, bool standIn = true,
               const QString& program = qEnvironmentVariable("CORVELLA_DIFF")) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (standIn) environment.insert("PATH", path("bin") + ':' + environment.value("PATH"));
        environment.insert("TEMP", dir.path());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        process.start(program, arguments);
    }

    Outcome run(const QStringList& arguments, bool standIn = true,
                const QString& program = qEnvironmentVariable("CORVELLA_DIFF")) {
        QProcess process;
        start(process, arguments, standIn, program);
        process.waitForFinished(300000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    // index.json's entries by their path.
    std::map<QString, QJsonObject> index(const QString& out = "out") {
        QFile file(path(out + "/index.json"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        std::map<QString, QJsonObject> entries;
        for (const QJsonValue& entry : QJsonDocument::fromJson(file.readAll())["pairs"].toArray())
            entries[entry["path"].toString()] = entry.toObject();
        return entries;
    }

    // Files the batch or its comparisons might have left: partial reports, temp files.
    QStringList leftovers() const {
        QStringList left = QDir(dir.filePath("corvella-" + QString::number(geteuid())))
                               .entryList(QDir::Files | QDir::System | QDir::Hidden);
        QDirIterator files(dir.filePath("out"), {"*.part"}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) left << files.next();
        return left;
    }

    QTemporaryDir dir;
};

// junit.xml's test cases: name and what it holds ("", "failure" or "error").
std::map<QString, QString> junitCases(const QString& file) {
    QFile in(file);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&in);
    std::map<QString, QString> cases;
    QString current;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"testcase") cases[current = xml.attributes().value("name").toString()];
        if (xml.name() == u"failure" || xml.name() == u"error")
            cases[current] = xml.name().toString();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return cases;
}

TEST_F(BatchTest, EveryPdfOfBothFoldersIsNamedWithWhatBecameOfIt) {
    const QString hostile = "quote \"double\" 'single' <b>&.pdf";
    for (const char* name : {"same.pdf", "sub/deep/nested.pdf", "line\nbreak.pdf",
                             "-leading-dash.pdf", "gone.pdf", "endless.pdf"})
        pair(name);
    for (const QString& name : QStringList{"differs.pdf", hostile, "upper.PDF"}) pair(name, true);
    pdf("old/removed.pdf", {"Old only"});
    pdf("new/added.pdf", {"New only"});
    pair("raw.pdf", true);
    for (const char* side : {"old", "new"}) {
        const QByteArray folder = QFile::encodeName(path(side)) + '/';
        ASSERT_EQ(::rename(folder + "raw.pdf", folder + "not-utf8-\xff.pdf"), 0);
        ASSERT_TRUE(TestPdfs::Encrypt(path("old/same.pdf"), path(side + QString("/protected.pdf")),
                                      "123", true));
        ASSERT_TRUE(TestPdfs::WriteImageOnlyPdf(path(side + QString("/scanned.pdf"))));
        QFile(path(side + QString("/empty.pdf"))).open(QIODevice::WriteOnly);
        ASSERT_EQ(::mkfifo(QFile::encodeName(path(side + QString("/fifo.pdf"))), 0600), 0);
        ASSERT_TRUE(QFile::link("..", path(side + QString("/sub/loop"))));
    }
    pdf("elsewhere/linked.pdf", {"Linked"});
    QFile::copy(path("elsewhere/linked.pdf"), path("old/linked.pdf"));
    ASSERT_TRUE(QFile::link("../elsewhere/linked.pdf", path("new/linked.pdf")));

    const struct {
        QString key;
        const char* status;
        const char* problem;  // for trouble, a part of the reason
    } expected[] = {
        {"same.pdf", "same", ""},
        {"sub/deep/nested.pdf", "same", ""},
        {"line\nbreak.pdf", "same", ""},
        {"-leading-dash.pdf", "same", ""},
        {"linked.pdf", "same", ""},
        {"differs.pdf", "differs", ""},
        {hostile, "differs", ""},
        {"upper.PDF", "differs", ""},
        {QString::fromUtf8("not-utf8-\xff.pdf"), "differs", ""},
        {"removed.pdf", "removed", ""},
        {"added.pdf", "added", ""},
        {"protected.pdf", "trouble", "protected"},
        {"scanned.pdf", "trouble", "Text unreadable"},
        {"empty.pdf", "trouble", "protected"},
        {"fifo.pdf", "trouble", "Not a regular file"},
        {"gone.pdf", "trouble", "No such file"},
        {"endless.pdf", "trouble", "longer than 5 s"},
        {"sub/loop", "trouble", "loop"},
    };
    const Outcome batch =
        run({"--batch", "old", "new", "--out", "out", "-j", "1", "--words", "--timeout", "5"});
    EXPECT_EQ(batch.status, 2) << batch.err.toStdString();
    const std::map<QString, QJsonObject> entries = index();
    std::map<QString, QString> cases = junitCases(path("out/junit.xml"));
    QFile html(path("out/index.html"));
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(html.readAll());
    EXPECT_EQ(entries.size(), std::size(expected));
    EXPECT_EQ(cases.size(), std::size(expected));
    const QString troubleLines = QString::fromUtf8(batch.err);
    for (const auto& e : expected) {
        SCOPED_TRACE(e.key.toStdString());
        const QJsonObject entry = entries.count(e.key) ? entries.at(e.key) : QJsonObject();
        EXPECT_EQ(entry["status"].toString(), e.status);
        EXPECT_TRUE(entry["problem"].toString().contains(e.problem));
        EXPECT_EQ(cases[e.key], e.status == QString("same")      ? ""
                                : e.status == QString("trouble") ? "error"
                                                                 : "failure");
        EXPECT_EQ(troubleLines.contains("corvella-diff: " + e.key + ": "),
                  e.status == QString("trouble"));
        if (entry["status"] != "same" && entry["status"] != "differs") continue;
        QFile report(path("out/" + QUrl::fromPercentEncoding(entry["json"].toString().toUtf8())));
        ASSERT_TRUE(report.open(QIODevice::ReadOnly));
        EXPECT_EQ(QJsonDocument::fromJson(report.readAll())["method"], "words");
        EXPECT_TRUE(QFile::exists(
            path("out/" + QUrl::fromPercentEncoding(entry["html"].toString().toUtf8()))));
        EXPECT_TRUE(page.contains("href=\"" + entry["html"].toString() + "\""));
    }
    EXPECT_TRUE(page.contains("quote &quot;double&quot; &#39;single&#39; &lt;b&gt;&amp;.pdf"));
    EXPECT_FALSE(page.contains("<b>"));
    EXPECT_EQ(leftovers(), QStringList());
    // Qt cannot remove what it cannot name.
    for (const char* side : {"old", "new"})
        ::unlink(QFile::encodeName(path(side)) + "/not-utf8-\xff.pdf");
}

TEST_F(BatchTest, AFinishedPairIsTakenOverUntilItsFilesOrOptionsChange) {
    pair("a.pdf");
    pair("b.pdf", true);
    pair("c/d.pdf");
    const QStringList all = {"a.pdf", "b.pdf", "c/d.pdf"};
    const struct {
        const char* what;
        std::function<void()> change;
        QStringList options;
        QStringList compared;  // compared anew; the others taken over
    } steps[] = {
        {"first run", [] {}, {}, all},
        {"nothing changed", [] {}, {}, {}},
        {"a PDF changed",
         [&] {
             QFile file(path("new/b.pdf"));
             file.open(QIODevice::ReadWrite);
             file.setFileTime(QDateTime::currentDateTime().addSecs(5),
                              QFileDevice::FileModificationTime);
         },
         {},
         {"b.pdf"}},
        {"a report gone",
         [&] { QFile::remove(path("out/reports/c/d.pdf.html")); },
         {},
         {"c/d.pdf"}},
        {"other options", [] {}, {"--ignore-layout"}, all},
        {"a share alone", [] {}, {"--ignore-layout", "--shard", "1/1"}, {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        const QStringList arguments =
            QStringList{"--batch", "old", "new", "--out", "out"} + step.options;
        // The first run on a terminal, which alone shows the progress.
        const bool terminal = &step == steps;
        const Outcome batch =
            terminal
                ? run({"-qec", qEnvironmentVariable("CORVELLA_DIFF") + ' ' + arguments.join(' '),
                       "/dev/null"},
                      true, "script")
                : run(arguments);
        EXPECT_EQ(batch.status, 0) << batch.err.toStdString();
        if (terminal)
            EXPECT_TRUE(batch.out.contains("\r\x1b[K3/3 pairs")) << batch.out.toStdString();
        else
            EXPECT_EQ(batch.err, "");
        QStringList compared;
        for (const auto& [key, entry] : index())
            if (!entry["resumed"].toBool()) compared << key;
        EXPECT_EQ(compared, step.compared);
    }
}

TEST_F(BatchTest, TheExitStatusSaysWhetherEveryPairWasCompared) {
    pair("same.pdf");
    pair("differs.pdf", true);
    pdf("new/added.pdf", {"Added"});
    ASSERT_TRUE(TestPdfs::WriteImageOnlyPdf(path("scanned.pdf")));
    QFile(path("not-a-folder")).open(QIODevice::WriteOnly);
    const QByteArray same = "old/same.pdf\tnew/same.pdf\n";
    const QByteArray differs = "old/differs.pdf\tnew/differs.pdf\n";
    const struct {
        QByteArray list;  // --batch-list when not empty, else --batch old new
        QStringList options;
        int status;
        const char* message;  // a part of standard error
    } cases[] = {
        {same, {}, 0, ""},
        {same + differs, {}, 0, ""},
        {same + differs, {"--fail-on-differences"}, 1, ""},
        {same, {"--fail-on-differences"}, 0, ""},
        {{}, {"--fail-on-differences"}, 1, ""},
        {same + "scanned.pdf\tscanned.pdf\n", {"--fail-on-differences"}, 2, "scanned.pdf: "},
        {same + "only one path\n", {}, 2, "list: line 2: two file paths"},
        {{}, {"--batch", "old", "old"}, 2, "are the same folder"},
        {{}, {"--out", "old/out"}, 2, "the output folder lies in old"},
        {{}, {"--out", "not-a-folder"}, 2, "not-a-folder: Not a directory"},
        {{}, {"--batch", "old", "missing"}, 2, "missing: No such file"},
        {{}, {"--format", "json"}, 2, "do not go with a batch"},
        {{}, {"--annotate", "copies"}, 2, "go with one pair only"},
        {{}, {"--shard", "4/3"}, 2, "invalid share '4/3'"},
        {{}, {"-j", "0"}, 2, "invalid number of jobs"},
        {{}, {"--merge", "old"}, 2, "give one of --batch"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.list + c.options.join(' ')).toStdString());
        QStringList arguments = {"--out", "out"};
        if (c.list.isEmpty()) {
            arguments << "--batch"
                      << "old"
                      << "new";
        } else {
            QFile list(path("list"));
            ASSERT_TRUE(list.open(QIODevice::WriteOnly) && list.write(c.list) == c.list.size());
            arguments << "--batch-list"
                      << "list";
        }
        // The later of two same options counts: the case's own.
        const Outcome batch = run(arguments + c.options);
        EXPECT_EQ(batch.status, c.status);
        EXPECT_TRUE(batch.err.contains(c.message)) << batch.err.toStdString();
    }
}

TEST_F(BatchTest, AnInterruptionEndsEveryExtractorAndTheNextRunGoesOn) {
    pair("a.pdf");
    pair("b.pdf", true);
    pair("endless.pdf");
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        QDir(path("out")).removeRecursively();
        QFile::remove(path("pids"));
        QProcess batch;
        start(batch, {"--batch", "old", "new", "--out", "out", "-j", "3"});
        ASSERT_TRUE(waitFor([&] {
            return QFile::exists(path("out/pairs/a.pdf.json")) &&
                   QFile::exists(path("out/pairs/b.pdf.json")) &&
                   !NotedPids(path("pids")).isEmpty();
        }));
        ::kill(pid_t(batch.processId()), signal);
        ASSERT_TRUE(batch.waitForFinished(60000));
        EXPECT_EQ(batch.exitCode(), 128 + signal);
        for (qint64 pid : NotedPids(path("pids")))
            EXPECT_TRUE(waitFor([pid] { return !IsRunning(pid); }));
        EXPECT_EQ(leftovers(), QStringList());
        EXPECT_FALSE(QFile::exists(path("out/index.json")));

        const Outcome again = run({"--batch", "old", "new", "--out", "out"}, false);
        EXPECT_EQ(again.status, 0) << again.err.toStdString();
        const std::map<QString, QJsonObject> entries = index();
        ASSERT_EQ(entries.size(), 3u);
        EXPECT_TRUE(entries.at("a.pdf")["resumed"].toBool());
        EXPECT_TRUE(entries.at("b.pdf")["resumed"].toBool());
        EXPECT_EQ(entries.at("endless.pdf")["status"], "same");
    }
}

// A folder that fills up or cannot be written, as a real file system: a small tmpfs in a mount
// namespace of its own.
TEST_F(BatchTest, AFullOrReadOnlyOutputFolderStopsTheBatchWithNothingHalfWritten) {
    if (QProcess::execute("unshare", {"-rm", "true"}) != 0)
        GTEST_SKIP() << "No mount namespaces here (unshare -rm): the full folder is not tested";
    for (int i = 0; i < 6; ++i) pair(QString("p%1.pdf").arg(i), true);
    for (const char* mount : {"size=40k", "ro"}) {
        SCOPED_TRACE(mount);
        QDir(path("out")).removeRecursively();
        QDir(dir.path()).mkpath("out");
        // The batch, then what it left in the folder (which goes with the namespace).
        const Outcome batch = run(
            {"-rm", "sh", "-c",
             QString("mount -t tmpfs -o %1 tmpfs out && { \"$@\"; s=$?; cd out && find . -type f "
                     "> ../left; exit $s; }")
                 .arg(mount),
             "sh", qEnvironmentVariable("CORVELLA_DIFF"), "--batch", "old", "new", "--out", "out"},
            true, "unshare");
        EXPECT_EQ(batch.status, 2);
        EXPECT_TRUE(batch.err.contains(mount[0] == 'r' ? "Read-only file system"
                                                       : "No space left on device"))
            << batch.err.toStdString();
        // Each pair taken as done has both its reports, and no report is left half-written.
        QFile listing(path("left"));
        ASSERT_TRUE(listing.open(QIODevice::ReadOnly));
        const QStringList left = QString::fromUtf8(listing.readAll()).split('\n');
        for (const QString& file : left) {
            EXPECT_FALSE(file.endsWith(".part")) << file.toStdString();
            if (!file.startsWith("./pairs/")) continue;
            QString report = file;
            report.replace("./pairs/", "./reports/");
            EXPECT_TRUE(left.contains(report)) << file.toStdString();
            EXPECT_TRUE(left.contains(report.replace(".json", ".html"))) << file.toStdString();
        }
    }
}

}  // namespace

// Three shares run by GNU parallel, then merged, give the index of one run over every pair.
TEST_F(BatchTest, SharesRunByGnuParallelMergeIntoTheIndexOfOneRun) {
    if (QStandardPaths::findExecutable("parallel").isEmpty())
        GTEST_SKIP() << "No GNU parallel: install Debian's parallel to test the shares under it";
    for (int i = 0; i < 9; ++i)
        pair(QString("part %1/chapter %2.pdf").arg(i % 2).arg(i), i % 3 == 0);
    pdf("old/removed.pdf", {"Old only"});
    pdf("new/added.pdf", {"New only"});
    const Outcome shares =
        run({"--will-cite", "-j", "3", qEnvironmentVariable("CORVELLA_DIFF"), "--batch", "old",
             "new", "--out", "shares", "--shard", "{}/3", ":::", "1", "2", "3"},
            true, QStandardPaths::findExecutable("parallel"));
    EXPECT_EQ(shares.status, 0) << shares.err.toStdString();
    // Each pair in one share: their counts add up to all.
    int counted = 0;
    for (const QByteArray& line : shares.out.split('\n'))
        if (line.startsWith("share ")) counted += line.split(' ')[2].toInt();
    EXPECT_EQ(counted, 11) << shares.out.toStdString();
    EXPECT_EQ(run({"--merge", "shares"}).status, 0);
    EXPECT_EQ(run({"--batch", "old", "new", "--out", "whole"}).status, 0);

    std::map<QString, QJsonObject> merged = index("shares");
    std::map<QString, QJsonObject> whole = index("whole");
    for (auto* entries : {&merged, &whole})
        for (auto& [key, entry] : *entries) entry.remove("seconds");
    EXPECT_EQ(merged, whole);
    EXPECT_EQ(whole.size(), 11u);
}

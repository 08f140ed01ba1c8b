// LibreOffice as the word processor: the running check, the comparison helper driving the real
// office, the program's side of running the helper, and "Find Differences (Words)" with the
// word-processor method in the real window.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>
#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <tuple>

#include "app/AppTitle.h"
#include "app/ErrorReport.h"
#include "app/Form1.h"
#include "app/TempFolder.h"
#include "compare/LibreOfficeWord1.h"
#include "compare/office/OfficeProcesses.h"
#include "tests/support/CountingPump.h"
#include "tests/support/TestServices.h"

using namespace corvella;
using corvella::testing::CountingPump;
using corvella::testing::TestServices;

namespace {

// ---- Files and processes ----------------------------------------------------------------------

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

QString writeScript(const QTemporaryDir& dir, const QString& name, const QByteArray& body) {
    const QString path = dir.filePath(name);
    writeFile(path, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

bool processGone(pid_t pid) {
    if (kill(pid, 0) != 0) return errno == ESRCH;
    // A zombie has ended; only its parent has not collected it yet.
    return readFile(QStringLiteral("/proc/%1/stat").arg(pid)).contains(") Z ");
}

// Ends this user's processes whose command line mentions `marker` (a folder or pipe name unique
// to this test run), by their ids, and waits until they are gone.
void stopProcessesMentioning(const QString& marker) {
    const QByteArray needle = marker.toUtf8();
    std::vector<pid_t> stopped;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool numeric = false;
        const pid_t pid = pid_t(entry.toInt(&numeric));
        if (!numeric || pid == getpid()) continue;
        struct stat info {};
        if (stat(QFile::encodeName("/proc/" + entry).constData(), &info) != 0 ||
            info.st_uid != getuid())
            continue;
        if (!readFile("/proc/" + entry + "/cmdline").contains(needle)) continue;
        if (kill(pid, SIGKILL) == 0) stopped.push_back(pid);
    }
    QElapsedTimer clock;
    clock.start();
    for (pid_t pid : stopped)
        while (!processGone(pid) && clock.elapsed() < 10000) QThread::msleep(50);
}

// ---- The comparison document ------------------------------------------------------------------

// What a saved comparison document holds: its text with every tracked change, paragraphs ending
// in "\n".
struct ComparisonDocument {
    enum Kind { Same, Inserted, Deleted };
    struct Change {
        Kind kind;
        QString text;
        bool operator<(const Change& o) const {
            return std::tie(kind, text) < std::tie(o.kind, o.text);
        }
        bool operator==(const Change& o) const { return kind == o.kind && text == o.text; }
    };

    QString accepted;  // the text with every change accepted
    QString rejected;  // the text with every change rejected
    std::vector<Change> changes;
    int formatChanges = 0;

    // The changes with their line breaks left out, in a fixed order: how the office lays a
    // change over line ends is its own affair.
    std::multiset<Change> changeSet() const {
        std::multiset<Change> set;
        for (Change c : changes) {
            c.text.remove(u'\n');
            if (!c.text.isEmpty()) set.insert(c);
        }
        return set;
    }
};

// Reads a flat OpenDocument text (.fodt) with tracked changes.
ComparisonDocument ReadComparison(const QString& path) {
    ComparisonDocument result;
    QXmlStreamReader xml(readFile(path));
    QMap<QString, ComparisonDocument::Kind> kinds;
    QMap<QString, QString> deletedContent;  // changes stored apart from the body text
    QMap<QString, qsizetype> changeIndex;
    QString region;
    bool inTrackedChanges = false;
    bool inDeletion = false;
    int bodyDepth = 0;
    int paragraphDepth = 0;     // outside paragraphs, character data is only layout
    std::vector<QString> open;  // change ids in force in the body

    auto add = [&](const QString& text) {
        ComparisonDocument::Kind kind = ComparisonDocument::Same;
        QString id;
        if (!open.empty()) {
            id = open.back();
            kind = kinds.value(id, ComparisonDocument::Same);
        }
        if (kind != ComparisonDocument::Deleted) result.accepted += text;
        if (kind != ComparisonDocument::Inserted) result.rejected += text;
        if (kind == ComparisonDocument::Same) return;
        if (!changeIndex.contains(id)) {
            changeIndex.insert(id, qsizetype(result.changes.size()));
            result.changes.push_back({kind, QString()});
        }
        result.changes[size_t(changeIndex.value(id))].text += text;
    };

    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView name = xml.name();
        if (xml.isStartElement()) {
            if (name == u"tracked-changes") inTrackedChanges = true;
            if (inTrackedChanges) {
                if (name == u"changed-region")
                    region = xml.attributes().value(QStringLiteral("text:id")).toString();
                else if (name == u"insertion")
                    kinds.insert(region, ComparisonDocument::Inserted);
                else if (name == u"deletion") {
                    kinds.insert(region, ComparisonDocument::Deleted);
                    inDeletion = true;
                } else if (name == u"format-change") {
                    ++result.formatChanges;
                } else if (inDeletion && name == u"p") {
                    deletedContent[region] +=
                        xml.readElementText(QXmlStreamReader::IncludeChildElements) + u'\n';
                }
                continue;
            }
            if (name == u"text" && xml.prefix() == u"office") bodyDepth = 1;
            if (bodyDepth == 0) continue;
            if (name == u"p" || name == u"h") ++paragraphDepth;
            const QString id = xml.attributes().value(QStringLiteral("text:change-id")).toString();
            if (name == u"change-start") {
                open.push_back(id);
            } else if (name == u"change-end") {
                open.erase(std::remove(open.begin(), open.end(), id), open.end());
            } else if (name == u"change") {
                open.push_back(id);
                add(deletedContent.value(id));
                open.pop_back();
            } else if (name == u"s") {
                const int count = xml.attributes().value(QStringLiteral("text:c")).toInt();
                add(QString(std::max(count, 1), u' '));
            } else if (name == u"tab") {
                add(QStringLiteral("\t"));
            } else if (name == u"line-break") {
                add(QStringLiteral("\n"));
            }
        } else if (xml.isEndElement()) {
            if (name == u"tracked-changes") inTrackedChanges = false;
            if (name == u"deletion") inDeletion = false;
            if (bodyDepth > 0 && (name == u"p" || name == u"h")) {
                --paragraphDepth;
                add(QStringLiteral("\n"));
            }
            if (name == u"text" && xml.prefix() == u"office") bodyDepth = 0;
        } else if (xml.isCharacters() && paragraphDepth > 0 && !inTrackedChanges) {
            add(xml.text().toString());
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return result;
}

QString lfLines(QByteArray crlfText) { return QString::fromUtf8(crlfText.replace("\r\n", "\n")); }

// ---- The helper and the office ----------------------------------------------------------------

QString helperProgram() { return qEnvironmentVariable("CORVELLA_OFFICE_HELPER"); }

#define REQUIRE_HELPER()                                                    \
    do {                                                                    \
        if (helperProgram().isEmpty())                                      \
            GTEST_SKIP() << "Built without the LibreOffice SDK: no helper"; \
    } while (false)

struct HelperRun {
    int exitCode = -1;
    bool crashed = false;
    QString out;
    QString err;
    qint64 milliseconds = 0;
};

HelperRun runHelper(const QStringList& arguments) {
    HelperRun run;
    QProcess process;
    process.start(helperProgram(), arguments);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(process.waitForFinished(180000)) << "the helper did not end";
    run.milliseconds = clock.elapsed();
    run.exitCode = process.exitCode();
    run.crashed = process.exitStatus() == QProcess::CrashExit;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// One headless office with a private profile for the whole test program, stopped at its end.
class SharedOffice : public ::testing::Environment {
  public:
    static QString profile() {
        if (!folder_) folder_ = std::make_unique<QTemporaryDir>();
        return folder_->filePath(QStringLiteral("profile"));
    }
    void TearDown() override {
        if (!folder_) return;
        stopProcessesMentioning(folder_->path());
        folder_.reset();
    }

  private:
    static inline std::unique_ptr<QTemporaryDir> folder_;
};
[[maybe_unused]] ::testing::Environment* const sharedOffice =
    ::testing::AddGlobalTestEnvironment(new SharedOffice);

QStringList headless(const QString& profile = SharedOffice::profile()) {
    return {QStringLiteral("--headless"), QStringLiteral("--profile"), profile};
}

// ---- Which offices count as running -----------------------------------------------------------

class FakeSystem {
  public:
    // An installation whose configuration names the product `name` in its main layer.
    QString installation(const QString& folder, const QString& name,
                         const QString& overridingName = QString()) {
        const QString root = dir.filePath(folder);
        writeFile(root + "/program/soffice.bin", "");
        const QString setup =
            "<oor:component-data oor:name=\"Setup\" oor:package=\"org.openoffice\">"
            "<node oor:name=\"Product\"><prop oor:name=\"ooName\"><value>%1</value></prop>"
            "<prop oor:name=\"ooSetupVersion\"><value>7.4</value></prop></node>"
            "</oor:component-data>";
        const QString layer =
            "<?xml version=\"1.0\"?><oor:data xmlns:oor=\"http://openoffice.org/2001/registry\">"
            // The schema declares the same property empty: it must not count.
            "<oor:component-schema oor:name=\"Setup\" oor:package=\"org.openoffice\"><component>"
            "<group oor:name=\"Product\"><prop oor:name=\"ooName\"><value/></prop></group>"
            "</component></oor:component-schema>%1</oor:data>";
        writeFile(root + "/share/registry/main.xcd", layer.arg(setup.arg(name)).toUtf8());
        if (!overridingName.isEmpty())
            writeFile(root + "/share/registry/brand.xcd",
                      layer.arg(setup.arg(overridingName)).toUtf8());
        return root;
    }

    void process(int pid, const QString& comm, uid_t uid, char state, const QStringList& arguments,
                 const QString& installationRoot) {
        const QString base = dir.filePath(QStringLiteral("proc/%1/").arg(pid));
        writeFile(base + "comm", comm.toUtf8() + "\n");
        writeFile(base + "status", QStringLiteral("Name:\t%1\nState:\t%2 (x)\nPid:\t%3\n"
                                                  "Uid:\t%4\t0\t0\t0\nGid:\t0\t0\t0\t0\n")
                                       .arg(comm)
                                       .arg(QChar(state))
                                       .arg(pid)
                                       .arg(uid)
                                       .toUtf8());
        QByteArray cmdline;
        for (const QString& a : arguments) cmdline += a.toUtf8() + '\0';
        writeFile(base + "cmdline", cmdline);
        QFile::link(installationRoot + "/program/soffice.bin", base + "exe");
    }

    QString procRoot() const { return dir.filePath(QStringLiteral("proc")); }

    QTemporaryDir dir;
};

TEST(OfficeRunningTest, ProcessesAreReadFromProc) {
    FakeSystem system;
    const QString lo = system.installation("lo", "LibreOffice");
    const uid_t me = getuid();
    system.process(101, "soffice.bin", me, 'S', {"soffice.bin", "--norestore"}, lo);
    system.process(102, "soffice.bin", me + 1, 'S', {"soffice.bin"}, lo);
    system.process(103, "soffice.bin", me, 'Z', {}, lo);
    system.process(104, "soffice.bin", me, 'R', {"soffice.bin", "--headless"}, lo);
    system.process(105, "soffice.bin", me, 'S',
                   {"soffice.bin", "-env:UserInstallation=file:///tmp/p", "-headless"}, lo);
    system.process(106, "oosplash", me, 'S', {"oosplash"}, lo);
    writeFile(system.dir.filePath("proc/self/comm"), "soffice.bin\n");

    auto offices = office::RunningOffices(QFile::encodeName(system.procRoot()).toStdString(), me);
    std::sort(offices.begin(), offices.end(),
              [](const auto& a, const auto& b) { return a.pid < b.pid; });
    ASSERT_EQ(offices.size(), 3u);
    EXPECT_EQ(offices[0].pid, 101);
    EXPECT_EQ(offices[0].executable, QFile::encodeName(lo + "/program/soffice.bin").toStdString());
    EXPECT_TRUE(offices[0].visibleToUser());
    EXPECT_EQ(offices[1].pid, 104);
    EXPECT_TRUE(offices[1].headless);
    EXPECT_FALSE(offices[1].visibleToUser());
    EXPECT_EQ(offices[2].pid, 105);
    EXPECT_TRUE(offices[2].headless);
    EXPECT_EQ(offices[2].userInstallation, "file:///tmp/p");
}

TEST(OfficeRunningTest, OnlyAVisibleOfficeOnTheOwnProfileNamedExactlyLibreOfficeCounts) {
    FakeSystem system;
    CountingPump pump;
    const uid_t me = getuid();
    const QString lo = system.installation("lo", "LibreOffice");
    const QString dev = system.installation("dev", "LibreOfficeDev");
    const QString branded = system.installation("branded", "LibreOffice", "Kestrel Office");
    LibreOfficeWord1::Settings settings;
    settings.procRoot = system.procRoot();
    LibreOfficeWord1 word(pump, settings);

    EXPECT_FALSE(word.IsWordRunning());  // no /proc entries at all
    system.process(201, "soffice.bin", me, 'S', {"soffice.bin", "--headless"}, lo);
    system.process(202, "soffice.bin", me, 'S',
                   {"soffice.bin", "-env:UserInstallation=file:///tmp/x"}, lo);
    system.process(203, "soffice.bin", me + 1, 'S', {"soffice.bin"}, lo);
    system.process(204, "soffice.bin", me, 'Z', {"soffice.bin"}, lo);
    system.process(205, "soffice.bin", me, 'S', {"soffice.bin"}, dev);
    system.process(206, "soffice.bin", me, 'S', {"soffice.bin"}, branded);
    EXPECT_FALSE(word.IsWordRunning());

    system.process(207, "soffice.bin", me, 'S', {"soffice.bin", "--nologo"}, lo);
    EXPECT_TRUE(word.IsWordRunning());
}

TEST(OfficeRunningTest, TheInstalledOfficeCallsItselfLibreOffice) {
    if (!QFile::exists(QStringLiteral("/usr/lib/libreoffice/program/soffice.bin")))
        GTEST_SKIP() << "LibreOffice is not installed";
    EXPECT_EQ(OfficeProductName(QStringLiteral("/usr/lib/libreoffice")), "LibreOffice");
    EXPECT_EQ(OfficeProductName(QStringLiteral("/nonexistent")), "");
}

// ---- The helper with the real office ----------------------------------------------------------

class HelperTest : public ::testing::Test {
  protected:
    void SetUp() override { REQUIRE_HELPER(); }

    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

TEST_F(HelperTest, ChangesFromText1ToText2BecomeTrackedChangesOfANewDocument) {
    // Plain ASCII with CR LF: the case in which the office's own guess keeps the CRs.
    const QByteArray text1 =
        "The quick brown fox\r\njumps over\r\nthe lazy dog\r\nThis line goes away.\r\nThe end.\r\n";
    const QByteArray text2 =
        "The quick red fox\r\njumps over\r\nthe lazy dog today\r\nThe end.\r\nAn added line.\r\n";
    writeFile(path("1.txt"), text1);
    writeFile(path("2.txt"), text2);
    // An office of its own, so that the documents it lists are this run's only.
    const QString profile = path("profile");
    const HelperRun run = runHelper(headless(profile) +
                                    QStringList{"--save-result", path("result.fodt"),
                                                "--list-documents", path("1.txt"), path("2.txt")});
    stopProcessesMentioning(profile);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "");

    const ComparisonDocument result = ReadComparison(path("result.fodt"));
    EXPECT_EQ(result.accepted, lfLines(text2));
    EXPECT_EQ(result.rejected, lfLines(text1));
    using C = ComparisonDocument;
    EXPECT_EQ(result.changeSet(), (std::multiset<C::Change>{{C::Inserted, "red"},
                                                            {C::Deleted, "brown"},
                                                            {C::Inserted, " today"},
                                                            {C::Deleted, "This line goes away."},
                                                            {C::Inserted, "An added line."}}));
    EXPECT_EQ(result.formatChanges, 0);

    // One new untitled document: text 1 is not left open, and neither text became a document
    // that could be saved back to its file.
    EXPECT_EQ(run.out, "document \n");
    EXPECT_EQ(readFile(path("1.txt")), text1);
    EXPECT_EQ(readFile(path("2.txt")), text2);
}

TEST_F(HelperTest, TextsAreReadAsUtf8AndEqualTextsGiveNoChanges) {
    const QByteArray text1 = "Grüße aus Köln\r\nΑθήνα — 東京\r\n€ 5\r\n";
    const QByteArray text2 = "Grüße aus Zürich\r\nΑθήνα — 東京\r\n€ 5\r\n";
    writeFile(path("one.txt"), text1);
    writeFile(path("two.txt"), text2);
    writeFile(path("same.txt"), text2);
    HelperRun run = runHelper(headless() + QStringList{"--save-result", path("r.fodt"),
                                                       path("one.txt"), path("two.txt")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ComparisonDocument result = ReadComparison(path("r.fodt"));
    EXPECT_EQ(result.accepted, lfLines(text2));
    EXPECT_EQ(result.rejected, lfLines(text1));
    using C = ComparisonDocument;
    EXPECT_EQ(result.changeSet(),
              (std::multiset<C::Change>{{C::Inserted, "Zürich"}, {C::Deleted, "Köln"}}));

    run = runHelper(headless() + QStringList{"--save-result", path("same.fodt"), path("two.txt"),
                                             path("same.txt")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    result = ReadComparison(path("same.fodt"));
    EXPECT_TRUE(result.changes.empty());
    EXPECT_EQ(result.accepted, lfLines(text2));
}

TEST_F(HelperTest, WrongInputIsRefusedWithOneLineBeforeAnyOfficeStarts) {
    writeFile(path("2.txt"), "text\r\n");
    // A missing text 1 would otherwise compare as "no differences".
    HelperRun run = runHelper(headless() + QStringList{path("missing.txt"), path("2.txt")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "The text file " + path("missing.txt") +
                           " cannot be read: No such file or directory\n");
    EXPECT_LT(run.milliseconds, 5000);

    run = runHelper({path("2.txt")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "Usage: corvella-office-compare [options] TEXT1 TEXT2\n");
    run = runHelper({"--time-limit", "soon", path("2.txt"), path("2.txt")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "The time limit must be a number of seconds: soon\n");
}

TEST_F(HelperTest, AMissingOrFailingOfficeIsReportedAtOnce) {
    writeFile(path("1.txt"), "a\r\n");
    writeFile(path("2.txt"), "b\r\n");
    HelperRun run = runHelper(
        {"--office", path("nowhere/soffice"), "--headless", path("1.txt"), path("2.txt")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err,
              "LibreOffice is not installed: " + path("nowhere/soffice") + " was not found\n");
    EXPECT_LT(run.milliseconds, 5000);

    const QString failing = writeScript(dir, "failing-office", "exit 3");
    run = runHelper({"--office", failing, "--headless", path("1.txt"), path("2.txt")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "LibreOffice could not be started: it ended with exit code 3\n");
    EXPECT_LT(run.milliseconds, 5000);
}

TEST_F(HelperTest, AnOfficeThatNeverAnswersIsGivenUpAtTheTimeLimitAndStopped) {
    writeFile(path("1.txt"), "a\r\n");
    writeFile(path("2.txt"), "b\r\n");
    const QString hanging =
        writeScript(dir, "hanging-office", "echo $$ > \"$(dirname \"$0\")/pid\"\nexec sleep 600");
    const HelperRun run = runHelper(
        {"--office", hanging, "--time-limit", "2", "--headless", path("1.txt"), path("2.txt")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "LibreOffice did not answer within 2 seconds\n");
    EXPECT_GE(run.milliseconds, 2000);
    EXPECT_LT(run.milliseconds, 10000);
    const pid_t office = pid_t(readFile(path("pid")).trimmed().toInt());
    ASSERT_GT(office, 0);
    EXPECT_TRUE(processGone(office));
}

// ---- The program running the helper -----------------------------------------------------------

class RunningTheHelperTest : public ::testing::Test {
  protected:
    LibreOfficeWord1 word(const QString& helper,
                          std::chrono::milliseconds limit = std::chrono::seconds(120)) {
        LibreOfficeWord1::Settings settings;
        settings.helper = helper;
        settings.timeLimit = limit;
        return LibreOfficeWord1(pump, settings);
    }

    // The Failure's description, or nothing when the comparison succeeded.
    std::optional<QString> compare(LibreOfficeWord1 w, const QString& path1 = "/t/1.txt",
                                   const QString& path2 = "/t/2.txt") {
        try {
            w.CompareInWord(path1, path2);
        } catch (const Failure& failure) {
            return failure.description();
        }
        return std::nullopt;
    }

    CountingPump pump;
    QTemporaryDir dir;
};

TEST_F(RunningTheHelperTest, TheHelperGetsThePathsIntactAndItsTimeLimitBelowTheProgramsOwn) {
    const QString helper = writeScript(dir, "helper", "printf '%s|' \"$@\" > \"$0.args\"");
    EXPECT_EQ(compare(word(helper), "/t/a b.txt", "-x;$(y).txt"), std::nullopt);
    EXPECT_EQ(readFile(helper + ".args"), "--time-limit|105|--|/t/a b.txt|-x;$(y).txt|");
}

TEST_F(RunningTheHelperTest, EveryFailureOfTheHelperBecomesAClearDescription) {
    // Missing, or never built for lack of the LibreOffice SDK.
    const std::optional<QString> missing = compare(word(dir.filePath("absent")));
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->startsWith("The word-processor comparison method is not available: "));
    EXPECT_TRUE(missing->contains(dir.filePath("absent") + " is missing"));

    const QString failing = writeScript(
        dir, "failing", "echo noise >&2\necho 'LibreOffice could not be started' >&2\nexit 1");
    EXPECT_EQ(compare(word(failing)), "LibreOffice could not be started");

    const QString silent = writeScript(dir, "silent", "exit 4");
    EXPECT_EQ(compare(word(silent)), "The LibreOffice comparison helper failed with exit code 4");

    const QString crashing = writeScript(dir, "crashing", "kill -SEGV $$");
    EXPECT_EQ(compare(word(crashing)), "The LibreOffice comparison helper crashed");

    // What the loader says when the office's libraries are not installed.
    const QString unlinked = writeScript(
        dir, "unlinked",
        "echo 'corvella-office-compare: error while loading shared libraries: "
        "libuno_cppu.so.3: cannot open shared object file: No such file or directory' >&2\n"
        "exit 127");
    EXPECT_EQ(compare(word(unlinked)),
              "The word-processor comparison method is not available: LibreOffice is not "
              "installed (corvella-office-compare: error while loading shared libraries: "
              "libuno_cppu.so.3: cannot open shared object file: No such file or directory)");
}

TEST_F(RunningTheHelperTest, AHelperPastTheTimeLimitIsKilledWhileTheWindowStaysLive) {
    const QString hanging = writeScript(dir, "hanging", "echo $$ > \"$0.pid\"\nexec sleep 600");
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(compare(word(hanging, std::chrono::milliseconds(1500))),
              "LibreOffice did not finish the comparison within 1 second; the comparison was "
              "stopped");
    EXPECT_GE(clock.elapsed(), 1500);
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_GE(pump.count, 10);  // events handled about every 100 ms
    const pid_t helper = pid_t(readFile(hanging + ".pid").trimmed().toInt());
    ASSERT_GT(helper, 0);
    EXPECT_TRUE(processGone(helper));
}

// ---- The command in the real window -----------------------------------------------------------

QString report(int line, const QString& description) {
    return ErrorReportText(QStringLiteral("Form1.PushButton6_Click"), line, description);
}

const QString kWarning = QStringLiteral(
    "Word may be open. It is recommended that you close Word first. Use Ctrl+Alt+Del > Task "
    "Manager > WINWORD.EXE if necessary.\r\n\r\nWould you like to proceed anyway?");

class OfficeCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_HELPER();
        settings.helper = helperProgram();
        settings.helperArguments =
            headless() + QStringList{"--save-result", dir.filePath("result.fodt")};
        form.Option(4)->click();
        form.pane(1).setText("alpha\rbeta\rgamma");
        form.pane(2).setText("alpha\rgamma\rdelta");
        QFile::remove(TempPath("1.txt"));
        QFile::remove(TempPath("2.txt"));
    }

    void click() {
        LibreOfficeWord1 word(test.pump, settings);
        // An office the user has open on this machine is warned about; the scripted answer is Yes.
        officeAlreadyOpen = word.IsWordRunning();
        test.services.word = &word;
        form.PushButton(6)->click();
        test.services.word = nullptr;
    }

    // The boxes besides the warning about an office the user has open.
    QStringList messages() const {
        QStringList texts = test.dialogs.texts();
        if (officeAlreadyOpen && !texts.isEmpty() && texts.front() == kWarning) texts.removeFirst();
        return texts;
    }

    void expectFinished() {
        EXPECT_FALSE(form.BusyFlag);
        EXPECT_EQ(form.pointer(), PointerShape::Default);
        EXPECT_FALSE(QFile::exists(TempPath("1.txt")));
        EXPECT_FALSE(QFile::exists(TempPath("2.txt")));
    }

    TestServices test;
    Form1 form{test.services};
    QTemporaryDir dir;
    LibreOfficeWord1::Settings settings;
    bool officeAlreadyOpen = false;
};

TEST_F(OfficeCommandTest, TheOfficeComparesTheFullTextsOfPanes1And2AndTheFilesGoAgain) {
    // Showing just the differing lines puts the work panes in front; the texts still come from
    // panes 1 and 2.
    form.pane(3).setText("only in the work pane");
    form.Option(2)->click();
    click();
    EXPECT_EQ(messages(), QStringList());
    const ComparisonDocument result = ReadComparison(dir.filePath("result.fodt"));
    EXPECT_EQ(result.rejected, "alpha\nbeta\ngamma\n");
    EXPECT_EQ(result.accepted, "alpha\ngamma\ndelta\n");
    using C = ComparisonDocument;
    EXPECT_EQ(result.changeSet(),
              (std::multiset<C::Change>{{C::Deleted, "beta"}, {C::Inserted, "delta"}}));
    EXPECT_GT(test.pump.count, 4);  // the four deletions and the waits for the office
    expectFinished();
    EXPECT_EQ(form.pane(1).text(), "alpha\r\nbeta\r\ngamma");
}

TEST_F(OfficeCommandTest, AnEmptyPaneWritesNothingAndStartsNoComparison) {
    form.pane(2).setText("");
    click();
    EXPECT_EQ(messages(), QStringList());
    EXPECT_FALSE(QFile::exists(dir.filePath("result.fodt")));
    EXPECT_EQ(test.pump.count, 0);
    expectFinished();
}

TEST_F(OfficeCommandTest, AMissingOfficeIsReportedAtLine120AndTheCommandFinishes) {
    settings.helperArguments = {"--office", dir.filePath("no-office/soffice")};
    click();
    EXPECT_EQ(messages(),
              QStringList{report(120, "LibreOffice is not installed: " +
                                          dir.filePath("no-office/soffice") + " was not found")});
    expectFinished();
}

TEST_F(OfficeCommandTest, AMissingHelperIsReportedAtLine120) {
    settings.helper = dir.filePath("corvella-office-compare");
    click();
    const QStringList shown = messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(
        shown[0].startsWith("The word-processor comparison method is not available: the helper " +
                            dir.filePath("corvella-office-compare") + " is missing\r\nin "));
    EXPECT_EQ(shown[0], report(120, shown[0].section(QStringLiteral("\r\n"), 0, 0)));
    expectFinished();
}

// An office with windows on the user's own profile, on a virtual display of its own.
class VisibleOffice {
  public:
    VisibleOffice() {
        display_.start(QStringLiteral("Xvfb"),
                       {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
        if (!display_.waitForStarted(10000)) return;
        QElapsedTimer clock;
        clock.start();
        while (!display_.canReadLine() && clock.elapsed() < 20000) display_.waitForReadyRead(200);
        const QString number = QString::fromLatin1(display_.readLine()).trimmed();
        if (number.isEmpty()) return;
        // The test's own default profile, told not to greet with a tip over the document.
        writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") +
                      "/libreoffice/4/user/registrymodifications.xcu",
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?><oor:items "
                  "xmlns:oor=\"http://openoffice.org/2001/registry\"><item "
                  "oor:path=\"/org.openoffice.Office.Common/Misc\"><prop "
                  "oor:name=\"ShowTipOfTheDay\" oor:op=\"fuse\"><value>false</value></prop>"
                  "</item></oor:items>");
        QProcess office;
        office.setProgram(QStringLiteral("/usr/lib/libreoffice/program/soffice"));
        office.setArguments({"--norestore", "--nologo", "--nodefault", "--nolockcheck",
                             "--accept=pipe,name=" + marker_ + ";urp;"});
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), ":" + number);
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        office.setProcessEnvironment(environment);
        office.setStandardOutputFile(QProcess::nullDevice());
        office.setStandardErrorFile(QProcess::nullDevice());
        started_ = office.startDetached();
        display_number_ = number;
    }
    ~VisibleOffice() {
        stopProcessesMentioning(marker_);
        display_.kill();
        display_.waitForFinished(5000);
    }

    bool started() const { return started_; }
    QString display() const { return ":" + display_number_; }

  private:
    QProcess display_;
    QString display_number_;
    QString marker_ = QStringLiteral("corvella-test-visible-%1").arg(getpid());
    bool started_ = false;
};

TEST_F(OfficeCommandTest, AnOpenOfficeIsWarnedAboutAndTheComparisonGoesToIt) {
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        GTEST_SKIP() << "Xvfb is not installed";
    VisibleOffice office;
    ASSERT_TRUE(office.started());
    LibreOfficeWord1 probe(test.pump, settings);
    QElapsedTimer clock;
    clock.start();
    while (!probe.IsWordRunning() && clock.elapsed() < 60000) QThread::msleep(100);
    ASSERT_TRUE(probe.IsWordRunning()) << "the office did not come up";

    // No: nothing is written and nothing compared, even with a pane empty.
    test.dialogs.answers = {MessageAnswer::No};
    click();
    ASSERT_EQ(test.dialogs.messages.size(), 1u);
    const MessageRequest& box = test.dialogs.messages[0];
    EXPECT_EQ(box.text, kWarning);
    EXPECT_EQ(box.title, AppTitle());
    EXPECT_EQ(box.buttons, MessageButtons::YesNo);
    EXPECT_EQ(box.icon, MessageIcon::None);
    EXPECT_FALSE(QFile::exists(dir.filePath("result.fodt")));
    expectFinished();

    form.pane(1).setText("");
    test.dialogs.answers = {MessageAnswer::No};
    click();
    EXPECT_EQ(test.dialogs.texts(), (QStringList{kWarning, kWarning}));

    // Yes: the request goes to the open office, which shows the comparison.
    form.pane(1).setText("alpha\rbeta\rgamma");
    test.dialogs.answers = {MessageAnswer::Yes};
    settings.helperArguments = {"--save-result", dir.filePath("result.fodt")};
    qputenv("DISPLAY", office.display().toLatin1());
    click();
    qunsetenv("DISPLAY");
    EXPECT_EQ(test.dialogs.texts(), (QStringList{kWarning, kWarning, kWarning}));
    const ComparisonDocument result = ReadComparison(dir.filePath("result.fodt"));
    EXPECT_EQ(result.accepted, "alpha\ngamma\ndelta\n");
    EXPECT_EQ(result.rejected, "alpha\nbeta\ngamma\n");
    expectFinished();
}

}  // namespace

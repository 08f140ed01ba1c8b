// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// LibreOffice as the word processor: the running check, the comparison helper driving the real
// office, the program's side of running the helper, and "Find Differences (Words)" with the
// word-processor method in the real window.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <tuple>

#include "core/AppTitle.h"
#include "core/BuildConfig.h"
#include "core/ErrorReport.h"
#include "core/TempFolder.h"
#include "office/LibreOfficeWord1.h"
#include "office/processes/OfficeProcesses.h"
#include "tests/support/CountingPump.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

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

// Ends this user's processes whose command line or environment mentions `marker` (a folder or
// pipe name unique to this test run), by their ids, and waits until they are gone.
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
        if (!readFile("/proc/" + entry + "/cmdline").contains(needle) &&
            !readFile("/proc/" + entry + "/environ").contains(needle))
            continue;
        if (kill(pid, SIGKILL) == 0) stopped.push_back(pid);
    }
    QElapsedTimer clock;
    clock.start();
    for (pid_t pid : stopped)
        while (!processGone(pid) && clock.elapsed() < 10000) QThread::msleep(50);
}

// The soffice.bin process of the office whose command line mentions `marker`; 0 when none runs.
pid_t officeProcess(const QString& marker) {
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        if (readFile("/proc/" + entry + "/comm") != "soffice.bin\n") continue;
        if (readFile("/proc/" + entry + "/cmdline").contains(marker.toUtf8()))
            return pid_t(entry.toInt());
    }
    return 0;
}

// True when an office listens on the pipe of that name (the office's pipes are sockets in /tmp).
bool officeListens(const QString& pipe) {
    const QByteArray path = QStringLiteral("/tmp/OSL_PIPE_%1_%2").arg(getuid()).arg(pipe).toUtf8();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool listening =
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return listening;
}

// Offices ended by a signal leave their pipes behind: remove those nobody listens on any more
// that appeared while this test program ran.
void removeDeadPipes(const QDateTime& since) {
    const QDir tmp(QStringLiteral("/tmp"));
    const QString prefix = QStringLiteral("OSL_PIPE_%1_").arg(getuid());
    for (const QFileInfo& file : tmp.entryInfoList({prefix + u'*'}, QDir::System)) {
        if (file.lastModified() < since || file.ownerId() != getuid()) continue;
        if (!officeListens(file.fileName().mid(prefix.size()))) QFile::remove(file.filePath());
    }
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
    QString out;
    QString err;
    qint64 milliseconds = 0;
};

HelperRun runHelper(const QStringList& arguments, const QProcessEnvironment& environment =
                                                      QProcessEnvironment::systemEnvironment()) {
    HelperRun run;
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(helperProgram(), arguments);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(process.waitForFinished(180000)) << "the helper did not end";
    run.milliseconds = clock.elapsed();
    run.exitCode = process.exitCode();
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
        if (folder_) stopProcessesMentioning(folder_->path());
        folder_.reset();
        removeDeadPipes(started_);
    }

private:
    static inline std::unique_ptr<QTemporaryDir> folder_;
    // A second early, as file times may be rounded.
    const QDateTime started_ = QDateTime::currentDateTime().addSecs(-1);
};
[[maybe_unused]] ::testing::Environment* const sharedOffice =
    ::testing::AddGlobalTestEnvironment(new SharedOffice);

QStringList headless(const QString& profile = SharedOffice::profile()) {
    return {QStringLiteral("--headless"), QStringLiteral("--profile"), profile};
}

// A virtual X display of its own, for offices with windows.
class VirtualDisplay {
public:
    VirtualDisplay() {
        // Without -noreset the server resets whenever its last client leaves and refuses clients
        // meanwhile: the office opens the display twice as it starts, and on a busy machine its
        // second opening then fails.
        server_.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp", "-noreset",
                                               "-screen", "0", "1024x768x24"});
        if (!server_.waitForStarted(10000)) return;
        QElapsedTimer clock;
        clock.start();
        while (!server_.canReadLine() && clock.elapsed() < 20000) server_.waitForReadyRead(200);
        const QString number = QString::fromLatin1(server_.readLine()).trimmed();
        if (!number.isEmpty()) name_ = ":" + number;
    }
    ~VirtualDisplay() {
        server_.kill();
        server_.waitForFinished(5000);
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    static bool available() { return !QStandardPaths::findExecutable("Xvfb").isEmpty(); }
    // Empty when the server did not start.
    const QString& name() const { return name_; }

private:
    QProcess server_;
    QString name_;
};

// A profile that does not greet with a tip over the document.
void writeQuietProfile(const QString& profile) {
    writeFile(profile + "/user/registrymodifications.xcu",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><oor:items "
              "xmlns:oor=\"http://openoffice.org/2001/registry\"><item "
              "oor:path=\"/org.openoffice.Office.Common/Misc\"><prop "
              "oor:name=\"ShowTipOfTheDay\" oor:op=\"fuse\"><value>false</value></prop>"
              "</item></oor:items>");
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
        QFile::link(QStringLiteral("/"), base + "root");
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
    // Plain ASCII with CR LF (the office's own guess would keep the CRs), and a line deleted right
    // after the texts' common beginning (which the office would move to the end).
    const QByteArray text1 =
        "Same first line\r\nThis line goes away.\r\nThe quick brown fox\r\njumps over\r\n"
        "the lazy dog\r\nThe end.\r\n";
    const QByteArray text2 =
        "Same first line\r\nThe quick red fox\r\njumps over\r\nthe lazy dog today\r\nThe "
        "end.\r\nAn added line.\r\n";
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

// A headless office on the user's own profile would take a request for a window and show
// nothing: the comparison then goes to an office of its own, with windows.
TEST_F(HelperTest, AHeadlessOfficeOnTheOwnProfileDoesNotSwallowTheComparison) {
    if (!VirtualDisplay::available()) GTEST_SKIP() << "Xvfb is not installed";
    VirtualDisplay display;
    ASSERT_FALSE(display.name().isEmpty());
    writeFile(path("1.txt"), "same\r\nold\r\nend\r\n");
    writeFile(path("2.txt"), "same\r\nnew\r\nend\r\n");
    // This test's own "user's own profile".
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path("config"));
    environment.insert(QStringLiteral("DISPLAY"), display.name());
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    struct Stop {
        QString marker;
        ~Stop() { stopProcessesMentioning(marker); }
    } stop{dir.path()};

    HelperRun run = runHelper({"--headless", path("1.txt"), path("2.txt")}, environment);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    run = runHelper({"--fallback-profile", path("own"), "--save-result", path("r.fodt"),
                     path("1.txt"), path("2.txt")},
                    environment);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const pid_t own = officeProcess(path("own"));
    ASSERT_GT(own, 0) << "no office of its own";
    EXPECT_FALSE(readFile(QStringLiteral("/proc/%1/cmdline").arg(own)).contains("headless"));
    const ComparisonDocument result = ReadComparison(path("r.fodt"));
    EXPECT_EQ(result.rejected, "same\nold\nend\n");
    EXPECT_EQ(result.accepted, "same\nnew\nend\n");
}

// Lines deleted, inserted and changed anywhere, the first and last lines included. The lines
// share no three characters in a row, so that the office's own guess of which lines are versions
// of one another (any common three characters) pairs only a changed line with its original. Where
// the office cannot mark a paragraph end as changed (around the end of the document) it may join
// or add a paragraph, so line ends are left out of the check: what each text holds, in its order,
// must come back from accepting and from rejecting every change.
TEST_F(HelperTest, EveryEditIsMarkedWhereItHappened) {
    const QStringList vocabulary = {
        "alpha",          "bravo charly",  "delta echo",  "foxtrot golf",   "hotel india juliet",
        "kilo lima",      "mike november", "oscar papa",  "quebec romeo",   "sierra tango",
        "uniform victor", "whiskey xray",  "yankee zulu", "Grüße aus Köln", ""};
    std::mt19937 random(20240611);
    auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(random)); };
    auto flat = [](QStringList lines) { return lines.join(QString()); };
    auto text = [](const QStringList& lines) {
        QByteArray bytes;
        for (const QString& line : lines) bytes += line.toUtf8() + "\r\n";
        return bytes;
    };
    for (int round = 0; round < 16; ++round) {
        QStringList lines1;
        for (int n = 1 + pick(8); n > 0; --n) lines1 << vocabulary[pick(vocabulary.size())];
        QStringList lines2 = lines1;
        for (int edits = 1 + pick(4); edits > 0; --edits) {
            switch (pick(3)) {
                case 0:
                    if (lines2.size() > 1) lines2.removeAt(pick(lines2.size()));
                    break;
                case 1:
                    lines2.insert(pick(lines2.size() + 1), vocabulary[pick(vocabulary.size())]);
                    break;
                default:
                    lines2[pick(lines2.size())] += " 12345";
            }
        }
        writeFile(path("r1.txt"), text(lines1));
        writeFile(path("r2.txt"), text(lines2));
        const HelperRun run = runHelper(headless() + QStringList{"--save-result", path("r.fodt"),
                                                                 path("r1.txt"), path("r2.txt")});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const ComparisonDocument result = ReadComparison(path("r.fodt"));
        const QString shown = "\ntext 1: " + lines1.join(u'|') + "\ntext 2: " + lines2.join(u'|');
        EXPECT_EQ(QString(result.accepted).remove(u'\n'), flat(lines2)) << shown.toStdString();
        EXPECT_EQ(QString(result.rejected).remove(u'\n'), flat(lines1)) << shown.toStdString();
    }
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

    // Ending with 0 hands the request to a running office of the profile; with none, it is lost.
    const QString handingOver = writeScript(dir, "office-handing-over", "exit 0");
    run = runHelper({"--office", handingOver, "--headless", "--profile", path("nobody"),
                     path("1.txt"), path("2.txt")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "LibreOffice could not be started: it ended without starting\n");
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
    REQUIRE_HELPER();
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
    REQUIRE_HELPER();
    settings.helperArguments = {"--office", dir.filePath("no-office/soffice")};
    click();
    EXPECT_EQ(messages(),
              QStringList{report(120, "LibreOffice is not installed: " +
                                          dir.filePath("no-office/soffice") + " was not found")});
    expectFinished();
}

TEST_F(OfficeCommandTest, AMissingHelperIsReportedAtLine120) {
    // Also what a build without the LibreOffice SDK shows, where the helper is never made.
    settings.helper = dir.filePath("corvella-office-compare");
    click();
    const QStringList shown = messages();
    ASSERT_EQ(shown.size(), 1);
    const QString description = shown[0].section(QStringLiteral("\r\n"), 0, 0);
    EXPECT_TRUE(description.startsWith("The word-processor comparison method is not available: "));
    EXPECT_TRUE(description.contains(dir.filePath("corvella-office-compare") + " is missing"));
    EXPECT_EQ(shown[0], report(120, description));
    expectFinished();
}

// An office of its own for a test that harms it.
class OwnOfficeCommandTest : public OfficeCommandTest {
protected:
    void SetUp() override {
        OfficeCommandTest::SetUp();
        REQUIRE_HELPER();
        settings.helperArguments =
            headless(profile.path()) + QStringList{"--save-result", dir.filePath("result.fodt")};
        // Started by a first comparison.
        click();
        ASSERT_EQ(messages(), QStringList());
        office = officeProcess(profile.path());
        ASSERT_GT(office, 0);
        QFile::remove(dir.filePath("result.fodt"));
        test.dialogs.messages.clear();
    }
    void TearDown() override {
        if (office > 0) kill(office, SIGCONT);
        stopProcessesMentioning(profile.path());
    }

    QTemporaryDir profile;
    pid_t office = 0;
};

TEST_F(OwnOfficeCommandTest, AHungOfficeIsGivenUpAtTheTimeLimitWhileTheWindowStaysLive) {
    ASSERT_EQ(kill(office, SIGSTOP), 0);
    // The helper gives up 15 seconds before the program would.
    settings.timeLimit = std::chrono::seconds(18);
    const int yieldsBefore = test.pump.count;
    QElapsedTimer clock;
    clock.start();
    click();
    EXPECT_LT(clock.elapsed(), 15000);
    EXPECT_EQ(messages(), QStringList{report(120, "LibreOffice did not answer within 3 seconds")});
    EXPECT_GE(test.pump.count - yieldsBefore, 20);
    EXPECT_FALSE(QFile::exists(dir.filePath("result.fodt")));
    expectFinished();
}

TEST_F(OwnOfficeCommandTest, AnOfficeThatCrashesDuringTheComparisonIsReportedAtLine120) {
    // Texts long enough to keep the office busy for seconds.
    QString text1;
    QString text2;
    for (int line = 0; line < 40000; ++line) {
        const QString words = QStringLiteral("line %1 of a long text to compare\r").arg(line);
        text1 += words;
        text2 += line % 50 == 0 ? QStringLiteral("changed ") + words : words;
    }
    form.pane(1).setText(text1);
    form.pane(2).setText(text2);
    QElapsedTimer clock;
    clock.start();
    bool crashed = false;
    test.pump.hook = [&] {
        if (!crashed && clock.elapsed() > 3000) crashed = kill(office, SIGKILL) == 0;
    };
    click();
    ASSERT_TRUE(crashed) << "the comparison ended before the office was stopped";
    const QStringList shown = messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(report(120, "LibreOffice stopped during the comparison: ")
                                        .section(QStringLiteral("\r\n"), 0, 0)))
        << shown[0].toStdString();
    EXPECT_EQ(shown[0], report(120, shown[0].section(QStringLiteral("\r\n"), 0, 0)));
    expectFinished();
}

// An office with windows on the user's own profile (this test program's), on a virtual display.
class VisibleOffice {
public:
    VisibleOffice() {
        if (display_.name().isEmpty()) return;
        writeQuietProfile(qEnvironmentVariable("XDG_CONFIG_HOME") + "/libreoffice/4");
        QProcess office;
        office.setProgram(QStringLiteral("/usr/lib/libreoffice/program/soffice"));
        office.setArguments({"--norestore", "--nologo", "--nodefault", "--nolockcheck",
                             "--accept=pipe,name=" + marker_ + ";urp;"});
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display_.name());
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        office.setProcessEnvironment(environment);
        office.setStandardOutputFile(QProcess::nullDevice());
        office.setStandardErrorFile(QProcess::nullDevice());
        started_ = office.startDetached();
    }
    ~VisibleOffice() { stopProcessesMentioning(marker_); }

    bool started() const { return started_; }
    // Up and answering: an office that makes a new profile starts over once before it listens.
    bool ready() const { return officeListens(marker_); }
    bool running() const { return officeProcess(marker_) > 0; }
    QString display() const { return display_.name(); }

private:
    VirtualDisplay display_;
    // Of fixed length, so that no other run's name starts with it.
    QString marker_ = QStringLiteral("corvella-test-visible-%1")
                          .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
    bool started_ = false;
};

TEST_F(OfficeCommandTest, AnOpenOfficeIsWarnedAboutAndTheComparisonGoesToIt) {
    REQUIRE_HELPER();
    if (!VirtualDisplay::available()) GTEST_SKIP() << "Xvfb is not installed";
    VisibleOffice office;
    ASSERT_TRUE(office.started());
    QElapsedTimer clock;
    clock.start();
    while (!office.ready() && clock.elapsed() < 60000) QThread::msleep(100);
    ASSERT_TRUE(office.ready()) << "the office did not come up on display "
                                << office.display().toStdString()
                                << (office.running() ? ", though it runs" : ", it is not running");
    EXPECT_TRUE(LibreOfficeWord1(test.pump, settings).IsWordRunning());

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

// $CORVELLA_OFFICE_HELPER first; then the helper beside the program, as in a build tree; else the
// one the package installs in /usr/lib/corvella (under the build's prefix).
TEST(HelperLocationTest, EnvironmentThenBesideTheProgramThenTheInstalledFolder) {
    const QByteArray set = qgetenv("CORVELLA_OFFICE_HELPER");
    qputenv("CORVELLA_OFFICE_HELPER", "/elsewhere/helper");
    EXPECT_EQ(LibreOfficeWord1::DefaultSettings().helper, "/elsewhere/helper");
    qunsetenv("CORVELLA_OFFICE_HELPER");

    const QString beside = QCoreApplication::applicationDirPath() + "/corvella-office-compare";
    ASSERT_FALSE(QFileInfo::exists(beside));
    EXPECT_EQ(LibreOfficeWord1::DefaultSettings().helper,
              QString::fromUtf8(build::kHelperDir) + "/corvella-office-compare");
    EXPECT_TRUE(QString::fromUtf8(build::kHelperDir).endsWith("/lib/corvella"));
    QFile helper(beside);
    ASSERT_TRUE(helper.open(QIODevice::WriteOnly));
    helper.close();
    EXPECT_EQ(LibreOfficeWord1::DefaultSettings().helper, beside);
    helper.remove();
    if (!set.isEmpty()) qputenv("CORVELLA_OFFICE_HELPER", set);
}

}  // namespace

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The private temp folder, the extractor copy placed in it at start-up and removed at shut-down.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/ErrorReport.h"
#include "core/TempFolder.h"
#include "extract/Deployment.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;
using corvella::testing::CountingPump;
using corvella::testing::TestServices;

namespace {

// Points TEMP at a fresh folder for one test.
class FreshTemp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(base.isValid());
        previousTemp = qgetenv("TEMP");
        qputenv("TEMP", QFile::encodeName(base.path()));
    }
    void TearDown() override { qputenv("TEMP", previousTemp); }

    QString privateFolder() const {
        return base.filePath("corvella-" + QString::number(geteuid()));
    }
    static int mode(const QString& path) {
        struct stat info {};
        return lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777)
                                                                      : -1;
    }

    QTemporaryDir base;
    QByteArray previousTemp;
};

using TempFolderTest = FreshTemp;

TEST_F(TempFolderTest, IsCreatedPrivateInsideTemp) {
    EXPECT_EQ(TempFolder(), privateFolder());
    EXPECT_EQ(mode(privateFolder()), 0700);
    EXPECT_EQ(TempPath("1.txt"), privateFolder() + "/1.txt");
}

TEST_F(TempFolderTest, TrailingSlashOfTempIsIgnoredAndTmpdirIsTheFallback) {
    qputenv("TEMP", QFile::encodeName(base.path() + "//"));
    EXPECT_EQ(TempFolder(), privateFolder());
    qunsetenv("TEMP");
    qputenv("TMPDIR", QFile::encodeName(base.path()));
    EXPECT_EQ(TempFolder(), privateFolder());
}

TEST_F(TempFolderTest, RefusesAFolderOthersCanEnter) {
    ASSERT_TRUE(QDir().mkdir(privateFolder()));
    ASSERT_EQ(chmod(QFile::encodeName(privateFolder()).constData(), 0755), 0);
    EXPECT_THROW(TempFolder(), Failure);
}

TEST_F(TempFolderTest, RefusesASymbolicLinkEvenToAPrivateFolder) {
    QTemporaryDir elsewhere;
    ASSERT_EQ(chmod(QFile::encodeName(elsewhere.path()).constData(), 0700), 0);
    ASSERT_TRUE(QFile::link(elsewhere.path(), privateFolder()));
    try {
        TempFolder();
        FAIL() << "a link was accepted";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.description().contains("symbolic link"));
    }
}

TEST_F(TempFolderTest, RefusesAFileInItsPlace) {
    QFile file(privateFolder());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_THROW(TempFolder(), Failure);
}

using DeploymentTest = FreshTemp;

TEST_F(DeploymentTest, AddressWidthIsSixtyFourOnThisSystem) {
    if (sizeof(void*) != 8) GTEST_SKIP() << "not a 64-bit system";
    EXPECT_EQ(Deployment::GetAddressWidth(), "64");
}

TEST_F(DeploymentTest, PlacesAnExecutableCopyOfTheInstalledExtractor) {
    CountingPump pump;
    Deployment::DeployExtractor(pump);
    const QString path = Deployment::ExtractorPath();
    EXPECT_TRUE(path.startsWith(privateFolder() + "/pdftotext-"));
    QFile installed(QStandardPaths::findExecutable("pdftotext"));
    ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
    QFile copy(path);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), installed.readAll());
    EXPECT_EQ(mode(path), 0700);
    EXPECT_GE(pump.count, 1);  // it lets the window breathe before writing
}

TEST_F(DeploymentTest, AnExistingFileIsLeftUnchanged) {
    const QString path = Deployment::ExtractorPath();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("left by an earlier run");
    file.close();
    CountingPump pump;
    Deployment::DeployExtractor(pump);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "left by an earlier run");
}

TEST_F(DeploymentTest, SaveBytesNeverWritesThroughAPlantedLink) {
    const QString target = base.filePath("victim");
    const QString path = TempPath("planted");
    ASSERT_TRUE(QFile::link(target, path));  // dangling: the name does not "exist" as a file
    CountingPump pump;
    EXPECT_THROW(Deployment::SaveBytesToFile(pump, "payload", path), Failure);
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(DeploymentTest, MissingExtractorIsReportedAtItsStartUpStep) {
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(base.path()));
    TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    qputenv("PATH", path);
    ASSERT_EQ(test.dialogs.messages.size(), 1u);
    EXPECT_EQ(test.dialogs.messages[0].text,
              ErrorReportText("Form1.Form_Load", 116,
                              "The text extractor pdftotext was not found. Install the package "
                              "poppler-utils."));
    EXPECT_FALSE(QFile::exists(Deployment::ExtractorPath()));
}

TEST_F(DeploymentTest, ShutDownRemovesOnlyThisProcesssCopy) {
    // Another running copy of the program (a live process: the files of ended ones are cleared at
    // start-up) has its own extractor, which must survive.
    const QString other = TempPath(QStringLiteral("pdftotext-%1").arg(getppid()));
    QFile otherFile(other);
    ASSERT_TRUE(otherFile.open(QIODevice::WriteOnly));
    otherFile.close();

    TestServices test;
    Form1 form(test.services);
    form.Form_Load();
    ASSERT_TRUE(QFile::exists(Deployment::ExtractorPath()));
    form.close();
    EXPECT_EQ(test.exitCodes, std::vector<int>{0});
    EXPECT_FALSE(QFile::exists(Deployment::ExtractorPath()));
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_NE(Deployment::ExtractorPath(), other);
    QFile::remove(other);
}

}  // namespace

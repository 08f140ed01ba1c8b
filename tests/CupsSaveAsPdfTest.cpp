// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// "Save #1 As PDF" and "Save #2 As PDF" end to end: the real window, a real CUPS server and a real
// cups-pdf printer.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

#include "output/GetSetPrinter.h"
#include "tests/support/CupsTestServer.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;
using corvella::testing::CupsTestServer;
using corvella::testing::TestServices;

namespace {

const QString kPdfQueue = "Kestrovan_PDF_Writer";

QString defaultDestination() {
    QString out;
    CupsTestServer::run("lpstat", {"-d"}, &out);
    return out.trimmed();
}

QString userLpoptions() { return QDir::homePath() + "/.cups/lpoptions"; }

QString realUsersLpoptions() {
    const passwd* user = getpwuid(getuid());
    return QString::fromLocal8Bit(user ? user->pw_dir : "/root") + "/.cups/lpoptions";
}

QString squeezed(const QString& text) { return text.simplified(); }

class CupsSaveAsPdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (CupsTestServer::folder().isEmpty())
            GTEST_SKIP() << "no private CUPS server (tools/cups-test-server.sh needs root)";
        ASSERT_NE(QDir::homePath(), QFileInfo(realUsersLpoptions()).path().section('/', 0, -3))
            << "the tests must run with their own HOME";
        CupsTestServer::removeAllQueues();
        QFile::remove(userLpoptions());
        ASSERT_TRUE(CupsTestServer::addQueue(kPdfQueue, "Kestrovan PDF Writer"));
        ASSERT_TRUE(CupsTestServer::addQueue("Office", "Office Laser"));
        realBefore = QFileInfo(realUsersLpoptions()).lastModified();
        jobsBefore = CupsTestServer::completedJobs(kPdfQueue).size();

        test.services.printers = &printers;
        form = std::make_unique<Form1>(test.services);
        form->Form_Load();
        ASSERT_TRUE(test.dialogs.messages.empty());
    }
    void TearDown() override {
        if (CupsTestServer::folder().isEmpty()) return;
        EXPECT_EQ(QFileInfo(realUsersLpoptions()).lastModified(), realBefore)
            << "the real user's printer settings were touched";
        CupsTestServer::removeAllQueues();
    }

    // Presses the button and returns the job it printed.
    int saveAsPdf(int button) {
        form->PushButton(button)->click();
        EXPECT_TRUE(CupsTestServer::waitForCompletedJobs(kPdfQueue, jobsBefore + 1));
        const QList<int> jobs = CupsTestServer::completedJobs(kPdfQueue);
        jobsBefore = jobs.size();
        return jobs.isEmpty() ? 0 : jobs.last();
    }

    QString pdfText(int job) {
        const QString pdf = CupsTestServer::pdfOfJob(job);
        EXPECT_FALSE(pdf.isEmpty()) << "no PDF for job " << job;
        QProcess extractor;
        extractor.start("pdftotext", {"-enc", "UTF-8", pdf, "-"});
        extractor.waitForFinished(30000);
        return QString::fromUtf8(extractor.readAllStandardOutput());
    }

    CupsPrinters printers;
    TestServices test;
    std::unique_ptr<Form1> form;
    QDateTime realBefore;
    qsizetype jobsBefore = 0;
};

TEST_F(CupsSaveAsPdfTest, PaneOneBecomesAPdfAndTheUsersDefaultStays) {
    ASSERT_TRUE(CupsTestServer::run("lpoptions", {"-d", "Office"}));
    const QString text = "Grüße aus Köln – 25 € „Angebot“\rZweite Zeile mit ß und é";
    form->pane(1).setText(text);
    const int job = saveAsPdf(2);
    EXPECT_EQ(CupsTestServer::storedDocument(job), (form->pane(1).text() + "\r\n").toUtf8());
    const QString printed = squeezed(pdfText(job));
    EXPECT_TRUE(printed.contains("Grüße aus Köln – 25 € „Angebot“")) << printed.toStdString();
    EXPECT_TRUE(printed.contains("Zweite Zeile mit ß und é")) << printed.toStdString();
    EXPECT_TRUE(defaultDestination().endsWith("Office")) << defaultDestination().toStdString();
    EXPECT_TRUE(test.dialogs.messages.empty());
}

TEST_F(CupsSaveAsPdfTest, PaneTwoAndTheWorkPaneWithNoDefaultOfTheUsersOwn) {
    form->pane(1).setText("Gemeinsame Zeile\rNur links\r");
    form->pane(2).setText("Gemeinsame Zeile\rNur rechts\r");
    int job = saveAsPdf(5);
    EXPECT_EQ(CupsTestServer::storedDocument(job), (form->pane(2).text() + "\r\n").toUtf8());
    EXPECT_TRUE(squeezed(pdfText(job)).contains("Nur rechts"));

    form->PushButton(1)->click();
    form->Option(2)->click();  // work panes in view
    job = saveAsPdf(5);
    EXPECT_EQ(CupsTestServer::storedDocument(job), QByteArray("Nur rechts\r\n\r\n"));
    // The server's default was in force and still is: no default of the user's own was written.
    QFile options(userLpoptions());
    if (options.open(QIODevice::ReadOnly)) {
        EXPECT_FALSE(options.readAll().contains("Default "));
    }
}

TEST_F(CupsSaveAsPdfTest, WithoutThePdfPrinterNothingIsPrintedOrShown) {
    ASSERT_TRUE(CupsTestServer::run("lpoptions", {"-d", "Office"}));
    ASSERT_TRUE(CupsTestServer::removeQueue(kPdfQueue));
    form->pane(1).setText("nothing to print");
    form->PushButton(2)->click();
    QString pending;
    CupsTestServer::run("lpstat", {"-o"}, &pending);
    EXPECT_TRUE(pending.trimmed().isEmpty());
    EXPECT_TRUE(CupsTestServer::completedJobs("Office").isEmpty());
    EXPECT_TRUE(test.dialogs.messages.empty());
    EXPECT_TRUE(defaultDestination().endsWith("Office"));
}

}  // namespace

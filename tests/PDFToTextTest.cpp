// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Turning a PDF into text: page ranges extracted at the same time give exactly the bytes of one
// run, and anything unusual falls back to one run.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <numeric>

#include "extract/Deployment.h"
#include "extract/PDFToText.h"
#include "extract/PageRanges.h"
#include "tests/support/TestPdfs.h"
#include "tests/support/TestServices.h"

using namespace corvella;
using corvella::testing::TestServices;
namespace TestPdfs = corvella::testing::TestPdfs;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Pages whose text differs from page to page, with non-Latin lines and empty pages between.
QStringList pages(int count) {
    QStringList out;
    for (int i = 1; i <= count; ++i)
        out << (i % 7 == 0
                    ? QString()
                    : QStringLiteral("Page %1 heading\nΚείμενο σελίδας %1\nline three %1").arg(i));
    return out;
}

TEST(PageRangesTest, PlanSplitsEvenlyWithoutShortRanges) {
    using Ranges = std::vector<std::pair<int, int>>;
    struct Case {
        int pages;
        int runs;
        Ranges expected;
    };
    const Case cases[] = {
        {0, 4, {}},
        {1, 4, {{1, 1}}},
        {39, 2, {{1, 39}}},  // a second range would be shorter than 20 pages
        {40, 2, {{1, 20}, {21, 40}}},
        {1151, 2, {{1, 576}, {577, 1151}}},
        {65, 8, {{1, 22}, {23, 44}, {45, 65}}},
        {100, 1, {{1, 100}}},
        {100, 0, {{1, 100}}},
        {2147483647, 1, {{1, 2147483647}}},  // the largest count a document can claim
    };
    for (const Case& c : cases) {
        Ranges got;
        for (const PageRanges::Range& range : PageRanges::Plan(c.pages, c.runs))
            got.emplace_back(range.first, range.last);
        EXPECT_EQ(got, c.expected) << c.pages << " pages, " << c.runs << " runs";
    }
}

TEST(PageRangesTest, ReadInOrderTheLastRoundIsCutInHalvesThatKeepTheMinimum) {
    using Ranges = std::vector<std::pair<int, int>>;
    struct Case {
        int pages, runs, atOnce;
        Ranges expected;
    };
    const Case cases[] = {
        {120, 3, 2, {{1, 40}, {41, 60}, {61, 80}, {81, 100}, {101, 120}}},
        {117, 3, 2, {{1, 39}, {40, 78}, {79, 117}}},            // halves of 39 pages would be short
        {100, 2, 4, {{1, 25}, {26, 50}, {51, 75}, {76, 100}}},  // every range in the last round
        {100, 1, 2, {{1, 100}}},                                // one run stays one
    };
    for (const Case& c : cases) {
        Ranges got;
        for (const PageRanges::Range& range : PageRanges::PlanInOrder(c.pages, c.runs, c.atOnce))
            got.emplace_back(range.first, range.last);
        EXPECT_EQ(got, c.expected) << c.pages << " pages, " << c.runs << " runs";
    }
}

TEST(PageRangesTest, DocumentInformationGivesPagesAndEncryption) {
    struct Case {
        QByteArray information;
        std::optional<int> pages;
        bool encrypted;
        bool copyingForbidden;
    };
    const Case cases[] = {
        {"Title: x\nPages:           1151\nEncrypted:       no\n", 1151, false, false},
        {"Pages: 3\nEncrypted: yes (print:yes copy:no change:no addNotes:no algorithm:AES-256)\n",
         3, true, true},
        {"Pages: 3\nEncrypted: yes (print:yes copy:yes change:no addNotes:no)\n", 3, true, false},
        {"Pages: many\n", std::nullopt, false, false},
        {"", std::nullopt, false, false},
    };
    for (const Case& c : cases) {
        const PageRanges::DocumentInfo info = PageRanges::ParseDocumentInfo(c.information);
        EXPECT_EQ(info.pages, c.pages) << c.information.constData();
        EXPECT_EQ(info.encrypted, c.encrypted) << c.information.constData();
        EXPECT_EQ(info.copyingForbidden, c.copyingForbidden) << c.information.constData();
    }
}

class PDFToTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        Deployment::DeployExtractor(test.services.events);
    }
    void TearDown() override { Deployment::RemoveExtractor(); }

    // The text file PDFToText leaves for the PDF with the given number of extractor runs.
    // With `pieces`, the text also arrives in pieces there.
    QByteArray convert(const QString& pdf, int runs, std::vector<QByteArray>* pieces = nullptr) {
        test.services.extractorRuns = runs;
        QString path = pdf;
        if (pieces)
            RTB::PDFToText(path, test.services,
                           [&](const QByteArray& piece) { pieces->push_back(piece); });
        else
            RTB::PDFToText(path, test.services);
        const QByteArray bytes = readAll(path);
        QFile::remove(path);
        return bytes;
    }
    QByteArray singleRun(const QString& pdf) {
        const QString out = folder.filePath("single.txt");
        QProcess::execute("pdftotext", {"-enc", "UTF-8", pdf, out});
        return readAll(out);
    }
    // The extractor copy replaced by a script that fails every run given a page range.
    void failRangeRuns() {
        const QString extractor = Deployment::ExtractorPath();
        QFile::remove(extractor);
        QFile script(extractor);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n[ \"$1\" = -f ] && exit 3\nexec pdftotext \"$@\"\n");
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ExeOwner);
    }

    TestServices test;
    QTemporaryDir folder;
};

TEST_F(PDFToTextTest, RangesRunTogetherGiveTheBytesOfOneRun) {
    struct Case {
        int pages;
        int runs;
    };
    for (const Case c : {Case{1, 4}, Case{45, 2}, Case{66, 3}, Case{90, 4}}) {
        SCOPED_TRACE(c.pages);
        const QString pdf = folder.filePath(QStringLiteral("doc%1.pdf").arg(c.pages));
        ASSERT_TRUE(TestPdfs::WriteTextPdf(pdf, pages(c.pages)));
        const QByteArray expected = singleRun(pdf);
        ASSERT_EQ(expected.count('\f'), c.pages);
        EXPECT_EQ(convert(pdf, c.runs), expected);
        // Read in order, one range per core at a time: the same bytes, which also arrive a range
        // at a time.
        std::vector<QByteArray> pieces;
        EXPECT_EQ(convert(pdf, c.runs, &pieces), expected);
        const auto ranges =
            PageRanges::PlanInOrder(c.pages, c.runs,
                                    PageRanges::RunsAtOnceInOrder(QThread::idealThreadCount()))
                .size();
        EXPECT_EQ(pieces.size(), ranges > 1 ? ranges : 0);
        EXPECT_EQ(std::accumulate(pieces.begin(), pieces.end(), QByteArray()),
                  ranges > 1 ? expected : QByteArray());
        EXPECT_EQ(test.dialogs.messages.size(), 0u);
    }
    // No piece of a range is left in the temp folder.
    EXPECT_EQ(
        QDir(QFileInfo(RTB::ExtractedTextPath()).path()).entryList({"text-*"}, QDir::Files).size(),
        0);
}

TEST_F(PDFToTextTest, ChosenPagesAloneAreExtracted) {
    const QString pdf = folder.filePath("doc.pdf");
    ASSERT_TRUE(TestPdfs::WriteTextPdf(pdf, pages(90)));
    const struct {
        std::vector<PageRanges::Range> chosen;
        int runs;
    } cases[] = {{{{7, 7}}, 4}, {{{3, 5}, {30, 70}}, 4}, {{{1, 2}, {60, 90}}, 1}};
    for (const auto& c : cases) {
        QByteArray expected;
        for (const PageRanges::Range& range : c.chosen) {
            const QString out = folder.filePath("range.txt");
            QProcess::execute(
                "pdftotext", {"-f", QString::number(range.first), "-l", QString::number(range.last),
                              "-enc", "UTF-8", pdf, out});
            expected += readAll(out);
        }
        ASSERT_EQ(expected.count('\f'), PageRanges::PageCount(c.chosen));
        for (const bool inOrder : {false, true}) {
            test.services.extractorRuns = c.runs;
            QString path = pdf;
            std::vector<QByteArray> pieces;
            RTB::PDFToText(path, test.services,
                           inOrder ? [&](const QByteArray& piece) { pieces.push_back(piece); }
                                   : std::function<void(const QByteArray&)>(),
                           c.chosen);
            EXPECT_EQ(readAll(path), expected)
                << c.chosen.size() << " ranges, in order " << inOrder;
            QFile::remove(path);
        }
    }
}

TEST_F(PDFToTextTest, AnythingUnusualFallsBackToOneRun) {
    const QString plain = folder.filePath("plain.pdf");
    ASSERT_TRUE(TestPdfs::WriteTextPdf(plain, pages(45)));
    const QByteArray expected = singleRun(plain);

    // Encrypted, but copying allowed: one run, the same text.
    const QString encrypted = folder.filePath("encrypted.pdf");
    ASSERT_TRUE(TestPdfs::Encrypt(plain, encrypted, "", true));
    EXPECT_EQ(convert(encrypted, 3), expected);

    // The page count cannot be read: one run, which finds no text either.
    const QString broken = folder.filePath("broken.pdf");
    QFile out(broken);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(readAll(plain).left(300));
    out.close();
    EXPECT_EQ(convert(broken, 3), "<missing>");

    // A range that fails: one run after all.
    failRangeRuns();
    EXPECT_EQ(convert(plain, 3), expected);
    std::vector<QByteArray> pieces;
    EXPECT_EQ(convert(plain, 3, &pieces), expected);
    EXPECT_TRUE(pieces.empty());
    EXPECT_TRUE(test.dialogs.messages.empty());
}

}  // namespace

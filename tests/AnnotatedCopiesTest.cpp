// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// corvella-diff --annotate on PDFs printed by Chromium with known edits (one column, two columns,
// a ligature, a word hyphenated over two lines, turned pages): each highlight lies on its
// difference's own words, as poppler renders it, with its colour and note read back by qpdf; the
// PDF keeps all it had; troubled inputs are refused one by one.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <set>

#include "annotate/AnnotatedExport.h"
#include "diff/layout/LayoutComparison.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestPdfs.h"

using namespace corvella;
namespace TestPdfs = corvella::testing::TestPdfs;

namespace {

QString Html(const QString& body) {
    return QStringLiteral(
               "<!DOCTYPE html><meta charset=utf-8><style>@page { size: 140mm 200mm; margin: 12mm }"
               "body { font: 13pt 'DejaVu Serif'; line-height: 1.5 } .narrow { width: 13em }"
               ".columns { column-count: 2; column-gap: 2.5em; break-before: page }"
               "a { color: black }</style>") +
           body;
}

// The second file has "agency" for "office" (a ligature), "strangely" for the word hyphenated over
// two lines, not the sentence after it, "station" for "harbour" in the second column, and the
// spoons' sentence moved to its end.
const QString kColumns = QStringLiteral(
    "<div class=columns>Morning trains leave every hour toward northern valleys where farmers "
    "grow barley, oats and turnips beside quiet rivers. Evening ferries cross over to green "
    "islands whose %1 lights glow until dawn returns again.</div>");
const QString kSpoons =
    QStringLiteral("<p>Seven silver spoons vanished from the kitchen drawer overnight.</p>");
const QString kLink = QStringLiteral("<p><a href='https://example.org/'>A link stays.</a></p>");
const QString kOne = Html(
    "<p class=narrow>Our office crew found a remark-<br>ably odd puzzle within quarterly figures. "
    "Nobody could solve it before lunch.</p>" +
    kSpoons + kLink + kColumns.arg("harbour"));
const QString kTwo = Html(
    "<p class=narrow>Our agency crew found a strangely odd puzzle within quarterly "
    "figures.</p>" +
    kLink + kColumns.arg("station") + kSpoons);
const QStringList kMoved = QStringLiteral(
                               "Seven silver spoons vanished from the kitchen drawer "
                               "overnight.")
                               .split(u' ');

struct Outcome {
    int status = -1;
    QString err;
};

Outcome Start(const QString& program, const QStringList& arguments, QByteArray* out = nullptr) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    if (out) *out = process.readAllStandardOutput();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

Outcome Diff(const QStringList& arguments) {
    return Start(qEnvironmentVariable("CORVELLA_DIFF"),
                 QStringList{"--ignore-layout", "--quiet"} + arguments);
}

// A word as pdftotext places it on its page as shown.
struct PlacedWord {
    int page = 0;
    QString text;
    QRectF box;
};

std::vector<PlacedWord> WordsOf(const QString& pdf) {
    QByteArray xhtml;
    Start("pdftotext", {"-bbox", pdf, "-"}, &xhtml);
    std::vector<PlacedWord> words;
    int page = 0;
    for (QXmlStreamReader reader(xhtml); !reader.atEnd();) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        if (reader.name() == u"page") ++page;
        if (reader.name() != u"word") continue;
        auto at = [&](const char* name) { return reader.attributes().value(name).toDouble(); };
        const QRectF box(QPointF(at("xMin"), at("yMin")), QPointF(at("xMax"), at("yMax")));
        words.push_back({page, reader.readElementText(), box});
    }
    return words;
}

enum class Tint { None, Red, Blue, Mixed };

// The tint of the paper (not the ink, black or coloured) in the middle of a word's box on its
// page rendered at twice 72 dpi, its ends left to the rounded ends of a neighbour's highlight.
Tint TintOf(const QImage& page, const QRectF& box) {
    const double end = std::min(box.width(), box.height()) / 4;
    const QRectF middle =
        box.width() > box.height() ? box.adjusted(end, 0, -end, 0) : box.adjusted(0, end, 0, -end);
    const QRect pixels(QPoint(int(2 * middle.left()), int(2 * middle.top())),
                       QPoint(int(2 * middle.right()), int(2 * middle.bottom())));
    int paper = 0, red = 0, blue = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (std::min({c.red(), c.green(), c.blue()}) < 90) continue;
            ++paper;
            red += c.red() > 200 && c.red() - std::max(c.green(), c.blue()) > 50;
            blue += c.blue() > 200 && c.blue() - c.red() > 50;
        }
    }
    if (red * 2 > paper) return Tint::Red;
    if (blue * 2 > paper) return Tint::Blue;
    return (red + blue) * 20 < paper ? Tint::None : Tint::Mixed;
}

// Each word of the PDF with the tint its annotated copy gives it, "page:word=tint".
QStringList Tints(const QString& copy) {
    QTemporaryDir work;
    QStringList tints;
    std::map<int, QImage> pages;
    for (const PlacedWord& word : WordsOf(copy)) {
        if (!pages.count(word.page)) {
            const QString image = work.filePath(QString::number(word.page));
            Start("pdftoppm", {"-r", "144", "-png", "-singlefile", "-f", QString::number(word.page),
                               "-l", QString::number(word.page), copy, image});
            pages[word.page] = QImage(image + ".png");
        }
        const Tint tint = TintOf(pages[word.page], word.box);
        tints << QStringLiteral("%1:%2=%3").arg(word.page).arg(word.text).arg(int(tint));
    }
    return tints;
}

struct Annotation {
    int page = 0;
    QString subtype;
    QString note;
    QJsonArray colour;
};

// The annotations of every page, as qpdf reads them.
std::vector<Annotation> AnnotationsOf(const QString& pdf, const QString& password = {}) {
    QByteArray json;
    Start("qpdf",
          {"--password=" + password, "--json=2", "--json-key=pages", "--json-key=qpdf", pdf},
          &json);
    const QJsonObject all = QJsonDocument::fromJson(json).object();
    const QJsonObject objects = all["qpdf"].toArray()[1].toObject();
    auto value = [&](const QJsonValue& ref) {
        return objects["obj:" + ref.toString()].toObject()["value"].toObject();
    };
    std::vector<Annotation> annotations;
    for (const QJsonValue& page : all["pages"].toArray()) {
        for (const QJsonValue& ref : value(page.toObject()["object"])["/Annots"].toArray()) {
            const QJsonObject annotation = value(ref);
            annotations.push_back({page.toObject()["pageposfrom1"].toInt(),
                                   annotation["/Subtype"].toString(),
                                   annotation["/Contents"].toString().mid(2),  // after "u:"
                                   annotation["/C"].toArray()});
        }
    }
    return annotations;
}

class AnnotatedCopiesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new QTemporaryDir;
        ready = TestPdfs::PrintHtml(kOne, folder->filePath("one.pdf")) &&
                TestPdfs::PrintHtml(kTwo, folder->filePath("two.pdf"));
    }
    static void TearDownTestSuite() { delete folder; }
    void SetUp() override {
        if (!ready) GTEST_SKIP() << "Chromium printed no PDF: install Debian's chromium";
    }
    static QString path(const QString& name) { return folder->filePath(name); }

    static inline QTemporaryDir* folder = nullptr;
    static inline bool ready = false;
};

TEST_F(AnnotatedCopiesTest, HighlightsLieOnTheDifferencesOwnWords) {
    const QStringList red1 = {"office", "remark-", "ably",   "Nobody", "could",
                              "solve",  "it",      "before", "lunch.", "harbour"};
    const QStringList red2 = {"agency", "strangely", "station"};
    // The extractor reads a page turned upside down or to the left in another order, so there only
    // words that differ however they are read are known.
    struct Case {
        int turned;
        bool everyWord;  // every word of the page is known to be a difference's or not
    };
    for (const Case c : {Case{0, true}, Case{90, true}, Case{180, false}, Case{270, false}}) {
        SCOPED_TRACE(c.turned);
        const QString one = path(QStringLiteral("one-%1.pdf").arg(c.turned));
        ASSERT_EQ(
            Start("qpdf", {QStringLiteral("--rotate=+%1").arg(c.turned), path("one.pdf"), one})
                .status,
            0);
        const QString out = path(QStringLiteral("copies-%1").arg(c.turned));
        ASSERT_EQ(Diff({"--annotate", out, one, path("two.pdf")}).status, 1);
        for (const Side side : kBothSides) {
            const QString copy =
                QDir(out).filePath(QFileInfo(side == Side::One ? one : "two.pdf").fileName());
            EXPECT_EQ(Start("qpdf", {"--check", copy}).status, 0);
            if (side == Side::Two && c.turned != 0) continue;
            const QStringList& red = side == Side::One ? red1 : red2;
            QStringList expected;
            QStringList got;
            for (const QString& tint : Tints(copy)) {
                const QString word = tint.section(u':', 1).section(u'=', 0, 0);
                const Tint want = red.contains(word)      ? Tint::Red
                                  : kMoved.contains(word) ? Tint::Blue
                                                          : Tint::None;
                if (!c.everyWord && want != Tint::Red && !QStringList{"Our", "crew"}.contains(word))
                    continue;
                expected << tint.section(u'=', 0, 0) + u'=' + QString::number(int(want));
                got << tint;
            }
            EXPECT_EQ(got, expected);
        }
    }
}

TEST_F(AnnotatedCopiesTest, NotesAndColoursReadBack) {
    ASSERT_EQ(Diff({"--annotate", path("notes"), path("one.pdf"), path("two.pdf")}).status, 1);
    const QJsonArray red{1, 0.45, 0.45};
    const QJsonArray blue{0.45, 0.65, 1};
    struct Expected {
        int page;
        QJsonArray colour;
        QString note;
    };
    // In page order, each page's changes before its moves.
    const std::vector<Expected> one = {
        {1, red, "Changed: two.pdf has \u201cagency\u201d (page 1, line 1)."},
        {1, red, "Changed: two.pdf has \u201cstrangely\u201d (page 1, line 2)."},
        {1, red, "Changed: not in two.pdf, where it would stand on page 1, line 4."},
        {1, blue, "Moved: two.pdf has it on page 2, line 25."},
        {2, red, "Changed: two.pdf has \u201cstation\u201d (page 2, line 15)."},
    };
    const std::vector<Expected> two = {
        {1, red, "Changed: one.pdf has \u201coffice\u201d (page 1, line 1)."},
        {1, red, "Changed: one.pdf has \u201cremarkably\u201d (page 1, line 2)."},
        {2, red, "Changed: one.pdf has \u201charbour\u201d (page 2, line 15)."},
        {2, blue, "Moved: one.pdf has it on page 1, line 6."},
    };
    for (const auto& [copy, expected] : {std::pair{"one.pdf", one}, std::pair{"two.pdf", two}}) {
        std::vector<Annotation> highlights;
        for (const Annotation& annotation : AnnotationsOf(path("notes/") + copy))
            if (annotation.subtype == "/Highlight") highlights.push_back(annotation);
        ASSERT_EQ(highlights.size(), expected.size()) << copy;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(highlights[i].page, expected[i].page) << copy << " " << i;
            EXPECT_EQ(highlights[i].colour, expected[i].colour) << copy << " " << i;
            EXPECT_EQ(highlights[i].note, expected[i].note) << copy << " " << i;
        }
    }
}

// Everything but the annotations added is as it was: the pages as drawn without annotations, the
// document information and outline, the link.
TEST_F(AnnotatedCopiesTest, KeepsAllThePdfHad) {
    ASSERT_EQ(Diff({"--annotate", path("kept"), path("one.pdf"), path("two.pdf")}).status, 1);
    auto facts = [](const QString& pdf) {
        QByteArray info, outline, pages;
        Start("pdfinfo", {pdf}, &info);
        Start("qpdf", {"--json=2", "--json-key=outlines", pdf}, &outline);
        Start("pdftoppm", {"-r", "40", "-hide-annotations", pdf}, &pages);
        int links = 0;
        for (const Annotation& annotation : AnnotationsOf(pdf))
            links += annotation.subtype == "/Link";
        return QStringList{QString::fromUtf8(info).remove(QRegularExpression("File size:[^\n]*")),
                           QString::fromUtf8(outline),
                           QCryptographicHash::hash(pages, QCryptographicHash::Sha256).toHex(),
                           QString::number(links)};
    };
    EXPECT_EQ(facts(path("kept/one.pdf")), facts(path("one.pdf")));
}

// Each input's trouble is its own: one line naming it and why, status 2, the other copy written.
TEST_F(AnnotatedCopiesTest, TroubledInputsAreRefusedOneByOne) {
    const QString plain = path("one.pdf");
    ASSERT_TRUE(TestPdfs::Encrypt(plain, path("locked.pdf"), "user-secret", true));
    ASSERT_EQ(Start("qpdf", {"--encrypt", "", "owner-secret", "256", "--annotate=n", "--", plain,
                             path("no-notes.pdf")})
                  .status,
              0);
    QFile original(plain);
    QFile damaged(path("damaged.pdf"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly) && damaged.open(QIODevice::WriteOnly));
    QByteArray bytes = original.readAll();
    const qsizetype table = bytes.lastIndexOf("startxref") + 10;
    damaged.write(bytes.replace(table, bytes.indexOf('\n', table) - table, "99999"));
    damaged.close();
    struct Case {
        QStringList arguments;  // before the two files
        QString one;
        int status;
        QString err;  // a pattern
        bool firstWritten;
        bool secondWritten;
    };
    const Case cases[] = {
        {{"--password1", "user-secret"}, "locked.pdf", 1, "^$", true, true},
        {{"--password1", "wrong"},
         "locked.pdf",
         2,
         "locked.pdf: the password given does not open it\n$",
         false,
         false},
        {{}, "no-notes.pdf", 2, "no-notes.pdf: its owner does not allow adding notes", false, true},
        {{"--password1", "owner-secret"}, "no-notes.pdf", 1, "^$", true, true},
        {{}, "damaged.pdf", 1, "^$", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.one.toStdString() + " " + c.arguments.join(' ').toStdString());
        QDir out(path("trouble"));
        out.removeRecursively();
        const Outcome run =
            Diff(c.arguments + QStringList{"--annotate", out.path(), path(c.one), path("two.pdf")});
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.err.contains(QRegularExpression(c.err))) << run.err.toStdString();
        EXPECT_EQ(out.exists(c.one), c.firstWritten);
        EXPECT_EQ(out.exists("two.pdf"), c.secondWritten);
        if (c.firstWritten) {
            EXPECT_EQ(Start("qpdf",
                            {"--password=" + c.arguments.value(1), "--check", out.filePath(c.one)})
                          .status,
                      0);
        }
    }
    // An encrypted copy stays encrypted, its notes readable with its password.
    Diff({"--password1", "user-secret", "--annotate", path("locked-copy"), path("locked.pdf"),
          path("two.pdf")});
    EXPECT_EQ(Start("qpdf", {"--requires-password", path("locked-copy/locked.pdf")}).status, 0);
    EXPECT_FALSE(AnnotationsOf(path("locked-copy/locked.pdf"), "user-secret").empty());
    // A folder that cannot be made.
    const Outcome unwritable =
        Diff({"--annotate", path("one.pdf") + "/copies", plain, path("two.pdf")});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_TRUE(unwritable.err.contains("one.pdf: the folder")) << unwritable.err.toStdString();
}

// Into the inputs' own folder, two files of one name: neither input is written over.
TEST_F(AnnotatedCopiesTest, NeverWritesOverAnInput) {
    QDir(path("same")).mkpath("new");
    QFile::copy(path("one.pdf"), path("same/guide.pdf"));
    QFile::copy(path("two.pdf"), path("same/new/guide.pdf"));
    auto digest = [](const QString& file) {
        QFile in(file);
        in.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(in.readAll(), QCryptographicHash::Sha256);
    };
    const QByteArray before = digest(path("same/guide.pdf")) + digest(path("same/new/guide.pdf"));
    EXPECT_EQ(Diff({"--annotate", path("same"), path("same/guide.pdf"), path("same/new/guide.pdf")})
                  .status,
              1);
    EXPECT_EQ(digest(path("same/guide.pdf")) + digest(path("same/new/guide.pdf")), before);
    EXPECT_FALSE(AnnotationsOf(path("same/guide-1.pdf")).empty());
    EXPECT_FALSE(AnnotationsOf(path("same/guide-2.pdf")).empty());
}

// The corpus's real pairs give copies that pass qpdf's check; its protected PDF (user password
// "123", owner password "abc", copying and notes forbidden) is refused with its user's password
// and copied with its owner's, still encrypted.
TEST_F(AnnotatedCopiesTest, CorpusCopies) {
    const QDir corpus(qEnvironmentVariable("CORVELLA_CORPUS_DIR"));
    if (!corpus.exists("pairs/install-guide-amd64.pdf"))
        GTEST_SKIP() << "No corpus: tools/fetch-corpus.sh build/corpus";
    for (const auto& [one, two] :
         {std::pair{"install-guide-amd64.pdf", "install-guide-arm64.pdf"},
          std::pair{"cpp-annotations-a4.pdf", "cpp-annotations-letter.pdf"}}) {
        const QString out = path(QStringLiteral("corpus-") + one);
        EXPECT_EQ(Diff({"--annotate", out, corpus.filePath(QStringLiteral("pairs/") + one),
                        corpus.filePath(QStringLiteral("pairs/") + two)})
                      .status,
                  1);
        for (const char* copy : {one, two})
            EXPECT_EQ(Start("qpdf", {"--check", QDir(out).filePath(copy)}).status, 0) << copy;
    }
    const QString locked = corpus.filePath("protected/user-password-123.pdf");
    const Outcome user =
        Diff({"--password1", "123", "--annotate", path("corpus-locked"), locked, path("two.pdf")});
    EXPECT_EQ(user.status, 2);
    EXPECT_TRUE(user.err.contains("does not allow copying its text")) << user.err.toStdString();
    EXPECT_EQ(
        Diff({"--password1", "abc", "--annotate", path("corpus-locked"), locked, path("two.pdf")})
            .status,
        1);
    EXPECT_EQ(
        Start("qpdf", {"--requires-password", path("corpus-locked/user-password-123.pdf")}).status,
        0);
    EXPECT_FALSE(AnnotationsOf(path("corpus-locked/user-password-123.pdf"), "123").empty());
}

// Word boxes that do not match the compared text (here made up for the first file) refuse that
// copy alone.
TEST_F(AnnotatedCopiesTest, WordsThatDoNotMatchTheTextRefuseThatCopy) {
    QByteArray text;
    Start("pdftotext", {"-enc", "UTF-8", path("two.pdf"), "-"}, &text);
    const QString one = QStringLiteral("Zyx wvu tsr qpo\r\n\f\r\n");
    const QString two = QString::fromUtf8(text).replace("\n", "\r\n") + "\r\n";
    const Comparison comparison = LayoutCompare::Compare(one, two);
    BySide<AnnotatedExport::Source> sources;
    sources[Side::One] = {path("one.pdf"), one, {}};
    sources[Side::Two] = {path("two.pdf"), two, {}};
    const BySide<AnnotatedExport::Outcome> outcomes =
        AnnotatedExport::Write(comparison, sources, path("mismatch"));
    EXPECT_TRUE(outcomes[Side::One].problem.contains("do not match its text"))
        << outcomes[Side::One].problem.toStdString();
    EXPECT_TRUE(outcomes[Side::Two].problem.isEmpty()) << outcomes[Side::Two].problem.toStdString();
    EXPECT_FALSE(QFile::exists(outcomes[Side::One].copy));
    EXPECT_TRUE(QFile::exists(outcomes[Side::Two].copy));
}

}  // namespace

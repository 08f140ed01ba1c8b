// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// corvella-diff --annotate on PDFs printed by Chromium with known edits (one column, two columns,
// a ligature, a word hyphenated over two lines, turned pages): each highlight lies on its
// difference's own words as poppler renders it, its colour and note read back by qpdf; the PDF
// keeps all it had; troubled inputs are refused one by one.
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

#include "annotate/AnnotatedExport.h"
#include "diff/layout/LayoutComparison.h"
#include "tests/support/QStringPrinter.h"

using namespace corvella;

namespace {

// The second file has "agency" for "office" (a ligature), "strangely" for the word hyphenated over
// two lines, not the sentence after it, "station" for "harbour" in the second column, and the
// spoons' sentence moved to its end.
const QString kPage = QStringLiteral(
    "<meta charset=utf-8><style>@page { size: 140mm 200mm; margin: 12mm } body { font: 13pt "
    "'DejaVu Serif'; line-height: 1.5 } p.n { width: 13em } a { color: black } div { "
    "column-count: 2; column-gap: 2.5em; break-before: page }</style><p class=n>Our %1 crew found "
    "a %2 odd puzzle within quarterly figures.%3</p>%4<p><a href='https://example.org/'>A link "
    "stays.</a></p><div>Morning trains leave every hour toward northern valleys where farmers grow "
    "barley, oats and turnips beside quiet rivers. Evening ferries cross over to green islands "
    "whose %5 lights glow until dawn returns again.</div>%6<h3>The end</h3>");
const QString kSpoons = "<p>Seven silver spoons vanished from the kitchen drawer overnight.</p>";
const QString kOne = kPage.arg("office", "remark-<br>ably", " Nobody could solve it before lunch.",
                               kSpoons, "harbour", "");
const QString kTwo = kPage.arg("agency", "strangely", "", "", "station", kSpoons);

struct Outcome {
    int status = -1;
    QString err;
};

Outcome Start(const QString& program, const QStringList& arguments, QByteArray* out = nullptr) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(300000);
    if (out) *out = process.readAllStandardOutput();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

Outcome Diff(const QStringList& arguments) {
    return Start(qEnvironmentVariable("CORVELLA_DIFF"),
                 QStringList{"--ignore-layout", "--quiet"} + arguments);
}

QByteArray Bytes(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void Put(const QString& file, const QByteArray& bytes) {
    QFile out(file);
    if (out.open(QIODevice::WriteOnly)) out.write(bytes);
}

enum Tint { None, Red, Blue, Mixed };

// The tint of the paper (not the ink, black or coloured) in the middle of a box of a page rendered
// at twice 72 dpi, its ends left to the rounded ends of a neighbour's highlight.
Tint TintOf(const QImage& page, QRectF box) {
    const double end = std::min(box.width(), box.height()) / 4;
    box =
        box.width() > box.height() ? box.adjusted(end, 0, -end, 0) : box.adjusted(0, end, 0, -end);
    int paper = 0, red = 0, blue = 0;
    for (int y = int(2 * box.top()); y <= int(2 * box.bottom()); ++y) {
        for (int x = int(2 * box.left()); x <= int(2 * box.right()); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (std::min({c.red(), c.green(), c.blue()}) < 90) continue;
            ++paper;
            red += c.red() > 200 && c.red() - std::max(c.green(), c.blue()) > 50;
            blue += c.blue() > 200 && c.blue() - c.red() > 50;
        }
    }
    return red * 2 > paper             ? Red
           : blue * 2 > paper          ? Blue
           : (red + blue) * 20 < paper ? None
                                       : Mixed;
}

// Each word of a PDF as pdftotext places it, with the tint poppler renders under it:
// "page:word=tint".
QStringList Tints(const QString& pdf) {
    QTemporaryDir work;
    QByteArray xhtml;
    Start("pdftotext", {"-bbox", pdf, "-"}, &xhtml);
    QStringList tints;
    QImage image;
    int page = 0;
    for (QXmlStreamReader reader(xhtml); !reader.atEnd();) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        if (reader.name() == u"page") {
            const QString number = QString::number(++page), png = work.filePath(number);
            Start("pdftoppm",
                  {"-r", "144", "-png", "-singlefile", "-f", number, "-l", number, pdf, png});
            image.load(png + ".png");
        } else if (reader.name() == u"word") {
            auto at = [&](const char* name) { return reader.attributes().value(name).toDouble(); };
            const QRectF box(QPointF(at("xMin"), at("yMin")), QPointF(at("xMax"), at("yMax")));
            tints << QStringLiteral("%1:%2=").arg(page).arg(reader.readElementText()) +
                         QString::number(TintOf(image, box));
        }
    }
    return tints;
}

// The annotations of every page as qpdf reads them: "page subtype colour note".
QStringList AnnotationsOf(const QString& pdf, const QString& password = {}) {
    QByteArray json;
    Start("qpdf",
          {"--password=" + password, "--json=2", "--json-key=pages", "--json-key=qpdf", pdf},
          &json);
    const QJsonObject all = QJsonDocument::fromJson(json).object();
    const QJsonObject objects = all["qpdf"].toArray()[1].toObject();
    auto value = [&](const QJsonValue& ref) {
        return objects["obj:" + ref.toString()].toObject()["value"].toObject();
    };
    QStringList annotations;
    for (const QJsonValue& page : all["pages"].toArray()) {
        for (const QJsonValue& ref : value(page["object"])["/Annots"].toArray()) {
            const QJsonObject annotation = value(ref);
            const QJsonDocument colour(annotation["/C"].toArray());
            annotations << QStringLiteral("%1 %2 %3 %4")
                               .arg(page["pageposfrom1"].toInt())
                               .arg(annotation["/Subtype"].toString(),
                                    colour.toJson(QJsonDocument::Compact),
                                    annotation["/Contents"].toString().mid(2));  // after "u:"
        }
    }
    return annotations;
}

class AnnotatedCopiesTest : public ::testing::Test {
protected:
    // Both files printed by headless Chromium.
    static void SetUpTestSuite() {
        folder = new QTemporaryDir;
        for (const auto& [name, html] : {std::pair{"one", kOne}, std::pair{"two", kTwo}}) {
            Put(path(name + QStringLiteral(".html")), html.toUtf8());
            Start("chromium",
                  {"--headless", "--no-sandbox", "--disable-gpu", "--no-pdf-header-footer",
                   "--generate-pdf-document-outline", "--user-data-dir=" + path("profile"),
                   "--print-to-pdf=" + path(name + QStringLiteral(".pdf")),
                   path(name + QStringLiteral(".html"))});
        }
    }
    static void TearDownTestSuite() { delete folder; }
    void SetUp() override {
        if (!QFile::exists(path("two.pdf"))) GTEST_SKIP() << "No PDF: install Debian's chromium";
    }
    static QString path(const QString& name) { return folder->filePath(name); }

    static inline QTemporaryDir* folder = nullptr;
};

TEST_F(AnnotatedCopiesTest, HighlightsLieOnTheDifferencesOwnWords) {
    const QString red =
        "office remark- ably Nobody could solve it before lunch. harbour agency "
        "strangely station";
    const QString moved = "Seven silver spoons vanished from the kitchen drawer overnight.";
    // The extractor reads a page turned upside down or to the left in another order, so there only
    // the words that differ however they are read, and their neighbours, are known.
    for (const int turned : {0, 90, 180, 270}) {
        SCOPED_TRACE(turned);
        const QString one = path(QStringLiteral("one-%1.pdf").arg(turned));
        const QString out = path(QStringLiteral("copies-%1").arg(turned));
        Start("qpdf", {QStringLiteral("--rotate=+%1").arg(turned), path("one.pdf"), one});
        ASSERT_EQ(Diff({"--annotate", out, one, path("two.pdf")}).status, 1);
        for (const QString& copy : {QFileInfo(one).fileName(), QStringLiteral("two.pdf")}) {
            QStringList got, expected;
            for (const QString& tint : Tints(QDir(out).filePath(copy))) {
                const QString word = tint.section(u':', 1).section(u'=', 0, 0);
                const Tint want = red.split(u' ').contains(word)     ? Red
                                  : moved.split(u' ').contains(word) ? Blue
                                                                     : None;
                if (turned < 180 || want == Red || word == "crew") {
                    got << tint;
                    expected << tint.section(u'=', 0, 0) + u'=' + QString::number(want);
                }
            }
            EXPECT_EQ(got, expected);
        }
    }
    // The notes and colours, in page order, each page's changes before its moves.
    const QString r = "1 /Highlight [1,0.45,0.45] ", b = "1 /Highlight [0.45,0.65,1] ";
    EXPECT_EQ(AnnotationsOf(path("copies-0/one-0.pdf")),
              QStringList({"1 /Link [] ", r + "Changed: two.pdf has “agency” (page 1, line 1).",
                           r + "Changed: two.pdf has “strangely” (page 1, line 2).",
                           r + "Changed: not in two.pdf, where it would stand on page 1, line 4.",
                           b + "Moved: two.pdf has it on page 2, line 25.",
                           "2" + r.mid(1) + "Changed: two.pdf has “station” (page 2, line 15)."}));
    // All else is as it was: the pages drawn without annotations, the information, the outline.
    auto facts = [](const QString& pdf) {
        QByteArray info, outline, pages;
        Start("pdfinfo", {pdf}, &info);
        Start("qpdf", {"--json=2", "--json-key=outlines", pdf}, &outline);
        Start("pdftoppm", {"-r", "40", "-hide-annotations", pdf}, &pages);
        // Objects are numbered anew in the copy.
        return QString::fromUtf8(info + outline)
                   .remove(QRegularExpression("File size:.*|\\d+ 0 R")) +
               QCryptographicHash::hash(pages, QCryptographicHash::Sha256).toHex();
    };
    EXPECT_EQ(facts(path("copies-0/one-0.pdf")), facts(path("one.pdf")));
}

// With only some pages compared, the highlights and the notes keep the documents' page numbers.
TEST_F(AnnotatedCopiesTest, ChosenPagesKeepTheirNumbers) {
    ASSERT_EQ(Diff({"--pages1", "2", "--pages2", "2", "--annotate", path("page-2"), path("one.pdf"),
                    path("two.pdf")})
                  .status,
              1);
    EXPECT_EQ(AnnotationsOf(path("page-2/one.pdf")),
              QStringList({"1 /Link [] ",
                           "2 /Highlight [1,0.45,0.45] Changed: two.pdf has "
                           "“station” (page 2, line 15)."}));
}

// Each input's trouble is its own: one line naming it and why, status 2, the other copy written.
// The copy of an encrypted PDF is encrypted; into the inputs' folder, no input is written over.
TEST_F(AnnotatedCopiesTest, TroubledInputsAreRefusedOneByOne) {
    Start("qpdf", {"--encrypt", "user-secret", "owner-secret", "256", "--", path("one.pdf"),
                   path("locked.pdf")});
    Start("qpdf", {"--encrypt", "", "owner-secret", "256", "--annotate=n", "--", path("one.pdf"),
                   path("no-notes.pdf")});
    const QByteArray inputs = Bytes(path("one.pdf")) + Bytes(path("two.pdf"));
    // The corpus's protected PDF, when there: user password "123", owner password "abc", copying
    // and notes forbidden.
    QFile::copy(qEnvironmentVariable("CORVELLA_CORPUS_DIR") + "/protected/user-password-123.pdf",
                path("corpus.pdf"));
    QByteArray bytes = Bytes(path("one.pdf"));
    const qsizetype table = bytes.lastIndexOf("startxref") + 10;  // made to point at nothing
    Put(path("damaged.pdf"), bytes.replace(table, bytes.indexOf('\n', table) - table, "99999"));
    struct Case {
        QString password, one, folder;
        QString err;           // a pattern
        QString copy1, copy2;  // in the folder; none when empty
    };
    const Case cases[] = {
        {"user-secret", "locked.pdf", "out", "^$", "locked.pdf", "two.pdf"},
        {"wrong", "locked.pdf", "out", "^[^\n]*locked.pdf: the password given does not open it\n$",
         "", ""},
        {"", "no-notes.pdf", "out", "^[^\n]*no-notes.pdf: its owner does not allow adding notes",
         "", "two.pdf"},
        {"owner-secret", "no-notes.pdf", "out", "^$", "no-notes.pdf", "two.pdf"},
        {"", "damaged.pdf", "out", "^$", "damaged.pdf", "two.pdf"},
        {"123", "corpus.pdf", "out", "corpus.pdf: its owner does not allow copying its text", "",
         ""},
        {"abc", "corpus.pdf", "out", "^$", "corpus.pdf", "two.pdf"},
        {"", "one.pdf", "two.pdf/out", "one.pdf: the folder .*\n.*two.pdf: the folder", "", ""},
        {"", "one.pdf", ".", "^$", "one-annotated.pdf", "two-annotated.pdf"},
    };
    for (const Case& c : cases) {
        if (!QFile::exists(path(c.one))) continue;  // no corpus
        SCOPED_TRACE((c.one + " " + c.password).toStdString());
        QDir(path("out")).removeRecursively();
        const QDir out(path(c.folder));
        const QStringList password =
            c.password.isEmpty() ? QStringList() : QStringList{"--password1", c.password};
        const Outcome run =
            Diff(password + QStringList{"--annotate", out.path(), path(c.one), path("two.pdf")});
        EXPECT_EQ(run.status, c.copy1.isEmpty() || c.copy2.isEmpty() ? 2 : 1);
        EXPECT_TRUE(run.err.contains(QRegularExpression(c.err))) << run.err.toStdString();
        // A copy not written is not there under its name either.
        EXPECT_EQ(out.exists(c.copy1.isEmpty() ? c.one : c.copy1), !c.copy1.isEmpty());
        EXPECT_EQ(out.exists(c.copy2.isEmpty() ? "two.pdf" : c.copy2), !c.copy2.isEmpty());
        for (const QString& copy : {c.copy1, c.copy2}) {
            const QString file = out.filePath(copy);
            if (copy.isEmpty()) continue;
            EXPECT_EQ(Start("qpdf", {"--password=" + c.password, "--check", file}).status, 0);
            EXPECT_EQ(Start("qpdf", {"--is-encrypted", file}).status == 0,
                      copy == c.copy1 && !c.password.isEmpty());
        }
    }
    EXPECT_EQ(Bytes(path("one.pdf")) + Bytes(path("two.pdf")), inputs);
}

// The corpus's real pairs give copies that pass qpdf's check.
TEST_F(AnnotatedCopiesTest, CorpusCopies) {
    const QDir pairs(qEnvironmentVariable("CORVELLA_CORPUS_DIR") + "/pairs");
    if (!pairs.exists("install-guide-amd64.pdf"))
        GTEST_SKIP() << "No corpus: tools/fetch-corpus.sh";
    const QStringList books = {"install-guide-amd64.pdf", "install-guide-arm64.pdf",
                               "cpp-annotations-a4.pdf", "cpp-annotations-letter.pdf"};
    for (qsizetype i = 0; i < books.size(); i += 2) {
        const QStringList pair = books.mid(i, 2);
        EXPECT_EQ(
            Diff({"--annotate", path("corpus"), pairs.filePath(pair[0]), pairs.filePath(pair[1])})
                .status,
            1);
        for (const QString& book : pair)
            EXPECT_EQ(Start("qpdf", {"--check", path("corpus/" + book)}).status, 0)
                << book.toStdString();
    }
}

// Word boxes that do not match the compared text (here made up for the first file) refuse that
// copy alone.
TEST_F(AnnotatedCopiesTest, WordsThatDoNotMatchTheTextRefuseThatCopy) {
    QByteArray text;
    Start("pdftotext", {"-enc", "UTF-8", path("two.pdf"), "-"}, &text);
    const QString one = QStringLiteral("Zyx wvu tsr qpo\r\n\f\r\n");
    const QString two = QString::fromUtf8(text).replace("\n", "\r\n") + "\r\n";
    BySide<AnnotatedExport::Source> sources;
    sources[Side::One] = {path("one.pdf"), one, {}};
    sources[Side::Two] = {path("two.pdf"), two, {}};
    const BySide<AnnotatedExport::Outcome> outcomes =
        AnnotatedExport::Write(LayoutCompare::Compare(one, two), sources, path("mismatch"));
    EXPECT_TRUE(outcomes[Side::One].problem.contains("do not match its text"));
    EXPECT_TRUE(outcomes[Side::Two].problem.isEmpty()) << outcomes[Side::Two].problem.toStdString();
    EXPECT_FALSE(QFile::exists(outcomes[Side::One].copy));
    EXPECT_TRUE(QFile::exists(outcomes[Side::Two].copy));
}

// The command line parses the PDFs beside the extraction, the review window's export in the pool
// that reads the pages: the copies come out the same.
TEST_F(AnnotatedCopiesTest, CopiesAreTheSameWhereverThePdfsWereParsed) {
    BySide<QString> texts;
    BySide<AnnotatedExport::Source> sources;
    for (const Side side : kBothSides) {
        const QString pdf = path(side == Side::One ? "one.pdf" : "two.pdf");
        QByteArray text;
        Start("pdftotext", {"-enc", "UTF-8", pdf, "-"}, &text);
        texts[side] = QString::fromUtf8(text).replace("\n", "\r\n");
        sources[side] = {pdf, texts[side], {}};
    }
    const Comparison comparison = LayoutCompare::Compare(texts[Side::One], texts[Side::Two]);
    AnnotatedExport::Originals originals({{sources[Side::One].pdf, sources[Side::Two].pdf}}, {});
    const auto pooled = AnnotatedExport::Write(comparison, sources, path("pooled"));
    const auto beside = AnnotatedExport::Write(comparison, sources, path("beside"),
                                               Markings::ChangesAndMoves, &originals);
    for (const Side side : kBothSides) {
        ASSERT_TRUE(pooled[side].problem.isEmpty() && beside[side].problem.isEmpty());
        EXPECT_FALSE(AnnotationsOf(pooled[side].copy).isEmpty());
        EXPECT_EQ(AnnotationsOf(pooled[side].copy), AnnotationsOf(beside[side].copy));
    }
}

}  // namespace

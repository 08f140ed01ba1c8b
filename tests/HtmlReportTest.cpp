// The web-page report of corvella-diff: its escaping and marking, and the real program's pages as
// headless Chromium renders them.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "report/HtmlReport.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestPdfs.h"

using namespace corvella;
namespace TestPdfs = corvella::testing::TestPdfs;

namespace {

// A comparison whose differences are the given ranges.
Comparison marking(Method method, const std::vector<TextRange>& in1,
                   const std::vector<TextRange>& in2) {
    Comparison comparison;
    comparison.method = method;
    for (int side = 1; side <= 2; ++side)
        for (const TextRange& range : side == 1 ? in1 : in2) {
            Difference difference;
            difference.span = range;
            comparison.side(side).differences.push_back(difference);
        }
    return comparison;
}

TEST(HtmlReportTest, EscapesEveryCharacterThatCouldEndATextOrAnAttribute) {
    const struct {
        QString text;
        QString escaped;
    } cases[] = {
        {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"</pre><b>", "&lt;/pre&gt;&lt;b&gt;"},
        {"AT&T &amp;", "AT&amp;T &amp;amp;"},
        {"\"double\" 'single'", "&quot;double&quot; &#39;single&#39;"},
        {"plain text, ÄÖ ✓", "plain text, ÄÖ ✓"},
    };
    for (const auto& c : cases) EXPECT_EQ(HtmlReport::Escape(c.text), c.escaped);
}

// The first file's text column of each page, as written.
QStringList leftColumns(const QByteArray& html) {
    static const QRegularExpression page(
        QStringLiteral(
            "<div class=\"pg\" id=\"p\\d+\"><span class=\"n\">\\d*</span><pre>(.*?)</pre>"),
        QRegularExpression::DotMatchesEverythingOption);
    QStringList columns;
    for (auto it = page.globalMatch(QString::fromUtf8(html)); it.hasNext();)
        columns << it.next().captured(1);
    return columns;
}

TEST(HtmlReportTest, MarksEachRangeOnceOnItsPage) {
    const struct {
        const char* what;
        QString text;
        std::vector<TextRange> marked;
        QStringList pages;
    } cases[] = {
        {"a line", "one\r\ntwo\r\n", {{5, 3}}, {"one\n<mark>two</mark>\n"}},
        {"words of one line, out of order",
         "a bb c\r\n",
         {{5, 1}, {2, 2}},
         {"a <mark>bb</mark> <mark>c</mark>\n"}},
        {"a page's first line starts with its form feed",
         "x\r\n\fy\r\n\f",
         {{3, 2}},
         {"x\n", "<mark>y</mark>\n"}},
        {"a line of form feeds only ends the page its last one ends",
         "a\f\f",
         {{1, 2}},
         {"a", "<mark></mark>"}},
        {"overlapping ranges stay two marks",
         "abcdef",
         {{0, 4}, {2, 3}},
         {"<mark>abcd</mark><mark>e</mark>f"}},
        {"hostile text",
         "<script>x()</script></pre>",
         {{0, 8}},
         {"<mark>&lt;script&gt;</mark>x()&lt;/script&gt;&lt;/pre&gt;"}},
    };
    for (const auto& c : cases) {
        const QByteArray html =
            HtmlReport::Write(marking(Method::Lines, c.marked, {}), {"a", c.text}, {"b", u""});
        EXPECT_EQ(leftColumns(html), c.pages) << c.what;
        EXPECT_EQ(html.count("<mark>"), qsizetype(c.marked.size())) << c.what;
    }
}

TEST(HtmlReportTest, SummaryNamesTheFilesAndLinksThePagesWithDifferences) {
    const QByteArray html = HtmlReport::Write(marking(Method::Words, {{9, 2}}, {{0, 2}, {4, 3}}),
                                              {"<a&b>.pdf", u"p1\r\n\fp2\r\n\fp3\r\n\f"},
                                              {"two.pdf", u"q1\r\n\fq2\r\n\f"});
    EXPECT_TRUE(html.contains("<td>1</td><td>&lt;a&amp;b&gt;.pdf</td><td>3</td><td>1</td>"));
    EXPECT_TRUE(html.contains("<td>2</td><td>two.pdf</td><td>2</td><td>2</td>"));
    EXPECT_TRUE(html.contains("Method: <span id=\"method\">words</span>"));
    EXPECT_TRUE(html.contains("<span id=\"differences\">3</span>"));
    EXPECT_TRUE(
        html.contains("Pages with differences: <a href=\"#p1\">1</a> <a href=\"#p2\">2</a> "
                      "<a href=\"#p3\">3</a> </p>"));
    EXPECT_FALSE(html.contains("src=")) << "nothing is loaded from elsewhere";
}

// ---------------------------------------------------------------------------------------------
// The real program's reports in a real browser.

struct Outcome {
    int status = -1;
    QByteArray out;
};

Outcome run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(300000);  // guards against a hang only
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput()};
}

// Added to a copy of a report: presses n, n, n, p as a reader would and writes what it saw into the
// page, which Chromium then prints.
const QString kProbe = QStringLiteral(
    "(function(){var m=document.getElementsByTagName('mark'),r={marks:m.length,steps:[]};"
    "function cur(){for(var i=0;i<m.length;i++)if(m[i].classList.contains('cur'))return i;"
    "return -1;}"
    "function seen(i){if(!m[i])return false;var b=m[i].getBoundingClientRect();"
    "return b.bottom>0&&b.top<innerHeight;}"
    "['n','n','n','p'].forEach(function(k){"
    "document.dispatchEvent(new KeyboardEvent('keydown',{key:k,bubbles:true}));"
    "var c=cur();r.steps.push([c,seen(c),seen(2)]);});"
    "r.scripts=document.scripts.length;r.pwned=window.pwned===true;"
    "r.bold=document.getElementsByTagName('b').length;r.pres=document.querySelectorAll('pre')."
    "length;"
    "r.pages=document.querySelectorAll('.pg').length;"
    "r.text=Array.prototype.map.call(document.querySelectorAll('pre'),function(p){"
    "return p.textContent;}).join('');"
    "var o=document.createElement('output');o.id='probe';o.textContent=JSON.stringify(r);"
    "document.body.appendChild(o);})();");

class HtmlReportBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (chromium.isEmpty())
            GTEST_SKIP() << "No browser: install Debian's chromium to test the reports in it";
        ASSERT_TRUE(folder.isValid());
    }

    QString path(const QString& name) const { return folder.filePath(name); }

    // What the probe saw in the rendered copy of the report.
    QJsonObject render(const QByteArray& report) {
        const QByteArray hash =
            QCryptographicHash::hash(kProbe.toUtf8(), QCryptographicHash::Sha256).toBase64();
        QByteArray copy = report;
        // The report's own policy lets only its own script run; the probe is allowed beside it.
        copy.replace("script-src 'sha256-", "script-src 'sha256-" + hash + "' 'sha256-");
        copy.replace("</body>", "<script>" + kProbe.toUtf8() + "</script></body>");
        const QString file = path(QStringLiteral("report-%1.html").arg(++rendered));
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(copy) == copy.size());
        out.close();
        QTemporaryDir profile;
        const Outcome browser =
            run(chromium,
                {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--user-data-dir=" + profile.path(), "--window-size=1000,700", "--dump-dom",
                 QUrl::fromLocalFile(file).toString()});
        static const QRegularExpression probe(
            QStringLiteral("<output id=\"probe\">(.*?)</output>"));
        const QString dom = QString::fromUtf8(browser.out);
        const QRegularExpressionMatch match = probe.match(dom);
        EXPECT_TRUE(match.hasMatch())
            << "Chromium (status " << browser.status << ") printed no probe:\n"
            << dom.left(2000).toStdString();
        // The probe's JSON is the element's text: the DOM printout escapes it once more.
        QString json = match.captured(1);
        json.replace("&lt;", "<")
            .replace("&gt;", ">")
            .replace("&quot;", "\"")
            .replace("&amp;", "&");
        return QJsonDocument::fromJson(json.toUtf8()).object();
    }

    // The number of differences that corvella-diff --format json lists for the pair.
    static int jsonCount(const QStringList& arguments) {
        const Outcome json =
            run(qEnvironmentVariable("CORVELLA_DIFF"), QStringList{"--format", "json"} + arguments);
        const QJsonObject report = QJsonDocument::fromJson(json.out).object();
        return int(report["file1"].toObject()["differences"].toArray().size() +
                   report["file2"].toObject()["differences"].toArray().size());
    }

    QString chromium;
    QTemporaryDir folder;
    int rendered = 0;
};

// Each n goes to the next mark in reading order and brings it into view, p to the one before. The
// marks of a differing line stand side by side; with `farApart` the third one is pages further.
void expectWalk(const QJsonObject& seen, bool farApart, const char* what) {
    const QJsonArray steps = seen["steps"].toArray();
    ASSERT_EQ(steps.size(), 4) << what;
    const int expected[] = {0, 1, 2, 1};
    for (int i = 0; i < 4; ++i) {
        const QJsonArray step = steps[i].toArray();
        EXPECT_EQ(step[0].toInt(), expected[i]) << what << ", key " << i;
        EXPECT_TRUE(step[1].toBool()) << what << ": the current mark is in view after key " << i;
    }
    if (farApart) {
        EXPECT_FALSE(steps[0].toArray()[2].toBool()) << what << ": the third mark was out of view";
    }
}

TEST_F(HtmlReportBrowserTest, ReportsShowAsManyMarksAsTheJsonListsAndNWalksThem) {
    // Page 2 and page 6 differ: far enough apart that n has to scroll.
    QStringList pages1, pages2;
    for (int page = 1; page <= 6; ++page) {
        QStringList lines;
        for (int line = 1; line <= 30; ++line)
            lines << QStringLiteral("Page %1 line %2 of the manual").arg(page).arg(line);
        pages1 << lines.join(u'\n');
        if (page == 2) lines[4] = QStringLiteral("Page 2 line 5 was rewritten");
        if (page == 6) lines[20] = QStringLiteral("Page 6 line 21 was rewritten");
        pages2 << lines.join(u'\n');
    }
    ASSERT_TRUE(TestPdfs::WriteTextPdf(path("one.pdf"), pages1));
    ASSERT_TRUE(TestPdfs::WriteTextPdf(path("two.pdf"), pages2));

    struct Pair {
        const char* what;
        QStringList arguments;
        bool farApart;
    };
    std::vector<Pair> pairs = {
        {"lines", {path("one.pdf"), path("two.pdf")}, true},
        {"words", {"--words", path("one.pdf"), path("two.pdf")}, false},
    };
    const QString corpus = qEnvironmentVariable("CORVELLA_CORPUS_DIR");
    const QString guide = corpus + QStringLiteral("/pairs/install-guide-%1.pdf");
    if (!corpus.isEmpty() && QFile::exists(guide.arg("amd64")) && QFile::exists(guide.arg("arm64")))
        pairs.push_back({"install guides", {guide.arg("amd64"), guide.arg("arm64")}, false});
    else
        std::cout << "The install-guide pair is not in the corpus: only the written PDFs\n";

    for (const Pair& pair : pairs) {
        const Outcome html = run(qEnvironmentVariable("CORVELLA_DIFF"),
                                 QStringList{"--format", "html"} + pair.arguments);
        ASSERT_EQ(html.status, 1) << pair.what;
        const QJsonObject seen = render(html.out);
        const int expected = jsonCount(pair.arguments);
        EXPECT_GT(expected, 0) << pair.what;
        EXPECT_EQ(seen["marks"].toInt(), expected) << pair.what;
        expectWalk(seen, pair.farApart, pair.what);
    }
}

TEST_F(HtmlReportBrowserTest, HostileTextShowsAsTextAndRunsNothing) {
    const QString hostile = QStringLiteral("<script>window.pwned=true</script></pre><b>bold</b>");
    ASSERT_TRUE(TestPdfs::WriteTextPdf(path("plain.pdf"), {"A manual\nits first page"}));
    ASSERT_TRUE(TestPdfs::WriteTextPdf(path("hostile.pdf"), {"A manual\n" + hostile}));
    QFile text(path("hostile.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(("A manual\n" + hostile + "\n<script>window.pwned=true;</script>\n").toUtf8());
    text.close();

    for (const QStringList& pair : {QStringList{path("plain.pdf"), path("hostile.pdf")},
                                    QStringList{path("plain.pdf"), path("hostile.txt")}}) {
        const Outcome html =
            run(qEnvironmentVariable("CORVELLA_DIFF"), QStringList{"--format", "html"} + pair);
        ASSERT_EQ(html.status, 1) << pair.last().toStdString();
        const QJsonObject seen = render(html.out);
        const std::string what = pair.last().toStdString();
        EXPECT_TRUE(seen["text"].toString().contains(hostile)) << what;
        EXPECT_FALSE(seen["pwned"].toBool()) << what;
        EXPECT_EQ(seen["scripts"].toInt(), 2) << what << ": the report's and the probe's only";
        EXPECT_EQ(seen["bold"].toInt(), 0) << what;
        EXPECT_EQ(seen["pres"].toInt(), 2 * seen["pages"].toInt()) << what;
        EXPECT_EQ(seen["marks"].toInt(), jsonCount(pair)) << what;
    }
}

}  // namespace

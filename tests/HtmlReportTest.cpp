// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The web-page report of corvella-diff: its escaping and marking, and the real program's pages as
// headless Chromium renders them.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "diff/Alignment.h"
#include "report/HtmlReport.h"
#include "tests/support/LayoutBook.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestPdfs.h"

using namespace corvella;
namespace TestPdfs = corvella::testing::TestPdfs;
namespace LayoutBook = corvella::testing::LayoutBook;

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
            comparison.side(SideOfPane(side)).differences.push_back(difference);
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

// The text cells of one side (1 or 2), row by row, as written, without the margin's numbers.
QStringList cells(const QByteArray& html, int side) {
    static const QRegularExpression cell(QStringLiteral("<td class=\"([ab])\">(.*?)</td>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression number(QStringLiteral("<span class=\"n[^\"]*\"[^>]*></span>"));
    QStringList out;
    for (auto it = cell.globalMatch(QString::fromUtf8(html)); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(1) == (side == 1 ? "a" : "b")) out << match.captured(2).remove(number);
    }
    return out;
}

// The margin's numbers of one side in order: "p. 2" where page 2 begins (with its id), "2:4"
// where a row starts on line 4 of page 2.
QStringList numbers(const QByteArray& html, int side) {
    static const QRegularExpression number(
        QStringLiteral("<span class=\"n( pn\" id=\"f(\\d)p(\\d+))?\" data-n=\"([^\"]*)\"></span>"));
    QStringList out;
    const QString text = QString::fromUtf8(html);
    static const QRegularExpression cellStart(QStringLiteral("<td class=\"([ab])\">"));
    for (auto it = cellStart.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const qsizetype end = text.indexOf(QStringLiteral("</td>"), match.capturedEnd());
        if (match.captured(1) != (side == 1 ? "a" : "b")) continue;
        for (auto n = number.globalMatch(text.mid(match.capturedEnd(), end - match.capturedEnd()));
             n.hasNext();) {
            const QRegularExpressionMatch found = n.next();
            // A page's id names its side and number.
            if (!found.captured(1).isEmpty()) {
                EXPECT_EQ(found.captured(2).toInt(), side) << found.captured(0).toStdString();
            }
            if (!found.captured(4).isEmpty()) out << found.captured(4);
        }
    }
    return out;
}

TEST(HtmlReportTest, MarksEachRangeOnceAndNumbersItsPages) {
    const struct {
        const char* what;
        QString text;
        std::vector<TextRange> marked;
        QStringList cells;
        QStringList numbers;
    } cases[] = {
        {"a line", "one\r\ntwo\r\n", {{5, 3}}, {"one\n<mark>two</mark>\n"}, {"p. 1"}},
        {"words of one line, out of order",
         "a bb c\r\n",
         {{5, 1}, {2, 2}},
         {"a <mark>bb</mark> <mark>c</mark>\n"},
         {"p. 1"}},
        {"a page's first line starts with its form feed",
         "x\r\n\fy\r\n\f",
         {{3, 2}},
         {"x\n<mark>y</mark>\n"},
         {"p. 1", "p. 2"}},
        {"a line of form feeds only ends the page its last one ends",
         "a\f\f",
         {{1, 2}},
         {"a<mark></mark>"},
         {"p. 1", "p. 2"}},
        {"a page without a line shows the number of the page that follows it",
         "a\r\n\f\fb\r\n",
         {},
         {"a\nb\n"},
         {"p. 1", "p. 3"}},
        {"overlapping ranges stay two marks",
         "abcdef",
         {{0, 4}, {2, 3}},
         {"<mark>abcd</mark><mark>e</mark>f"},
         {"p. 1"}},
        {"hostile text",
         "<script>x()</script></pre>",
         {{0, 8}},
         {"<mark>&lt;script&gt;</mark>x()&lt;/script&gt;&lt;/pre&gt;"},
         {"p. 1"}},
    };
    for (const auto& c : cases) {
        const QByteArray html = HtmlReport::Write(marking(Method::Lines, c.marked, {}), Alignment(),
                                                  {"a", c.text}, {"b", u""});
        EXPECT_EQ(cells(html, 1), c.cells) << c.what;
        EXPECT_EQ(numbers(html, 1), c.numbers) << c.what;
        EXPECT_EQ(html.count("<mark>"), qsizetype(c.marked.size())) << c.what;
    }
}

TEST(HtmlReportTest, RowsStartWithTheirPageAndLineAndNeverCutAMark) {
    // A paragraph of 16 words, and in file 2 a page with a paragraph of 16 others: a row of its
    // own, beside an empty cell.
    QString first, second;
    for (int w = 0; w < 16; ++w) {
        first += QStringLiteral("w%1").arg(w) + (w % 4 == 3 ? "\r\n" : " ");
        second += QStringLiteral("n%1").arg(w) + (w % 4 == 3 ? "\r\n" : " ");
    }
    const QString text2 = first + "\f" + second;
    const qsizetype lastLine = first.lastIndexOf("w12");
    const struct {
        const char* what;
        std::vector<TextRange> marks2;
        QStringList cells2;
        QStringList numbers2;
    } cases[] = {
        {"the row of the inserted page starts at its form feed",
         {},
         {first, second},
         {"p. 1", "p. 2"}},
        {"a mark from the line before into that page takes the line into the page's row",
         {{lastLine, 23}},
         {first.left(lastLine), "<mark>w12 w13 w14 w15\nn0 n1</mark>" + second.mid(5)},
         {"p. 1", "1:4", "p. 2"}},
    };
    for (const auto& c : cases) {
        const QByteArray html =
            HtmlReport::Write(marking(Method::Lines, {}, c.marks2), AlignWords(first, text2),
                              {"a", first}, {"b", text2});
        QStringList expected2 = c.cells2;
        for (QString& cell : expected2) cell.remove('\r');
        EXPECT_EQ(cells(html, 1), (QStringList{QString(first).remove('\r'), ""})) << c.what;
        EXPECT_EQ(cells(html, 2), expected2) << c.what;
        EXPECT_EQ(numbers(html, 2), c.numbers2) << c.what;
    }
}

// What a side's cells read, tags left out and references read back.
QString cellText(const QByteArray& html, int side) {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString text = cells(html, side).join(QString()).remove(tag);
    return text.replace("&lt;", "<")
        .replace("&gt;", ">")
        .replace("&quot;", "\"")
        .replace("&#39;", "'")
        .replace("&amp;", "&");
}

TEST(HtmlReportTest, TheRowsHoldEveryCharacterOfBothTextsOnceAndEveryMarkWhole) {
    QRandomGenerator random(20261209);
    const QStringList words = {"alpha", "beta", "gamma", "<b>", "&amp;", "delta", "\f", "x'y"};
    auto randomText = [&] {
        QString text;
        const int lines = random.bounded(80);
        for (int line = 0; line < lines; ++line) {
            for (int w = random.bounded(8); w > 0; --w)
                text += words[random.bounded(words.size())] + (w > 1 ? " " : "");
            text += "\r\n";
        }
        return text;
    };
    // Marks as the line method gives them: whole lines, some of them.
    auto lineMarks = [&](const QString& text) {
        std::vector<TextRange> marks;
        for (qsizetype start = 0; start < text.size();) {
            const qsizetype end = text.indexOf("\r\n", start);
            if (random.bounded(3) == 0) marks.push_back({start, end - start});
            start = end + 2;
        }
        return marks;
    };
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        const QString text1 = randomText();
        const QString text2 = randomText();
        const std::vector<TextRange> marks1 = lineMarks(text1);
        const std::vector<TextRange> marks2 = lineMarks(text2);
        const QByteArray html =
            HtmlReport::Write(marking(Method::Lines, marks1, marks2), AlignWords(text1, text2),
                              {"a", text1}, {"b", text2});
        EXPECT_EQ(cellText(html, 1), QString(text1).remove('\r').remove('\f'));
        EXPECT_EQ(cellText(html, 2), QString(text2).remove('\r').remove('\f'));
        EXPECT_EQ(html.count("<mark>"), qsizetype(marks1.size() + marks2.size()));
        EXPECT_EQ(html.count("<mark>"), html.count("</mark>"));
    }
}

TEST(HtmlReportTest, SummaryNamesTheFilesTheCountsAndLinksThePagesWithDifferences) {
    const QByteArray html = HtmlReport::Write(
        marking(Method::Words, {{9, 2}}, {{0, 2}, {4, 3}}), Alignment(),
        {"<a&b>.pdf", u"p1\r\n\fp2\r\n\fp3\r\n\f"}, {"two.pdf", u"q1\r\n\fq2\r\n\f"});
    EXPECT_TRUE(
        html.contains("<td>1</td><td>&lt;a&amp;b&gt;.pdf</td><td>3</td><td><span "
                      "class=\"count\" data-key=\"file1.words\">1</span> word</td>"));
    EXPECT_TRUE(
        html.contains("<td>2</td><td>two.pdf</td><td>2</td><td><span "
                      "class=\"count\" data-key=\"file2.words\">2</span> words</td>"));
    EXPECT_TRUE(html.contains("Method: <span id=\"method\">words</span>"));
    EXPECT_TRUE(
        html.contains("Pages with differences in file 1: <a href=\"#f1p3\">3</a> &middot; "
                      "file 2: <a href=\"#f2p1\">1</a> <a href=\"#f2p2\">2</a> </p>"));
    EXPECT_TRUE(html.contains("id=\"f1p3\"") && html.contains("id=\"f2p2\""));
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
    "function seenAt(e){var b=e.getBoundingClientRect();return b.bottom>0&&b.top<innerHeight;}"
    "function seen(i){return !!m[i]&&seenAt(m[i]);}"
    "['n','n','n','p'].forEach(function(k){"
    "document.dispatchEvent(new KeyboardEvent('keydown',{key:k,bubbles:true}));"
    "var c=cur();r.steps.push([c,seen(c),seen(2)]);});"
    "var pl=document.querySelectorAll('.pages a');r.pageLinks=[];"
    "[0,pl.length>>1,pl.length-1].forEach(function(i){if(!pl[i])return;var h=pl[i].getAttribute("
    "'href');location.hash=h;var t=document.getElementById(h.slice(1));"
    "r.pageLinks.push([h,!!t&&seenAt(t)]);});scrollTo(0,0);"
    "r.scripts=document.scripts.length;r.pwned=window.pwned===true;"
    "r.bold=document.getElementsByTagName('b').length;r.cells=document.querySelectorAll("
    "'.rows td').length;"
    "var rows=document.querySelectorAll('.rows tr'),at=new Map();r.rows=[];"
    "rows.forEach(function(t,i){at.set(t,i);"
    "r.rows.push([t.cells[0].textContent,t.cells[1].textContent]);});"
    "r.links=Array.prototype.map.call(document.querySelectorAll('a.mv'),function(a){"
    "var h=a.getAttribute('href');return {id:a.id,href:h,row:at.get(a.closest('tr')),"
    "side:a.closest('td').cellIndex+1,target:!!document.getElementById(h.slice(1))};});"
    "r.text=Array.prototype.map.call(document.querySelectorAll('.rows td'),function(p){"
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
    QJsonObject render(const QByteArray& report, const QString& probeScript = kProbe) {
        const QByteArray hash =
            QCryptographicHash::hash(probeScript.toUtf8(), QCryptographicHash::Sha256).toBase64();
        QByteArray copy = report;
        // The report's own policy lets only its own script run; the probe is allowed beside it.
        copy.replace("script-src 'sha256-", "script-src 'sha256-" + hash + "' 'sha256-");
        copy.replace("</body>", "<script>" + probeScript.toUtf8() + "</script></body>");
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
        EXPECT_EQ(seen["cells"].toInt(), 2 * seen["rows"].toArray().size()) << what;
        EXPECT_EQ(seen["marks"].toInt(), jsonCount(pair)) << what;
    }
}

// The rows a reader sees, as each side's words in reading order (words hyphenated at a line's
// end joined), so that a passage of the book can be found in its row.
class SeenRows {
public:
    explicit SeenRows(const QJsonArray& rows) {
        static const QRegularExpression hyphen(QStringLiteral("-\\s*\\n\\s*"));
        for (int side = 0; side < 2; ++side) {
            for (const QJsonValue& row : rows) {
                starts_[side].push_back(text_[side].size());
                QString cell = row.toArray()[side].toString();
                text_[side] += u' ' + cell.replace(hyphen, QString()).simplified();
            }
            text_[side] += u' ';
        }
    }

    // The row of side 1 or 2 that holds the first of `words`, or -1 unless they stand there once.
    int rowOf(int side, const QStringList& words) const {
        const QString passage = u' ' + words.join(u' ') + u' ';
        const QString& text = text_[side - 1];
        const qsizetype at = text.indexOf(passage);
        if (at < 0 || text.indexOf(passage, at + 1) >= 0) return -1;
        const std::vector<qsizetype>& starts = starts_[side - 1];
        return int(std::upper_bound(starts.begin(), starts.end(), at) - starts.begin()) - 1;
    }

private:
    QString text_[2];
    std::vector<qsizetype> starts_[2];
};

// Counts the checks that could be made, and fails when too few could: a passage across a page
// break reads with the page's header and footer between its words.
struct Checks {
    int made = 0;
    int tried = 0;
};

TEST_F(HtmlReportBrowserTest, ReportsSetEachPassageOfABookBesideItsCounterpart) {
    // The book on small pages in a small type against its second edition on large pages in a
    // large type: every page break and line break stands elsewhere.
    const LayoutBook::Book first = LayoutBook::Generate(12, 27);
    const LayoutBook::Edition second = LayoutBook::Edit(first, 2027);
    const int pages1 = LayoutBook::Typeset(first, {QPageSize::A5, {15, 15, 15, 15}, 11},
                                           path(QStringLiteral("small.pdf")));
    const int pages2 = LayoutBook::Typeset(second.book, {QPageSize::Letter, {30, 25, 20, 25}, 14},
                                           path(QStringLiteral("edited.pdf")));
    ASSERT_GE(std::min(pages1, pages2), 60);
    const QStringList words1 = LayoutBook::Words(first);
    const QStringList words2 = LayoutBook::Words(second.book);
    const std::vector<qsizetype> origins = LayoutBook::Origins(second.book);
    auto passage1 = [&](qsizetype from, qsizetype count) { return words1.mid(from, count); };
    auto passage2 = [&](qsizetype from, qsizetype count) { return words2.mid(from, count); };
    // Where each word of the first edition stands in the second, or -1.
    std::vector<qsizetype> kept(size_t(words1.size()), -1);
    for (size_t j = 0; j < origins.size(); ++j)
        if (origins[j] >= 0) kept[size_t(origins[j])] = qsizetype(j);

    const struct {
        const char* method;
        QStringList options;
        int tolerance;  // rows a passage may stand apart: the line method keeps its marked lines
                        // whole, which can take a line into the next row on one side
        bool links;
    } methods[] = {
        {"ignore-layout", {"--ignore-layout"}, 0, true},
        {"words", {"--words"}, 0, false},
        {"lines", {}, 1, false},
    };
    for (const auto& m : methods) {
        SCOPED_TRACE(m.method);
        const Outcome html =
            run(qEnvironmentVariable("CORVELLA_DIFF"),
                m.options + QStringList{"--format", "html", path(QStringLiteral("small.pdf")),
                                        path(QStringLiteral("edited.pdf"))});
        ASSERT_EQ(html.status, 1);
        const QJsonObject seen = render(html.out);
        const SeenRows rows(seen["rows"].toArray());
        ASSERT_GT(seen["rows"].toArray().size(), pages2 / 2) << "rows of a screenful at most";
        EXPECT_GT(seen["marks"].toInt(), 0);
        // The summary's links to pages with differences lead to them, far down the page too.
        const QJsonArray pageLinks = seen["pageLinks"].toArray();
        EXPECT_EQ(pageLinks.size(), 3);
        for (const QJsonValue& link : pageLinks)
            EXPECT_TRUE(link.toArray()[1].toBool()) << link.toArray()[0].toString().toStdString();
        auto near = [&](int a, int b) {
            return a >= 0 && b >= 0 && std::abs(a - b) <= m.tolerance;
        };

        // Unchanged passages: every 97th word of the first edition that starts four kept ones.
        Checks unchanged;
        for (qsizetype w = 0; w + 4 < words1.size(); w += 97) {
            const qsizetype j = kept[size_t(w)];
            if (j < 0 || kept[size_t(w + 3)] != j + 3) continue;
            ++unchanged.tried;
            const int row1 = rows.rowOf(1, passage1(w, 4));
            const int row2 = rows.rowOf(2, passage2(j, 4));
            if (row1 < 0 || row2 < 0) continue;
            ++unchanged.made;
            EXPECT_TRUE(near(row1, row2))
                << passage1(w, 4).join(' ').toStdString() << ": row " << row1 << " and " << row2;
        }
        EXPECT_GE(unchanged.made, unchanged.tried * 3 / 4);
        EXPECT_GE(unchanged.made, 100);

        // Each edit of the second edition: a replaced word in the row of the word it replaced,
        // an inserted run between the rows of the words around its place; and each run of the
        // first edition that the second deleted between the rows of the words around it there.
        Checks edits;
        for (qsizetype j = 2; j + 3 < qsizetype(origins.size()); ++j) {
            if (origins[size_t(j)] >= 0 || origins[size_t(j - 1)] < 0) continue;
            qsizetype end = j;
            while (origins[size_t(end)] < 0) ++end;
            const qsizetype before = origins[size_t(j - 1)], after = origins[size_t(end)];
            ++edits.tried;
            const int row2 = rows.rowOf(2, passage2(j, end - j + 1));
            const int before1 = rows.rowOf(1, passage1(before - 1, 2));
            const int after1 = rows.rowOf(1, passage1(after, 2));
            if (row2 < 0 || before1 < 0 || after1 < 0) continue;
            ++edits.made;
            const std::string what = passage2(j, end - j + 1).join(' ').toStdString();
            if (end == j + 1 && after == before + 2) {  // one word replaced
                EXPECT_TRUE(near(rows.rowOf(1, passage1(before + 1, 2)), row2)) << what;
            } else {
                EXPECT_LE(before1, row2 + m.tolerance) << what;
                EXPECT_LE(row2, after1 + m.tolerance) << what;
            }
        }
        for (qsizetype w = 2; w + 3 < words1.size(); ++w) {
            if (kept[size_t(w)] >= 0 || kept[size_t(w - 1)] < 0) continue;
            qsizetype end = w;
            while (kept[size_t(end)] < 0) ++end;
            if (end - w < 5) continue;  // a replaced word, checked above
            ++edits.tried;
            const int row1 = rows.rowOf(1, passage1(w, 3));
            const int before2 = rows.rowOf(2, passage2(kept[size_t(w - 1)] - 1, 2));
            const int after2 = rows.rowOf(2, passage2(kept[size_t(end)], 2));
            if (row1 < 0 || before2 < 0 || after2 < 0) continue;
            ++edits.made;
            EXPECT_LE(before2 - m.tolerance, row1) << passage1(w, 3).join(' ').toStdString();
            EXPECT_LE(row1, after2 + m.tolerance) << passage1(w, 3).join(' ').toStdString();
        }
        std::cout << m.method << ": " << unchanged.made << " of " << unchanged.tried
                  << " unchanged passages and " << edits.made << " of " << edits.tried
                  << " edits found in the rows and checked\n";
        EXPECT_GE(edits.made, edits.tried * 3 / 4);
        EXPECT_GE(edits.made, second.edits / 2);

        // The moved paragraph: at its place in each edition, a link to the other place.
        const QJsonArray links = seen["links"].toArray();
        if (!m.links) {
            EXPECT_TRUE(links.isEmpty());
            continue;
        }
        ASSERT_EQ(links.size(), 2);
        const qsizetype moved = second.movedOrigins.front();
        const int rows1 = rows.rowOf(1, passage1(moved, 4));
        const int rows2 = rows.rowOf(2, passage2(kept[size_t(moved)], 4));
        for (const QJsonValue& value : links) {
            const QJsonObject link = value.toObject();
            const int side = link["side"].toInt();
            EXPECT_EQ(link["id"].toString(), QStringLiteral("m%1-0").arg(side));
            EXPECT_EQ(link["href"].toString(), QStringLiteral("#m%1-0").arg(3 - side));
            EXPECT_TRUE(link["target"].toBool());
            EXPECT_EQ(link["row"].toInt(), side == 1 ? rows1 : rows2);
        }
        EXPECT_GT(rows1, rows2) << "from the last chapter to the second";
    }
}

// The index of a batch: a click on a heading sorts the rows by that column, a second the other
// way; a hostile name shows as text.
TEST_F(HtmlReportBrowserTest, BatchIndexSortsByTheHeadingClickedAndRunsNothingElse) {
    const QString hostile = "b <img src=x onerror=window.pwned=true>.pdf";
    const std::pair<QString, int> pairs[] = {{"a.pdf", 1}, {hostile, 3}, {"c.pdf", 2}};
    for (const auto& [name, pages] : pairs)
        for (const char* side : {"old/", "new/"}) {
            QDir(folder.path()).mkpath(side);
            ASSERT_TRUE(TestPdfs::WriteTextPdf(path(side + name), QStringList(pages, "A page")));
        }
    const Outcome batch = run(qEnvironmentVariable("CORVELLA_DIFF"),
                              {"--batch", path("old"), path("new"), "--out", path("out")});
    ASSERT_EQ(batch.status, 0) << batch.out.toStdString();
    QFile index(path("out/index.html"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    // Each row by the first letter of its name, before and after clicks on "Pages".
    const QJsonObject seen = render(
        index.readAll(),
        "(function(){var r={},h=document.querySelectorAll('#pairs th button'),"
        "rows=function(){return Array.prototype.map.call(document.querySelectorAll("
        "'#pairs tbody tr'),function(t){return t.cells[0].textContent.charAt(0);}).join('');};"
        "r.before=rows();h[3].click();r.up=rows();h[3].click();r.down=rows();"
        "r.pwned=window.pwned===true;r.images=document.images.length;"
        "var o=document.createElement('output');o.id='probe';o.textContent=JSON.stringify(r);"
        "document.body.appendChild(o);})();");
    EXPECT_EQ(seen["before"], "abc");
    EXPECT_EQ(seen["up"], "acb");
    EXPECT_EQ(seen["down"], "bca");
    EXPECT_EQ(seen["pwned"], false);
    EXPECT_EQ(seen["images"], 0);
}

}  // namespace

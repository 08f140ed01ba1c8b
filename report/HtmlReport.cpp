// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/HtmlReport.h"

#include <QCryptographicHash>
#include <algorithm>
#include <set>

#include "diff/TextPlaces.h"
#include "report/DifferenceCounts.h"
#include "report/HtmlSide.h"
#include "report/ReportRows.h"

namespace corvella::HtmlReport {

namespace {

// n and p walk the marks in reading order; the current one is outlined and centred.
const QString kScript = QStringLiteral(
    "(function(){var m=document.getElementsByTagName('mark'),i=-1;"
    "document.addEventListener('keydown',function(e){"
    "var d=e.key==='n'?1:e.key==='p'?-1:0;"
    "if(!d||e.ctrlKey||e.altKey||e.metaKey||!m.length)return;"
    "if(i>=0)m[i].classList.remove('cur');"
    "i=Math.min(m.length-1,Math.max(0,i+d));"
    "m[i].classList.add('cur');m[i].scrollIntoView({block:'center'});e.preventDefault();});"
    "})();");

// Blocks of rows far out of view are not laid out (their estimated height stands in), so a
// thousand pages open at once; for that a block and its rows are no table parts to the layout,
// which sets each row as a grid. The margin numbers are generated text: they are neither copied
// nor found by a search.
const QString kStyle = QStringLiteral(
    "body{font:14px sans-serif;margin:0 1em 2em}"
    "table{border-collapse:collapse}td,th{padding:2px 8px;text-align:left}"
    ".pages a{margin-right:.5em}"
    ".rows,.rows tbody{display:block}.rows tbody{content-visibility:auto}.rows tr{display:grid;"
    "grid-template-columns:1fr 1fr;column-gap:1em;border-top:1px solid #e4e4e4}.rows "
    "tr.x{background:"
    "#fafafa}.rows td{position:relative;min-width:0;padding:2px 0 2px 4.5em;font:12px/1.35 "
    "monospace;white-space:pre-wrap;overflow-wrap:anywhere}.rows td.b{padding:2px 4.5em 2px 0}"
    ".n{position:absolute;left:0;width:4em;text-align:right;color:#999;font:11px/1.5 sans-serif}"
    ".b .n{left:auto;right:0;text-align:left}.n::before{content:attr(data-n)}"
    ".pn{color:#333;font-weight:bold}"
    ".mv{color:#0645ad;font:11px sans-serif;margin-right:.5em}.mv::before{content:attr(data-n)}"
    "mark{color:#d00000;background:#fff0f0}mark.cur{outline:2px solid #d00000}"
    ".ch{background:#ffc4c4;font-weight:bold;text-decoration:underline}");

// Rows are laid out a block at a time: a block out of view stands for this many pixels per
// screen line of the taller cell of each of its rows.
constexpr size_t kRowsPerBlock = 16;
constexpr qsizetype kLinePixels = 16;

using DifferenceCounts::Count;

// A figure with its unit: the figure in a span named by its key, as the JSON report names it.
QString countHtml(const Count& count) {
    const QString phrase = DifferenceCounts::Phrase(count);
    return QStringLiteral("<span class=\"count\" data-key=\"%1\">%2</span>")
               .arg(count.key)
               .arg(count.value) +
           phrase.mid(phrase.indexOf(u' '));
}

const Count* find(const std::vector<Count>& counts, const QString& key) {
    for (const Count& count : counts)
        if (count.key == key) return &count;
    return nullptr;
}

// "3 lines", or "5 runs of 12 words" for the layout-free method.
QString fileCounts(const std::vector<Count>& counts, int number) {
    const QString file = QStringLiteral("file%1.").arg(number);
    const Count* runs = find(counts, file + QStringLiteral("runs"));
    const Count* words = find(counts, file + QStringLiteral("words"));
    const Count* lines = find(counts, file + QStringLiteral("lines"));
    if (runs && words) return countHtml(*runs) + QStringLiteral(" of ") + countHtml(*words);
    const Count* only = lines ? lines : words;
    return only ? countHtml(*only) : QString();
}

QString summaryRow(int number, const DifferenceReport::File& file,
                   const std::vector<Count>& counts) {
    const QString pages =
        QString::number(TextPlaces::PageCount(file.text)) +
        (file.pageRanges.isEmpty() ? QString()
                                   : QStringLiteral(" (pages %1)").arg(Escape(file.pageRanges)));
    return QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td></tr>\n")
        .arg(number)
        .arg(Escape(file.name))
        .arg(pages)
        .arg(fileCounts(counts, number));
}

// A link at each place of each moved run to its other place, labelled with that place.
std::vector<HtmlSide::Link> moveLinks(const Comparison& comparison, Side side,
                                      const DifferenceReport::File& otherFile) {
    const std::vector<Difference>& own = comparison.side(side).moved;
    const std::vector<Difference>& other = comparison.side(Other(side)).moved;
    const int number = NumberOf(side);
    const int otherNumber = NumberOf(Other(side));
    std::vector<HtmlSide::Link> links;
    for (size_t i = 0; i < own.size() && i < other.size(); ++i)
        links.push_back({own[i].span.start, QStringLiteral("m%1-%2").arg(number).arg(i),
                         QStringLiteral("m%1-%2").arg(otherNumber).arg(i),
                         QStringLiteral("\u21c4 moved: p%1:l%2 of file %3")
                             .arg(otherFile.pageNumber(other[i].page))
                             .arg(other[i].line)
                             .arg(otherNumber)});
    std::sort(links.begin(), links.end(),
              [](const HtmlSide::Link& a, const HtmlSide::Link& b) { return a.at < b.at; });
    return links;
}

// The changed characters of the refined runs, as the page marks them.
std::vector<TextRange> changedCharacters(const Comparison& comparison,
                                         const DifferenceReport::File& file, Side side) {
    std::vector<TextRange> spans;
    for (const CharacterChange& change : comparison.side(side).changes)
        spans.push_back(change.span);
    return HtmlSide::Placed(spans, file.text);
}

QString pageLinks(int number, const std::set<int>& pages) {
    QString out = QStringLiteral("file %1: ").arg(number);
    for (int page : pages)
        out += QStringLiteral("<a href=\"#f%1p%2\">%2</a> ").arg(number).arg(page);
    if (pages.empty()) out += QLatin1String("none ");
    return out;
}

}  // namespace

QString Escape(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) HtmlSide::AppendEscaped(out, c);
    return out;
}

QByteArray Write(const Comparison& comparison, const Alignment& alignment,
                 const DifferenceReport::File& file1, const DifferenceReport::File& file2,
                 const DifferenceReport::Hidden& hidden) {
    const std::vector<TextRange> marks1 =
        HtmlSide::Placed(comparison.side(Side::One).differenceMarks(), file1.text);
    const std::vector<TextRange> marks2 =
        HtmlSide::Placed(comparison.side(Side::Two).differenceMarks(), file2.text);
    std::vector<HtmlSide::Link> links1 = moveLinks(comparison, Side::One, file2);
    std::vector<HtmlSide::Link> links2 = moveLinks(comparison, Side::Two, file1);
    ReportRows::Side side1{file1.text, &marks1, {}};
    ReportRows::Side side2{file2.text, &marks2, {}};
    for (const HtmlSide::Link& link : links1) side1.ownRowAt.push_back(link.at);
    for (const HtmlSide::Link& link : links2) side2.ownRowAt.push_back(link.at);
    const std::vector<ReportRows::Row> rows = ReportRows::Cut(alignment, side1, side2);

    HtmlSide::Writer left(1, file1, marks1, std::move(links1),
                          changedCharacters(comparison, file1, Side::One));
    HtmlSide::Writer right(2, file2, marks2, std::move(links2),
                           changedCharacters(comparison, file2, Side::Two));
    QString table;
    table.reserve((file1.text.size() + file2.text.size()) * 12 / 10 + 4096);
    table += QLatin1String("<table class=\"rows\">\n");
    QString block;
    qsizetype blockHeight = 0;
    auto endBlock = [&] {
        table += QStringLiteral("<tbody style=\"contain-intrinsic-size:auto %1px\">\n")
                     .arg(blockHeight) +
                 block + QLatin1String("</tbody>\n");
        block.clear();
        blockHeight = 0;
    };
    for (size_t r = 0; r < rows.size(); ++r) {
        const HtmlSide::Cell a = left.cell(rows[r].in[0]);
        const HtmlSide::Cell b = right.cell(rows[r].in[1]);
        blockHeight += std::max<qsizetype>(1, std::max(a.height, b.height)) * kLinePixels + 5;
        block += QLatin1String(rows[r].changed ? "<tr class=\"x\">" : "<tr>") +
                 QLatin1String("<td class=\"a\">") + a.html +
                 QLatin1String("</td><td class=\"b\">") + b.html + QLatin1String("</td></tr>\n");
        if ((r + 1) % kRowsPerBlock == 0 || r + 1 == rows.size()) endBlock();
    }
    table += QLatin1String("</table>\n");

    const std::vector<Count> counts = DifferenceCounts::Of(comparison);
    // Only the page's own script may run, and nothing is fetched.
    const QByteArray scriptHash =
        QCryptographicHash::hash(kScript.toUtf8(), QCryptographicHash::Sha256).toBase64();
    QString html;
    html.reserve(table.size() + 8192);
    html +=
        QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
            "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
            "style-src 'unsafe-inline'; script-src 'sha256-%1'\">\n"
            "<title>%2 \u2194 %3</title>\n<style>%4</style></head>\n<body>\n")
            .arg(QString::fromLatin1(scriptHash), Escape(file1.name), Escape(file2.name), kStyle);
    html += QLatin1String(
                "<h1>Differences</h1>\n<table class=\"summary\"><tr><th>File</th><th>Name</th>"
                "<th>Pages</th><th>Differences</th></tr>\n") +
            summaryRow(1, file1, counts) + summaryRow(2, file2, counts) +
            QLatin1String("</table>\n<p>Method: <span id=\"method\">") +
            Escape(DifferenceReport::MethodName(comparison.method)) + QLatin1String("</span>.");
    if (const Count* moved = find(counts, QStringLiteral("moved.runs")))
        html += QLatin1String(" Moved: ") + countHtml(*moved) + u'.';
    if (const Count* reordered = find(counts, QStringLiteral("reordered.words")))
        html += QLatin1String(" Reordered: ") + countHtml(*reordered) + u'.';
    for (auto [name, count] : DifferenceCounts::SetAside(counts)) {
        name[0] = name[0].toUpper();
        html += u' ' + name + QLatin1String(": ") + countHtml(count) + u'.';
    }
    if (hidden.any()) html += u' ' + Escape(hidden.sentence());
    html += QLatin1String(" Keys: n next difference, p previous.</p>\n");
    html += QLatin1String("<p class=\"pages\">Pages with differences in ") +
            pageLinks(1, left.markedPages()) + QLatin1String("&middot; ") +
            pageLinks(2, right.markedPages()) + QLatin1String("</p>\n");
    html += table;
    html += QLatin1String("<script>") + kScript + QLatin1String("</script>\n</body></html>\n");
    return html.toUtf8();
}

}  // namespace corvella::HtmlReport

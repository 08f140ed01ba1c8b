// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// index.html: one self-contained page, its texts escaped as the reports escape theirs, and only its
// own script allowed to run.
#include <QCryptographicHash>

#include "batch/Index.h"
#include "report/HtmlReport.h"

namespace corvella::Batch::Index {

namespace {

using HtmlReport::Escape;

// A click on a column's heading sorts the rows by it, a second click the other way round; each
// cell's data-v holds what it sorts by (numbers as numbers).
const QString kScript = QStringLiteral(
    "(function(){var t=document.getElementById('pairs'),b=t.tBodies[0],"
    "h=t.tHead.rows[0].cells,each=Array.prototype.forEach;"
    "each.call(h,function(head,c){head.firstChild.addEventListener('click',function(){"
    "var d=head.getAttribute('aria-sort')==='ascending'?-1:1;"
    "each.call(h,function(o){o.removeAttribute('aria-sort');});"
    "head.setAttribute('aria-sort',d>0?'ascending':'descending');"
    "var r=Array.prototype.slice.call(b.rows);"
    "r.sort(function(x,y){var p=x.cells[c].getAttribute('data-v'),"
    "q=y.cells[c].getAttribute('data-v'),m=parseFloat(p),n=parseFloat(q);"
    "return d*(isNaN(m)||isNaN(n)?p.localeCompare(q):m-n);});"
    "r.forEach(function(e){b.appendChild(e);});});});})();");

const QString kStyle = QStringLiteral(
    "body{font:14px sans-serif;margin:1em 2em}table{border-collapse:collapse}"
    "td,th{padding:3px 10px;text-align:left;border-bottom:1px solid #e4e4e4;vertical-align:top}"
    "th button{font:inherit;font-weight:bold;border:0;background:none;cursor:pointer;padding:0}"
    "th[aria-sort=ascending] button::after{content:' \\25b2'}"
    "th[aria-sort=descending] button::after{content:' \\25bc'}"
    "td.n{text-align:right}.same{color:#2a7a2a}.differs,.added,.removed{color:#b35c00}"
    ".trouble{color:#d00000;font-weight:bold}.path{white-space:pre-wrap;overflow-wrap:anywhere}");

QString cell(const QString& sortValue, const QString& html, const char* cssClass = nullptr) {
    return QStringLiteral("<td%1 data-v=\"%2\">%3</td>")
        .arg(cssClass ? QStringLiteral(" class=\"%1\"").arg(QLatin1String(cssClass)) : QString(),
             Escape(sortValue), html);
}

// The sum of each file's figures in the method's main unit, for sorting.
qint64 differenceTotal(const PairResult& result) {
    qint64 total = 0;
    for (const char* file : {"file1", "file2"}) {
        const QJsonObject figures = result.counts[QLatin1String(file)].toObject();
        for (const char* unit : {"lines", "runs", "words"})
            if (figures.contains(QLatin1String(unit))) {
                total += qint64(figures[QLatin1String(unit)].toDouble());
                break;
            }
    }
    return total;
}

QString row(const PairResult& result) {
    const QString name = QStringLiteral("<span class=\"path\">%1</span>").arg(Escape(result.key));
    const QString pair =
        result.compared()
            ? QStringLiteral("<a href=\"%1\">%2</a> <small>(<a href=\"%3\">JSON</a>)</small>")
                  .arg(Escape(ReportLink(result.output, ".html")), name,
                       Escape(ReportLink(result.output, ".json")))
            : name;
    const QString status = StatusName(result.status);
    QString note = result.problem;
    if (result.resumed) note = QStringLiteral("from an earlier run");
    const QString pages =
        result.compared()
            ? QStringLiteral("%1 / %2").arg(result.pages[Side::One]).arg(result.pages[Side::Two])
            : QString();
    return QStringLiteral("<tr>") + cell(result.key, pair) +
           cell(status, Escape(status), qPrintable(status)) +
           cell(QString::number(differenceTotal(result)), Escape(result.countsSentence())) +
           cell(QString::number(result.pages[Side::One] + result.pages[Side::Two]), pages, "n") +
           cell(QString::number(result.seconds, 'f', 3),
                result.compared() && !result.resumed ? QString::number(result.seconds, 'f', 1)
                                                     : QString(),
                "n") +
           cell(note, Escape(note)) + QStringLiteral("</tr>\n");
}

}  // namespace

QByteArray Html(const std::vector<PairResult>& results) {
    const Totals totals = Totals::Of(results);
    const QByteArray scriptHash =
        QCryptographicHash::hash(kScript.toUtf8(), QCryptographicHash::Sha256).toBase64();
    QString html = QStringLiteral(
                       "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
                       "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
                       "style-src 'unsafe-inline'; script-src 'sha256-%1'\">\n"
                       "<title>Differences: %2 pairs</title>\n<style>%3</style></head>\n<body>\n"
                       "<h1>Differences</h1>\n<p id=\"totals\">%4.</p>\n"
                       "<table id=\"pairs\"><thead><tr>")
                       .arg(QString::fromLatin1(scriptHash), QString::number(totals.pairs), kStyle,
                            Escape(totals.sentence()));
    for (const char* heading : {"Pair", "Status", "Differences", "Pages", "Seconds", "Note"})
        html += QStringLiteral("<th><button type=\"button\">%1</button></th>")
                    .arg(QLatin1String(heading));
    html += QStringLiteral("</tr></thead>\n<tbody>\n");
    for (const PairResult& result : results) html += row(result);
    html += QStringLiteral("</tbody></table>\n<script>") + kScript +
            QStringLiteral("</script>\n</body></html>\n");
    return html.toUtf8();
}

}  // namespace corvella::Batch::Index

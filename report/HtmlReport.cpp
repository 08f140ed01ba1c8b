#include "report/HtmlReport.h"

#include <QCryptographicHash>
#include <algorithm>
#include <set>

#include "core/PaneText.h"
#include "diff/TextPlaces.h"

namespace corvella::HtmlReport {

namespace {

// A side of the page: the file and where the comparison marked its text, one mark each.
struct Side {
    QString name;
    QStringView text;
    std::vector<TextRange> marked;
};

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

// Pages far out of view are not laid out, so a thousand pages open at once.
const QString kStyle = QStringLiteral(
    "body{font:14px sans-serif;margin:0 1em 2em}"
    "table{border-collapse:collapse}td,th{padding:2px 8px;text-align:left}"
    ".pages a{margin-right:.5em}"
    ".pg{display:grid;grid-template-columns:3em 1fr 1fr 3em;column-gap:1em;"
    "border-top:1px solid #bbb;padding:4px 0;content-visibility:auto;"
    "contain-intrinsic-size:auto 40em}"
    ".pg pre{margin:0;font:12px/1.35 monospace;white-space:pre-wrap;overflow-wrap:anywhere}"
    ".n{color:#888;font-size:12px}.n:first-child{text-align:right}"
    "mark{color:#d00000;background:#fff0f0}mark.cur{outline:2px solid #d00000}");

struct RenderedSide {
    std::vector<QString> pages;  // each page's text as HTML
    std::set<int> markedPages;   // from 1
};

// A mark stands on the page of its first character after its own form feeds, as the listed
// places count pages; a mark of form feeds only ends the page its last one ends.
TextRange placed(const TextRange& range, QStringView text) {
    const qsizetype start = std::clamp<qsizetype>(range.start, 0, text.size());
    const qsizetype end = std::clamp<qsizetype>(range.start + range.length, start, text.size());
    qsizetype feeds = 0;
    while (start + feeds < end && text[start + feeds] == PaneText::kFormFeed) ++feeds;
    if (feeds > 0 && start + feeds == end) return {end - 1, 0};
    return {start + feeds, end - start - feeds};
}

void appendEscaped(QString& out, QChar c) {
    switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case u'\'':
            out += QLatin1String("&#39;");
            break;
        default:
            out += c;
    }
}

RenderedSide render(const Side& side) {
    const QStringView text = side.text;
    std::vector<TextRange> marks;
    marks.reserve(side.marked.size());
    for (const TextRange& range : side.marked) marks.push_back(placed(range, text));
    std::sort(marks.begin(), marks.end(), [](const TextRange& a, const TextRange& b) {
        return a.start != b.start ? a.start < b.start : a.length < b.length;
    });
    // Marks never overlap: each starts where the one before ends, at the latest.
    qsizetype end = 0;
    for (TextRange& mark : marks) {
        const qsizetype markEnd = std::max(mark.start + mark.length, end);
        mark.start = std::max(mark.start, end);
        mark.length = markEnd - mark.start;
        end = markEnd;
    }

    RenderedSide out;
    out.pages.emplace_back();
    size_t next = 0;           // the next mark to open
    qsizetype openUntil = -1;  // the end of the open mark, if any
    auto marksAt = [&](qsizetype position) {
        if (openUntil == position) {
            out.pages.back() += QLatin1String("</mark>");
            openUntil = -1;
        }
        for (; next < marks.size() && marks[next].start == position; ++next) {
            out.markedPages.insert(int(out.pages.size()));
            if (marks[next].length == 0) {
                out.pages.back() += QLatin1String("<mark></mark>");
            } else {
                out.pages.back() += QLatin1String("<mark>");
                openUntil = position + marks[next].length;
            }
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        marksAt(i);
        const QChar c = text[i];
        if (c == PaneText::kFormFeed) {
            if (openUntil < 0) out.pages.emplace_back();  // a mark stays on the page it begins on
        } else if (c == PaneText::kLF) {
            out.pages.back() += u'\n';
        } else if (c != PaneText::kCR) {
            appendEscaped(out.pages.back(), c);
        }
    }
    marksAt(text.size());
    // Text after the last form feed is a page only when it holds more than line breaks.
    const size_t pages = size_t(std::max(TextPlaces::PageCount(text), 1));
    while (out.pages.size() > pages && !out.markedPages.count(int(out.pages.size())) &&
           out.pages.back().trimmed().isEmpty())
        out.pages.pop_back();
    return out;
}

QString summaryRow(int number, const Side& side) {
    return QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td></tr>")
        .arg(number)
        .arg(Escape(side.name))
        .arg(TextPlaces::PageCount(side.text))
        .arg(side.marked.size());
}

}  // namespace

QString Escape(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) appendEscaped(out, c);
    return out;
}

QByteArray Write(const Comparison& comparison, const DifferenceReport::File& file1,
                 const DifferenceReport::File& file2) {
    const QString method = DifferenceReport::MethodName(comparison.method);
    const Side first{file1.name, file1.text, comparison.side(1).differenceMarks()};
    const Side second{file2.name, file2.text, comparison.side(2).differenceMarks()};
    const RenderedSide left = render(first);
    const RenderedSide right = render(second);
    std::set<int> markedPages = left.markedPages;
    markedPages.insert(right.markedPages.begin(), right.markedPages.end());
    const size_t differences = first.marked.size() + second.marked.size();
    // Only the page's own script may run, and nothing is fetched.
    const QByteArray scriptHash =
        QCryptographicHash::hash(kScript.toUtf8(), QCryptographicHash::Sha256).toBase64();

    QString html;
    html.reserve((first.text.size() + second.text.size()) * 11 / 10 + 4096);
    html +=
        QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
            "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
            "style-src 'unsafe-inline'; script-src 'sha256-%1'\">\n"
            "<title>%2 \u2194 %3</title>\n<style>%4</style></head>\n<body>\n")
            .arg(QString::fromLatin1(scriptHash), Escape(first.name), Escape(second.name), kStyle);
    html += QStringLiteral(
                "<h1>Differences</h1>\n<table class=\"summary\"><tr><th>File</th><th>Name</th>"
                "<th>Pages</th><th>Differences</th></tr>\n%1%2</table>\n"
                "<p>Method: <span id=\"method\">%3</span>. Differences: <span "
                "id=\"differences\">%4</span>. Keys: n next difference, p previous.</p>\n")
                .arg(summaryRow(1, first), summaryRow(2, second), Escape(method))
                .arg(differences);
    html += QLatin1String("<p class=\"pages\">Pages with differences: ");
    for (int page : markedPages) html += QStringLiteral("<a href=\"#p%1\">%1</a> ").arg(page);
    if (markedPages.empty()) html += QLatin1String("none");
    html += QLatin1String("</p>\n");

    const size_t pages = std::max(left.pages.size(), right.pages.size());
    for (size_t i = 0; i < pages; ++i) {
        const QString number = QString::number(i + 1);
        html += QLatin1String("<div class=\"pg\" id=\"p") + number + QLatin1String("\">");
        auto column = [&](const RenderedSide& side) {
            const bool has = i < side.pages.size();
            return std::pair(has ? number : QString(), has ? side.pages[i] : QString());
        };
        const auto [leftNumber, leftText] = column(left);
        const auto [rightNumber, rightText] = column(right);
        html += QLatin1String("<span class=\"n\">") + leftNumber + QLatin1String("</span><pre>") +
                leftText + QLatin1String("</pre><pre>") + rightText +
                QLatin1String("</pre><span class=\"n\">") + rightNumber +
                QLatin1String("</span></div>\n");
    }
    html += QLatin1String("<script>") + kScript + QLatin1String("</script>\n</body></html>\n");
    return html.toUtf8();
}

}  // namespace corvella::HtmlReport

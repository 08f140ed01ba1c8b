#include "compare/DifferenceReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "core/PaneText.h"

namespace corvella::DifferenceReport {

namespace {

QJsonObject sideObject(const Side& side, bool withOffsets) {
    QJsonArray differences;
    for (const Entry& entry : side.entries) {
        QJsonObject item{{QStringLiteral("page"), entry.page},
                         {QStringLiteral("line"), entry.line},
                         {QStringLiteral("text"), entry.text}};
        if (withOffsets) item.insert(QStringLiteral("offset"), double(entry.offset));
        differences.append(item);
    }
    return {{QStringLiteral("name"), side.name},
            {QStringLiteral("pages"), side.pages},
            {QStringLiteral("differences"), differences}};
}

}  // namespace

std::vector<Entry> Locate(QStringView text, const std::vector<TextRange>& listed) {
    std::vector<qsizetype> lineStarts{0};
    std::vector<qsizetype> formFeeds;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == PaneText::kFormFeed) formFeeds.push_back(i);
        if (text[i] == PaneText::kCR && i + 1 < text.size() && text[i + 1] == PaneText::kLF)
            lineStarts.push_back(i + 2);
    }
    auto lineOf = [&](qsizetype position) {
        return qsizetype(std::upper_bound(lineStarts.begin(), lineStarts.end(), position) -
                         lineStarts.begin()) -
               1;
    };

    std::vector<Entry> entries;
    entries.reserve(listed.size());
    for (const TextRange& range : listed) {
        const QStringView entryText = text.mid(range.start, range.length);
        // The page is that of the first character after the entry's own form feeds; an entry of
        // form feeds only belongs to the page its last one ends.
        qsizetype feeds = 0;
        while (feeds < entryText.size() && entryText[feeds] == PaneText::kFormFeed) ++feeds;
        const qsizetype first =
            range.start + std::max<qsizetype>(0, feeds == entryText.size() ? feeds - 1 : feeds);
        const qsizetype page = std::lower_bound(formFeeds.begin(), formFeeds.end(), first) -
                               formFeeds.begin();  // form feeds before it
        const qsizetype line = lineOf(range.start);
        const qsizetype pageFirstLine = page == 0 ? 0 : lineOf(formFeeds[size_t(page - 1)]);
        entries.push_back({int(page + 1), int(line - pageFirstLine + 1),
                           range.start - lineStarts[size_t(line)], entryText.toString()});
    }
    return entries;
}

int PageCount(QStringView text) {
    const qsizetype lastFeed = text.lastIndexOf(PaneText::kFormFeed);
    const QStringView after = text.mid(lastFeed + 1);
    const bool textAfter = std::any_of(after.begin(), after.end(), [](QChar c) {
        return c != PaneText::kCR && c != PaneText::kLF;
    });
    return int(text.count(PaneText::kFormFeed) + (textAfter ? 1 : 0));
}

QByteArray FormatText(const Side& first, const Side& second) {
    QString out;
    auto write = [&out](const Side& side, QLatin1Char marker) {
        for (const Entry& entry : side.entries)
            out += QStringLiteral("p%1:l%2 ").arg(entry.page).arg(entry.line) + marker + u' ' +
                   entry.text + u'\n';
    };
    write(first, QLatin1Char('<'));
    write(second, QLatin1Char('>'));
    return out.toUtf8();
}

QJsonObject JsonReport(const QString& method, const Side& first, const Side& second,
                       bool withOffsets) {
    return {{QStringLiteral("method"), method},
            {QStringLiteral("file1"), sideObject(first, withOffsets)},
            {QStringLiteral("file2"), sideObject(second, withOffsets)}};
}

QByteArray FormatJson(const QString& method, const Side& first, const Side& second,
                      bool withOffsets) {
    return QJsonDocument(JsonReport(method, first, second, withOffsets))
        .toJson(QJsonDocument::Indented);
}

}  // namespace corvella::DifferenceReport

// The page and line report: any text with any ranges of it, located and written as text and as
// JSON that reads back to the same entries.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "report/DifferenceReport.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace corvella;
namespace Report = corvella::DifferenceReport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts = fuzz::Parts(data, size);
    const QString text = QString::fromUtf8(parts.value(0));
    // Every two bytes after the text make a range of it.
    const QByteArray places = parts.mid(1).join('\0');
    std::vector<TextRange> ranges;
    for (qsizetype i = 0; i + 1 < places.size(); i += 2) {
        const qsizetype start = qsizetype(uchar(places[i])) * text.size() / 255;
        const qsizetype length = qsizetype(uchar(places[i + 1])) % (text.size() - start + 1);
        ranges.push_back({start, length});
    }

    Report::Side side{QStringLiteral("a.pdf"), Report::PageCount(text),
                      Report::Locate(text, ranges)};
    FUZZ_CHECK(side.entries.size() == ranges.size());
    for (size_t i = 0; i < ranges.size(); ++i) {
        const Report::Entry& entry = side.entries[i];
        FUZZ_CHECK(entry.text == text.mid(ranges[i].start, ranges[i].length));
        FUZZ_CHECK(entry.page >= 1 && entry.page <= text.count(u'\f') + 1);
        FUZZ_CHECK(entry.line >= 1);
        // The offset reaches back to the start of the entry's line.
        const qsizetype lineStart = ranges[i].start - entry.offset;
        FUZZ_CHECK(lineStart == 0 || (lineStart >= 2 && text.mid(lineStart - 2, 2) == "\r\n"));
        FUZZ_CHECK(!text.mid(lineStart, entry.offset).contains(QStringLiteral("\r\n")));
    }

    const QJsonObject report =
        QJsonDocument::fromJson(Report::FormatJson(QStringLiteral("lines"), side, side, true))
            .object();
    for (const char* file : {"file1", "file2"}) {
        const QJsonObject written = report.value(QLatin1String(file)).toObject();
        FUZZ_CHECK(written.value(QStringLiteral("pages")).toInt() == side.pages);
        const QJsonArray differences = written.value(QStringLiteral("differences")).toArray();
        FUZZ_CHECK(size_t(differences.size()) == side.entries.size());
        for (qsizetype i = 0; i < differences.size(); ++i) {
            const QJsonObject item = differences[i].toObject();
            const Report::Entry& entry = side.entries[size_t(i)];
            FUZZ_CHECK(item.value(QStringLiteral("text")).toString() == entry.text);
            FUZZ_CHECK(item.value(QStringLiteral("page")).toInt() == entry.page);
            FUZZ_CHECK(item.value(QStringLiteral("line")).toInt() == entry.line);
            FUZZ_CHECK(qsizetype(item.value(QStringLiteral("offset")).toDouble()) == entry.offset);
        }
    }
    FUZZ_CHECK(QString::fromUtf8(Report::FormatText(side, {})).count(u'<') >=
               qsizetype(side.entries.size()));
    return 0;
}

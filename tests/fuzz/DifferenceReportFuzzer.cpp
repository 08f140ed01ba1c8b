// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The page and line report: any text with any ranges of it, located and written as text and as
// JSON that reads back to the same entries.
#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "diff/TextPlaces.h"
#include "report/JsonReport.h"
#include "report/TextReport.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace corvella;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts = fuzz::Parts(data, size);
    const QString text = QString::fromUtf8(parts.value(0));
    // Every two bytes after the text make a range of it: a word difference of both sides.
    const QByteArray places = parts.mid(1).join('\0');
    Comparison comparison;
    comparison.method = Method::Words;
    for (qsizetype i = 0; i + 1 < places.size(); i += 2) {
        const qsizetype start = qsizetype(uchar(places[i])) * text.size() / 255;
        const qsizetype length = qsizetype(uchar(places[i + 1])) % (text.size() - start + 1);
        Difference difference;
        difference.span = {start, length};
        comparison.side(Side::One).differences.push_back(difference);
    }
    std::vector<Difference>& differences = comparison.side(Side::One).differences;
    TextPlaces::Locate(text, differences);
    comparison.side(Side::Two) = comparison.side(Side::One);
    const TextPlaces::Locator locator(text);
    for (const Difference& difference : differences) {
        FUZZ_CHECK(difference.page >= 1 && difference.page <= text.count(u'\f') + 1);
        FUZZ_CHECK(difference.line >= 1);
        // The offset reaches back to the start of the difference's line.
        const qsizetype offset = locator.of(difference.span).offset;
        const qsizetype lineStart = difference.span.start - offset;
        FUZZ_CHECK(lineStart == 0 || (lineStart >= 2 && text.mid(lineStart - 2, 2) == "\r\n"));
        FUZZ_CHECK(!text.mid(lineStart, offset).contains(QStringLiteral("\r\n")));
    }

    const DifferenceReport::File file{QStringLiteral("a.pdf"), text};
    const QJsonObject report =
        QJsonDocument::fromJson(JsonReport::Write(comparison, file, file)).object();
    for (const char* name : {"file1", "file2"}) {
        const QJsonObject written = report.value(QLatin1String(name)).toObject();
        FUZZ_CHECK(written.value(QStringLiteral("pages")).toInt() == TextPlaces::PageCount(text));
        const QJsonArray listed = written.value(QStringLiteral("differences")).toArray();
        FUZZ_CHECK(size_t(listed.size()) == differences.size());
        for (qsizetype i = 0; i < listed.size(); ++i) {
            const QJsonObject item = listed[i].toObject();
            const Difference& difference = differences[size_t(i)];
            FUZZ_CHECK(item.value(QStringLiteral("text")).toString() ==
                       text.mid(difference.span.start, difference.span.length));
            FUZZ_CHECK(item.value(QStringLiteral("page")).toInt() == difference.page);
            FUZZ_CHECK(item.value(QStringLiteral("line")).toInt() == difference.line);
            FUZZ_CHECK(qsizetype(item.value(QStringLiteral("offset")).toDouble()) ==
                       locator.of(difference.span).offset);
        }
    }
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    TextReport::Write(comparison, file, file, written);
    FUZZ_CHECK(QString::fromUtf8(written.data()).count(u'<') >= qsizetype(differences.size()));
    return 0;
}

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// junit.xml: one test case per pair, as continuous-integration servers read test results. A pair
// that differs, or a file only one folder has, is a failure with its counts; one that could not
// be compared is an error with its reason.
#include <QXmlStreamWriter>

#include "batch/Index.h"

namespace corvella::Batch::Index {

namespace {

// XML 1.0 has no way to write most control characters, not even as references: they show as
// U+FFFD. Tabs and line breaks stay (the writer escapes them in attributes).
QString xmlSafe(QString text) {
    for (QChar& c : text) {
        const char16_t code = c.unicode();
        if ((code < 0x20 && code != u'\t' && code != u'\n' && code != u'\r') || code == 0xfffe ||
            code == 0xffff)
            c = QChar::ReplacementCharacter;
    }
    // Lone surrogates cannot be written either.
    return QString::fromUtf8(text.toUtf8());
}

QString seconds(double value) { return QString::number(value, 'f', 3); }

void writeCounts(QXmlStreamWriter& xml, const Totals& totals) {
    xml.writeAttribute(QStringLiteral("tests"), QString::number(totals.pairs));
    xml.writeAttribute(QStringLiteral("failures"),
                       QString::number(totals.of(Status::Differs) + totals.of(Status::Added) +
                                       totals.of(Status::Removed)));
    xml.writeAttribute(QStringLiteral("errors"), QString::number(totals.of(Status::Trouble)));
    xml.writeAttribute(QStringLiteral("time"), seconds(totals.seconds));
}

void writeCase(QXmlStreamWriter& xml, const PairResult& result) {
    xml.writeStartElement(QStringLiteral("testcase"));
    xml.writeAttribute(QStringLiteral("classname"), QStringLiteral("corvella-diff"));
    xml.writeAttribute(QStringLiteral("name"), xmlSafe(result.key));
    xml.writeAttribute(QStringLiteral("time"), seconds(result.seconds));
    QString message;
    QString detail;
    switch (result.status) {
        case Status::Same:
            break;
        case Status::Differs:
            message = result.countsSentence();
            detail = message + QStringLiteral("\nreport: ") + ReportLink(result.output, ".html");
            break;
        case Status::Added:
            message = QStringLiteral("only in the second folder: ") + result.files[Side::Two];
            break;
        case Status::Removed:
            message = QStringLiteral("only in the first folder: ") + result.files[Side::One];
            break;
        case Status::Trouble:
            message = result.problem;
            break;
    }
    if (result.status != Status::Same) {
        xml.writeStartElement(result.status == Status::Trouble ? QStringLiteral("error")
                                                               : QStringLiteral("failure"));
        xml.writeAttribute(QStringLiteral("type"), StatusName(result.status));
        xml.writeAttribute(QStringLiteral("message"), xmlSafe(message));
        xml.writeCharacters(xmlSafe(detail.isEmpty() ? message : detail));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

}  // namespace

QByteArray Junit(const std::vector<PairResult>& results) {
    const Totals totals = Totals::Of(results);
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("testsuites"));
    writeCounts(xml, totals);
    xml.writeStartElement(QStringLiteral("testsuite"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("corvella-diff"));
    writeCounts(xml, totals);
    for (const PairResult& result : results) writeCase(xml, result);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

}  // namespace corvella::Batch::Index

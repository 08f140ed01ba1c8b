// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/JsonReport.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "diff/TextPlaces.h"
#include "report/DifferenceCounts.h"

namespace corvella::JsonReport {

namespace {

using DifferenceReport::File;

QJsonObject place(qint32 page, qint32 line) {
    return {{QStringLiteral("page"), page}, {QStringLiteral("line"), line}};
}

QJsonObject place(const Difference& difference, const File& file) {
    return place(file.pageNumber(difference.page), difference.line);
}

// The changed characters of a refined run, as ranges of its text: [[offset, length], ...].
QJsonArray changesOf(const ComparedSide& side, size_t index) {
    QJsonArray list;
    for (const CharacterChange& change : side.changesOf(index))
        list.append(QJsonArray{double(change.inWords.start), double(change.inWords.length)});
    return list;
}

// A layout-free entry's fields besides its place and text: its place in the other file, and
// whether and how it was refined.
void addLayoutFields(QJsonObject& item, const ComparedSide& side, size_t index,
                     const TextPlaces::Locator& otherLocator, const File& otherFile) {
    const Difference& difference = side.differences[index];
    if (difference.placed()) {
        const TextPlaces::Place other = otherLocator.of(difference.other);
        item.insert(QStringLiteral("other"), place(otherFile.pageNumber(other.page), other.line));
    }
    if (difference.refinement == Refinement::Refined)
        item.insert(QStringLiteral("changes"), changesOf(side, index));
    else if (difference.refinement == Refinement::TooLong)
        item.insert(QStringLiteral("changes"), QStringLiteral("too long to refine"));
}

// Writes the object's members one by one, each value as compact JSON, and flushes now and then.
class Writer {
public:
    explicit Writer(QIODevice& out) : out_(out) {}
    ~Writer() { flush(); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // `"key": ` at the given depth, after a comma unless it opens its object.
    void key(const char* name, int depth, bool first) {
        buffer_ += first ? "\n" : ",\n";
        buffer_ += QByteArray(4 * depth, ' ') + '"' + name + "\": ";
    }
    void value(const QJsonValue& value) {
        if (value.isObject())
            buffer_ += QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
        else if (value.isArray())
            buffer_ += QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
        else  // a number or a text: written as the only item of an array, without the brackets
            buffer_ +=
                QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).chopped(1).mid(1);
        if (buffer_.size() > 1 << 16) flush();
    }
    void raw(const char* text) { buffer_ += text; }
    void flush() {
        out_.write(buffer_);
        buffer_.clear();
    }

private:
    QIODevice& out_;
    QByteArray buffer_;
};

void writeFile(Writer& writer, const Comparison& comparison, Side side, const File& file,
               const File& otherFile) {
    const bool withOffsets = comparison.method == Method::Words;
    const bool withOther = comparison.method == Method::IgnoringLayout;
    const TextPlaces::Locator locator(file.text);
    const TextPlaces::Locator otherLocator(otherFile.text);
    writer.key("name", 2, true);
    writer.value(file.name);
    writer.key("pages", 2, false);
    writer.value(TextPlaces::PageCount(file.text));
    if (!file.pageRanges.isEmpty()) {
        writer.key("pageRanges", 2, false);
        writer.value(file.pageRanges);
    }
    writer.key("differences", 2, false);
    writer.raw("[");
    const std::vector<Difference>& differences = comparison.side(side).differences;
    for (size_t i = 0; i < differences.size(); ++i) {
        const Difference& difference = differences[i];
        QJsonObject item{
            {QStringLiteral("page"), file.pageNumber(difference.page)},
            {QStringLiteral("line"), difference.line},
            {QStringLiteral("text"), DifferenceReport::TextOf(comparison, side, i, file)}};
        if (withOffsets)
            item.insert(QStringLiteral("offset"), double(locator.of(difference.span).offset));
        if (withOther) addLayoutFields(item, comparison.side(side), i, otherLocator, otherFile);
        writer.raw(i == 0 ? "\n            " : ",\n            ");
        writer.value(item);
    }
    writer.raw(differences.empty() ? "]" : "\n        ]");
    writer.raw("\n    }");
}

// Moved runs or reordered words, each with its words in the first file's order and both places.
QJsonArray pairs(const std::vector<Difference>& in1, const std::vector<QString>& words,
                 const std::vector<Difference>& in2, const File& file1, const File& file2) {
    QJsonArray list;
    for (size_t i = 0; i < in1.size(); ++i)
        list.append(QJsonObject{{QStringLiteral("text"), words[i]},
                                {QStringLiteral("file1"), place(in1[i], file1)},
                                {QStringLiteral("file2"), place(in2[i], file2)}});
    return list;
}

// Runs only the typography changed: each file's place and words.
QJsonArray typography(const ComparedSide& in1, const ComparedSide& in2, const File& file1,
                      const File& file2) {
    QJsonArray list;
    for (size_t i = 0; i < in1.typography.size(); ++i) {
        QJsonObject place1 = place(in1.typography[i], file1);
        QJsonObject place2 = place(in2.typography[i], file2);
        place1.insert(QStringLiteral("text"), in1.typographyWords[i]);
        place2.insert(QStringLiteral("text"), in2.typographyWords[i]);
        list.append(
            QJsonObject{{QStringLiteral("file1"), place1}, {QStringLiteral("file2"), place2}});
    }
    return list;
}

// The layout-free options in force, as the command line names them.
QJsonArray optionsOf(const LayoutCompare::Options& options) {
    QJsonArray names;
    const std::pair<bool, const char*> all[] = {{options.exactTypography, "exact-typography"},
                                                {options.ignoreCase, "ignore-case"},
                                                {options.ignoreNumbers, "ignore-numbers"},
                                                {options.ignorePunctuation, "ignore-punctuation"}};
    for (const auto& [inForce, name] : all)
        if (inForce) names.append(QLatin1String(name));
    return names;
}

// {"file1": {"lines": 3}, ...}: each figure under its group, named by its unit.
QJsonObject counts(const Comparison& comparison) {
    QJsonObject groups;
    for (const DifferenceCounts::Count& count : DifferenceCounts::Of(comparison)) {
        const QString group = count.key.section(u'.', 0, 0);
        QJsonObject figures = groups[group].toObject();
        figures.insert(count.key.section(u'.', 1), double(count.value));
        groups.insert(group, figures);
    }
    return groups;
}

}  // namespace

void Write(const Comparison& comparison, const File& first, const File& second, QIODevice& out,
           const DifferenceReport::Hidden& hidden) {
    Writer writer(out);
    writer.raw("{");
    writer.key("method", 1, true);
    writer.value(DifferenceReport::MethodName(comparison.method));
    if (comparison.method == Method::IgnoringLayout) {
        writer.key("options", 1, false);
        writer.value(optionsOf(comparison.options));
    }
    writer.key("counts", 1, false);
    writer.value(counts(comparison));
    if (hidden.any()) {
        writer.key("hidden", 1, false);
        writer.value(
            QJsonObject{{QStringLiteral("kinds"), QJsonArray::fromStringList(hidden.kinds)},
                        {QStringLiteral("containing"), hidden.containing},
                        {QStringLiteral("changes"), double(hidden.changes)}});
    }
    for (const Side side : kBothSides) {
        writer.key(side == Side::One ? "file1" : "file2", 1, false);
        writer.raw("{");
        writeFile(writer, comparison, side, side == Side::One ? first : second,
                  side == Side::One ? second : first);
    }
    if (comparison.method == Method::IgnoringLayout) {
        const ComparedSide& in1 = comparison.side(Side::One);
        const ComparedSide& in2 = comparison.side(Side::Two);
        writer.key("moved", 1, false);
        writer.value(pairs(in1.moved, in1.movedWords, in2.moved, first, second));
        writer.key("reordered", 1, false);
        writer.value(pairs(in1.reordered, in1.reorderedWords, in2.reordered, first, second));
        writer.key("typography", 1, false);
        writer.value(typography(in1, in2, first, second));
    }
    writer.raw("\n}\n");
}

QByteArray Write(const Comparison& comparison, const File& first, const File& second,
                 const DifferenceReport::Hidden& hidden) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Write(comparison, first, second, buffer, hidden);
    return buffer.data();
}

}  // namespace corvella::JsonReport

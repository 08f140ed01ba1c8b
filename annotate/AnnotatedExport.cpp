// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "annotate/AnnotatedExport.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <future>
#include <map>
#include <optional>

#include "annotate/AnnotatedCopy.h"
#include "annotate/CopyNames.h"
#include "annotate/PageWords.h"
#include "diff/Alignment.h"

namespace corvella::AnnotatedExport {

namespace {

// Where each page of a text starts: the first at 0, each other one at the form feed before it.
std::vector<qsizetype> PageStarts(QStringView text) {
    std::vector<qsizetype> starts{0};
    for (qsizetype position = 0; position < text.size(); ++position)
        if (text[position] == u'\f') starts.push_back(position);
    return starts;
}

struct Piece {
    size_t marking = 0;
    TextRange range;
};

// The markings' ranges cut at page starts, by page (from 1).
std::map<int, std::vector<Piece>> PiecesByPage(const std::vector<Markings::Marking>& markings,
                                               const std::vector<qsizetype>& starts) {
    std::map<int, std::vector<Piece>> pages;
    for (size_t index = 0; index < markings.size(); ++index) {
        for (const TextRange& range : markings[index].ranges) {
            if (range.length <= 0) continue;
            qsizetype from = range.start;
            const qsizetype to = range.start + range.length;
            auto page = std::upper_bound(starts.begin(), starts.end(), from);
            while (from < to) {
                const qsizetype pageEnd = page == starts.end() ? to : std::min(to, *page);
                pages[int(page - starts.begin())].push_back({index, {from, pageEnd - from}});
                from = pageEnd;
                ++page;
            }
        }
    }
    return pages;
}

bool HasVisible(QStringView text, const std::vector<TextRange>& ranges) {
    for (const TextRange& range : ranges)
        for (const QChar c : text.mid(range.start, range.length))
            if (!c.isSpace()) return true;
    return false;
}

// The highlights of one file: each marking's boxes on each of its pages. Sets `problem` when a
// page's words do not match its text or a marking finds no word.
std::vector<AnnotatedCopy::Highlight> Place(const std::vector<Markings::Marking>& markings,
                                            const Source& source, const PageWords::Reader& reader,
                                            QString& problem) {
    const QStringView text = source.text;
    const std::vector<qsizetype> starts = PageStarts(text);
    std::vector<AnnotatedCopy::Highlight> highlights;
    std::vector<bool> placed(markings.size(), false);
    for (const auto& [page, pieces] : PiecesByPage(markings, starts)) {
        const qsizetype start = starts[size_t(page - 1)];
        const qsizetype end = size_t(page) < starts.size() ? starts[size_t(page)] : text.size();
        const int document = Markings::DocumentPage(source.pageNumbers, page);
        const PageWords::Page words = reader.read(document);
        const BoxMatcher::PageMatch match(text.mid(start, end - start), start, words.words);
        if (match.paired() * 2 < match.visible()) {
            problem =
                QStringLiteral("the words on its page %1 do not match its text").arg(document);
            return {};
        }
        // Each marking's boxes on this page, in reading order, joined along lines at the end.
        std::map<size_t, std::vector<BoxMatcher::Box>> onPage;
        for (const Piece& piece : pieces) {
            const std::vector<BoxMatcher::Box> boxes = match.boxesOf(piece.range);
            std::vector<BoxMatcher::Box>& all = onPage[piece.marking];
            all.insert(all.end(), boxes.begin(), boxes.end());
        }
        for (const auto& [index, boxes] : onPage) {
            if (boxes.empty()) continue;
            const Markings::Marking& marking = markings[index];
            AnnotatedCopy::Highlight highlight{
                document, marking.style->colour, {}, marking.style->name, marking.note};
            for (const BoxMatcher::Box& box : BoxMatcher::JoinedAlongLines(boxes))
                highlight.boxes.push_back(PageWords::ToPdfSpace(box.rect, words));
            highlights.push_back(std::move(highlight));
            placed[index] = true;
        }
    }
    qsizetype missing = 0;
    for (size_t index = 0; index < markings.size(); ++index)
        if (!placed[index] && HasVisible(text, markings[index].ranges)) ++missing;
    if (missing > 0)
        problem = QStringLiteral("%1 of its %2 differences have no words on its pages")
                      .arg(missing)
                      .arg(markings.size());
    return highlights;
}

QString WriteOne(const Comparison& comparison, Side side, const BySide<Source>& sources,
                 const QString& target, const Markings::Filter& filter) {
    const Source& source = sources[side];
    Markings::Files files;
    for (const Side each : kBothSides) {
        files.names[each] = QFileInfo(sources[each].pdf).fileName();
        files.texts[each] = sources[each].text;
        files.pageNumbers[each] = sources[each].pageNumbers;
    }
    const std::vector<Markings::Marking> markings = Markings::Of(comparison, side, files, filter);
    const PageWords::Reader reader(source.pdf, source.password);
    if (!reader.problem().isEmpty()) return reader.problem();
    QString problem;
    const std::vector<AnnotatedCopy::Highlight> highlights =
        Place(markings, source, reader, problem);
    if (!problem.isEmpty()) return problem;
    return AnnotatedCopy::Write(source.pdf, source.password, highlights, target);
}

// The notes say where a change stands in the other file: the line and word comparisons leave that
// to be found through the alignment of the texts' words.
Comparison Placed(const Comparison& comparison, const BySide<Source>& sources) {
    Comparison placed = comparison;
    const QStringView one = sources[Side::One].text;
    const QStringView two = sources[Side::Two].text;
    PlaceInOther(placed, AlignWords(one, two), one, two);
    return placed;
}

bool AllPlaced(const Comparison& comparison) {
    for (const ComparedSide& side : comparison.sides)
        for (const Difference& difference : side.differences)
            if (!difference.placed()) return false;
    return true;
}

}  // namespace

BySide<Outcome> Write(const Comparison& comparison, const BySide<Source>& sources,
                      const QString& folder, const Markings::Filter& filter) {
    const BySide<QString> targets =
        CopyNames::In(folder, {{sources[Side::One].pdf, sources[Side::Two].pdf}});
    BySide<Outcome> outcomes;
    for (const Side side : kBothSides) outcomes[side].copy = targets[side];
    if (!QDir().mkpath(folder)) {
        for (const Side side : kBothSides)
            outcomes[side].problem = QStringLiteral("the folder %1 cannot be made").arg(folder);
        return outcomes;
    }
    std::optional<Comparison> placed;
    if (!AllPlaced(comparison)) placed = Placed(comparison, sources);
    const Comparison& marked = placed ? *placed : comparison;
    auto second = std::async(std::launch::async, [&] {
        return WriteOne(marked, Side::Two, sources, targets[Side::Two], filter);
    });
    outcomes[Side::One].problem = WriteOne(marked, Side::One, sources, targets[Side::One], filter);
    outcomes[Side::Two].problem = second.get();
    return outcomes;
}

}  // namespace corvella::AnnotatedExport

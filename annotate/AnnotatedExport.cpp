// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "annotate/AnnotatedExport.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <future>
#include <map>
#include <memory>
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

// What one file's copy needs. The pages' words and the parsing of the PDF for its copy take most
// of the time: they are done for both files at once, in parts shared out among the cores.
struct FileWork {
    const Source* source = nullptr;
    QString target;
    QByteArray contents;  // the PDF read whole for its readers, when not too large
    std::vector<Markings::Marking> markings;
    std::vector<qsizetype> starts;             // of the text's pages
    std::map<int, std::vector<Piece>> pieces;  // the markings' pieces by page of the text
    std::vector<int> pages;                    // the document's pages that hold pieces, in order
    std::vector<PageWords::Page> words;        // of each of those pages
    std::unique_ptr<AnnotatedCopy::Document> copy;
    QString problem;
};

// The highlights of one file: each marking's boxes on each of its pages. Sets the work's problem
// when a page's words do not match its text or a marking finds no word.
std::vector<AnnotatedCopy::Highlight> Place(FileWork& work) {
    const QStringView text = work.source->text;
    const std::vector<Markings::Marking>& markings = work.markings;
    std::vector<AnnotatedCopy::Highlight> highlights;
    std::vector<bool> placed(markings.size(), false);
    size_t read = 0;
    for (const auto& [page, pieces] : work.pieces) {
        const qsizetype start = work.starts[size_t(page - 1)];
        const qsizetype end =
            size_t(page) < work.starts.size() ? work.starts[size_t(page)] : text.size();
        const int document = work.pages[read];
        const PageWords::Page& words = work.words[read++];
        const BoxMatcher::PageMatch match(text.mid(start, end - start), start, words.words);
        if (match.paired() * 2 < match.visible()) {
            work.problem =
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
        work.problem = QStringLiteral("%1 of its %2 differences have no words on its pages")
                           .arg(missing)
                           .arg(markings.size());
    return highlights;
}

// The markings of one file and the pages they stand on; sets the problem when its PDF cannot be
// opened for its words.
void Prepare(FileWork& work, const Comparison& comparison, Side side, const BySide<Source>& sources,
             const Markings::Filter& filter) {
    const Source& source = *work.source;
    Markings::Files files;
    for (const Side each : kBothSides) {
        files.names[each] = QFileInfo(sources[each].pdf).fileName();
        files.texts[each] = sources[each].text;
        files.pageNumbers[each] = sources[each].pageNumbers;
    }
    work.markings = Markings::Of(comparison, side, files, filter);
    work.starts = PageStarts(source.text);
    work.pieces = PiecesByPage(work.markings, work.starts);
    for (const auto& entry : work.pieces)
        work.pages.push_back(Markings::DocumentPage(source.pageNumbers, entry.first));
    work.words.resize(work.pages.size());
    work.contents = AnnotatedCopy::ReadWhole(source.pdf);  // shared by the readers of its parts
    work.problem = PageWords::Reader(source.pdf, source.password, work.contents).problem();
}

// Reads the words of the work's pages from `from` to `to` (indices into its pages), with a reader
// of its own so that parts of one file can be read at once.
void ReadWords(FileWork& work, size_t from, size_t to) {
    const PageWords::Reader reader(work.source->pdf, work.source->password, work.contents);
    for (size_t index = from; index < to; ++index)
        work.words[index] = reader.read(work.pages[index]);
}

// Reads both files' pages and, with `open`, parses both PDFs for their copies: the parsing first,
// as the longest tasks, then each file's pages in parts, the files taking turns, so the cores end
// together.
void ReadAndOpen(BySide<FileWork>& works, bool open) {
    QThreadPool pool;
    pool.setMaxThreadCount(QThread::idealThreadCount());
    const size_t parts = size_t(2 * std::max(1, pool.maxThreadCount()));
    for (const Side side : kBothSides) {
        FileWork& work = works[side];
        if (!open || !work.problem.isEmpty()) continue;
        pool.start([&work] {
            work.copy =
                std::make_unique<AnnotatedCopy::Document>(work.source->pdf, work.source->password);
        });
    }
    for (size_t part = 0; part < parts; ++part) {
        for (const Side side : kBothSides) {
            FileWork& work = works[side];
            const size_t count = work.pages.size();
            const size_t from = count * part / parts, to = count * (part + 1) / parts;
            if (work.problem.isEmpty() && from < to)
                pool.start([&work, from, to] { ReadWords(work, from, to); });
        }
    }
    pool.waitForDone();
}

// Places one file's highlights and writes its copy; returns why it was not written, or nothing.
QString Finish(FileWork& work) {
    if (!work.problem.isEmpty()) return work.problem;
    if (!work.copy->problem().isEmpty()) return work.copy->problem();
    const std::vector<AnnotatedCopy::Highlight> highlights = Place(work);
    if (!work.problem.isEmpty()) return work.problem;
    return work.copy->write(highlights, work.target);
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
                      const QString& folder, const Markings::Filter& filter, Originals* originals) {
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
    BySide<FileWork> works;
    for (const Side side : kBothSides) {
        works[side].source = &sources[side];
        works[side].target = targets[side];
        Prepare(works[side], marked, side, sources, filter);
    }
    ReadAndOpen(works, originals == nullptr);
    if (originals)
        for (const Side side : kBothSides) works[side].copy = originals->take(side);
    auto second = std::async(std::launch::async, [&] { return Finish(works[Side::Two]); });
    outcomes[Side::One].problem = Finish(works[Side::One]);
    outcomes[Side::Two].problem = second.get();
    return outcomes;
}

Originals::Originals(const BySide<QString>& pdfs, const BySide<QString>& passwords) {
    for (const Side side : kBothSides)
        documents_[side] =
            std::async(std::launch::async, [pdf = pdfs[side], password = passwords[side]] {
                return std::make_unique<AnnotatedCopy::Document>(pdf, password);
            });
}

Originals::~Originals() = default;

std::unique_ptr<AnnotatedCopy::Document> Originals::take(Side side) {
    return documents_[side].get();
}

}  // namespace corvella::AnnotatedExport

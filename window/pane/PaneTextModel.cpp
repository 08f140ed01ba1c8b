// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/pane/PaneTextModel.h"

#include <algorithm>

#include "core/PaneText.h"

namespace corvella {

void PaneTextModel::assign(QString canonical) {
    text_ = std::move(canonical);
    grouped_ = !text_.contains(kLineSeparator);
    stale_ = false;
    revision_ = PaneText::NewRevision();
}

bool PaneTextModel::canAppend(const QString& canonical) const {
    return !stale_ && !(grouped_ && canonical.contains(kLineSeparator));
}

void PaneTextModel::append(const QString& canonical) {
    text_ += canonical;
    revision_ = PaneText::NewRevision();
}

void PaneTextModel::changedInDocument() {
    stale_ = true;
    revision_ = PaneText::NewRevision();
}

void PaneTextModel::adoptRead(QString canonical) {
    text_ = std::move(canonical);
    stale_ = false;
}

const std::vector<int>& PaneTextModel::breaks() const {
    if (breaksOf_ == qsizetype(revision_)) return breaks_;
    // Canonical text breaks lines only with CR LF; the k-th break is k places earlier in the
    // document.
    breaks_.clear();
    for (qsizetype cr = text_.indexOf(PaneText::kCR); cr >= 0;
         cr = text_.indexOf(PaneText::kCR, cr + 1))
        breaks_.push_back(int(cr - qsizetype(breaks_.size())));
    breaks_.shrink_to_fit();
    breaksOf_ = qsizetype(revision_);
    return breaks_;
}

namespace {

// Whether line k + 1 starts at or before a text position: it starts after break k, which stands k
// places later in the text than in the document.
bool nextLineStartsBy(const std::vector<int>& breaks, std::size_t k, qsizetype textPosition) {
    return qsizetype(breaks[k]) + qsizetype(k) + 2 <= textPosition;
}

}  // namespace

DocumentPosition PaneTextModel::toDocument(TextPosition position) const {
    // The line holding the position: the last one whose text start is not after it.
    const std::vector<int>& all = breaks();
    std::size_t low = 0;
    std::size_t high = all.size();
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (nextLineStartsBy(all, mid, position.at))
            low = mid + 1;
        else
            high = mid;
    }
    return {std::clamp<qsizetype>(position.at - qsizetype(low), 0, documentLength())};
}

DocumentPosition PaneTextModel::Sweep::to(TextPosition position) {
    while (line_ < breaks_->size() && nextLineStartsBy(*breaks_, line_, position.at)) ++line_;
    return {std::clamp<qsizetype>(position.at - qsizetype(line_), 0, end_)};
}

qsizetype PaneTextModel::lineOf(DocumentPosition position) const {
    const std::vector<int>& all = breaks();
    return std::lower_bound(all.begin(), all.end(), position.at) - all.begin();
}

TextPosition PaneTextModel::toText(DocumentPosition position) const {
    return {position.at + lineOf(position)};
}

DocumentPosition PaneTextModel::lineStart(qsizetype line) const {
    const std::vector<int>& all = breaks();
    if (line <= 0) return {0};
    return {line > qsizetype(all.size()) ? text_.size() - qsizetype(all.size())
                                         : qsizetype(all[size_t(line - 1)]) + 1};
}

QString PaneTextModel::documentText(qsizetype from, qsizetype to, int& linesInParagraph) const {
    const QStringView written = QStringView(text_).sliced(from, to - from);
    if (!grouped_) return written.toString();
    // Every kLinesPerParagraph-th break stays a paragraph break, the others become separators.
    QString out;
    out.reserve(written.size());
    qsizetype start = 0;
    for (qsizetype cr = written.indexOf(PaneText::kCR); cr >= 0;
         cr = written.indexOf(PaneText::kCR, start)) {
        // A chunk ends after a whole break; a CR alone is a break of the document's too.
        const bool crlf = cr + 1 < written.size() && written.at(cr + 1) == PaneText::kLF;
        const qsizetype next = cr + (crlf ? 2 : 1);
        if (linesInParagraph < kLinesPerParagraph) {
            out += written.sliced(start, cr - start);
            out += kLineSeparator;
            ++linesInParagraph;
        } else {
            out += written.sliced(start, next - start);
            linesInParagraph = 1;
        }
        start = next;
    }
    out += written.sliced(std::min(start, written.size()));
    return out;
}

QString PaneTextModel::readable(DocumentPosition from, DocumentPosition to) const {
    const qsizetype start = toText(from).at;
    const qsizetype end = std::max(start, toText(to).at);
    return text_.mid(start, end - start).replace(PaneText::kBreak, QStringLiteral("\n"));
}

}  // namespace corvella

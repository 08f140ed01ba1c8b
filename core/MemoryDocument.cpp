// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/MemoryDocument.h"

#include <QFile>
#include <algorithm>

#include "core/ErrorReport.h"
#include "core/PaneText.h"

namespace corvella {

MemoryDocument::MemoryDocument(const QString& text) { replaceText(PaneText::canonical(text)); }

void MemoryDocument::replaceText(QString canonical) {
    text_ = std::move(canonical);
    colors_.clear();
    colors_.shrink_to_fit();
    selStart_ = selLength_ = 0;
    revision_ = PaneText::NewRevision();
}

void MemoryDocument::setText(const QString& text) { replaceText(PaneText::canonical(text)); }

void MemoryDocument::setSelStart(qsizetype start) {
    selStart_ = PaneText::clampStart(start, text_.size());
    selLength_ = 0;
}

void MemoryDocument::setSelLength(qsizetype length) {
    selLength_ = PaneText::clampLength(length, selStart_, text_.size());
}

void MemoryDocument::paint(qsizetype from, qsizetype to, Color color) {
    from = std::clamp<qsizetype>(from, 0, text_.size());
    to = std::clamp<qsizetype>(to, from, text_.size());
    if (from == to) return;
    if (colors_.empty()) {
        if (color == kBlack) return;
        colors_.assign(size_t(text_.size()), kBlack);
    }
    std::fill(colors_.begin() + from, colors_.begin() + to, color);
}

void MemoryDocument::setSelColor(Color color) { paint(selStart_, selStart_ + selLength_, color); }

void MemoryDocument::colorRanges(const std::vector<TextRange>& ranges, Color color) {
    for (const TextRange& range : ranges) paint(range.start, range.start + range.length, color);
}

Color MemoryDocument::colorAt(qsizetype position) const {
    if (colors_.empty() || position < 0 || position >= text_.size()) return kBlack;
    const QChar c = text_.at(position);
    return c == PaneText::kCR || c == PaneText::kLF ? kBlack : colors_[size_t(position)];
}

void MemoryDocument::keepContent() {
    kept_ = Kept{text_, colors_, selStart_, selLength_, revision_};
}

void MemoryDocument::restoreContent() {
    if (!kept_) return;
    text_ = std::move(kept_->text);
    colors_ = std::move(kept_->colors);
    selStart_ = kept_->selStart;
    selLength_ = kept_->selLength;
    revision_ = kept_->revision;
    kept_.reset();
}

void MemoryDocument::loadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Failure(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw Failure(file.errorString());
    replaceText(PaneText::canonicalFromFileText(bytes));
}

}  // namespace corvella

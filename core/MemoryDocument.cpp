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
    ++revision_;
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
    ++colourings_;
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
    return colors_[size_t(position)];
}

void MemoryDocument::loadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Failure(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw Failure(file.errorString());
    replaceText(PaneText::canonicalFromFileText(bytes));
}

}  // namespace corvella

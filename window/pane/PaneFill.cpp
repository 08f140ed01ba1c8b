// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/pane/PaneFill.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "core/PaneText.h"

namespace corvella {

namespace {

// What one slice puts into the document at least.
constexpr qsizetype kFillChunk = 16 * 1024;

// When the last slice of any fill ended: slices between other events wait a slice's time after it.
QElapsedTimer& sinceAnySlice() {
    static QElapsedTimer clock;
    return clock;
}

}  // namespace

PaneFill::PaneFill(View& view, QObject* parent) : QObject(parent), view_(view) {
    timer_.setSingleShot(true);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (!view_.shown()) return;  // hidden meanwhile: it waits again
        // Not in the turn between slices of other work, nor right after another fill's slice: the
        // loop has its turn between.
        if (SliceTurn::inside() || (sinceAnySlice().isValid() && sinceAnySlice().elapsed() < 1)) {
            timer_.start(1);
            return;
        }
        slice();
        schedule();
    });
}

void PaneFill::keepLive(EventPump& pump, std::chrono::milliseconds slice) {
    pump_ = &pump;
    slice_ = slice;
}

void PaneFill::begin(bool preview) {
    running_ = true;
    view_.fillRunning(true, preview);
}

void PaneFill::stop() {
    if (!running_) return;
    running_ = false;
    timer_.stop();
    loopTurns_.setWatching(false);
    view_.fillRunning(false, previewing_);
}

void PaneFill::fill(const PaneTextModel& text, qsizetype from) {
    text_ = &text;
    if (from >= 0) filled_ = from;
    if (!running_) begin(false);
    // What fits in one slice goes in now: nothing is left waiting on the event loop for it.
    if (pump_ == nullptr || text.length() - filled_ <= kFillChunk)
        complete();
    else
        schedule();
}

void PaneFill::complete() {
    while (running_ && !previewing_) {
        slice();
        if (running_ && pump_ != nullptr) SliceTurn::Give(*pump_);
    }
}

void PaneFill::schedule() {
    // A hidden view's document waits until the view is shown, or until an operation needs it; a
    // preview shown so far waits for its next piece.
    if (!running_ || !view_.shown() || filled_ >= source().length()) return;
    loopTurns_.setWatching(true);
    // The timer keeps a quiet loop filling; on a busy one the loop's other events also run slices
    // (loopTurns_), so requests queued ahead of it do not hold the text back.
    if (!timer_.isActive()) timer_.start(0);
}

void PaneFill::sliceIfDue() {
    // No more often than the timer's slices when the loop is quiet.
    if (!running_ || !view_.shown() || SliceTurn::inside() || filled_ >= source().length()) return;
    if (sinceAnySlice().isValid() && sinceAnySlice().elapsed() < slice_.count()) return;
    slice();
}

void PaneFill::slice() {
    if (!running_) return;
    QElapsedTimer clock;
    clock.start();
    QTextDocument& document = view_.filledDocument();
    QTextCursor end(&document);
    view_.fillEditing(true);
    const int firstChanged = document.blockCount() - 1;
    int lines = int(document.lastBlock().text().count(PaneTextModel::kLineSeparator)) + 1;
    const PaneTextModel& text = source();
    const qsizetype length = text.length();
    // At least one chunk a slice, however short the slice.
    for (bool first = true; filled_ < length && (first || clock.elapsed() < slice_.count());
         first = false) {
        qsizetype to = std::min(length, filled_ + kFillChunk);
        if (to < length && text.text().at(to - 1) == PaneText::kCR) ++to;  // whole breaks
        end.movePosition(QTextCursor::End);
        end.insertText(text.documentText(filled_, to, lines), QTextCharFormat());
        filled_ = to;
    }
    view_.fillEditing(false);
    if (text.grouped()) view_.sliceFilled(firstChanged);
    sinceAnySlice().start();
    if (filled_ < length) return;
    if (previewing_) {
        timer_.stop();
        loopTurns_.setWatching(false);
        return;
    }
    stop();
    view_.filled();
}

bool PaneFill::preview(const QByteArray& filePiece, bool documentEmpty) {
    if (!previewing_) {
        // Only a live view that is empty and done filling shows a text ahead.
        if (pump_ == nullptr || running_ || !documentEmpty) return false;
        previewing_ = true;
        previewed_.assign(QString());
        previewBytes_.clear();
        previewClean_ = true;
        filled_ = 0;
        begin(true);
    }
    if (previewHalted_) return true;
    const bool later = !previewBytes_.isEmpty();
    const bool clean = !later || (previewClean_ && PaneText::cutsCleanlyAfter(previewBytes_));
    // Cut elsewhere, the text shown is only a guess, which the load checks against the file's.
    const QString piece = later && clean ? PaneText::canonicalFromLaterFileText(filePiece)
                                         : PaneText::canonicalFromFileText(filePiece);
    if (piece.contains(PaneTextModel::kLineSeparator)) {
        previewHalted_ = true;
        return true;
    }
    previewClean_ = clean;
    previewed_.append(piece);
    previewBytes_ += filePiece;
    schedule();
    return true;
}

std::optional<QString> PaneFill::previewedFile(const QByteArray& bytes) const {
    if (!previewing_ || !previewClean_ || !bytes.startsWith(previewBytes_) ||
        (bytes.size() != previewBytes_.size() && !PaneText::cutsCleanlyAfter(previewBytes_)))
        return std::nullopt;
    const QString rest =
        PaneText::canonicalFromLaterFileText(QByteArrayView(bytes).sliced(previewBytes_.size()));
    // The preview's lines are grouped, which a text with line separators of its own is not.
    if (rest.contains(PaneTextModel::kLineSeparator)) return std::nullopt;
    return previewed_.text() + rest;
}

bool PaneFill::previewBegins(const QString& text) const {
    return previewing_ && text.startsWith(previewed_.text()) &&
           !text.contains(PaneTextModel::kLineSeparator);
}

void PaneFill::endPreview() {
    previewing_ = false;
    previewHalted_ = false;
    previewed_.assign(QString());
    previewBytes_.clear();
}

}  // namespace corvella

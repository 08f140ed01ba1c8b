// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/Progress.h"

namespace corvella::Batch {

Progress::Progress(QIODevice& err, bool shown, qsizetype pairs, qint64 totalBytes)
    : err_(err), shown_(shown), pairs_(pairs), totalBytes_(totalBytes) {
    clock_.start();
}

void Progress::advance(qint64 bytes, bool trouble) {
    ++done_;
    doneBytes_ += bytes;
    if (trouble) ++trouble_;
    show();
}

void Progress::show() {
    if (!shown_) return;
    qint64 left = -1;  // unknown until something is done
    if (doneBytes_ > 0)
        left = qint64(double(clock_.elapsed()) / 1000 * double(totalBytes_ - doneBytes_) /
                      double(doneBytes_));
    // "\r" and erase to the line's end: the line is rewritten in place.
    err_.write(("\r\x1b[K" + Line(done_, pairs_, trouble_, left)).toUtf8());
    written_ = true;
}

void Progress::note(const QString& line) {
    clear();
    err_.write((line + u'\n').toUtf8());
    if (written_) show();
}

void Progress::finish() {
    if (written_) err_.write("\n");
    written_ = false;
}

void Progress::clear() {
    if (written_) err_.write("\r\x1b[K");
}

QString Progress::Line(qsizetype done, qsizetype pairs, qsizetype trouble, qint64 secondsLeft) {
    QString line = QStringLiteral("%1/%2 pairs").arg(done).arg(pairs);
    if (trouble > 0) line += QStringLiteral(", %1 in trouble").arg(trouble);
    if (secondsLeft >= 60)
        line += QStringLiteral(", %1 min %2 s left").arg(secondsLeft / 60).arg(secondsLeft % 60);
    else if (secondsLeft >= 0)
        line += QStringLiteral(", %1 s left").arg(secondsLeft);
    return line;
}

}  // namespace corvella::Batch

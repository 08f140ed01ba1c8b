// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QIODevice>
#include <QString>

// The batch's progress on one line of standard error, rewritten in place: pairs done of all,
// those in trouble, and the time left, estimated from the bytes of PDF still to compare (a
// thousand-page pair takes longer than a two-page one). Only on a terminal: anything else reading
// standard error sees just the lines naming the pairs in trouble.
namespace corvella::Batch {

class Progress {
public:
    // `totalBytes`: the size of every PDF the run compares.
    Progress(QIODevice& err, bool shown, qsizetype pairs, qint64 totalBytes);

    void advance(qint64 bytes, bool trouble);
    // Writes the line again (the time left moves on between pairs).
    void show();
    // Writes a line of its own (a pair in trouble) above the progress.
    void note(const QString& line);
    // Leaves the last progress line standing.
    void finish();

    // "12/200 pairs, 1 in trouble, 3 min 20 s left".
    static QString Line(qsizetype done, qsizetype pairs, qsizetype trouble, qint64 secondsLeft);

private:
    void clear();

    QIODevice& err_;
    bool shown_;
    qsizetype pairs_;
    qint64 totalBytes_;
    qsizetype done_ = 0;
    qsizetype trouble_ = 0;
    qint64 doneBytes_ = 0;
    QElapsedTimer clock_;
    bool written_ = false;
};

}  // namespace corvella::Batch

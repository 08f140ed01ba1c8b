// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProcess>
#include <QtGlobal>

// A client of the accessibility bus, as a screen reader is one: it asks a button of the window
// for its name every 20 ms and times each answer; with CORVELLA_READER_LISTENS set, it also
// listens to the events a screen reader listens to (text changes, caret moves, states, focus). It runs as a process of its own, so that the
// window's stalls are what it waits on.
namespace corvella::bench {

// The reader process: finds the program of `windowPid` on the accessibility bus, then asks until
// its standard input ends. A line "mark" on standard input starts a new measurement, a line
// "report" prints "longest_answer_ms=N answers=K" for the asks since the mark (an ask still
// unanswered counts with the time it has waited so far, since the mark at most). Prints "ready"
// once it asks.
int RunReader(qint64 windowPid);

// The window's side: starts the reader on this process and talks to it while the event loop
// runs, so that the window answers the reader meanwhile.
class ReaderProcess {
public:
    // Returns false, with the reason on standard error, when no reader found the window.
    bool start(const QString& program);
    void mark();
    // The longest answer since the last mark, in ms.
    qint64 longestAnswerMs();

private:
    QByteArray readLine();
    QProcess process_;
};

}  // namespace corvella::bench

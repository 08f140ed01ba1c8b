// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "batch/PairResult.h"

// The batch's index, built from its pairs' results in three forms: index.html for people (a
// sortable table linking every pair's web page), index.json for scripts, and junit.xml for
// continuous-integration servers (a pair that differs is a failed test, one in trouble an
// error). The results are listed sorted by their key.
namespace corvella::Batch::Index {

struct Totals {
    qsizetype pairs = 0;
    qsizetype byStatus[5] = {};  // by Status
    qsizetype resumed = 0;
    double seconds = 0;  // the pairs' own times, summed

    static Totals Of(const std::vector<PairResult>& results);
    qsizetype of(Status status) const { return byStatus[int(status)]; }
    // "200 pairs: 150 same, 40 differing, 5 added, 3 removed, 2 in trouble; 100 from an earlier
    // run"
    QString sentence() const;
};

QByteArray Json(const std::vector<PairResult>& results);
QByteArray Html(const std::vector<PairResult>& results);
QByteArray Junit(const std::vector<PairResult>& results);

// The URL of a pair's report relative to the index, from its output name ("sub/a b.pdf" gives
// "reports/sub/a%20b.pdf.html").
QString ReportLink(const QString& output, const char* suffix);

}  // namespace corvella::Batch::Index

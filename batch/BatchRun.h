// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIODevice>
#include <QString>

#include "batch/BatchOptions.h"

// A batch run: its pairs found or listed, each compared by a child comparison (several at once),
// what became of each written to the output folder as it ends, then the index. Pairs an earlier
// run finished with the same options, whose files have not changed since, are taken over as
// they are.
namespace corvella::Batch {

// The batch's exit statuses: every pair compared, or with --fail-on-differences, every pair the
// same; some pair differs (with --fail-on-differences); some pair could not be compared.
inline constexpr int kAllCompared = 0;
inline constexpr int kSomeDiffer = 1;
inline constexpr int kSomeTrouble = 2;

struct Program {
    QString path;     // this executable, run for each pair
    QString version;  // "corvella-diff 1.0": results of another version are not taken over
};

// Runs the batch (or merges its shares' results) and returns its exit status. Progress goes to
// `err` when `terminal`, each pair in trouble always; a summary to `out`.
int Run(const Options& options, const Program& program, bool terminal, QIODevice& out,
        QIODevice& err);

}  // namespace corvella::Batch

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIODevice>
#include <QStringList>
#include <QStringView>

#include "annotate/AnnotatedExport.h"
#include "cli/DiffProgram.h"
#include "core/PdfPasswords.h"
#include "diff/Comparison.h"
#include "report/DifferenceReport.h"

// corvella-diff's annotated copies (--annotate DIR) and the passwords of encrypted PDFs
// (--password1, --password2).
namespace corvella::DiffProgram {

// Whether arguments[index] is one of these options; if so takes its value (the next argument,
// or what follows "="), moving `index` past it, and sets `problem` when it has none.
bool ParseAnnotationOption(const QStringList& arguments, qsizetype& index, Options& options,
                           QString& problem);

// The passwords given, checked against their PDFs, by the path each PDF is loaded from. Returns
// "FILE: reason" for a password that opens nothing, or nothing.
QString CheckedPasswords(const Options& options, PdfPasswords& passwords);

// Writes the annotated copies of both files into options.annotate; a copy that cannot be written
// is one line "corvella-diff: FILE: reason" on `err`. Returns whether both were written.
bool WriteAnnotated(const Options& options, const Comparison& comparison,
                    const DifferenceReport::File& file1, const DifferenceReport::File& file2,
                    AnnotatedExport::Originals& originals, QIODevice& err);

}  // namespace corvella::DiffProgram

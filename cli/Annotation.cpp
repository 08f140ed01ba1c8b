// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/Annotation.h"

#include <malloc.h>

#include <QFileInfo>

#include "annotate/AnnotatedCopy.h"
#include "annotate/AnnotatedExport.h"

namespace corvella::DiffProgram {

namespace {

// The compared files' names as given.
BySide<QString> FilesOf(const Options& options) { return {{options.file1, options.file2}}; }

}  // namespace

bool ParseAnnotationOption(const QStringList& arguments, qsizetype& index, Options& options,
                           QString& problem) {
    const QString& argument = arguments[index];
    const QString name = argument.section(u'=', 0, 0);
    QString* value = name == QStringLiteral("--annotate")    ? &options.annotate
                     : name == QStringLiteral("--password1") ? &options.passwords[Side::One]
                     : name == QStringLiteral("--password2") ? &options.passwords[Side::Two]
                                                             : nullptr;
    if (value == nullptr) return false;
    if (argument.contains(u'='))
        *value = argument.section(u'=', 1);
    else if (index + 1 < arguments.size())
        *value = arguments[++index];
    if (value->isEmpty())
        problem =
            QStringLiteral("%1 needs a value: %2")
                .arg(name, name == QStringLiteral("--annotate") ? QStringLiteral("a folder")
                                                                : QStringLiteral("a password"));
    return true;
}

QString CheckedPasswords(const Options& options, PdfPasswords& passwords) {
    const BySide<QString> files = FilesOf(options);
    for (const Side side : kBothSides) {
        const QString& password = options.passwords[side];
        if (password.isEmpty()) continue;
        const AnnotatedCopy::Access access = AnnotatedCopy::Open(files[side], password);
        if (!access.problem.isEmpty()) return files[side] + QStringLiteral(": ") + access.problem;
        if (!access.textCopyable)
            return files[side] + QStringLiteral(
                                     ": its owner does not allow copying its text (give "
                                     "its owner's password)");
        passwords.insert(QFileInfo(files[side]).absoluteFilePath(), {password, access.owner});
    }
    return QString();
}

bool WriteAnnotated(const Options& options, const Comparison& comparison,
                    const DifferenceReport::File& file1, const DifferenceReport::File& file2,
                    AnnotatedExport::Originals& originals, QIODevice& err) {
    const BySide<QString> files = FilesOf(options);
    BySide<AnnotatedExport::Source> sources;
    for (const Side side : kBothSides) {
        const DifferenceReport::File& file = side == Side::One ? file1 : file2;
        sources[side] = {files[side], file.text, options.passwords[side], file.pageNumbers};
    }
    // Reading the pages' words and writing the copies allocate and free much, page after page:
    // for the rest of this short run, freed memory stays with the process rather than being given
    // back and faulted in again (a tenth of this stage's time on the 1,151-page pair).
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    const BySide<AnnotatedExport::Outcome> outcomes = AnnotatedExport::Write(
        comparison, sources, options.annotate, Markings::ChangesAndMoves, &originals);
    bool written = true;
    for (const Side side : kBothSides) {
        if (outcomes[side].problem.isEmpty()) continue;
        err.write(QStringLiteral("corvella-diff: %1: %2\n")
                      .arg(files[side], outcomes[side].problem)
                      .toUtf8());
        written = false;
    }
    return written;
}

}  // namespace corvella::DiffProgram

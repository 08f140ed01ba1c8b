// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <future>
#include <memory>
#include <vector>

#include "annotate/AnnotatedCopy.h"
#include "annotate/Markings.h"
#include "core/Side.h"
#include "diff/Comparison.h"

// The compared PDFs handed on with their differences marked on their pages: a copy of each in
// which every difference of its side is a highlight over its words, with a note on the other file.
namespace corvella::AnnotatedExport {

struct Source {
    QString pdf;
    QStringView text;  // its text as compared, which the comparison's ranges point into
    QString password;  // the one given for it; empty when none was
    // When only some of its pages were compared, the document's number of each page of the text,
    // in order; empty when the text holds every page.
    std::vector<int> pageNumbers{};
};

struct Outcome {
    QString copy;     // where the copy was written, or would have been
    QString problem;  // why it was not written; empty when it was
};

// Both PDFs opened for their copies on threads of their own: made before the comparison, the
// parsing of the PDFs runs beside the extraction of their text.
class Originals {
public:
    Originals(const BySide<QString>& pdfs, const BySide<QString>& passwords);
    ~Originals();
    Originals(const Originals&) = delete;
    Originals& operator=(const Originals&) = delete;

    // The side's document once opened (waiting for it); once only.
    std::unique_ptr<AnnotatedCopy::Document> take(Side side);

private:
    BySide<std::future<std::unique_ptr<AnnotatedCopy::Document>>> documents_;
};

// Writes the copies into `folder` (made when missing) under the names CopyNames gives, both at
// once, each whatever becomes of the other. The differences the filter lets through are marked:
// red the changes, blue the moves (see DifferenceStyles). The PDFs are parsed for their copies
// here, or taken from `originals` when given.
BySide<Outcome> Write(const Comparison& comparison, const BySide<Source>& sources,
                      const QString& folder,
                      const Markings::Filter& filter = Markings::ChangesAndMoves,
                      Originals* originals = nullptr);

}  // namespace corvella::AnnotatedExport

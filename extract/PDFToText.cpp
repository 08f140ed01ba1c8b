// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "extract/PDFToText.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QThread>

#include "core/ChildLifetime.h"
#include "core/ErrorReport.h"
#include "core/LoadCancel.h"
#include "core/Shell32.h"
#include "core/TempFolder.h"
#include "extract/Deployment.h"
#include "extract/PageRanges.h"

namespace corvella::RTB {

namespace {

constexpr std::chrono::seconds kInformationTimeLimit{30};

// The password given for the PDF at `path`, if any.
const PdfPassword* GivenPassword(const Services& services, const QString& path) {
    if (services.pdfPasswords == nullptr) return nullptr;
    const auto found = services.pdfPasswords->constFind(path);
    return found == services.pdfPasswords->cend() ? nullptr : &*found;
}

// The arguments that open an encrypted PDF with the password given for it, as its owner's or its
// user's, whichever it is.
QStringList PasswordArguments(const PdfPassword* given) {
    if (given == nullptr) return {};
    return {QStringLiteral("-opw"), given->password, QStringLiteral("-upw"), given->password};
}

// The document information (page count, encryption, permissions), read with the extractor's
// companion while the window stays live. Unknown when it cannot be read in time.
PageRanges::DocumentInfo ReadDocumentInfo(const QString& pdf, const QStringList& passwordArguments,
                                          EventPump& events) {
    QProcess info;
    info.setStandardErrorFile(QProcess::nullDevice());
    info.setStandardInputFile(QProcess::nullDevice());
    ChildLifetime::Bind(info);
    info.start(QStringLiteral("pdfinfo"), passwordArguments + QStringList{pdf});
    if (!info.waitForStarted()) return {};
    if (!Shell32::WaitLive(info, events, kInformationTimeLimit, true)) {
        info.kill();
        info.waitForFinished();
        return {};
    }
    if (info.exitStatus() != QProcess::NormalExit || info.exitCode() != 0) return {};
    return PageRanges::ParseDocumentInfo(info.readAllStandardOutput());
}

}  // namespace

PageRanges::DocumentInfo DocumentInfoOf(const QString& pdf, EventPump& events) {
    return ReadDocumentInfo(pdf.startsWith(u'-') ? QStringLiteral("./") + pdf : pdf, {}, events);
}

namespace {

// A piece of one conversion. A load started while another waits for its extractor (the window
// stays live) gets pieces of its own.
QString PartPath(int conversion, int number) {
    return TempPath(QStringLiteral("text-%1.%2.part%3.txt")
                        .arg(QCoreApplication::applicationPid())
                        .arg(conversion)
                        .arg(number));
}

// The pieces of a conversion go however it ends, also when its load is stopped.
struct RemovedAtEnd {
    const QStringList& files;
    ~RemovedAtEnd() {
        for (const QString& file : files) QFile::remove(file);
    }
};

// Runs the extractor on page ranges at the same time and joins their texts, in page order, into
// the text file: the same bytes a single run writes, since the extractor ends every page with a
// form feed and each page's text depends only on that page. Returns false, leaving no file of its
// own behind, when the document was not split or any range failed. Chosen pages are always run
// as ranges, even a single one.
bool ExtractInParallel(const QString& extractor, const QString& pdf, const QString& textPath,
                       const PageRanges::DocumentInfo& info, Services& services,
                       const std::function<void(const QByteArray&)>& arriving,
                       const std::vector<PageRanges::Range>& chosen) {
    if (chosen.empty() && (!info.pages || info.encrypted)) return false;
    const int pages = chosen.empty() ? *info.pages : PageRanges::PageCount(chosen);
    const int cores = QThread::idealThreadCount();
    const int planned = arriving ? PageRanges::RunsInOrderFor(cores) : PageRanges::RunsFor(cores);
    const int runs = services.extractorRuns > 0 ? services.extractorRuns : planned;
    // Without a reader the ranges all run at once: there are at most `runs` of them.
    const int atOnce = arriving ? PageRanges::RunsAtOnceInOrder(cores) : runs;
    const std::vector<PageRanges::Range> ranges = PageRanges::OnChosen(
        arriving ? PageRanges::PlanInOrder(pages, runs, atOnce) : PageRanges::Plan(pages, runs),
        chosen);
    if (chosen.empty() && ranges.size() < 2) return false;

    static int conversions = 0;
    const int conversion = ++conversions;
    QStringList parts;
    const RemovedAtEnd removeParts{parts};
    std::vector<QStringList> argumentLists;
    for (const PageRanges::Range& range : ranges) {
        const QString part = PartPath(conversion, int(parts.size()));
        QFile::remove(part);
        parts << part;
        argumentLists.push_back({QStringLiteral("-f"), QString::number(range.first),
                                 QStringLiteral("-l"), QString::number(range.last),
                                 QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, part});
    }
    // Each range's text goes on once it and every range before it ended well. Taking it in costs
    // the window a core's time: past the first range, which shows the first pages, it waits until
    // fewer ranges are left to run than there are cores, so no range waits for a core meanwhile.
    std::vector<bool> ended(ranges.size(), false);
    std::size_t endedCount = 0;
    std::size_t handedOn = 0;
    bool broken = false;
    auto handOn = [&](std::size_t index, int result) {
        ended[index] = result == 0;
        const bool coreFree = ranges.size() - ++endedCount < std::size_t(atOnce);
        while (!broken && handedOn < ended.size() && ended[handedOn] &&
               (handedOn == 0 || coreFree)) {
            QFile part(parts.at(qsizetype(handedOn)));
            broken = !part.open(QIODevice::ReadOnly);
            if (!broken) arriving(part.readAll());
            ++handedOn;
        }
    };
    const std::vector<int> results = Shell32::RunQueuedAndWait(
        extractor, argumentLists, std::size_t(atOnce), services.events,
        arriving ? handOn : std::function<void(std::size_t, int)>(), true);
    bool ok = std::all_of(results.begin(), results.end(), [](int code) { return code == 0; });
    for (const QString& part : parts) ok = ok && QFile::exists(part);
    return ok && PageRanges::JoinFiles(parts, textPath);
}

}  // namespace

QString ExtractedTextPath() {
    return TempPath(QStringLiteral("text-") + QString::number(QCoreApplication::applicationPid()) +
                    QStringLiteral(".txt"));
}

void PDFToText(QString& path, Services& services,
               const std::function<void(const QByteArray&)>& arriving,
               const std::vector<PageRanges::Range>& chosen) {
    Procedure proc(services.dialogs, QStringLiteral("RTB.PDFToText"));
    QString extractor;
    QString textPath;
    QString pdf;
    proc.step(100, [&] { extractor = Deployment::ExtractorPath(); });
    proc.step(102, [&] {
        textPath = ExtractedTextPath();
        // A text left by an earlier conversion must never pass for this PDF's text.
        QFile::remove(textPath);
        // A relative name starting with "-" would read as an option.
        pdf = path.startsWith(u'-') ? QStringLiteral("./") + path : path;
    });
    proc.step(104, [&] {
        // The extractor here ignores the permission to copy text, so it is read from the
        // document information first: such a PDF gives no text, as one that needs a password,
        // unless its owner's password was given.
        try {
            const PdfPassword* given = GivenPassword(services, path);
            const QStringList passwordArguments = PasswordArguments(given);
            const PageRanges::DocumentInfo info =
                ReadDocumentInfo(pdf, passwordArguments, services.events);

            if (info.copyingForbidden && !(given && given->owner)) return;
            if (ExtractInParallel(extractor, pdf, textPath, info, services, arriving, chosen))
                return;
            QFile::remove(textPath);
            // Chosen pages that could not be extracted give no text, never the whole document's.
            if (!chosen.empty()) return;
            Shell32::RunAndWait(
                extractor,
                passwordArguments +
                    QStringList{QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, textPath},
                0, services.events, true);
        } catch (const LoadCancel::Cancelled&) {
            // A stopped extractor may have begun the text: none of it may pass for the PDF's.
            QFile::remove(textPath);
            throw;
        }
    });
    proc.step(106, [&] { path = textPath; });
}

}  // namespace corvella::RTB

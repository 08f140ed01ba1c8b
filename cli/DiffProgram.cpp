// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/DiffProgram.h"

#include <QFile>
#include <QFileInfo>

#include "batch/PairJob.h"
#include "cli/Annotation.h"
#include "cli/ChosenPages.h"
#include "cli/ExtractionTimeout.h"
#include "cli/LayoutArguments.h"
#include "cli/PairReports.h"
#include "core/BuildConfig.h"
#include "core/ChildLifetime.h"
#include "core/ErrorReport.h"
#include "core/LicenceNotice.h"
#include "diff/Alignment.h"
#include "diff/LineComparison.h"
#include "diff/WordComparison.h"
#include "diff/layout/LayoutComparison.h"
#include "display/MemoryWindow.h"
#include "extract/Deployment.h"
#include "extract/LoadCommands.h"
#include "extract/TextIntoPane.h"
#include "report/HtmlReport.h"
#include "report/JsonReport.h"
#include "report/TextReport.h"

namespace corvella::DiffProgram {

namespace {

// The boxes the load and the commands would show, kept as lines for standard error.
class CollectedMessages : public Dialogs {
public:
    MessageAnswer showMessage(const MessageRequest& request) override {
        QString line = request.text.simplified();
        messages << line;
        return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    QStringList getOpenFileNames(const OpenFilesRequest&) override { return {}; }

    QStringList messages;
};

// The extractor copy of this process goes when the process ends, also by a signal (which stops
// the extractors too).
class DeployedExtractor {
public:
    explicit DeployedExtractor(EventPump& events) {
        ChildLifetime::InstallSignalHandlers();
        Deployment::DeployExtractor(events);
    }
    ~DeployedExtractor() { Deployment::RemoveExtractor(); }
    DeployedExtractor(const DeployedExtractor&) = delete;
    DeployedExtractor& operator=(const DeployedExtractor&) = delete;
};

bool isTextFile(const QString& file) {
    return QFileInfo(file).suffix().compare(QStringLiteral("txt"), Qt::CaseInsensitive) == 0;
}

// Why the file cannot be read at all, or an empty text.
QString unreadableReason(const QString& file) {
    const QFileInfo info(file);
    if (!info.exists()) return QStringLiteral("No such file or directory");
    if (info.isDir()) return QStringLiteral("Is a directory");
    if (!info.isFile()) return QStringLiteral("Not a regular file");
    QFile probe(file);
    if (!probe.open(QIODevice::ReadOnly)) return probe.errorString();
    return QString();
}

// Puts the file's text into the pane: a PDF through the pane's own load command, a .txt file
// judged and loaded as an extracted text is, then one more line break as that command adds.
// Returns the reason when no text was loaded.
QString load(MemoryWindow& window, int number, const QString& file, CollectedMessages& messages,
             ChosenPages& chosen) {
    QString reason = unreadableReason(file);
    if (!reason.isEmpty()) return reason;
    const QString path = QFileInfo(file).absoluteFilePath();
    if (isTextFile(file)) {
        PaneDocument& pane = window.pane(number);
        if (number == 1)
            RTB::FileToRich1(pane, path, window.services());
        else
            RTB::FileToRich2(pane, path, window.services());
        if (messages.messages.isEmpty()) pane.setText(pane.text() + QStringLiteral("\r"));
        if (messages.messages.isEmpty()) return KeepChosenPages(chosen, pane);
    } else {
        LoadChosenFiles(window, number, {path}, chosen.spans);
    }
    return messages.messages.join(u' ');
}

void writeLine(QIODevice& device, const QString& line) { device.write((line + u'\n').toUtf8()); }

}  // namespace

Parsed ParseArguments(const QStringList& arguments) {
    Parsed parsed;
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(u'-') || argument == QStringLiteral("-")) {
            files << argument;
        } else if (argument == QStringLiteral("--")) {
            optionsEnded = true;
        } else if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            parsed.action = Parsed::Action::Help;
            return parsed;
        } else if (argument == QStringLiteral("--version")) {
            parsed.action = Parsed::Action::Version;
            return parsed;
        } else if (argument == QStringLiteral("--words")) {
            parsed.options.words = true;
        } else if (argument == QStringLiteral("--ignore-layout")) {
            parsed.options.ignoreLayout = true;
        } else if (argument == QStringLiteral("--quiet") || argument == QStringLiteral("-q")) {
            parsed.options.quiet = true;
        } else if (argument == QStringLiteral("--counts")) {
            parsed.options.counts = true;
        } else if (TakeLayoutOption(argument, parsed.options.layout)) {
        } else if (TakePagesOption(arguments, i, parsed.options.pages1, parsed.options.pages2,
                                   parsed.problem)) {
            if (!parsed.problem.isEmpty()) return parsed;
        } else if (argument == QStringLiteral("--format") ||
                   argument.startsWith(QStringLiteral("--format="))) {
            QString format = argument.mid(9);
            if (argument == QStringLiteral("--format")) {
                if (++i == arguments.size()) {
                    parsed.problem = QStringLiteral("--format needs a value: text, json or html");
                    return parsed;
                }
                format = arguments[i];
            }
            if (format != QStringLiteral("text") && format != QStringLiteral("json") &&
                format != QStringLiteral("html")) {
                parsed.problem =
                    QStringLiteral("unknown format '%1': use text, json or html").arg(format);
                return parsed;
            }
            parsed.options.json = format == QStringLiteral("json");
            parsed.options.html = format == QStringLiteral("html");
        } else if (argument == QLatin1String(Batch::kPairReportsOption)) {
            if (i + 2 >= arguments.size()) {
                parsed.problem = QStringLiteral("%1 needs two files").arg(argument);
                return parsed;
            }
            parsed.options.pairJson = arguments[++i];
            parsed.options.pairHtml = arguments[++i];
        } else if (argument == QStringLiteral("--timeout") ||
                   argument.startsWith(QStringLiteral("--timeout="))) {
            if (argument == QStringLiteral("--timeout") && ++i == arguments.size()) {
                parsed.problem = QStringLiteral("--timeout needs a value: seconds");
                return parsed;
            }
            parsed.options.timeout =
                argument == QStringLiteral("--timeout") ? arguments[i] : argument.mid(10);
            parsed.problem = TimeoutProblem(parsed.options.timeout);
            if (!parsed.problem.isEmpty()) return parsed;
        } else if (ParseAnnotationOption(arguments, i, parsed.options, parsed.problem)) {
            if (!parsed.problem.isEmpty()) return parsed;
        } else {
            parsed.problem = QStringLiteral("unknown option '%1'").arg(argument);
            return parsed;
        }
    }
    if (files.size() != 2) {
        parsed.problem = QStringLiteral("two files are needed, %1 given").arg(files.size());
        return parsed;
    }
    parsed.problem = LayoutOptionProblem(parsed.options.ignoreLayout, parsed.options.layout);
    if (!parsed.problem.isEmpty()) return parsed;
    parsed.options.file1 = files[0];
    parsed.options.file2 = files[1];
    parsed.action = Parsed::Action::Compare;
    return parsed;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: corvella-diff [--words|--ignore-layout [--ignore-case] [--ignore-numbers]\n"
        "         [--ignore-punctuation] [--exact-typography]] [--pages1 RANGES] [--pages2 "
        "RANGES]\n"
        "         [--format text|json|html] [--counts] [--quiet] [--timeout SECONDS]\n"
        "         [--annotate DIR] [--password1 PW] [--password2 PW] FILE1 FILE2\n"
        "       corvella-diff {--batch FOLDER1 FOLDER2 | --batch-list FILE} --out FOLDER [-j N]\n"
        "                     [--shard I/N] [--fail-on-differences] [comparison options]\n"
        "       corvella-diff --merge FOLDER [--fail-on-differences]\n"
        "Compares the text of two PDF files (or UTF-8 .txt files) as Corvella does.\n"
        "\n"
        "Options:\n"
        "  --words         compare word by word, line against line (default: whole lines)\n"
        "  --ignore-layout compare the words in reading order, without page headers, footers,\n"
        "                  page numbers, line breaks and hyphenation; moved runs, and words\n"
        "                  only read in another order in one place, are no change; so are\n"
        "                  quotes, dashes, ligatures and hyphens (counted as typography)\n"
        "  --ignore-case   with --ignore-layout: \"Word\" is \"word\"\n"
        "  --ignore-numbers\n"
        "                  with --ignore-layout: a number pairs with any number, and one only\n"
        "                  one file has is no difference (page references)\n"
        "  --ignore-punctuation\n"
        "                  with --ignore-layout: words compare without the punctuation at their "
        "ends\n"
        "  --exact-typography\n"
        "                  with --ignore-layout: quotes, dashes, ligatures and hyphens are "
        "changes\n"
        "  --pages1 RANGES, --pages2 RANGES\n"
        "                  compare only these pages of FILE1 or FILE2: 1-12,15 or 5- (to the "
        "end);\n"
        "                  places keep the file's page numbers\n"
        "  --format text   one difference per line: \"p12:l4 < text\" for FILE1, \"> \" for FILE2\n"
        "                  (--ignore-layout adds its place in the other file: \"  (p11:l30)\")\n"
        "  --format json   one JSON object with both files' pages and differences\n"
        "  --format html   one web page: both texts side by side, passage beside passage,\n"
        "                  differences marked\n"
        "  --counts        end the text format with one line of counts: \"counts: file1 3 lines,\n"
        "                  file2 2 lines\" (JSON and HTML always hold them)\n"
        "  --quiet         print nothing; only the exit status tells\n"
        "  --timeout SECONDS\n"
        "                  give up when a PDF's text extraction takes longer (status 2)\n"
        "  --annotate DIR  also write into DIR a copy of each PDF with its differences marked\n"
        "                  as highlights with notes: red changes, blue moves, violet typography\n"
        "  --password1 PW, --password2 PW\n"
        "                  an encrypted FILE1's or FILE2's password, its user's or owner's\n"
        "  --help, --version\n"
        "\n"
        "Many pairs at once (the comparison options apply to each pair):\n"
        "  --batch FOLDER1 FOLDER2\n"
        "                  compare the PDFs of two folders and their subfolders, paired by path\n"
        "  --batch-list FILE\n"
        "                  compare the pairs FILE lists (\"-\": standard input): two paths parted\n"
        "                  by a tab, a pair a line (or after each pair a NUL byte)\n"
        "  --out FOLDER    write there each pair's JSON report and web page, and the index:\n"
        "                  index.html, index.json, junit.xml\n"
        "  -j, --jobs N    compare N pairs at once (default: one per core)\n"
        "  --shard I/N     compare share I of N shares only (hosts, job arrays); the index\n"
        "                  comes with --merge\n"
        "  --merge FOLDER  write the index of the results the shares wrote into FOLDER\n"
        "  --fail-on-differences\n"
        "                  exit with status 1 when a pair differs or is on one side only\n"
        "\n"
        "Exit status: 0 no differences, 1 differences, 2 trouble.\n"
        "Many pairs: 0 each pair compared, 1 differences with --fail-on-differences,\n"
        "2 some pair not compared.\n");
}

QString VersionText() {
    return QStringLiteral("corvella-diff %1\n").arg(QLatin1String(build::kVersion)) +
           QLatin1String(kLicenceNotice);
}

int Compare(const Options& options, QIODevice& out, QIODevice& err) {
    CollectedMessages messages;
    QtEventPump events;
    Services services{messages, events};
    PdfPasswords passwords;
    services.pdfPasswords = &passwords;
    MemoryWindow window(services);

    std::optional<DeployedExtractor> extractor;
    if (!isTextFile(options.file1) || !isTextFile(options.file2)) {
        try {
            extractor.emplace(events);
        } catch (const Failure& failure) {
            writeLine(err, QStringLiteral("corvella-diff: ") + failure.description());
            return kTrouble;
        }
    }
    const QString passwordProblem = CheckedPasswords(options, passwords);
    if (!passwordProblem.isEmpty()) {
        writeLine(err, QStringLiteral("corvella-diff: ") + passwordProblem);
        return kTrouble;
    }
    const QString files[] = {options.file1, options.file2};
    ChosenPages chosen[] = {{QStringLiteral("--pages1"), options.pages1},
                            {QStringLiteral("--pages2"), options.pages2}};
    if (const QString problem = ResolveForPdfs(chosen, files, events); !problem.isEmpty()) {
        writeLine(err, QStringLiteral("corvella-diff: ") + problem);
        return kTrouble;
    }
    for (int number = 1; number <= 2; ++number) {
        std::optional<ExtractionDeadline> deadline;
        if (!options.timeout.isEmpty() && !isTextFile(files[number - 1]))
            deadline.emplace(options.timeout);
        const QString reason =
            load(window, number, files[number - 1], messages, chosen[number - 1]);
        if (deadline && deadline->passed()) {
            writeLine(err, QStringLiteral("corvella-diff: %1: extraction took longer than %2 s")
                               .arg(files[number - 1], options.timeout));
            return kTrouble;
        }
        if (!reason.isEmpty()) {
            writeLine(err, QStringLiteral("corvella-diff: %1: %2").arg(files[number - 1], reason));
            return kTrouble;
        }
    }

    const QString text1 = window.pane(1).text();
    const QString text2 = window.pane(2).text();
    // The web page sets passage beside passage: it needs the content alignment of the texts,
    // which the layout-free comparison makes anyway.
    const bool pair = !options.pairJson.isEmpty();
    const bool aligned = (options.html && !options.quiet) || pair;
    Alignment alignment;
    const Comparison comparison =
        options.ignoreLayout ? LayoutCompare::Compare(
                                   text1, text2, {}, aligned ? &alignment : nullptr, options.layout)
        : options.words ? WordCompare::Compare(text1, text2)
                        : LineCompare::Compare(text1, text2);
    if (aligned && !options.ignoreLayout) alignment = AlignWords(text1, text2);
    const DifferenceReport::File file1 = ReportedFile(options.file1, text1, chosen[0]);
    const DifferenceReport::File file2 = ReportedFile(options.file2, text2, chosen[1]);
    if (pair && !PairReports::Write(comparison, alignment, file1, file2, options.pairJson,
                                    options.pairHtml, err))
        return Batch::kReportsNotWritten;
    if (options.quiet || pair) {
    } else if (options.html) {
        out.write(HtmlReport::Write(comparison, alignment, file1, file2));
    } else if (options.json) {
        JsonReport::Write(comparison, file1, file2, out);
    } else {
        TextReport::Write(comparison, file1, file2, out, options.counts);
    }
    if (!options.annotate.isEmpty() && !WriteAnnotated(options, comparison, file1, file2, err))
        return kTrouble;
    return comparison.same() ? kSame : kDifferent;
}

}  // namespace corvella::DiffProgram

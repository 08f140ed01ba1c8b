// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/DiffProgram.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

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

void writeLine(QIODevice& device, const QString& line) { device.write((line + u'\n').toUtf8()); }

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
QString load(MemoryWindow& window, Side side, const QString& file, CollectedMessages& messages,
             ChosenPages& chosen) {
    QString reason = unreadableReason(file);
    if (!reason.isEmpty()) return reason;
    const QString path = QFileInfo(file).absoluteFilePath();
    if (isTextFile(file)) {
        PaneDocument& pane = window.textPane(side);
        if (side == Side::One)
            RTB::FileToRich1(pane, path, window.services());
        else
            RTB::FileToRich2(pane, path, window.services());
        if (messages.messages.isEmpty()) pane.setText(pane.text() + QStringLiteral("\r"));
        if (messages.messages.isEmpty()) return KeepChosenPages(chosen, pane);
    } else {
        LoadChosenFiles(window, TextPaneOf(side), {path}, chosen.spans);
    }
    return messages.messages.join(u' ');
}

// Loads both files, each within the time limit; false, with the line on `err`, on trouble.
bool loadBoth(const Options& options, MemoryWindow& window, CollectedMessages& messages,
              BySide<ChosenPages>& chosen, QIODevice& err) {
    const BySide<QString> files{{options.file1, options.file2}};
    for (const Side side : kBothSides) {
        std::optional<ExtractionDeadline> deadline;
        if (!options.timeout.isEmpty() && !isTextFile(files[side]))
            deadline.emplace(options.timeout);
        const QString reason = load(window, side, files[side], messages, chosen[side]);
        if (deadline && deadline->passed()) {
            writeLine(err, QStringLiteral("corvella-diff: %1: extraction took longer than %2 s")
                               .arg(files[side], options.timeout));
            return false;
        }
        if (!reason.isEmpty()) {
            writeLine(err, QStringLiteral("corvella-diff: %1: %2").arg(files[side], reason));
            return false;
        }
    }
    return true;
}

// The comparison the options ask for, and the content alignment when a web page needs it (the
// layout-free comparison makes it anyway).
Comparison compareTexts(const Options& options, QStringView text1, QStringView text2,
                        Alignment* alignment) {
    if (options.ignoreLayout)
        return LayoutCompare::Compare(text1, text2, {}, alignment, options.layout);
    if (alignment) *alignment = AlignWords(text1, text2);
    return options.words ? WordCompare::Compare(text1, text2) : LineCompare::Compare(text1, text2);
}

// Compares the texts loaded and writes what the options ask for; returns the exit status.
int writeReports(const Options& options, MemoryWindow& window, BySide<ChosenPages>& chosen,
                 AnnotatedExport::Originals* originals, QIODevice& out, QIODevice& err) {
    const QString text1 = window.pane(1).text();
    const QString text2 = window.pane(2).text();
    const bool pair = !options.pairJson.isEmpty();
    const bool aligned = (options.html && !options.quiet) || pair;
    Alignment alignment;
    const Comparison comparison =
        compareTexts(options, text1, text2, aligned ? &alignment : nullptr);
    const DifferenceReport::File file1 = ReportedFile(options.file1, text1, chosen[Side::One]);
    const DifferenceReport::File file2 = ReportedFile(options.file2, text2, chosen[Side::Two]);
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
    if (originals && !WriteAnnotated(options, comparison, file1, file2, *originals, err))
        return kTrouble;
    return comparison.same() ? kSame : kDifferent;
}

}  // namespace

namespace {

// A flag of the comparison; false when the argument is none.
bool takeFlag(const QString& argument, Options& options) {
    if (argument == QStringLiteral("--words"))
        options.words = true;
    else if (argument == QStringLiteral("--ignore-layout"))
        options.ignoreLayout = true;
    else if (argument == QStringLiteral("--quiet") || argument == QStringLiteral("-q"))
        options.quiet = true;
    else if (argument == QStringLiteral("--counts"))
        options.counts = true;
    else
        return TakeLayoutOption(argument, options.layout);
    return true;
}

// The value of `--name VALUE` or `--name=VALUE` at argument i (moving i past it), or none when the
// argument is another; a missing value is a problem.
std::optional<QString> valueOf(const QString& name, const QStringList& arguments, qsizetype& i,
                               const QString& needs, QString& problem) {
    const QString& argument = arguments[i];
    if (argument.startsWith(name + u'=')) return argument.mid(name.size() + 1);
    if (argument != name) return std::nullopt;
    if (++i < arguments.size()) return arguments[i];
    problem = QStringLiteral("%1 needs a value: %2").arg(name, needs);
    return QString();
}

// An option with values at argument i; false when it is none of them.
bool takeValues(const QStringList& arguments, qsizetype& i, Options& options, QString& problem) {
    if (const std::optional<QString> format =
            valueOf(QStringLiteral("--format"), arguments, i, QStringLiteral("text, json or html"),
                    problem)) {
        if (!problem.isEmpty()) return true;
        if (*format != QStringLiteral("text") && *format != QStringLiteral("json") &&
            *format != QStringLiteral("html"))
            problem = QStringLiteral("unknown format '%1': use text, json or html").arg(*format);
        options.json = *format == QStringLiteral("json");
        options.html = *format == QStringLiteral("html");
        return true;
    }
    if (const std::optional<QString> timeout = valueOf(QStringLiteral("--timeout"), arguments, i,
                                                       QStringLiteral("seconds"), problem)) {
        if (!problem.isEmpty()) return true;
        options.timeout = *timeout;
        problem = TimeoutProblem(options.timeout);
        return true;
    }
    if (arguments[i] == QLatin1String(Batch::kPairReportsOption)) {
        if (i + 2 >= arguments.size()) {
            problem = QStringLiteral("%1 needs two files").arg(arguments[i]);
            return true;
        }
        options.pairJson = arguments[++i];
        options.pairHtml = arguments[++i];
        return true;
    }
    return TakePagesOption(arguments, i, options.pages1, options.pages2, problem) ||
           ParseAnnotationOption(arguments, i, options, problem);
}

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
        } else if (!takeFlag(argument, parsed.options) &&
                   !takeValues(arguments, i, parsed.options, parsed.problem)) {
            parsed.problem = QStringLiteral("unknown option '%1'").arg(argument);
        }
        if (!parsed.problem.isEmpty()) return parsed;
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
    BySide<ChosenPages> chosen{{ChosenPages{QStringLiteral("--pages1"), options.pages1},
                                ChosenPages{QStringLiteral("--pages2"), options.pages2}}};
    if (const QString problem =
            ResolveForPdfs(chosen, BySide<QString>{{options.file1, options.file2}}, events);
        !problem.isEmpty()) {
        writeLine(err, QStringLiteral("corvella-diff: ") + problem);
        return kTrouble;
    }
    // The PDFs' parsing for their annotated copies goes beside the extraction.
    std::optional<AnnotatedExport::Originals> originals;
    if (!options.annotate.isEmpty())
        originals.emplace(BySide<QString>{{options.file1, options.file2}}, options.passwords);
    if (!loadBoth(options, window, messages, chosen, err)) return kTrouble;
    return writeReports(options, window, chosen, originals ? &*originals : nullptr, out, err);
}

}  // namespace corvella::DiffProgram

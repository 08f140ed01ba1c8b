#include "cli/DiffProgram.h"

#include <QFile>
#include <QFileInfo>

#include "cli/ExtractionTimeout.h"
#include "cli/HeadlessWindow.h"
#include "compare/DifferenceReport.h"
#include "compare/HtmlReport.h"
#include "compare/LayoutCommand.h"
#include "compare/LayoutReport.h"
#include "compare/LinesCommand.h"
#include "compare/WordsCommand.h"
#include "core/BuildConfig.h"
#include "core/ChildLifetime.h"
#include "core/ErrorReport.h"
#include "core/LicenceNotice.h"
#include "extract/Deployment.h"
#include "extract/LoadCommands.h"
#include "extract/TextIntoPane.h"

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
QString load(HeadlessWindow& window, int number, const QString& file, CollectedMessages& messages) {
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
    } else {
        LoadChosenFiles(window, number, {path});
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
        } else {
            parsed.problem = QStringLiteral("unknown option '%1'").arg(argument);
            return parsed;
        }
    }
    if (files.size() != 2) {
        parsed.problem = QStringLiteral("two files are needed, %1 given").arg(files.size());
        return parsed;
    }
    parsed.options.file1 = files[0];
    parsed.options.file2 = files[1];
    parsed.action = Parsed::Action::Compare;
    return parsed;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: corvella-diff [--words|--ignore-layout] [--format text|json|html] [--quiet] "
        "[--timeout SECONDS] FILE1 FILE2\n"
        "Compares the text of two PDF files (or UTF-8 .txt files) as Corvella does.\n"
        "\n"
        "Options:\n"
        "  --words         compare word by word, line against line (default: whole lines)\n"
        "  --ignore-layout compare the words in reading order, without page headers, footers,\n"
        "                  page numbers, line breaks and hyphenation; moved runs, and words\n"
        "                  only read in another order in one place, are no change\n"
        "  --format text   one difference per line: \"p12:l4 < text\" for FILE1, \"> \" for FILE2\n"
        "  --format json   one JSON object with both files' pages and differences\n"
        "  --format html   one web page: both texts side by side, differences marked\n"
        "  --quiet         print nothing; only the exit status tells\n"
        "  --timeout SECONDS\n"
        "                  give up when a PDF's text extraction takes longer (status 2)\n"
        "  --help, --version\n"
        "\n"
        "Exit status: 0 no differences, 1 differences, 2 trouble.\n");
}

QString VersionText() {
    return QStringLiteral("corvella-diff %1\n").arg(QLatin1String(build::kVersion)) +
           QLatin1String(kLicenceNotice);
}

int Compare(const Options& options, QIODevice& out, QIODevice& err) {
    CollectedMessages messages;
    QtEventPump events;
    Services services{messages, events};
    HeadlessWindow window(services);

    std::optional<DeployedExtractor> extractor;
    if (!isTextFile(options.file1) || !isTextFile(options.file2)) {
        try {
            extractor.emplace(events);
        } catch (const Failure& failure) {
            writeLine(err, QStringLiteral("corvella-diff: ") + failure.description());
            return kTrouble;
        }
    }
    const QString files[] = {options.file1, options.file2};
    for (int number = 1; number <= 2; ++number) {
        std::optional<ExtractionDeadline> deadline;
        if (!options.timeout.isEmpty() && !isTextFile(files[number - 1]))
            deadline.emplace(options.timeout);
        const QString reason = load(window, number, files[number - 1], messages);
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

    ListedDifferences listed;
    window.listedDifferences = &listed;
    LayoutComparison layout;
    if (options.ignoreLayout)
        FindDifferencesIgnoringLayout(window, &layout);
    else if (options.words)
        PushButton6_Click(window);
    else
        PushButton1_Click(window);
    if (!messages.messages.isEmpty()) {
        writeLine(err, QStringLiteral("corvella-diff: ") + messages.messages.join(u' '));
        return kTrouble;
    }

    const QString text1 = window.pane(1).text();
    const QString text2 = window.pane(2).text();
    LayoutReport::Sides sides{{options.file1, DifferenceReport::PageCount(text1), {}},
                              {options.file2, DifferenceReport::PageCount(text2), {}}};
    QString method;
    std::vector<TextRange> marked1, marked2;  // as the window colours them
    if (options.ignoreLayout) {
        method = QStringLiteral("ignore-layout");
        sides = LayoutReport::MakeSides(layout, std::move(sides.first), std::move(sides.second));
        // Each differing word on its own.
        const auto words = [](const std::vector<LayoutRun>& runs) {
            std::vector<TextRange> ranges;
            for (const LayoutRun& run : runs)
                ranges.insert(ranges.end(), run.ranges.begin(), run.ranges.end());
            return ranges;
        };
        marked1 = words(layout.only1);
        marked2 = words(layout.only2);
    } else {
        method = options.words ? QStringLiteral("words") : QStringLiteral("lines");
        sides.first.entries = DifferenceReport::Locate(text1, listed.inPane1);
        sides.second.entries = DifferenceReport::Locate(text2, listed.inPane2);
        marked1 = listed.inPane1;
        marked2 = listed.inPane2;
    }
    if (options.quiet) {
    } else if (options.html) {
        out.write(HtmlReport::Write(method, {options.file1, text1, marked1},
                                    {options.file2, text2, marked2}));
    } else if (options.json) {
        out.write(options.ignoreLayout ? LayoutReport::FormatJson(layout, sides)
                                       : DifferenceReport::FormatJson(method, sides.first,
                                                                      sides.second, options.words));
    } else {
        out.write(DifferenceReport::FormatText(sides.first, sides.second));
    }
    return sides.first.entries.empty() && sides.second.entries.empty() ? kSame : kDifferent;
}

}  // namespace corvella::DiffProgram

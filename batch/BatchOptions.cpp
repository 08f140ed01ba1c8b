// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/BatchOptions.h"

#include <set>

namespace corvella::Batch {

namespace {

const QString kBatch = QStringLiteral("--batch");
const QString kList = QStringLiteral("--batch-list");
const QString kMerge = QStringLiteral("--merge");

// The arguments, one at a time; an option's value either follows it or is joined by "=" (or,
// for -j, written right after it).
class Reader {
public:
    explicit Reader(const QStringList& arguments) : arguments_(arguments) {}

    bool next() { return ++at_ < arguments_.size(); }
    const QString& current() const { return arguments_[at_]; }

    // Whether the current argument is the option; its value (the next `count` arguments) into
    // `values`, or a problem when they are missing.
    bool take(const QString& option, QStringList& values, QString& problem, int count = 1) {
        const QString& argument = current();
        if (argument.startsWith(option + u'=') && count == 1) {
            values = {argument.mid(option.size() + 1)};
            return true;
        }
        const bool joined = option == QStringLiteral("-j") && argument.size() > 2 &&
                            argument.startsWith(option) && argument[2].isDigit();
        if (argument != option && !joined) return false;
        values = joined ? QStringList{argument.mid(2)} : arguments_.mid(at_ + 1, count);
        if (!joined) at_ += count;
        if (values.size() < count)
            problem = QStringLiteral("%1 needs %2")
                          .arg(option, count == 2 ? QStringLiteral("two folders")
                                                  : QStringLiteral("a value"));
        return true;
    }

private:
    const QStringList& arguments_;
    qsizetype at_ = -1;
};

int jobsOf(const QString& text, QString& problem) {
    bool ok = false;
    const int jobs = text.toInt(&ok);
    if (!ok || jobs < 1 || jobs > 256)
        problem = QStringLiteral("invalid number of jobs '%1': give 1 to 256").arg(text);
    return jobs;
}

// Checks what only a whole command line shows.
QString checkWhole(const Options& options, const std::set<Options::Source>& sources,
                   const std::function<QString(const QStringList&)>& checkComparison) {
    if (sources.size() != 1) return QStringLiteral("give one of --batch, --batch-list and --merge");
    if (options.source == Options::Source::Merge) {
        if (!options.comparison.isEmpty() || options.jobs != 0 || !options.shard.whole())
            return QStringLiteral("--merge takes only --fail-on-differences and --quiet");
        return QString();
    }
    if (options.out.isEmpty()) return QStringLiteral("--out FOLDER is needed");
    return checkComparison(options.comparison);
}

}  // namespace

bool Requested(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QStringLiteral("--")) return false;
        for (const QString& option : {kBatch, kList, kMerge})
            if (argument == option || argument.startsWith(option + u'=')) return true;
    }
    return false;
}

Parsed Parse(const QStringList& arguments,
             const std::function<QString(const QStringList&)>& checkComparison) {
    Parsed parsed;
    Options& options = parsed.options;
    QString& problem = parsed.problem;
    QStringList values;
    std::set<Options::Source> sources;  // the last of each counts
    Reader reader(arguments);
    while (problem.isEmpty() && reader.next()) {
        const QString& argument = reader.current();
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            parsed.action = Parsed::Action::Help;
            return parsed;
        } else if (argument == QStringLiteral("--version")) {
            parsed.action = Parsed::Action::Version;
            return parsed;
        } else if (reader.take(kBatch, values, problem, 2)) {
            sources.insert(options.source = Options::Source::Folders);
            options.folders[Side::One] = values.value(0);
            options.folders[Side::Two] = values.value(1);
        } else if (reader.take(kList, values, problem)) {
            sources.insert(options.source = Options::Source::List);
            options.list = values.value(0);
        } else if (reader.take(kMerge, values, problem)) {
            sources.insert(options.source = Options::Source::Merge);
            options.out = values.value(0);
        } else if (reader.take(QStringLiteral("--out"), values, problem)) {
            options.out = values.value(0);
        } else if (reader.take(QStringLiteral("-j"), values, problem) ||
                   reader.take(QStringLiteral("--jobs"), values, problem)) {
            if (problem.isEmpty()) options.jobs = jobsOf(values.value(0), problem);
        } else if (reader.take(QStringLiteral("--shard"), values, problem)) {
            if (problem.isEmpty()) options.shard = Shard::Parse(values.value(0), &problem);
        } else if (argument == QStringLiteral("--fail-on-differences")) {
            options.failOnDifferences = true;
        } else if (argument == QStringLiteral("--quiet") || argument == QStringLiteral("-q")) {
            options.quiet = true;
        } else {
            options.comparison << argument;
        }
    }
    if (problem.isEmpty()) problem = checkWhole(options, sources, checkComparison);
    if (problem.isEmpty()) parsed.action = Parsed::Action::Run;
    return parsed;
}

}  // namespace corvella::Batch

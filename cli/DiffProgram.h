// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/Side.h"
#include "diff/layout/LayoutOptions.h"

// corvella-diff: the two comparisons of the window on the command line, without any display.
namespace corvella::DiffProgram {

struct Options {
    bool words = false;  // the word comparison instead of the line comparison
    // the layout-free comparison instead of the line comparison
    bool ignoreLayout = false;
    bool json = false;
    bool html = false;  // one web page with both texts side by side
    bool quiet = false;
    bool counts = false;        // --counts: the text format ends with the counts' line
    QString timeout;            // --timeout: seconds as given; empty means no limit
    QString annotate;           // --annotate: the folder of the annotated copies; empty means none
    BySide<QString> passwords;  // --password1, --password2: empty means none given
    // --exact-typography, --ignore-case, --ignore-numbers, --ignore-punctuation
    LayoutCompare::Options layout;
    std::optional<QString> pages1;  // --pages1: the pages of FILE1 to compare, as given
    std::optional<QString> pages2;
    // A batch's pair (--pair-reports JSON HTML): both reports written into these files.
    QString pairJson;
    QString pairHtml;
    QString file1;
    QString file2;
};

struct Parsed {
    enum class Action { Compare, Help, Version, Misuse };
    Action action = Action::Misuse;
    Options options;
    QString problem;  // what is wrong with the arguments, for Misuse
};

// The arguments after the program's name.
Parsed ParseArguments(const QStringList& arguments);

QString UsageText();
QString VersionText();

// Exit statuses, as the established command-line comparers give them.
inline constexpr int kSame = 0;
inline constexpr int kDifferent = 1;
inline constexpr int kTrouble = 2;

// Loads both files as the window loads them, runs the comparison on the same texts with the same
// commands and writes the differences to `out`. Any trouble is one line on `err` naming the file
// and the reason. Returns one of the exit statuses.
int Compare(const Options& options, QIODevice& out, QIODevice& err);

}  // namespace corvella::DiffProgram

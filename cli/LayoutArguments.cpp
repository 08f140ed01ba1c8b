// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/LayoutArguments.h"

namespace corvella::DiffProgram {

namespace {

struct Named {
    const char* name;
    bool LayoutCompare::Options::*option;
};

constexpr Named kOptions[] = {
    {"--exact-typography", &LayoutCompare::Options::exactTypography},
    {"--ignore-case", &LayoutCompare::Options::ignoreCase},
    {"--ignore-numbers", &LayoutCompare::Options::ignoreNumbers},
    {"--ignore-punctuation", &LayoutCompare::Options::ignorePunctuation},
};

}  // namespace

bool TakeLayoutOption(const QString& argument, LayoutCompare::Options& options) {
    for (const Named& named : kOptions)
        if (argument == QLatin1String(named.name)) return options.*named.option = true;
    return false;
}

QString LayoutOptionProblem(bool ignoreLayout, const LayoutCompare::Options& options) {
    if (ignoreLayout) return {};
    for (const Named& named : kOptions)
        if (options.*named.option)
            return QStringLiteral("%1 works only with --ignore-layout")
                .arg(QLatin1String(named.name));
    return {};
}

}  // namespace corvella::DiffProgram

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/ErrorReport.h"

#include "core/BuildConfig.h"

namespace corvella {

QString ErrorReportText(const QString& location, int line, const QString& description) {
    return description + QStringLiteral("\r\n") + QStringLiteral("in Corvella2021/08/31.") +
           location + QStringLiteral(" ") + QStringLiteral("at line ") + QString::number(line) +
           QStringLiteral("\r\r") + QStringLiteral("Please email screenshot of this message to ") +
           QString::fromUtf8(build::kSupportEmail);
}

void ErrorReport(Dialogs& dialogs, const QString& location, int line, const QString& description) {
    dialogs.showMessage({ErrorReportText(location, line, description),
                         QStringLiteral("Application Error"), MessageButtons::Ok,
                         MessageIcon::Warning});
}

void Procedure::report(const QString& description) {
    ErrorReport(dialogs_, location_, line_, description);
}

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/ReviewPages.h"

#include "core/MemoryDocument.h"
#include "core/PageSelection.h"
#include "extract/PDFToText.h"
#include "extract/TextIntoPane.h"

namespace corvella {

QString ExtractPages(Reviewed& reviewed, const BySide<QString>& asked, Services& services) {
    for (const Side side : kBothSides) {
        if (asked[side].isEmpty()) continue;
        const QString pdf = reviewed.names[side];
        if (pdf.isEmpty()) {
            return QStringLiteral("Pages of file %1 '%2': the PDF it was loaded from is not known.")
                .arg(TextPaneOf(side))
                .arg(asked[side]);
        }
        const std::optional<int> pages = RTB::DocumentInfoOf(pdf, services.events).pages;
        const PageSelection::Parsed parsed =
            pages ? PageSelection::Resolve(asked[side], *pages) : PageSelection::Parsed{};
        if (!pages || !parsed.ok()) {
            return QStringLiteral("Pages of file %1 (%2) '%3': %4")
                .arg(TextPaneOf(side))
                .arg(pdf, asked[side],
                     pages ? parsed.problem + QStringLiteral("; the file has %1 page%2")
                                                  .arg(*pages)
                                                  .arg(*pages == 1 ? "" : "s")
                           : QStringLiteral("its page count cannot be read"));
        }
        QString path = pdf;
        RTB::PDFToText(path, services, {}, parsed.spans);
        MemoryDocument text;
        if (side == Side::One)
            RTB::FileToRich1(text, path, services);
        else
            RTB::FileToRich2(text, path, services);
        text.appendText(QStringLiteral("\r"));
        reviewed.texts[side] = text.text();
        reviewed.pageNumbers[side] = PageSelection::PageNumbers(parsed.spans);
        reviewed.pageRanges[side] = PageSelection::Text(parsed.spans);
    }
    return {};
}

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "core/Services.h"
#include "core/Side.h"
#include "window/reviewer/Reviewed.h"

namespace corvella {

// The pages asked of each file ("1-12,15"; empty for all of them) extracted again from its PDF, as
// the load commands extract them, into the reviewed texts, with the document's numbers of those
// pages. The window stays live meanwhile. Returns why a range cannot be had, naming the file, the
// range and the file's page count; an empty text when all could.
QString ExtractPages(Reviewed& reviewed, const BySide<QString>& asked, Services& services);

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace corvella {

// Gives every block of a megabyte or more pages of its own. The C library's default threshold
// rises with each large block freed, after which the documents' and lists' growing arrays of a
// thousand pages are copied on every growth (a 60 ms wait at half a million paragraphs) and their
// freed room is kept; mapped blocks grow in place and go back to the system when freed.
void MapLargeAllocations();

}  // namespace corvella

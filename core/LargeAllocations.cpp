// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/LargeAllocations.h"

#include <malloc.h>

namespace corvella {

void MapLargeAllocations() {
    constexpr int kThreshold = 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kThreshold);
}

}  // namespace corvella

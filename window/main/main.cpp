// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/LargeAllocations.h"
#include "window/main/Program.h"

int main(int argc, char* argv[]) {
    corvella::MapLargeAllocations();
    return corvella::RunProgram(argc, argv);
}

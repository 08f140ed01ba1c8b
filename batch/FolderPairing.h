// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <vector>

#include "batch/Pair.h"

// corvella-diff --batch FOLDER1 FOLDER2: the PDF files (".pdf" in any case) under both folders,
// in every subfolder, paired by their path relative to their folder. Symbolic links are followed;
// one that leads back to a folder above it is reported instead of walked again and again.
namespace corvella::Batch::FolderPairing {

// The pairs sorted by key: both files, one file (added or removed), or a place of either folder
// that could not be read. The folders are given as the user named them.
std::vector<Pair> Walk(const BySide<QString>& folders);

}  // namespace corvella::Batch::FolderPairing

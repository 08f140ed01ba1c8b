// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include "core/EventPump.h"

// Placing the text extractor in the private temp folder at start-up and removing it at shut-down.
namespace corvella::Deployment {

// "64" on a 64-bit system, otherwise the machine's width ("32").
QString GetAddressWidth();

// Where this process keeps its copy of the extractor. Each running copy of the program has its
// own, so that one closing never takes the extractor away from another.
QString ExtractorPath();

// The extractor build for the address width: the installed pdftotext serves both widths here.
// Throws Failure when pdftotext is not installed.
QByteArray LoadExtractorBuild(const QString& addressWidth);

// Writes the bytes to a new file with mode 0700 unless a file is already there. Never follows or
// replaces an existing name. Throws Failure when the file cannot be written.
void SaveBytesToFile(EventPump& events, const QByteArray& bytes, const QString& path);

// The start-up step: the build for this system at the extractor path, unless a file is there.
// The files that ended processes could not remove (killed, crashed) go first.
void DeployExtractor(EventPump& events);

// The shut-down step: removes this process's extractor copy, ignoring every failure.
void RemoveExtractor();

}  // namespace corvella::Deployment

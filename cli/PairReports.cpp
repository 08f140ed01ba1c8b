// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/PairReports.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

#include "report/HtmlReport.h"
#include "report/JsonReport.h"

namespace corvella::DiffProgram::PairReports {

namespace {

// The system's own reason when the file cannot be written ("No space left on device"), which
// a full disk gives at the write or only at the close.
int writeFile(const QString& path, const QByteArray& bytes) {
    const int file =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (file < 0) return errno;
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written =
            ::write(file, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) {
            const int error = errno;
            ::close(file);
            return error;
        }
        done += written;
    }
    return ::close(file) == 0 ? 0 : errno;
}

// The batch gives the files their names once both are whole; here they are only written.
bool writeFile(const QString& path, const QByteArray& bytes, QIODevice& err) {
    const int error = writeFile(path, bytes);
    if (error == 0) return true;
    err.write(QStringLiteral("corvella-diff: %1: %2\n")
                  .arg(path, QString::fromLocal8Bit(std::strerror(error)))
                  .toUtf8());
    return false;
}

}  // namespace

bool Write(const Comparison& comparison, const Alignment& alignment,
           const DifferenceReport::File& file1, const DifferenceReport::File& file2,
           const QString& json, const QString& html, QIODevice& err) {
    return writeFile(json, JsonReport::Write(comparison, file1, file2), err) &&
           writeFile(html, HtmlReport::Write(comparison, alignment, file1, file2), err);
}

}  // namespace corvella::DiffProgram::PairReports

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/SaveRTB.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "core/ErrorReport.h"
#include "core/Main.h"
#include "core/PaneText.h"

namespace corvella::RTB {

namespace {

[[noreturn]] void fail(int error) { throw Failure(QString::fromLocal8Bit(std::strerror(error))); }

// The output file while it is being written: a new file beside the target that takes the
// target's name only once all of the text is in it.
class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() { discard(); }

    // Fails where opening the target for output would: no name, a folder, a file that may not be
    // written, a folder that is missing or closed.
    void open(const QString& target) {
        const QFileInfo info(target);
        if (target.isEmpty()) fail(ENOENT);
        if (info.fileName().isEmpty()) fail(EISDIR);
        target_ = QFile::encodeName(target);
        struct stat status {};
        if (lstat(target_.constData(), &status) == 0) {
            if (S_ISDIR(status.st_mode)) fail(EISDIR);
            if (S_ISREG(status.st_mode) && access(target_.constData(), W_OK) != 0) fail(errno);
        }
        QByteArray pattern = QFile::encodeName(info.path() + QStringLiteral("/.") +
                                               info.fileName() + QStringLiteral(".XXXXXX"));
        fd_ = mkostemp(pattern.data(), O_CLOEXEC);
        if (fd_ < 0) fail(errno);
        temporary_ = pattern;
    }

    void write(const QByteArray& bytes) {
        if (fd_ < 0) fail(EBADF);  // nothing was opened
        const char* data = bytes.constData();
        qsizetype left = bytes.size();
        while (left > 0) {
            const ssize_t written = ::write(fd_, data, size_t(left));
            if (written < 0) {
                if (errno == EINTR) continue;
                fail(errno);
            }
            data += written;
            left -= written;
        }
        complete_ = true;
    }

    // Closes the file and, when the whole text is in it, gives it the target's name; otherwise
    // the target stays as it was. Closing when nothing was opened does nothing.
    void close() {
        if (fd_ < 0) return;
        const int closed = ::close(fd_);
        const int closeError = errno;
        fd_ = -1;
        if (closed != 0 || !complete_) {
            discard();
            if (closed != 0) fail(closeError);
            return;
        }
        if (std::rename(temporary_.constData(), target_.constData()) != 0) {
            const int error = errno;
            discard();
            fail(error);
        }
        temporary_.clear();
    }

private:
    void discard() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        if (!temporary_.isEmpty()) ::unlink(temporary_.constData());
        temporary_.clear();
    }

    int fd_ = -1;
    bool complete_ = false;
    QByteArray target_;
    QByteArray temporary_;
};

}  // namespace

void SaveRTBToFile(PaneDocument& pane, const QString& path, Services& services) {
    Procedure proc(services.dialogs, QStringLiteral("RTB.SaveRTBToFile"));
    bool exists = false;
    std::optional<MessageAnswer> answer;
    proc.step(100, [&] { exists = Main::FileExists(path); });
    proc.step(102, [&] {
        if (exists)
            answer = MsgBox(
                services.dialogs,
                QStringLiteral("Are you sure you wish to overwrite ") + path + QStringLiteral(" ?"),
                MessageButtons::YesNo);
    });
    proc.step(104, [&] {
        if (!exists) answer = MessageAnswer::Yes;
    });
    bool write = false;
    proc.step(106, [&] { write = answer == MessageAnswer::Yes; });
    if (!write) return;

    OutputFile file;
    proc.step(108, [&] { file.open(path); });
    proc.step(110, [&] { file.write((pane.text() + PaneText::kBreak).toUtf8()); });
    proc.step(112, [&] { file.close(); });
}

}  // namespace corvella::RTB

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "extract/TextIntoPane.h"

#include <QFile>
#include <QStringDecoder>
#include <utility>

#include "core/ErrorReport.h"
#include "core/Main.h"
#include "core/PaneText.h"

namespace corvella {

namespace {

void fileToRich(const QString& location, PaneDocument& pane, const QString& textPath,
                Services& services) {
    Procedure proc(services.dialogs, location);
    bool done = false;
    proc.step(100, [&] {
        if (!Main::FileExists(textPath)) {
            MsgBox(services.dialogs, kNoTextFileMessage);
            done = true;
        }
    });
    if (done) return;
    proc.step(102, [&] {
        if (Main::NoTextPDF(textPath, services)) {
            MsgBox(services.dialogs, kUnreadableTextMessage);
            done = true;
        }
    });
    if (done) return;
    proc.step(104, [&] { pane.loadFromFile(textPath); });
}

}  // namespace

void RTB::FileToRich1(PaneDocument& pane1, const QString& textPath, Services& services) {
    fileToRich(QStringLiteral("RTB.FileToRich1"), pane1, textPath, services);
}

void RTB::FileToRich2(PaneDocument& pane2, const QString& textPath, Services& services) {
    fileToRich(QStringLiteral("RTB.FileToRich2"), pane2, textPath, services);
}

bool Main::IsPrintable(QChar c) {
    const char16_t code = c.unicode();
    return (code >= 32 && code <= 126) || code >= 160;
}

namespace {

// What the printable-text check saw of a file's characters, line breaks not counted.
struct TextScan {
    bool empty = true;  // the file has no bytes at all
    int printable = 0;
    bool nonPrintable = false;
};

// Reads the file a block at a time, decoding each block as the whole file would be decoded, and
// stops at the sixth printable character: a readable text is never read to its end here.
// Failures are reported as the reading step's, as when the file is read whole.
TextScan ScanForText(const QString& path, Services& services) {
    Procedure proc(services.dialogs, QStringLiteral("Main.ReadFileToStringFSOLine"));
    TextScan scan;
    proc.step(100, [&] {
        TextScan seen;  // a file that fails part-way counts as not read at all
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) throw Failure(file.errorString());
        QByteArray pending;
        bool first = true;
        while (seen.printable < Main::kEnoughPrintable) {
            const QByteArray block = file.read(64 * 1024);
            if (file.error() != QFileDevice::NoError) throw Failure(file.errorString());
            const bool atEnd = block.isEmpty();
            pending += block;
            if (pending.isEmpty()) break;
            seen.empty = false;
            // Decode up to the last ASCII byte: no character is cut in two there, so each piece
            // decodes exactly as it does within the whole file.
            qsizetype cut = pending.size();
            if (!atEnd) {
                while (cut > 0 && static_cast<unsigned char>(pending[cut - 1]) >= 0x80) --cut;
                if (cut == 0) continue;
            }
            // Only the file's first piece may start with a byte-order mark that is dropped.
            QStringDecoder decoder(
                QStringDecoder::Utf8,
                first ? QStringDecoder::Flag::Stateless
                      : QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
            QString text = decoder(QByteArrayView(pending).first(cut));
            if (first && text.startsWith(QChar(QChar::ByteOrderMark))) text.remove(0, 1);
            first = false;
            pending.remove(0, cut);
            for (QChar c : std::as_const(text)) {
                if (c == PaneText::kCR || c == PaneText::kLF || c == QChar(0x2029)) continue;
                if (!Main::IsPrintable(c)) {
                    seen.nonPrintable = true;
                } else if (++seen.printable >= Main::kEnoughPrintable) {
                    break;
                }
            }
            if (atEnd) break;
        }
        scan = seen;
    });
    return scan;
}

}  // namespace

bool Main::NoTextPDF(const QString& textPath, Services& services) {
    Procedure proc(services.dialogs, QStringLiteral("Main.NoTextPDF"));
    bool result = false;
    TextScan scan;
    proc.step(100, [&] { scan = ScanForText(textPath, services); });
    // A file without any line holds no text at all.
    proc.step(102, [&] { result = scan.empty; });
    // A non-printable character makes the text unreadable unless six printable ones follow
    // anywhere in the file.
    proc.step(104, [&] {
        if (scan.printable >= Main::kEnoughPrintable)
            result = false;
        else if (scan.nonPrintable)
            result = true;
    });
    return result;
}

QStringList Main::ReadFileToStringFSOLine(const QString& path, Services& services) {
    Procedure proc(services.dialogs, QStringLiteral("Main.ReadFileToStringFSOLine"));
    QStringList lines;
    QByteArray bytes;
    proc.step(100, [&] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) throw Failure(file.errorString());
        bytes = file.readAll();
    });
    proc.step(102, [&] {
        if (bytes.isEmpty()) return;
        QString text = PaneText::canonicalFromFileText(bytes);
        // A final line break ends the last line; it does not start another.
        if (text.endsWith(PaneText::kBreak)) text.chop(2);
        lines = text.split(PaneText::kBreak);
    });
    return lines;
}

}  // namespace corvella

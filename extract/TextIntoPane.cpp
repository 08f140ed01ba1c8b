#include "extract/TextIntoPane.h"

#include <QFile>

#include "app/ErrorReport.h"
#include "app/Main.h"
#include "app/PaneText.h"

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

bool Main::NoTextPDF(const QString& textPath, Services& services) {
    Procedure proc(services.dialogs, QStringLiteral("Main.NoTextPDF"));
    bool result = false;
    int printable = 0;
    QStringList lines;
    proc.step(100, [&] { lines = ReadFileToStringFSOLine(textPath, services); });
    // A file without any line holds no text at all.
    proc.step(102, [&] { result = lines.isEmpty(); });
    proc.step(104, [&] {
        for (const QString& line : lines) {
            for (QChar c : line) {
                if (!IsPrintable(c)) {
                    result = true;
                } else if (++printable > 5) {
                    result = false;
                    return;
                }
            }
        }
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

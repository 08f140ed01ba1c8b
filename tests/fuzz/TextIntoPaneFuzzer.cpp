// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as an extracted text: decoded into the pane's text with its breaks (whole and in
// pieces), checked for printable text, and loaded into a pane as the load commands do.
#include <QFile>
#include <QTemporaryDir>

#include "core/PaneText.h"
#include "extract/TextIntoPane.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/MemoryPane.h"
#include "tests/support/TestServices.h"

using namespace corvella;

namespace {

// The check's meaning on the pane's text: line breaks do not count; six printable characters
// make a text, otherwise any other character makes it unreadable; an empty file has none.
bool unreadable(const QByteArray& bytes, const QString& text) {
    if (bytes.isEmpty()) return true;
    int printable = 0;
    bool other = false;
    for (QChar c : text) {
        if (c == PaneText::kCR || c == PaneText::kLF) continue;
        if (Main::IsPrintable(c))
            ++printable;
        else
            other = true;
    }
    return printable < 6 && other;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("text.txt"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    // Every break is one CR LF and nothing else is a break; writing the text again keeps it.
    const QString text = PaneText::canonicalFromFileText(bytes);
    FUZZ_CHECK(PaneText::canonical(text) == text);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == PaneText::kCR)
            FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == PaneText::kLF);
        if (text[i] == PaneText::kLF) FUZZ_CHECK(i > 0 && text[i - 1] == PaneText::kCR);
        FUZZ_CHECK(text[i] != QChar(0x2029));
    }

    // Cut after every clean byte, the pieces read as the whole file does.
    QString pieces;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        const QByteArrayView piece = QByteArrayView(bytes).sliced(from, i - from);
        if (i < bytes.size() && !PaneText::cutsCleanlyAfter(piece)) continue;
        pieces += from == 0 ? PaneText::canonicalFromFileText(piece.toByteArray())
                            : PaneText::canonicalFromLaterFileText(piece);
        from = i;
    }
    FUZZ_CHECK(pieces == text);

    testing::TestServices test;
    const bool noText = Main::NoTextPDF(path, test.services);
    FUZZ_CHECK(noText == unreadable(bytes, text));

    testing::MemoryPane pane(QStringLiteral("before"));
    RTB::FileToRich1(pane, path, test.services);
    if (noText) {
        FUZZ_CHECK(test.dialogs.texts() == QStringList{kUnreadableTextMessage});
        FUZZ_CHECK(pane.text() == QStringLiteral("before"));
    } else {
        FUZZ_CHECK(test.dialogs.messages.empty());
        FUZZ_CHECK(pane.text() == text);
    }
    return 0;
}

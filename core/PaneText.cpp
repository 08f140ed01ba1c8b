// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/PaneText.h"

#include <QStringDecoder>
#include <atomic>

#include "core/ErrorReport.h"

namespace corvella::PaneText {

namespace {

enum class LoneLF { Dropped, Breaks };

// The canonical form in two tight passes (count, then copy): long texts are read from files and
// written by the commands all the time.
QString canonicalise(QStringView in, LoneLF loneLF) {
    const char16_t* s = in.utf16();
    const qsizetype n = in.size();
    // Only CR, LF, the paragraph separator and the two reserved characters are rewritten.
    auto ordinary = [](char16_t c) {
        return (c > u'\r' && c < 0x2029) || (c > 0x2029 && c < 0xFDD0);
    };
    qsizetype size = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (ordinary(c)) {
            ++size;
        } else if (c == u'\r' || c == 0x2029) {
            size += 2;
        } else if (c == u'\n') {
            if (loneLF == LoneLF::Breaks && (i == 0 || s[i - 1] != u'\r')) size += 2;
        } else {
            ++size;
        }
    }
    QString out(size, Qt::Uninitialized);
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (ordinary(c)) {
            *o++ = c;
        } else if (c == u'\r' || c == 0x2029) {
            *o++ = u'\r';
            *o++ = u'\n';
        } else if (c == u'\n') {
            // The LF of a CR LF belongs to the break its CR made.
            if (loneLF == LoneLF::Breaks && (i == 0 || s[i - 1] != u'\r')) {
                *o++ = u'\r';
                *o++ = u'\n';
            }
        } else if (c == 0xFDD0 || c == 0xFDD1) {  // reserved by the text engine for frames
            *o++ = QChar::ReplacementCharacter;
        } else {
            *o++ = c;
        }
    }
    return out;
}

}  // namespace

QString canonical(const QString& written) { return canonicalise(written, LoneLF::Dropped); }

QString canonicalFromFileText(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    QStringView view(text);
    if (!view.isEmpty() && view.front() == QChar(QChar::ByteOrderMark)) view = view.mid(1);
    return canonicalise(view, LoneLF::Breaks);
}

QString canonicalFromLaterFileText(QByteArrayView bytes) {
    // A byte-order mark here is a character of the text.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder(bytes);
    return canonicalise(text, LoneLF::Breaks);
}

bool cutsCleanlyAfter(QByteArrayView bytes) {
    return bytes.isEmpty() ||
           (static_cast<unsigned char>(bytes.back()) < 0x80 && bytes.back() != '\r');
}

qsizetype clampStart(qsizetype start, qsizetype textLength) {
    if (start < 0) throw Failure(QStringLiteral("Invalid property value"));
    return std::min(start, textLength);
}

qsizetype clampLength(qsizetype length, qsizetype start, qsizetype textLength) {
    if (length < 0) throw Failure(QStringLiteral("Invalid property value"));
    return std::min(length, textLength - start);
}

quint64 NewRevision() {
    // Counted for all panes together, so that a text a pane gets back keeps the revision it had
    // and no other text ever has that one.
    static std::atomic<quint64> last{0};
    return ++last;
}

}  // namespace corvella::PaneText

#include "app/PaneText.h"

#include <QStringDecoder>

#include "app/ErrorReport.h"

namespace corvella::PaneText {

QString canonical(const QString& written) {
    QString out;
    out.reserve(written.size() + written.size() / 16 + 2);
    const qsizetype n = written.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = written.at(i);
        switch (c.unicode()) {
            case u'\r':
                out += kBreak;
                if (i + 1 < n && written.at(i + 1) == kLF) ++i;
                break;
            case u'\n':
                break;
            case 0x2029:  // paragraph separator
                out += kBreak;
                break;
            case 0xFDD0:  // reserved by the text engine for frame boundaries
            case 0xFDD1:
                out += QChar(QChar::ReplacementCharacter);
                break;
            default:
                out += c;
        }
    }
    return out;
}

QString canonicalFromFileText(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (!text.isEmpty() && text.at(0) == QChar(QChar::ByteOrderMark)) text.remove(0, 1);
    // Every LF that is not part of a CR LF ends a line too: turn it into a CR first.
    QString lines;
    lines.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == kLF && (i == 0 || text.at(i - 1) != kCR))
            lines += kCR;
        else
            lines += c;
    }
    return canonical(lines);
}

qsizetype clampStart(qsizetype start, qsizetype textLength) {
    if (start < 0) throw Failure(QStringLiteral("Invalid property value"));
    return std::min(start, textLength);
}

qsizetype clampLength(qsizetype length, qsizetype start, qsizetype textLength) {
    if (length < 0) throw Failure(QStringLiteral("Invalid property value"));
    return std::min(length, textLength - start);
}

}  // namespace corvella::PaneText

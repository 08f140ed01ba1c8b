// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "annotate/PageWords.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-page.h>

#include <QFile>
#include <limits>
#include <mutex>

namespace corvella::PageWords {

namespace {

// The library's own messages about damaged files would reach standard error: the extractor has
// already read the same pages, and what matters is told by the caller.
void Quiet() {
    static std::once_flag once;
    std::call_once(
        once, [] { poppler::set_debug_error_function([](const std::string&, void*) {}, nullptr); });
}

QRectF ToQt(const poppler::rectf& rect) {
    return QRectF(rect.x(), rect.y(), rect.width(), rect.height());
}

int Degrees(poppler::page::orientation_enum orientation) {
    switch (orientation) {
        case poppler::page::landscape:
            return 90;
        case poppler::page::upside_down:
            return 180;
        case poppler::page::seascape:
            return 270;
        case poppler::page::portrait:
            break;
    }
    return 0;
}

BoxMatcher::WordBox WordOf(const poppler::text_box& box) {
    // The library's strings hold UTF-16 in the machine's order: taken over as they are, as its
    // own conversion opens a converter per word.
    const poppler::ustring text = box.text();
    BoxMatcher::WordBox word{
        QString::fromUtf16(reinterpret_cast<const char16_t*>(text.data()), qsizetype(text.size())),
        ToQt(box.bbox()),
        box.rotation(),
        {}};
    // The library counts the word's characters, not the 16-bit halves of those beyond them.
    word.glyphs.reserve(size_t(word.text.size()));
    size_t character = 0;
    for (qsizetype unit = 0; unit < word.text.size(); ++unit) {
        word.glyphs.push_back(ToQt(box.char_bbox(character)));
        if (!word.text[unit].isHighSurrogate()) ++character;
    }
    return word;
}

}  // namespace

Reader::Reader(const QString& pdf, const QString& password, const QByteArray& contents) {
    Quiet();
    const std::string secret = password.toStdString();
    if (!contents.isEmpty() && contents.size() <= std::numeric_limits<int>::max())
        document_.reset(poppler::document::load_from_raw_data(
            contents.constData(), int(contents.size()), secret, secret));
    else
        document_.reset(poppler::document::load_from_file(QFile::encodeName(pdf).toStdString(),
                                                          secret, secret));
    if (!document_)
        problem_ = QStringLiteral("cannot be opened as a PDF");
    else if (document_->is_locked())
        problem_ = password.isEmpty() ? QStringLiteral("it needs a password")
                                      : QStringLiteral("the password given does not open it");
    if (!problem_.isEmpty()) document_.reset();
}

Reader::~Reader() = default;

int Reader::pageCount() const { return document_ ? document_->pages() : 0; }

Page Reader::read(int page) const {
    Page read;
    if (!document_ || page < 1 || page > document_->pages()) return read;
    const std::unique_ptr<poppler::page> shown(document_->create_page(page - 1));
    if (!shown) return read;
    read.cropBox = ToQt(shown->page_rect(poppler::crop_box));
    read.rotation = Degrees(shown->orientation());
    const std::vector<poppler::text_box> boxes = shown->text_list();
    read.words.reserve(boxes.size());
    for (const poppler::text_box& box : boxes) read.words.push_back(WordOf(box));
    return read;
}

QRectF ToPdfSpace(const QRectF& shown, const Page& page) {
    // The page as shown starts at its crop box's corner that comes top left once it is turned,
    // with y growing downwards; the PDF's y grows upwards.
    const QRectF& crop = page.cropBox;
    const double left = crop.left();
    const double bottom = crop.top();  // the crop box's smaller y
    const double right = crop.right();
    const double top = crop.bottom();
    switch (page.rotation) {
        case 90:
            return QRectF(QPointF(left + shown.top(), bottom + shown.left()),
                          QPointF(left + shown.bottom(), bottom + shown.right()));
        case 180:
            return QRectF(QPointF(right - shown.right(), bottom + shown.top()),
                          QPointF(right - shown.left(), bottom + shown.bottom()));
        case 270:
            return QRectF(QPointF(right - shown.bottom(), top - shown.right()),
                          QPointF(right - shown.top(), top - shown.left()));
        default:
            return QRectF(QPointF(left + shown.left(), top - shown.bottom()),
                          QPointF(left + shown.right(), top - shown.top()));
    }
}

}  // namespace corvella::PageWords

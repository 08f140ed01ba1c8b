// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#define POINTERHOLDER_TRANSITION 4
#include "annotate/AnnotatedCopy.h"

#include <QFile>
#include <QSaveFile>
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <qpdf/QUtil.hh>
#include <stdexcept>

namespace corvella::AnnotatedCopy {

namespace {

using Object = QPDFObjectHandle;

// The copy could not be written where it goes.
struct WriteFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// qpdf's output going into the file that replaces the target once complete. qpdf writes token by
// token: the pieces are gathered into blocks first.
class SaveFilePipeline : public Pipeline {
public:
    explicit SaveFilePipeline(QSaveFile& file) : Pipeline("annotated copy", nullptr), file_(file) {
        block_.reserve(kBlock);
    }
    void write(unsigned char const* data, size_t length) override {
        block_.append(reinterpret_cast<const char*>(data), length);
        if (block_.size() >= kBlock) finish();
    }
    void finish() override {
        if (file_.write(block_.data(), qint64(block_.size())) != qint64(block_.size()))
            throw WriteFailure(file_.errorString().toStdString());
        block_.clear();  // keeps its room
    }

private:
    static constexpr size_t kBlock = 1 << 20;
    QSaveFile& file_;
    std::string block_;
};

// Hundredths of a point, formatted here: a copy may hold a hundred thousand of them.
Object Number(double value) {
    return Object::newReal(QByteArray::number(value, 'f', 2).toStdString());
}

Object Numbers(std::initializer_list<double> values) {
    std::vector<Object> items;
    for (double value : values) items.push_back(Number(value));
    return Object::newArray(items);
}

Object Text(const QString& text) { return Object::newUnicodeString(text.toStdString()); }

// One highlight annotation: a quadrilateral per box (whose top() is its smaller y), corners in the
// order viewers expect (upper left, upper right, lower left, lower right), and a rectangle holding
// them all.
Object Annotation(QPDF& pdf, const Highlight& highlight, Object page, int number,
                  const std::string& now) {
    QRectF all;
    std::vector<Object> quads;
    for (const QRectF& box : highlight.boxes) {
        all |= box;
        for (double value : {box.left(), box.bottom(), box.right(), box.bottom(), box.left(),
                             box.top(), box.right(), box.top()})
            quads.push_back(Number(value));
    }
    Object annotation = Object::newDictionary();
    annotation.replaceKey("/Type", Object::newName("/Annot"));
    annotation.replaceKey("/Subtype", Object::newName("/Highlight"));
    annotation.replaceKey("/Rect", Numbers({all.left(), all.top(), all.right(), all.bottom()}));
    annotation.replaceKey("/QuadPoints", Object::newArray(quads));
    const DifferenceStyles::Colour& colour = highlight.colour;
    annotation.replaceKey("/C", Numbers({colour.red, colour.green, colour.blue}));
    annotation.replaceKey("/F", Object::newInteger(4));  // printed with the page
    annotation.replaceKey("/P", page);
    annotation.replaceKey("/T", Text(QStringLiteral("Corvella")));
    annotation.replaceKey("/Subj", Text(highlight.subject));
    annotation.replaceKey("/Contents", Text(highlight.note));
    annotation.replaceKey("/NM", Text(QStringLiteral("corvella-%1").arg(number)));
    annotation.replaceKey("/M", Object::newString(now));
    return pdf.makeIndirectObject(annotation);
}

// Adds the highlights to their pages' annotations, after those the page has. The page gets an
// array of its own, as another page might share the one it had.
void AddHighlights(QPDF& pdf, const std::vector<Highlight>& highlights) {
    std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
    std::map<int, std::vector<Object>> added;
    const std::string now = QUtil::qpdf_time_to_pdf_time(QUtil::get_current_qpdf_time());
    int number = 0;
    for (const Highlight& highlight : highlights) {
        if (highlight.page < 1 || size_t(highlight.page) > pages.size()) continue;
        Object page = pages[size_t(highlight.page - 1)].getObjectHandle();
        added[highlight.page].push_back(Annotation(pdf, highlight, page, ++number, now));
    }
    for (auto& [number, annotations] : added) {
        Object page = pages[size_t(number - 1)].getObjectHandle();
        Object existing = page.getKey("/Annots");
        std::vector<Object> all =
            existing.isArray() ? existing.getArrayAsVector() : std::vector<Object>{};
        all.insert(all.end(), annotations.begin(), annotations.end());
        page.replaceKey("/Annots", Object::newArray(all));
    }
}

// Why qpdf could not read the PDF.
QString Reason(const QPDFExc& failure, const QString& password) {
    if (failure.getErrorCode() == qpdf_e_password)
        return password.isEmpty() ? QStringLiteral("it needs a password")
                                  : QStringLiteral("the password given does not open it");
    return QStringLiteral("cannot be read as a PDF: ") +
           QString::fromStdString(failure.getMessageDetail());
}

QString CannotWrite(const QString& target, const QString& reason) {
    return QStringLiteral("its copy %1 cannot be written: %2").arg(target, reason);
}

void Process(QPDF& pdf, const QString& path, const QString& password) {
    pdf.setSuppressWarnings(true);
    pdf.processFile(QFile::encodeName(path).constData(), password.toUtf8().constData());
}

}  // namespace

Access Open(const QString& pdf, const QString& password) {
    QPDF document;
    try {
        Process(document, pdf, password);
    } catch (const QPDFExc& failure) {
        return {Reason(failure, password), false, false};
    } catch (const std::exception& failure) {
        return {QStringLiteral("cannot be read as a PDF: ") + QString::fromUtf8(failure.what()),
                false, false};
    }
    const bool owner = document.isEncrypted() && document.ownerPasswordMatched();
    return {QString(), owner, owner || document.allowExtractAll()};
}

QByteArray ReadWhole(const QString& pdf) {
    QFile file(pdf);
    if (file.size() > (qint64(1) << 28) || !file.open(QIODevice::ReadOnly)) return QByteArray();
    return file.readAll();
}

Document::Document(const QString& pdf, const QString& password)
    : pdf_(std::make_unique<QPDF>()), password_(password) {
    try {
        contents_ = ReadWhole(pdf);
        if (!contents_.isEmpty()) {
            pdf_->setSuppressWarnings(true);
            pdf_->processMemoryFile(QFile::encodeName(pdf).constData(), contents_.constData(),
                                    size_t(contents_.size()), password.toUtf8().constData());
        } else {
            Process(*pdf_, pdf, password);
        }
        if (pdf_->isEncrypted() && !pdf_->ownerPasswordMatched() && !pdf_->allowModifyAnnotation())
            problem_ = QStringLiteral(
                "its owner does not allow adding notes to it (give its owner's password)");
        else
            pdf_->fixDanglingReferences();  // parses every object, which writing needs anyway
    } catch (const QPDFExc& failure) {
        problem_ = Reason(failure, password);
    } catch (const std::exception& failure) {
        problem_ = QStringLiteral("cannot be copied: ") + QString::fromUtf8(failure.what());
    }
    if (!problem_.isEmpty()) pdf_.reset();
}

Document::~Document() = default;

QString Document::write(const std::vector<Highlight>& highlights, const QString& target) {
    if (!pdf_) return problem_;
    QSaveFile file(target);
    try {
        AddHighlights(*pdf_, highlights);
        if (!file.open(QIODevice::WriteOnly)) return CannotWrite(target, file.errorString());
        SaveFilePipeline output(file);
        QPDFWriter writer(*pdf_);
        writer.setOutputPipeline(&output);
        // The content streams go over as they are, neither decoded nor compressed anew.
        writer.setStreamDataMode(qpdf_s_preserve);
        writer.write();
        output.finish();
    } catch (const QPDFExc& failure) {
        file.cancelWriting();
        return Reason(failure, password_);
    } catch (const WriteFailure& failure) {
        file.cancelWriting();
        return CannotWrite(target, QString::fromStdString(failure.what()));
    } catch (const std::exception& failure) {
        file.cancelWriting();
        return QStringLiteral("cannot be copied: ") + QString::fromUtf8(failure.what());
    }
    if (!file.commit()) return CannotWrite(target, file.errorString());
    return QString();
}

}  // namespace corvella::AnnotatedCopy

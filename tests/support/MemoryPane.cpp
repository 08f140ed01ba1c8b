#include "tests/support/MemoryPane.h"

#include <QFile>

#include "app/ErrorReport.h"
#include "app/PaneText.h"

namespace corvella::testing {

void MemoryPane::maybeFail(Operation operation) const {
    if (failing_ == operation) throw Failure(failure_);
}

QString MemoryPane::text() const {
    maybeFail(Operation::ReadText);
    return text_;
}

void MemoryPane::setText(const QString& text) {
    maybeFail(Operation::WriteText);
    text_ = PaneText::canonical(text);
    colors_.assign(size_t(text_.size()), kBlack);
    selStart_ = selLength_ = 0;
    ++revision_;
}

void MemoryPane::setSelStart(qsizetype start) {
    maybeFail(Operation::SetSelection);
    selStart_ = PaneText::clampStart(start, text_.size());
    selLength_ = 0;
}

void MemoryPane::setSelLength(qsizetype length) {
    maybeFail(Operation::SetSelection);
    selLength_ = PaneText::clampLength(length, selStart_, text_.size());
}

void MemoryPane::setSelColor(Color color) {
    maybeFail(Operation::SetColor);
    ++setSelColorCalls;
    for (qsizetype i = selStart_; i < selStart_ + selLength_; ++i) colors_[size_t(i)] = color;
}

void MemoryPane::colorRanges(const std::vector<TextRange>& ranges, Color color) {
    maybeFail(Operation::SetColor);
    for (const TextRange& range : ranges)
        for (qsizetype i = range.start; i < range.start + range.length && i < text_.size(); ++i)
            colors_[size_t(i)] = color;
}

Color MemoryPane::colorAt(qsizetype position) const {
    if (position < 0 || position >= text_.size()) return kBlack;
    return colors_[size_t(position)];
}

void MemoryPane::setShown(bool shown) {
    maybeFail(Operation::SetShown);
    shown_ = shown;
}

void MemoryPane::loadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Failure(file.errorString());
    text_ = PaneText::canonicalFromFileText(file.readAll());
    colors_.assign(size_t(text_.size()), kBlack);
    selStart_ = selLength_ = 0;
    ++revision_;
}

}  // namespace corvella::testing

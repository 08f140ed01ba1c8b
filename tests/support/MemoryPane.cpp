// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/MemoryPane.h"

#include "core/ErrorReport.h"

namespace corvella::testing {

void MemoryPane::maybeFail(Operation operation) const {
    if (failing_ == operation) throw Failure(failure_);
}

QString MemoryPane::text() const {
    maybeFail(Operation::ReadText);
    return MemoryDocument::text();
}

void MemoryPane::setText(const QString& text) {
    maybeFail(Operation::WriteText);
    MemoryDocument::setText(text);
}

void MemoryPane::setSelStart(qsizetype start) {
    maybeFail(Operation::SetSelection);
    MemoryDocument::setSelStart(start);
}

void MemoryPane::setSelLength(qsizetype length) {
    maybeFail(Operation::SetSelection);
    MemoryDocument::setSelLength(length);
}

void MemoryPane::setSelColor(Color color) {
    maybeFail(Operation::SetColor);
    ++setSelColorCalls;
    MemoryDocument::setSelColor(color);
}

void MemoryPane::colorRanges(const std::vector<TextRange>& ranges, Color color) {
    maybeFail(Operation::SetColor);
    MemoryDocument::colorRanges(ranges, color);
}

void MemoryPane::setShown(bool shown) {
    maybeFail(Operation::SetShown);
    MemoryDocument::setShown(shown);
}

}  // namespace corvella::testing

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "core/MemoryDocument.h"
#include "tests/support/QStringPrinter.h"

namespace corvella::testing {

// A pane in memory that can be told to fail an operation.
class MemoryPane : public MemoryDocument {
public:
    enum class Operation { ReadText, WriteText, SetSelection, SetColor, SetShown };

    explicit MemoryPane(const QString& text = QString()) : MemoryDocument(text) {}

    QString text() const override;
    void setText(const QString& text) override;
    void setSelStart(qsizetype start) override;
    void setSelLength(qsizetype length) override;
    void setSelColor(Color color) override;
    void colorRanges(const std::vector<TextRange>& ranges, Color color) override;
    void setShown(bool shown) override;

    // Every call of the operation throws Failure(description) from now on.
    void failOn(Operation operation, const QString& description) {
        failing_ = operation;
        failure_ = description;
    }

    int setSelColorCalls = 0;

private:
    void maybeFail(Operation operation) const;

    std::optional<Operation> failing_;
    QString failure_;
};

}  // namespace corvella::testing

#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "app/PaneDocument.h"
#include "tests/support/QStringPrinter.h"

namespace corvella::testing {

// A pane held in memory, character for character in the text's own positions. It follows the
// same writing rules as the window's panes and can be told to fail an operation.
class MemoryPane : public PaneDocument {
public:
    enum class Operation { ReadText, WriteText, SetSelection, SetColor, SetShown };

    explicit MemoryPane(const QString& text = QString()) { setText(text); }

    QString text() const override;
    qsizetype textLength() const override { return text_.size(); }
    void setText(const QString& text) override;
    qsizetype selStart() const override { return selStart_; }
    qsizetype selLength() const override { return selLength_; }
    void setSelStart(qsizetype start) override;
    void setSelLength(qsizetype length) override;
    void setSelColor(Color color) override;
    void colorRanges(const std::vector<TextRange>& ranges, Color color) override;
    Color colorAt(qsizetype position) const override;
    bool isShown() const override { return shown_; }
    void setShown(bool shown) override;
    void loadFromFile(const QString& path) override;
    quint64 textRevision() const override { return revision_; }

    // Every call of the operation throws Failure(description) from now on.
    void failOn(Operation operation, const QString& description) {
        failing_ = operation;
        failure_ = description;
    }

    int setSelColorCalls = 0;

private:
    void maybeFail(Operation operation) const;

    QString text_;
    std::vector<Color> colors_;
    qsizetype selStart_ = 0;
    qsizetype selLength_ = 0;
    bool shown_ = true;
    quint64 revision_ = 0;
    std::optional<Operation> failing_;
    QString failure_;
};

}  // namespace corvella::testing

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "core/PaneDocument.h"

namespace corvella {

// A pane held in memory, without any widget: the text in its own positions with a colour per
// character. It follows the same writing rules as the window's panes, so the commands give the
// same results on it; the command-line comparer runs them on four of these.
class MemoryDocument : public PaneDocument {
public:
    explicit MemoryDocument(const QString& text = QString());

    QString text() const override { return text_; }
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
    void setShown(bool shown) override { shown_ = shown; }
    void loadFromFile(const QString& path) override;
    quint64 textRevision() const override { return revision_; }
    void keepContent() override;
    void restoreContent() override;
    void dropKeptContent() override { kept_.reset(); }

private:
    void replaceText(QString canonical);
    void paint(qsizetype from, qsizetype to, Color color);

    QString text_;
    // One colour per character; empty while every character is black.
    std::vector<Color> colors_;
    qsizetype selStart_ = 0;
    qsizetype selLength_ = 0;
    bool shown_ = true;
    quint64 revision_ = 0;
    struct Kept {
        QString text;
        std::vector<Color> colors;
        qsizetype selStart = 0;
        qsizetype selLength = 0;
        quint64 revision = 0;
    };
    std::optional<Kept> kept_;
};

}  // namespace corvella

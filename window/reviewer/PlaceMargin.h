// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "diff/TextPlaces.h"

namespace corvella {

class RichTextPane;

// The margin beside a text: each line's page and line ("12:4") as the differences' places name
// them, the document's own page numbers when only some pages were compared. It paints only the
// lines in view.
class PlaceMargin : public QWidget {
public:
    PlaceMargin(RichTextPane& pane, QWidget* parent);

    // The text the pane shows now, with the document's number of each of its pages (empty: every
    // page, from 1).
    void setText(const QString& text, std::vector<int> pageNumbers);
    // "p:l" of a text position.
    QString placeOf(qsizetype position) const;
    // The places painted at the last paint, top to bottom (for the accessible description).
    const QStringList& shown() const { return shown_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    RichTextPane& pane_;
    QString text_;
    std::unique_ptr<TextPlaces::Locator> locator_;
    std::vector<int> pageNumbers_;
    QStringList shown_;
};

}  // namespace corvella

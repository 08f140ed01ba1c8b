// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QToolBar>
#include <array>

#include "core/Side.h"
#include "diff/layout/LayoutOptions.h"

class QCheckBox;
class QLineEdit;

namespace corvella {

// The layout-free comparison's options in the review window: what it sets aside, and the pages of
// each file it compares. A change asks for the comparison again.
class ReviewOptions : public QToolBar {
    Q_OBJECT
public:
    static inline const QString kExactTypography = QStringLiteral("Exact typography");
    static inline const QString kIgnoreCase = QStringLiteral("Ignore case");
    static inline const QString kIgnoreNumbers = QStringLiteral("Ignore numbers");
    static inline const QString kIgnorePunctuation = QStringLiteral("Ignore punctuation");

    explicit ReviewOptions(QWidget* parent);

    LayoutCompare::Options options() const;
    void setOptions(const LayoutCompare::Options& options);
    // The pages asked for of each file, as written; empty for every page.
    QString pages(Side side) const;
    QCheckBox* toggle(const QString& caption) const;
    QLineEdit* pagesField(Side side) const { return pages_[side]; }

signals:
    void changed();

private:
    std::array<QCheckBox*, 4> toggles_{};
    BySide<QLineEdit*> pages_{};
};

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/ReviewOptions.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace corvella {

namespace {

const std::array<const QString*, 4> kCaptions = {
    &ReviewOptions::kExactTypography, &ReviewOptions::kIgnoreCase, &ReviewOptions::kIgnoreNumbers,
    &ReviewOptions::kIgnorePunctuation};

}  // namespace

ReviewOptions::ReviewOptions(QWidget* parent) : QToolBar(QStringLiteral("Options"), parent) {
    setObjectName(QStringLiteral("OptionsBar"));
    setAccessibleName(QStringLiteral("Options of the comparison ignoring layout"));
    for (size_t i = 0; i < toggles_.size(); ++i) {
        auto* toggle = new QCheckBox(*kCaptions[i], this);
        toggle->setObjectName(QString(*kCaptions[i]).remove(u' '));
        toggle->setAccessibleName(*kCaptions[i]);
        connect(toggle, &QCheckBox::toggled, this, &ReviewOptions::changed);
        addWidget(toggle);
        toggles_[i] = toggle;
    }
    for (const Side side : kBothSides) {
        const QString caption = QStringLiteral("Pages of file %1:").arg(TextPaneOf(side));
        auto* label = new QLabel(caption, this);
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("Pages%1").arg(TextPaneOf(side)));
        field->setAccessibleName(QStringLiteral("Pages of file %1").arg(TextPaneOf(side)));
        field->setPlaceholderText(QStringLiteral("all, or 1-12,15"));
        field->setMaximumWidth(field->fontMetrics().horizontalAdvance(u'0') * 14);
        label->setBuddy(field);
        connect(field, &QLineEdit::returnPressed, this, &ReviewOptions::changed);
        addWidget(label);
        addWidget(field);
        pages_[side] = field;
    }
}

LayoutCompare::Options ReviewOptions::options() const {
    LayoutCompare::Options options;
    options.exactTypography = toggles_[0]->isChecked();
    options.ignoreCase = toggles_[1]->isChecked();
    options.ignoreNumbers = toggles_[2]->isChecked();
    options.ignorePunctuation = toggles_[3]->isChecked();
    return options;
}

void ReviewOptions::setOptions(const LayoutCompare::Options& options) {
    const bool values[] = {options.exactTypography, options.ignoreCase, options.ignoreNumbers,
                           options.ignorePunctuation};
    for (size_t i = 0; i < toggles_.size(); ++i) {
        const QSignalBlocker quiet(toggles_[i]);
        toggles_[i]->setChecked(values[i]);
    }
}

QString ReviewOptions::pages(Side side) const { return pages_[side]->text().trimmed(); }

QCheckBox* ReviewOptions::toggle(const QString& caption) const {
    for (size_t i = 0; i < toggles_.size(); ++i)
        if (*kCaptions[i] == caption) return toggles_[i];
    return nullptr;
}

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/ChangeTableModel.h"

#include <algorithm>

namespace corvella {

namespace {

// A cell shows the start of a long run; the copy and the filter read it whole.
constexpr qsizetype kShownCharacters = 160;

QString shortened(const QString& words) {
    const QString flat = words.simplified();
    return flat.size() <= kShownCharacters ? flat : flat.left(kShownCharacters) + u'\x2026';
}

}  // namespace

void ChangeTableModel::setList(std::shared_ptr<const ChangeList> list,
                               std::shared_ptr<const Reviewed> reviewed, Rows shown) {
    beginResetModel();
    list_ = std::move(list);
    reviewed_ = std::move(reviewed);
    shown_ = std::move(shown);
    endResetModel();
}

void ChangeTableModel::setShown(Rows shown) {
    beginResetModel();
    shown_ = std::move(shown);
    endResetModel();
}

void ChangeTableModel::clear() {
    setList(nullptr, nullptr, std::make_shared<const std::vector<qint32>>());
}

int ChangeTableModel::tableRow(qint32 listRow) const {
    const auto at = std::lower_bound(shown_->begin(), shown_->end(), listRow);
    return at != shown_->end() && *at == listRow ? int(at - shown_->begin()) : -1;
}

QString ChangeTableModel::place(const Change& change, Side side) const {
    const Difference* difference = list_->on(change, side);
    if (!difference) return {};
    const std::vector<int>& numbers = reviewed_->pageNumbers[side];
    const int page = difference->page >= 1 && size_t(difference->page) <= numbers.size()
                         ? numbers[size_t(difference->page - 1)]
                         : difference->page;
    return QStringLiteral("p%1:l%2").arg(page).arg(difference->line);
}

QString ChangeTableModel::words(const Change& change, Side side) const {
    return list_->words(change, side, reviewed_->texts[side]);
}

QString ChangeTableModel::copyText(int tableRow) const {
    const Change& change = (*list_)[size_t(listRow(tableRow))];
    QString copied = ChangeList::KindName(change.kind) + u'\n';
    for (const Side side : kBothSides) {
        copied += QStringLiteral("File %1 %2: ").arg(TextPaneOf(side)).arg(place(change, side));
        copied += words(change, side) + u'\n';
    }
    return copied;
}

int ChangeTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !list_ ? 0 : int(shown_->size());
}

int ChangeTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant ChangeTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !list_ || size_t(index.row()) >= shown_->size()) return {};
    const Change& change = (*list_)[size_t(listRow(index.row()))];
    auto cell = [&](int column) -> QString {
        switch (column) {
            case Kind:
                return ChangeList::KindName(change.kind);
            case Place1:
                return place(change, Side::One);
            case Place2:
                return place(change, Side::Two);
            case Words1:
                return shortened(words(change, Side::One));
            case Words2:
                return shortened(words(change, Side::Two));
        }
        return {};
    };
    if (role == Qt::DisplayRole) return cell(index.column());
    if (role == Qt::AccessibleTextRole) {
        const QString value = cell(index.column());
        return headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString() +
               QStringLiteral(": ") + (value.isEmpty() ? QStringLiteral("none") : value);
    }
    if (role == Qt::ToolTipRole && (index.column() == Words1 || index.column() == Words2))
        return words(change, index.column() == Words1 ? Side::One : Side::Two);
    return {};
}

QVariant ChangeTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    if (orientation == Qt::Vertical) {
        if (role == Qt::AccessibleTextRole)
            return QStringLiteral("Change %1 of %2").arg(section + 1).arg(rowCount());
        return section + 1;
    }
    static const char* const titles[kColumns] = {"Kind", "File 1 page:line", "File 2 page:line",
                                                 "Words in file 1", "Words in file 2"};
    return section >= 0 && section < kColumns ? QString::fromLatin1(titles[section]) : QVariant();
}

}  // namespace corvella

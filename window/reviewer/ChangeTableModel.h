// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "report/ChangeList.h"
#include "window/reviewer/Reviewed.h"

namespace corvella {

// The rows of a change list that the filters show, as a table a view reads a screenful at a time:
// no widget and no text is made for a row that is not drawn. The list and the rows shown are
// made elsewhere (on a thread) and swapped in whole.
class ChangeTableModel : public QAbstractTableModel {
public:
    enum Column { Kind, Place1, Place2, Words1, Words2, kColumns };
    using Rows = std::shared_ptr<const std::vector<qint32>>;

    explicit ChangeTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // A new list (with what it was made of) and the rows of it shown.
    void setList(std::shared_ptr<const ChangeList> list, std::shared_ptr<const Reviewed> reviewed,
                 Rows shown);
    void setShown(Rows shown);
    void clear();

    const ChangeList* list() const { return list_.get(); }
    const std::shared_ptr<const ChangeList>& sharedList() const { return list_; }
    const std::vector<qint32>& shown() const { return *shown_; }
    const Rows& sharedShown() const { return shown_; }
    // The list's row of a table row.
    qint32 listRow(int tableRow) const { return (*shown_)[size_t(tableRow)]; }
    // The table row of a list row, or -1 when it is not shown.
    int tableRow(qint32 listRow) const;

    // "p12:l4" of the change on the side, with the document's own page number; empty where the
    // side has none.
    QString place(const Change& change, Side side) const;
    QString words(const Change& change, Side side) const;
    // Both sides of a row as a reader copies them.
    QString copyText(int tableRow) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::shared_ptr<const ChangeList> list_;
    std::shared_ptr<const Reviewed> reviewed_;
    Rows shown_ = std::make_shared<const std::vector<qint32>>();
};

}  // namespace corvella

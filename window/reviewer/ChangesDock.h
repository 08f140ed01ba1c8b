// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDockWidget>
#include <array>
#include <memory>

#include "report/DifferenceReport.h"
#include "window/reviewer/BackgroundWork.h"
#include "window/reviewer/ChangeTableModel.h"

class QCheckBox;
class QLineEdit;
class QTableView;

namespace corvella {

// The list of changes beside the texts: a heading with the counts, a toggle per kind and a text
// filter over a table of the rows they let through. The list and the rows shown are made on a
// thread and swapped in, so 700,000 changes never hold the window.
class ChangesDock : public QDockWidget {
    Q_OBJECT
public:
    explicit ChangesDock(QWidget* parent = nullptr);

    // Lists the changes of a comparison reviewed; none empties the list, the heading saying why.
    void list(std::shared_ptr<const Reviewed> reviewed);
    void empty(const QString& why);

    // The list and the rows shown are being made.
    bool busy() const { return work_.running(); }
    const ChangeTableModel& model() const { return *model_; }
    QTableView* table() const { return table_; }
    QLineEdit* heading() const { return heading_; }
    QCheckBox* kindToggle(ChangeKind kind) const { return kinds_[size_t(kind)]; }
    QLineEdit* filter() const { return filter_; }

    // What the filters hide, as a report of the rows shown says it.
    DifferenceReport::Hidden hidden() const;
    // The next or previous row of the list's order, from the current one.
    void step(int by);
    // Both sides of the current row to the clipboard.
    void copyCurrent();

signals:
    // A row was chosen: go to its change in both texts.
    void chosen(qint32 listRow);

private:
    void refilter();
    void showHeading();
    void head(const QString& text);
    ChangeKinds shownKinds() const;

    ChangeTableModel* model_;
    QLineEdit* heading_;
    std::array<QCheckBox*, kChangeKinds> kinds_{};
    QLineEdit* filter_;
    QTableView* table_;
    std::shared_ptr<const Reviewed> reviewed_;
    BackgroundWork work_{this};
};

}  // namespace corvella

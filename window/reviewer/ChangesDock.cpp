// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/ChangesDock.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

namespace corvella {

namespace {

QString capitalized(QString name) {
    name[0] = name[0].toUpper();
    return name;
}

struct Made {
    std::shared_ptr<const ChangeList> list;
    ChangeTableModel::Rows shown;
};

ChangeTableModel::Rows shownOf(const ChangeList& list, const ChangeKinds& kinds,
                               const QString& text, const Reviewed& reviewed,
                               const BackgroundWork::KeepGoing& keepGoing) {
    const BySide<QStringView> texts{{reviewed.texts[Side::One], reviewed.texts[Side::Two]}};
    return std::make_shared<const std::vector<qint32>>(
        ShownRows(list, kinds, text, Qt::CaseInsensitive, texts, keepGoing));
}

}  // namespace

ChangesDock::ChangesDock(QWidget* parent) : QDockWidget(QStringLiteral("Changes"), parent) {
    setObjectName(QStringLiteral("ChangesDock"));
    setAccessibleName(QStringLiteral("List of changes"));
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    // A field read only, not a label: assistive technology reads a field's text as text.
    heading_ = new QLineEdit(content);
    heading_->setObjectName(QStringLiteral("ChangesHeading"));
    heading_->setAccessibleName(QStringLiteral("Counts of the changes"));
    heading_->setReadOnly(true);
    heading_->setFrame(false);
    QPalette flat = heading_->palette();
    flat.setColor(QPalette::Base, Qt::transparent);
    heading_->setPalette(flat);
    layout->addWidget(heading_);

    auto* toggles = new QHBoxLayout;
    const ChangeKinds defaults = ChangeList::DefaultKinds();
    for (size_t k = 0; k < kChangeKinds; ++k) {
        const QString name = ChangeList::KindName(ChangeKind(k));
        auto* toggle = new QCheckBox(capitalized(name), content);
        toggle->setObjectName(QStringLiteral("Show_") + name);
        toggle->setAccessibleName(QStringLiteral("Show %1 changes").arg(name));
        toggle->setChecked(defaults[k]);
        connect(toggle, &QCheckBox::toggled, this, &ChangesDock::refilter);
        toggles->addWidget(toggle);
        kinds_[k] = toggle;
    }
    toggles->addStretch();
    layout->addLayout(toggles);

    filter_ = new QLineEdit(content);
    filter_->setObjectName(QStringLiteral("ChangesFilter"));
    filter_->setAccessibleName(QStringLiteral("Show only changes with these words"));
    filter_->setPlaceholderText(QStringLiteral("Filter by words"));
    filter_->setClearButtonEnabled(true);
    connect(filter_, &QLineEdit::textChanged, this, &ChangesDock::refilter);
    layout->addWidget(filter_);

    model_ = new ChangeTableModel(this);
    table_ = new QTableView(content);
    table_->setObjectName(QStringLiteral("ChangesTable"));
    table_->setAccessibleName(QStringLiteral("Changes"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setStretchLastSection(true);
    // Widths for what the columns hold, not measured over 700,000 rows.
    const QFontMetrics metrics = table_->fontMetrics();
    const int place = metrics.horizontalAdvance(QStringLiteral("File 1 page:line")) + 16;
    table_->setColumnWidth(ChangeTableModel::Kind,
                           metrics.horizontalAdvance(QStringLiteral("typography")) + 16);
    table_->setColumnWidth(ChangeTableModel::Place1, place);
    table_->setColumnWidth(ChangeTableModel::Place2, place);
    table_->setColumnWidth(ChangeTableModel::Words1, metrics.averageCharWidth() * 24);
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(QStringLiteral("Copy Both Sides"), table_);
    copy->setObjectName(QStringLiteral("CopyChange"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &ChangesDock::copyCurrent);
    table_->addAction(copy);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) emit chosen(model_->listRow(current.row()));
            });
    layout->addWidget(table_, 1);
    setWidget(content);
}

ChangeKinds ChangesDock::shownKinds() const {
    ChangeKinds kinds{};
    for (size_t k = 0; k < kChangeKinds; ++k) kinds[k] = kinds_[k]->isChecked();
    return kinds;
}

void ChangesDock::list(std::shared_ptr<const Reviewed> reviewed) {
    reviewed_ = std::move(reviewed);
    head(QStringLiteral("Listing the changes\u2026"));
    work_.start<Made>(
        [reviewed = reviewed_, kinds = shownKinds(),
         text = filter_->text()](const BackgroundWork::KeepGoing& keepGoing) {
            auto list =
                std::make_shared<const ChangeList>(reviewed->comparison, reviewed->others.get());
            ChangeTableModel::Rows shown = shownOf(*list, kinds, text, *reviewed, keepGoing);
            return Made{std::move(list), std::move(shown)};
        },
        [this, reviewed = reviewed_](Made made) {
            model_->setList(std::move(made.list), reviewed, std::move(made.shown));
            showHeading();
        });
}

void ChangesDock::empty(const QString& why) {
    work_.stop();
    reviewed_.reset();
    model_->clear();
    head(why);
}

void ChangesDock::refilter() {
    const std::shared_ptr<const ChangeList> list = model_->sharedList();
    if (!list || !reviewed_) return;
    const qint32 current =
        table_->currentIndex().isValid() ? model_->listRow(table_->currentIndex().row()) : -1;
    work_.start<ChangeTableModel::Rows>(
        [list, reviewed = reviewed_, kinds = shownKinds(),
         text = filter_->text()](const BackgroundWork::KeepGoing& keepGoing) {
            return shownOf(*list, kinds, text, *reviewed, keepGoing);
        },
        [this, current](ChangeTableModel::Rows shown) {
            model_->setShown(std::move(shown));
            showHeading();
            // The row chosen stays chosen while it is shown, without going there again.
            const int row = current >= 0 ? model_->tableRow(current) : -1;
            if (row >= 0) {
                const QSignalBlocker quiet(table_->selectionModel());
                table_->setCurrentIndex(model_->index(row, 0));
            }
        });
}

DifferenceReport::Hidden ChangesDock::hidden() const {
    DifferenceReport::Hidden hidden;
    for (size_t k = 0; k < kChangeKinds; ++k)
        if (!kinds_[k]->isChecked()) hidden.kinds << ChangeList::KindName(ChangeKind(k));
    hidden.containing = filter_->text();
    if (const ChangeList* list = model_->list())
        hidden.changes = qsizetype(list->size()) - qsizetype(model_->shown().size());
    return hidden;
}

void ChangesDock::head(const QString& text) {
    heading_->setText(text);
    heading_->setCursorPosition(0);  // a long heading shows its start
    heading_->setToolTip(text);
}

void ChangesDock::showHeading() {
    const ChangeList* list = model_->list();
    if (!list) return;
    qsizetype hidden = qsizetype(list->size()) - qsizetype(model_->shown().size());
    head(ChangeList::Heading(list->counts(), hidden));
}

void ChangesDock::step(int by) {
    const int rows = model_->rowCount();
    if (rows == 0) return;
    QModelIndex current = table_->currentIndex();
    // A current row the user never chose (the view makes one as it takes focus) is no start.
    if (current.isValid() && !table_->selectionModel()->isRowSelected(current.row())) current = {};
    int row = current.isValid() ? current.row() + by : (by > 0 ? 0 : rows - 1);
    row = std::clamp(row, 0, rows - 1);
    if (current.isValid() && row == current.row()) {
        QApplication::beep();
        return;
    }
    const QModelIndex next = model_->index(row, current.isValid() ? current.column() : 0);
    table_->selectionModel()->setCurrentIndex(
        next, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // Chosen again though it was current: the texts go there.
    if (next == table_->currentIndex() && !current.isValid()) emit chosen(model_->listRow(row));
    table_->scrollTo(table_->currentIndex());
}

void ChangesDock::copyCurrent() {
    const QModelIndex current = table_->currentIndex();
    if (current.isValid()) QApplication::clipboard()->setText(model_->copyText(current.row()));
}

}  // namespace corvella

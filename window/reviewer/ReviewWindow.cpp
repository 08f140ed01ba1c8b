// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/ReviewWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>

#include "diff/layout/LayoutComparison.h"
#include "window/reviewer/ReviewExport.h"
#include "window/reviewer/ReviewPages.h"
#include "window/reviewer/ReviewSettings.h"

namespace corvella {

namespace {

bool sameOptions(const LayoutCompare::Options& a, const LayoutCompare::Options& b) {
    return a.exactTypography == b.exactTypography && a.ignoreCase == b.ignoreCase &&
           a.ignoreNumbers == b.ignoreNumbers && a.ignorePunctuation == b.ignorePunctuation;
}

struct Compared {
    Comparison comparison;
    Alignment alignment;
};

}  // namespace

ReviewWindow::ReviewWindow(const ShownComparison& shown, BySide<RichTextPane*> mainTexts,
                           Services& services, const QString& settingsFile, QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      shown_(shown),
      services_(services),
      mainTexts_(mainTexts),
      settingsFile_(settingsFile) {
    setObjectName(QStringLiteral("ReviewWindow"));
    setWindowTitle(QStringLiteral("Review of the changes"));
    setAccessibleName(windowTitle());
    texts_ = new ReviewTexts(&services_.events, this);
    setCentralWidget(texts_);
    changes_ = new ChangesDock(this);
    addDockWidget(Qt::LeftDockWidgetArea, changes_);
    find_ = new FindBar(this);
    addToolBar(Qt::BottomToolBarArea, find_);
    options_ = new ReviewOptions(this);
    addToolBar(Qt::TopToolBarArea, options_);
    state_ = new QLabel(this);
    state_->setObjectName(QStringLiteral("ReviewState"));
    state_->setAccessibleName(QStringLiteral("State of the review"));
    statusBar()->addWidget(state_, 1);
    createCommands();

    connect(changes_, &ChangesDock::chosen, this, [this](qint32 row) {
        if (const ChangeList* list = changes_->model().list())
            texts_->goTo(*list, (*list)[size_t(row)]);
    });
    connect(find_, &FindBar::find, this,
            [this](const QString& text, Qt::CaseSensitivity sensitivity, bool backward) {
                find_->found(texts_->find(text, sensitivity, backward));
            });
    connect(options_, &ReviewOptions::changed, this, [this] {
        saveState();
        recompute();
    });
    follow();
    restoreState();
}

ReviewWindow::~ReviewWindow() = default;

QString ReviewWindow::DefaultSettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Kestrovan/corvella-review-window.ini");
}

void ReviewWindow::createCommands() {
    auto add = [this](QMenu* menu, const QString& caption, const QString& name,
                      const QList<QKeySequence>& keys, auto run) {
        auto* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, run);
        addAction(action);
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, QStringLiteral("Export Report\u2026"), QStringLiteral("ExportReport"),
        {QKeySequence(Qt::CTRL | Qt::Key_E)}, [this] { exportReport(); });
    add(file, QStringLiteral("Export Annotated PDFs\u2026"), QStringLiteral("ExportAnnotated"),
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)}, [this] { exportAnnotated(); });
    add(file, QStringLiteral("Close"), QStringLiteral("CloseReview"), {QKeySequence::Close},
        [this] { close(); });
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    add(edit, QStringLiteral("Find\u2026"), QStringLiteral("Find"), {QKeySequence::Find},
        [this] { find_->open(); });
    add(edit, QStringLiteral("Find Next"), QStringLiteral("FindNextCommand"),
        {QKeySequence::FindNext}, [this] { find_->findAgain(false); });
    add(edit, QStringLiteral("Find Previous"), QStringLiteral("FindPreviousCommand"),
        {QKeySequence::FindPrevious}, [this] { find_->findAgain(true); });
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    add(view, QStringLiteral("Zoom In"), QStringLiteral("ZoomIn"),
        {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        [this] { texts_->zoom(1); });
    add(view, QStringLiteral("Zoom Out"), QStringLiteral("ZoomOut"), {QKeySequence::ZoomOut},
        [this] { texts_->zoom(-1); });
    add(view, QStringLiteral("Actual Size"), QStringLiteral("ActualSize"),
        {QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { texts_->resetZoom(); });
    QAction* list = changes_->toggleViewAction();
    list->setText(QStringLiteral("List of Changes"));
    view->addAction(list);
    QAction* options = options_->toggleViewAction();
    options->setText(QStringLiteral("Options"));
    view->addAction(options);
    QMenu* go = menuBar()->addMenu(QStringLiteral("&Go"));
    add(go, QStringLiteral("Next Change"), QStringLiteral("NextChange"), {QKeySequence(Qt::Key_F8)},
        [this] { changes_->step(1); });
    add(go, QStringLiteral("Previous Change"), QStringLiteral("PreviousChange"),
        {QKeySequence(Qt::SHIFT | Qt::Key_F8)}, [this] { changes_->step(-1); });
    add(go, QStringLiteral("To the List"), QStringLiteral("ToTheList"),
        {QKeySequence(Qt::CTRL | Qt::Key_1)}, [this] {
            changes_->show();
            changes_->table()->setFocus(Qt::ShortcutFocusReason);
        });
    add(go, QStringLiteral("To File 1"), QStringLiteral("ToFile1"),
        {QKeySequence(Qt::CTRL | Qt::Key_2)},
        [this] { texts_->pane(Side::One)->setFocus(Qt::ShortcutFocusReason); });
    add(go, QStringLiteral("To File 2"), QStringLiteral("ToFile2"),
        {QKeySequence(Qt::CTRL | Qt::Key_3)},
        [this] { texts_->pane(Side::Two)->setFocus(Qt::ShortcutFocusReason); });
    for (QAction* action : menuBar()->actions())
        action->menu()->setAccessibleName(action->text().remove(u'&'));
}

QAction* ReviewWindow::command(const QString& name) const { return findChild<QAction*>(name); }

void ReviewWindow::follow() {
    connect(&shown_, &ShownComparison::shown, this, [this] {
        if (isVisible()) takeShown();
    });
    connect(&shown_, &ShownComparison::linked, this, [this] {
        const std::shared_ptr<const ShownComparison::Stage> stage = shown_.stage();
        if (!isVisible() || !reviewed_ || !stage_ || !stage ||
            stage->comparison != stage_->comparison || reviewed_->alignment)
            return;
        stage_ = stage;
        // Only the comparison shown as the main window made it waits for this alignment.
        if (reviewed_->comparison != stage->comparison) return;
        auto linked = std::make_shared<Reviewed>(*reviewed_);
        linked->alignment = stage->alignment;
        linked->others = stage->others;
        reviewed_ = linked;
        texts_->link(reviewed_);
        // The lines' and words' other places pair their deletions and insertions anew.
        if (linked->others) changes_->list(reviewed_);
    });
    for (RichTextPane* pane : mainTexts_)
        connect(pane, &RichTextPane::textRevised, this, [this] { textsChanged(); });
}

void ReviewWindow::open() {
    if (!reviewed_ || !stage_ || stage_ != shown_.stage()) takeShown();
    show();
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

void ReviewWindow::setSource(Side side, const QString& pdf, quint64 revision) {
    sources_[side] = pdf;
    sourceRevisions_[side] = revision;
}

std::optional<Side> ReviewWindow::changedSide() const {
    for (const Side side : kBothSides)
        if (!stage_->holdsText(side, *mainTexts_[side])) return side;
    return std::nullopt;
}

QString ReviewWindow::ChangedLine(Side side) {
    return QStringLiteral(
               "The text of file %1 changed in the main window: find the differences "
               "again to review them.")
        .arg(TextPaneOf(side));
}

void ReviewWindow::textsChanged() {
    if (!stage_ || !reviewed_) return;
    if (const std::optional<Side> side = changedSide()) empty(ChangedLine(*side));
}

void ReviewWindow::takeShown() {
    stage_ = shown_.stage();
    if (!stage_) {
        empty(QStringLiteral("No comparison yet: find the differences in the main window."));
        return;
    }
    if (const std::optional<Side> side = changedSide()) {
        empty(ChangedLine(*side));
        return;
    }
    options_->setEnabled(stage_->comparison->method == Method::IgnoringLayout);
    recompute();
}

std::shared_ptr<const Reviewed> ReviewWindow::fromStage() const {
    auto reviewed = std::make_shared<Reviewed>();
    reviewed->comparison = stage_->comparison;
    reviewed->texts = stage_->panes.texts;
    reviewed->alignment = stage_->alignment;
    reviewed->others = stage_->others;
    for (const Side side : kBothSides)
        if (sourceRevisions_[side] == stage_->panes.textRevisions[side])
            reviewed->names[side] = sources_[side];
    return reviewed;
}

void ReviewWindow::showReviewed(std::shared_ptr<const Reviewed> reviewed) {
    reviewed_ = std::move(reviewed);
    base_ = stage_->comparison;
    texts_->review(reviewed_);
    changes_->list(reviewed_);
    say(QString());
}

void ReviewWindow::empty(const QString& why) {
    work_.stop();
    reviewed_.reset();
    base_.reset();
    texts_->clear();
    changes_->empty(why);
    say(why);
}

void ReviewWindow::say(const QString& line) {
    state_->setText(line);
    state_->setAccessibleDescription(line);
}

void ReviewWindow::recompute() {
    if (!stage_ || changedSide()) return;
    const std::shared_ptr<const Reviewed> base = fromStage();
    const bool own =
        stage_->comparison->method == Method::IgnoringLayout &&
        (!options_->pages(Side::One).isEmpty() || !options_->pages(Side::Two).isEmpty() ||
         !sameOptions(options_->options(), LayoutCompare::Options{}));
    if (!own) {
        work_.stop();
        showReviewed(base);
        return;
    }
    auto reviewed = std::make_shared<Reviewed>();
    reviewed->texts = base->texts;
    reviewed->names = base->names;
    if (const QString problem = ExtractPages(
            *reviewed, {{options_->pages(Side::One), options_->pages(Side::Two)}}, services_);
        !problem.isEmpty()) {
        // What is shown stays, or the main window's comparison shows, with the reason.
        if (!reviewed_ || base_ != stage_->comparison) showReviewed(base);
        say(problem);
        return;
    }
    say(QStringLiteral("Comparing again\u2026"));
    work_.start<Compared>(
        [texts = reviewed->texts,
         options = options_->options()](const BackgroundWork::KeepGoing& keepGoing) {
            Compared compared;
            compared.comparison = LayoutCompare::Compare(texts[Side::One], texts[Side::Two],
                                                         keepGoing, &compared.alignment, options);
            return compared;
        },
        [this, reviewed](Compared compared) {
            reviewed->comparison =
                std::make_shared<const Comparison>(std::move(compared.comparison));
            reviewed->alignment = std::make_shared<const Alignment>(std::move(compared.alignment));
            showReviewed(reviewed);
        });
}

void ReviewWindow::exportReport() {
    if (!reviewed_ || !changes_->model().list()) return;
    const QString path =
        dialogs_->saveFileName(QStringLiteral("Export Report"), QStringLiteral("changes.html"),
                               QStringLiteral("Web page (*.html);;JSON (*.json)"));
    if (path.isEmpty()) return;
    say(QStringLiteral("Writing the report\u2026"));
    // A thousand pages take seconds to write: on a thread, of the rows shown as asked.
    exporting_.start<QString>(
        [list = changes_->model().sharedList(), rows = changes_->model().sharedShown(),
         reviewed = reviewed_, hidden = changes_->hidden(),
         path](const BackgroundWork::KeepGoing&) {
            return ReviewExport::WriteReport(KeepRows(*list, *rows), *reviewed, hidden, path);
        },
        [this, path](QString problem) {
            say(problem.isEmpty()
                    ? QStringLiteral("Report written to %1").arg(path)
                    : QStringLiteral("The report was not written to %1: %2").arg(path, problem));
            if (!problem.isEmpty()) dialogs_->tell(QStringLiteral("Export Report"), state_->text());
        });
}

void ReviewWindow::exportAnnotated() {
    if (!reviewed_ || !changes_->model().list()) return;
    const QString folder = dialogs_->folder(QStringLiteral("Export Annotated PDFs"));
    if (folder.isEmpty()) return;
    say(QStringLiteral("Marking the copies\u2026"));
    exporting_.start<QString>(
        [list = changes_->model().sharedList(), rows = changes_->model().sharedShown(),
         reviewed = reviewed_, folder](const BackgroundWork::KeepGoing&) {
            return ReviewExport::WriteAnnotated(KeepRows(*list, *rows), *reviewed, folder);
        },
        [this](QString outcome) { say(outcome); });
}

void ReviewWindow::closeEvent(QCloseEvent* event) {
    saveState();
    QMainWindow::closeEvent(event);
}

void ReviewWindow::restoreState() {
    ReviewSettings::Restore(settingsFile_, *this, *texts_->splitter(), *options_);
}

void ReviewWindow::saveState() const {
    ReviewSettings::Save(settingsFile_, *this, *texts_->splitter(), *options_);
}

}  // namespace corvella

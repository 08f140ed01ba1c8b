// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMainWindow>
#include <memory>
#include <optional>

#include "core/Services.h"
#include "core/Side.h"
#include "diff/layout/LayoutOptions.h"
#include "window/pane/RichTextPane.h"
#include "window/review/ShownComparison.h"
#include "window/reviewer/BackgroundWork.h"
#include "window/reviewer/ChangesDock.h"
#include "window/reviewer/FindBar.h"
#include "window/reviewer/ReviewDialogs.h"
#include "window/reviewer/ReviewOptions.h"
#include "window/reviewer/ReviewTexts.h"

class QLabel;

namespace corvella {

// The review window: the main window's last comparison with both texts large side by side, the
// list of its changes beside them, find, zoom, the reports and annotated copies of the changes
// shown, and, for the layout-free comparison, its options and pages. It follows the main window:
// a new comparison shows there, new text in pane 1 or 2 empties it. Its size, docks and options
// are kept in a settings file of its own.
class ReviewWindow : public QMainWindow {
    Q_OBJECT
public:
    // The main window's comparison and its two text panes; `settingsFile` the file it keeps its
    // state in.
    ReviewWindow(const ShownComparison& shown, BySide<RichTextPane*> mainTexts, Services& services,
                 const QString& settingsFile, QWidget* parent = nullptr);
    ~ReviewWindow() override;

    // The settings file of the review window in the user's configuration folder.
    static QString DefaultSettingsFile();

    // Shows the window on the comparison shown now and brings it to the front.
    void open();
    // The PDF a main pane's text was loaded from, while that pane holds the text of `revision`.
    void setSource(Side side, const QString& pdf, quint64 revision);
    // The dialogs asked for names; the real ones unless a test gives its own.
    void setDialogs(ReviewDialogs* dialogs) { dialogs_ = dialogs ? dialogs : &qtDialogs_; }

    const std::shared_ptr<const Reviewed>& reviewed() const { return reviewed_; }
    ReviewTexts* texts() const { return texts_; }
    ChangesDock* changes() const { return changes_; }
    FindBar* findBar() const { return find_; }
    ReviewOptions* options() const { return options_; }
    QLabel* state() const { return state_; }
    // Nothing is being made on a thread: the list, its rows, a comparison, an export.
    bool settled() const {
        return !changes_->busy() && !texts_->busy() && !work_.running() && !exporting_.running();
    }

    // The commands, by their objects' names.
    QAction* command(const QString& name) const;

    void exportReport();
    void exportAnnotated();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createCommands();
    void follow();
    void takeShown();
    void textsChanged();
    void showReviewed(std::shared_ptr<const Reviewed> reviewed);
    void empty(const QString& why);
    void recompute();
    void say(const QString& line);
    void restoreState();
    void saveState() const;

    // The main window's comparison as the review shows it.
    std::shared_ptr<const Reviewed> fromStage() const;
    // A side whose main pane no longer holds the text compared, and the line saying so.
    std::optional<Side> changedSide() const;
    static QString ChangedLine(Side side);

    const ShownComparison& shown_;
    Services& services_;
    BySide<RichTextPane*> mainTexts_;
    QString settingsFile_;
    ReviewTexts* texts_;
    ChangesDock* changes_;
    FindBar* find_;
    ReviewOptions* options_;
    QLabel* state_;
    QtReviewDialogs qtDialogs_{this};
    ReviewDialogs* dialogs_ = &qtDialogs_;
    std::shared_ptr<const ShownComparison::Stage> stage_;
    std::shared_ptr<const Reviewed> reviewed_;
    // The main window's comparison that what is shown was made from (or is).
    std::shared_ptr<const Comparison> base_;
    BySide<QString> sources_;
    BySide<quint64> sourceRevisions_{};
    BackgroundWork work_{this};
    BackgroundWork exporting_{this};
};

}  // namespace corvella

// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCursor>
#include <QHash>
#include <QWidget>
#include <memory>
#include <optional>

#include "core/MainWindow.h"
#include "diff/Comparison.h"
#include "window/main/FileDrop.h"
#include "window/pane/RichTextPane.h"
#include "window/review/ReviewKeys.h"
#include "window/review/ShownComparison.h"
#include "window/review/SideBySideReview.h"
#include "window/reviewer/ReviewWindow.h"

class QAction;
class QDropEvent;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace corvella {

// The main window: its controls at their fixed places, the pointer rules, and the wiring of each
// control to its command.
class Form1 : public QWidget, public MainWindow {
    Q_OBJECT
public:
    explicit Form1(Services& services, QWidget* parent = nullptr);

    // The start-up sequence; runs before the window is shown.
    void Form_Load();
    // The shut-down: stops the extractors, removes this process's files and ends the process at
    // once.
    void Shutdown();

    // MainWindow
    PaneDocument& pane(int number) override;
    bool isOptionSelected(int number) const override;
    void selectOption(int number) override;
    PointerShape pointer() const override { return pointer_; }
    void setPointer(PointerShape shape) override;
    Services& services() override { return services_; }
    // Keeps the PDF's name for the review window's annotated copies and chosen pages (none when
    // the pane holds several PDFs' text).
    void textLoadedFrom(int paneNumber, const QStringList& pdfs) override;

    // Controls by design name.
    RichTextPane* RichTextBox(int number) const { return panes_[number - 1]; }
    QPushButton* PushButton(int number) const { return buttons_[number - 1]; }
    QRadioButton* Option(int number) const { return options_[number - 1]; }
    QGroupBox* Frame(int number) const { return frames_[number - 1]; }
    // The keys and menu entries that walk the differences.
    ReviewKeys* reviewKeys() const { return reviewKeys_; }
    // "Find Differences (Ignoring Layout)": Ctrl+L and the context menus of panes 1 and 2.
    QAction* IgnoringLayoutAction() const { return ignoringLayout_; }
    // "Open Review Window": Ctrl+R and the context menus of panes 1 and 2, once a comparison has
    // been made here.
    QAction* OpenReviewAction() const { return openReview_; }
    // The review window of the last comparison, opened or raised; none before it is first opened.
    void openReview();
    ReviewWindow* reviewWindow() const { return review_.get(); }
    // Loads files given from outside the window (the command line, a drop) into pane 1 or 2.
    void loadGivenFile(int pane, const QString& path);
    // The files of the command line, then, with `review`, the comparison ignoring layout and the
    // review window.
    void loadCommandLine(const QStringList& files, bool review);
    // Both texts reviewed at once after a comparison: linked scrolling, the other side of each
    // difference, moves, the scroll bars' marks.
    SideBySideReview* sideBySide() const { return sideBySide_; }
    // What the last Find Differences command with the standard method found.
    const Comparison& comparison() const { return shown_.comparison(); }
    const ShownComparison& shown() const { return shown_; }

    // The custom pointer shown over the command buttons; none means the ordinary arrow.
    void setHandPicture(std::optional<QCursor> hand);

    // Command handlers.
    void PushButton1_Click();
    void PushButton6_Click();
    void PushButton2_Click();
    void PushButton3_Click();
    void PushButton4_Click();
    void PushButton5_Click();
    void PushButton7_Click();
    void PushButton8_Click();
    void PushButton9_Click();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Local PDF files dropped onto the window load into the panes (see FileDrop).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void createControls();
    void applyLook();
    void applyFocusOrder();
    void wireCommands();
    void watchPointerMoves();
    void applyPointer();
    void hover(PointerShape shape);
    void chooseMethod(bool standard);
    // Runs a Find Differences command; once it has run, each pane shows its first difference.
    void runComparison(void (*command)(MainWindow&, Comparison*));
    std::vector<FileDrop::Load> dropLoads(const QDropEvent& event) const;
    void answerDrop(QDropEvent* event, bool take);
    QString programFolder() const;

    Services& services_;
    RichTextPane* panes_[4] = {};
    QPushButton* buttons_[9] = {};
    QRadioButton* options_[4] = {};
    QGroupBox* frames_[4] = {};
    QAction* ignoringLayout_ = nullptr;
    QAction* openReview_ = nullptr;
    // The files loaded by name, with the revision of the text they gave their pane.
    BySide<QString> sources_;
    BySide<quint64> sourceRevisions_{};
    QHash<QString, QWidget*> byName_;
    ReviewKeys* reviewKeys_ = nullptr;
    ShownComparison shown_;
    SideBySideReview* sideBySide_ = nullptr;

    PointerShape pointer_ = PointerShape::Default;
    std::optional<QCursor> hand_;
    // Widgets whose pointer follows the window's, with the pointer each shows by itself.
    QList<QPair<QWidget*, std::optional<QCursor>>> pointerWidgets_;
    QSet<QObject*> buttonHover_;
    QSet<QObject*> defaultHover_;
    QSet<QObject*> noHover_;
    // A window of its own, gone before the comparison it reads.
    std::unique_ptr<ReviewWindow> review_;
};

}  // namespace corvella

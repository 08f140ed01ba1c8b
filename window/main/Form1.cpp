// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main/Form1.h"

#include <unistd.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <array>

#include "compare/LayoutCommand.h"
#include "compare/LinesCommand.h"
#include "compare/WordsCommand.h"
#include "core/AppTitle.h"
#include "core/ChildLifetime.h"
#include "core/ErrorReport.h"
#include "core/LoadCancel.h"
#include "core/SettingsStore.h"
#include "core/Shell32.h"
#include "display/ShowRTF.h"
#include "extract/Deployment.h"
#include "extract/GivenFiles.h"
#include "extract/LoadCommands.h"
#include "extract/SampleCommands.h"
#include "output/PrinterCheck.h"
#include "output/SaveAsPdf.h"
#include "window/main/FormLayout.h"
#include "window/main/HelpCommand.h"
#include "window/main/HomePage.h"
#include "window/main/IgnoringLayoutCommand.h"
#include "window/main/Startup.h"
#include "window/main/WindowAccessible.h"

static void initResources() { Q_INIT_RESOURCE(resources); }

namespace corvella {

namespace {

int designNumber(const QString& name) { return name.right(1).toInt(); }

QString fontFamily() {
    return QFontDatabase::families().contains(QStringLiteral("Arial"))
               ? QStringLiteral("Arial")
               : QStringLiteral("Liberation Sans");
}

void paintWhite(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
    widget->setBackgroundRole(QPalette::Window);  // buttons would otherwise fill with Button
    widget->setAutoFillBackground(true);
}

bool noMouseButtonDown(QEvent* event) {
    return static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton;
}

}  // namespace

Form1::Form1(Services& services, QWidget* parent) : QWidget(parent), services_(services) {
    initResources();
    InstallWindowAccessibility();
    setObjectName(QStringLiteral("Form1"));
    resize(FormLayout::ToPixels(FormLayout::kClientWidthTwips),
           FormLayout::ToPixels(FormLayout::kClientHeightTwips));
    createControls();
    applyLook();
    applyFocusOrder();
    wireCommands();
    watchPointerMoves();
    // Esc stops a load whose extraction runs (a broken PDF may keep the extractor busy forever).
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [] { LoadCancel::Request(); });
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void Form1::createControls() {
    for (const FormLayout::ControlDesign& control : FormLayout::Controls()) {
        QWidget* container = control.container.isEmpty() ? this : byName_.value(control.container);
        QWidget* widget = nullptr;
        const int number = designNumber(control.name);
        switch (control.kind) {
            case FormLayout::ControlKind::CommandButton:
                widget = buttons_[number - 1] = new QPushButton(control.caption, container);
                break;
            case FormLayout::ControlKind::Frame:
                widget = frames_[number - 1] = new QGroupBox(control.caption, container);
                break;
            case FormLayout::ControlKind::OptionButton:
                widget = options_[number - 1] = new QRadioButton(control.caption, container);
                break;
            case FormLayout::ControlKind::Pane: {
                RichTextPane* pane = panes_[number - 1] = new RichTextPane(container);
                pane->keepLive(services_.events, services_.yieldSlice);
                pane->setText(control.name);  // a new pane holds its own name until start-up
                // Drops over a pane go to the window, which loads files and refuses the rest.
                pane->setAcceptDrops(false);
                pane->viewport()->setAcceptDrops(false);
                widget = pane;
                break;
            }
        }
        widget->setObjectName(control.name);
        widget->setAccessibleName(control.caption.isEmpty() ? control.name : control.caption);
        widget->setGeometry(FormLayout::ToPixels(control));
        byName_.insert(control.name, widget);
    }
    Option(3)->setChecked(true);
    setAcceptDrops(true);
}

void Form1::applyLook() {
    QFont font(fontFamily());
    font.setPointSizeF(9);
    font.setBold(true);
    setFont(font);
    QFont buttonFont = font;
    buttonFont.setPointSizeF(11.25);
    for (QPushButton* button : buttons_) button->setFont(buttonFont);

    paintWhite(this);
    for (QGroupBox* frame : frames_) paintWhite(frame);
    for (QRadioButton* option : options_) paintWhite(option);
}

void Form1::applyFocusOrder() {
    const QStringList& order = FormLayout::FocusOrder();
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(byName_.value(order[i]), byName_.value(order[i + 1]));
}

void Form1::wireCommands() {
    reviewKeys_ = new ReviewKeys(*this, {panes_[0], panes_[1], panes_[2], panes_[3]}, shown_, this);
    sideBySide_ = new SideBySideReview(*this, {panes_[0], panes_[1], panes_[2], panes_[3]},
                                       *reviewKeys_, shown_, this);
    connect(PushButton(1), &QPushButton::clicked, this, &Form1::PushButton1_Click);
    connect(PushButton(6), &QPushButton::clicked, this, &Form1::PushButton6_Click);
    connect(PushButton(2), &QPushButton::clicked, this, &Form1::PushButton2_Click);
    connect(PushButton(3), &QPushButton::clicked, this, &Form1::PushButton3_Click);
    connect(PushButton(4), &QPushButton::clicked, this, &Form1::PushButton4_Click);
    connect(PushButton(5), &QPushButton::clicked, this, &Form1::PushButton5_Click);
    connect(PushButton(7), &QPushButton::clicked, this, &Form1::PushButton7_Click);
    connect(PushButton(8), &QPushButton::clicked, this, &Form1::PushButton8_Click);
    connect(PushButton(9), &QPushButton::clicked, this, &Form1::PushButton9_Click);
    // An option's click behaviour runs whenever it becomes selected: by mouse, keyboard, an
    // accessibility action or the program itself.
    const std::array<void (Form1::*)(), 4> optionClicks = {
        &Form1::Option1_Click, &Form1::Option2_Click, &Form1::Option3_Click, &Form1::Option4_Click};
    for (int n = 1; n <= 4; ++n) {
        connect(Option(n), &QRadioButton::toggled, this,
                [this, click = optionClicks[n - 1]](bool on) {
                    if (on) (this->*click)();
                });
    }
    ignoringLayout_ =
        OfferIgnoringLayoutCommand(*this, [this] { runComparison(FindDifferencesIgnoringLayout); });
    for (int number : {1, 2}) reviewKeys_->offerInMenu(number, ignoringLayout_);
    openReview_ = new QAction(QStringLiteral("Open Review Window"), this);
    openReview_->setObjectName(QStringLiteral("OpenReviewWindow"));
    openReview_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    openReview_->setShortcutContext(Qt::WindowShortcut);
    openReview_->setEnabled(false);
    addAction(openReview_);
    connect(openReview_, &QAction::triggered, this, &Form1::openReview);
    for (int number : {1, 2}) reviewKeys_->offerInMenu(number, openReview_);
}

void Form1::watchPointerMoves() {
    setMouseTracking(true);
    auto watch = [this](QWidget* widget, QSet<QObject*>& rule) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
        rule.insert(widget);
    };
    for (QPushButton* button : buttons_) watch(button, buttonHover_);
    for (QGroupBox* frame : frames_) watch(frame, defaultHover_);
    watch(Option(1), defaultHover_);
    watch(Option(2), defaultHover_);
    for (RichTextPane* pane : panes_) watch(pane->viewport(), defaultHover_);
    watch(Option(3), noHover_);
    watch(Option(4), noHover_);

    pointerWidgets_.append({this, std::nullopt});
    for (QWidget* child : findChildren<QWidget*>()) {
        std::optional<QCursor> own;
        if (child->testAttribute(Qt::WA_SetCursor)) own = child->cursor();
        pointerWidgets_.append({child, own});
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseMove) return QWidget::eventFilter(watched, event);
    if (buttonHover_.contains(watched)) {
        hover(PointerShape::Hand);
        return noMouseButtonDown(event);  // an unhandled move would reach the window background
    }
    if (defaultHover_.contains(watched)) {
        hover(PointerShape::Default);
        return false;
    }
    if (noHover_.contains(watched)) return noMouseButtonDown(event);
    return QWidget::eventFilter(watched, event);
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    hover(PointerShape::Default);
    QWidget::mouseMoveEvent(event);
}

void Form1::hover(PointerShape shape) {
    if (pointer_ == PointerShape::Hourglass) return;  // only the command that set it clears it
    setPointer(shape);
}

void Form1::setPointer(PointerShape shape) {
    pointer_ = shape;
    applyPointer();
}

void Form1::setHandPicture(std::optional<QCursor> hand) {
    hand_ = std::move(hand);
    applyPointer();
}

void Form1::applyPointer() {
    std::optional<QCursor> shown;
    if (pointer_ == PointerShape::Hourglass) shown = QCursor(Qt::WaitCursor);
    if (pointer_ == PointerShape::Hand) shown = hand_ ? *hand_ : QCursor(Qt::ArrowCursor);
    for (const auto& [widget, own] : pointerWidgets_) {
        if (shown)
            widget->setCursor(*shown);
        else if (own)
            widget->setCursor(*own);
        else
            widget->unsetCursor();
    }
}

PaneDocument& Form1::pane(int number) { return *panes_[number - 1]; }

bool Form1::isOptionSelected(int number) const { return options_[number - 1]->isChecked(); }

void Form1::selectOption(int number) {
    // Selecting runs the option's click behaviour (see wireCommands); an option already selected
    // stays as it is.
    options_[number - 1]->setChecked(true);
}

QString Form1::programFolder() const {
    return services_.programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : services_.programFolder;
}

void Form1::Form_Load() {
    Procedure proc(services_.dialogs, QStringLiteral("Form1.Form_Load"));
    proc.step(100, [&] { ApplySkin(*this, programFolder()); });
    proc.step(102, [&] {
        for (RichTextPane* pane : panes_) pane->setText(QString());
    });
    proc.step(104, [&] {
        for (RichTextPane* pane : panes_) pane->setTabChangesFocus(true);
    });
    proc.step(106, [&] { selectOption(1); });
    proc.step(108, [&] {
        if (std::optional<QCursor> hand = LoadHandPicture(programFolder())) setHandPicture(hand);
    });
    proc.step(110, [&] {
        OpenHomePageOccasionally(Require(services_.random, "The random-number source"),
                                 Require(services_.launcher, "The browser launcher"));
    });
    proc.step(112, [&] {
        setWindowTitle(kProductName);
        setWindowIcon(QIcon(QStringLiteral(":/corvella.png")));
        SetAppTitle(kProductName);
    });
    proc.step(114, [&] {
        RestoreComparisonMethod(*this, Require(services_.settings, "The settings store"));
    });
    proc.step(116, [&] { Deployment::DeployExtractor(services_.events); });
    proc.step(118, [&] {
        CheckPdfPrinter(Require(services_.printers, "The printer list"), services_.dialogs);
    });
    proc.step(120, [&] { ComparisonDone = false; });
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    // The shut-down ends the process at once: the review window keeps its state first.
    if (review_) review_->close();
    Shutdown();
}

std::vector<FileDrop::Load> Form1::dropLoads(const QDropEvent& event) const {
    // A drop during a comparison is refused like a second click on its button.
    if (BusyFlag || FileDrop::Action(event.possibleActions()) == Qt::IgnoreAction) return {};
    return FileDrop::Plan(event.mimeData()->urls(), event.position().x() < width() / 2.0);
}

void Form1::answerDrop(QDropEvent* event, bool take) {
    if (!take) {
        event->ignore();
        return;
    }
    event->setDropAction(FileDrop::Action(event->possibleActions()));
    event->accept();
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    answerDrop(event, !dropLoads(*event).empty());
}

void Form1::dragMoveEvent(QDragMoveEvent* event) { answerDrop(event, !dropLoads(*event).empty()); }

void Form1::dropEvent(QDropEvent* event) {
    const std::vector<FileDrop::Load> loads = dropLoads(*event);
    answerDrop(event, !loads.empty());
    // Loading yields to the event loop: it runs once the drop has been answered.
    if (!loads.empty())
        QMetaObject::invokeMethod(
            this,
            [this, loads] {
                for (const FileDrop::Load& load : loads) loadGivenFile(load.pane, load.path);
            },
            Qt::QueuedConnection);
}

void Form1::Shutdown() {
    Shell32::KillRunningPrograms();
    ChildLifetime::StopChildren();
    ChildLifetime::RemoveOwnFiles();
    Deployment::RemoveExtractor();
    if (services_.endProcess)
        services_.endProcess(0);
    else
        ::_exit(0);
}

void Form1::runComparison(void (*command)(MainWindow&, Comparison*)) {
    // A command that found another one running does nothing, and leaves the review as it was.
    if (BusyFlag) {
        command(*this, nullptr);
        return;
    }
    // The word-processor method compares outside the window, and the comparison shown stays; the
    // layout-free command always compares here.
    const bool here = command == FindDifferencesIgnoringLayout || isOptionSelected(3);
    sideBySide_->comparisonStarting();
    Comparison found;
    command(*this, &found);
    if (here) {
        ShownComparison::Panes panes;
        for (const Side side : kBothSides) {
            panes.texts[side] = textPane(side).text();
            panes.textRevisions[side] = textPane(side).textRevision();
            panes.listRevisions[side] = workPane(side).textRevision();
        }
        shown_.show(std::move(found), std::move(panes));
    }
    reviewKeys_->comparisonEnded();
    sideBySide_->comparisonEnded(here);
    if (here && ComparisonDone) openReview_->setEnabled(true);
}

void Form1::openReview() {
    if (!review_) {
        review_ =
            std::make_unique<ReviewWindow>(shown_, BySide<RichTextPane*>{{panes_[0], panes_[1]}},
                                           services_, ReviewWindow::DefaultSettingsFile());
        for (const Side side : kBothSides)
            review_->setSource(side, sources_[side], sourceRevisions_[side]);
    }
    review_->open();
}

void Form1::loadGivenFile(int pane, const QString& path) { LoadGivenFile(*this, pane, path); }

void Form1::textLoadedFrom(int paneNumber, const QStringList& pdfs) {
    const Side side = SideOfPane(paneNumber);
    sources_[side] = pdfs.size() == 1 ? pdfs.front() : QString();
    sourceRevisions_[side] = panes_[size_t(paneNumber - 1)]->textRevision();
    if (review_) review_->setSource(side, sources_[side], sourceRevisions_[side]);
}

void Form1::loadCommandLine(const QStringList& files, bool review) {
    LoadGivenFiles(*this, files);
    if (!review) return;
    ignoringLayout_->trigger();
    if (openReview_->isEnabled()) openReview();
}

void Form1::PushButton1_Click() { runComparison(corvella::PushButton1_Click); }
void Form1::PushButton6_Click() { runComparison(corvella::PushButton6_Click); }
void Form1::PushButton2_Click() { corvella::PushButton2_Click(*this); }
void Form1::PushButton3_Click() { corvella::PushButton3_Click(*this); }
void Form1::PushButton4_Click() { corvella::PushButton4_Click(*this); }
void Form1::PushButton5_Click() { corvella::PushButton5_Click(*this); }
void Form1::PushButton7_Click() { corvella::PushButton7_Click(*this); }
void Form1::PushButton8_Click() { corvella::PushButton8_Click(*this); }
void Form1::PushButton9_Click() { corvella::PushButton9_Click(*this); }
void Form1::Option1_Click() { ShowRTF(*this); }
void Form1::Option2_Click() { ShowRTF(*this); }
void Form1::Option3_Click() { chooseMethod(true); }
void Form1::Option4_Click() { chooseMethod(false); }

void Form1::chooseMethod(bool standard) {
    PushButton(1)->setEnabled(standard);
    // A value that cannot be stored is not reported: the choice still holds for this run.
    if (services_.settings != nullptr)
        services_.settings->save(kSettingsApplication, kSettingsSection, kComparisonKey,
                                 standard ? QStringLiteral("1") : QStringLiteral("2"));
}

}  // namespace corvella

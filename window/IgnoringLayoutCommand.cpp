#include "window/IgnoringLayoutCommand.h"

#include <QWidget>
#include <memory>

namespace corvella {

QAction* OfferIgnoringLayoutCommand(QWidget& window, const std::vector<RichTextPane*>& panes,
                                    std::function<void()> run) {
    auto* action = new QAction(kIgnoringLayoutCaption, &window);
    action->setObjectName(QStringLiteral("FindDifferencesIgnoringLayout"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    action->setShortcutContext(Qt::WindowShortcut);
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, &window, [run = std::move(run)] { run(); });
    for (RichTextPane* pane : panes) {
        pane->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(
            pane, &QWidget::customContextMenuRequested, pane,
            [pane, action](const QPoint& position) {
                const std::unique_ptr<QMenu> menu(PaneMenuWithCommand(*pane, *action, position));
                menu->exec(pane->viewport()->mapToGlobal(position));
            });
    }
    return action;
}

QMenu* PaneMenuWithCommand(RichTextPane& pane, QAction& command, const QPoint& position) {
    QMenu* menu = pane.createStandardContextMenu(position);
    menu->addSeparator();
    menu->addAction(&command);
    return menu;
}

}  // namespace corvella

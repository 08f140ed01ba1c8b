// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main/WindowAccessible.h"

#include <QAccessibleApplication>
#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include "window/main/Form1.h"

namespace corvella {

namespace {

// Qt's application lists its top-level windows but its popups; this one lists the popups shown
// too, after the windows.
class ApplicationAccessible : public QAccessibleApplication {
public:
    int childCount() const override { return int(topLevels().size()); }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child == nullptr ? -1 : int(topLevels().indexOf(child->object()));
    }
    QAccessibleInterface* child(int index) const override {
        const QObjectList all = topLevels();
        return index >= 0 && index < all.size() ? QAccessible::queryAccessibleInterface(all[index])
                                                : nullptr;
    }

private:
    static QObjectList topLevels() {
        QObjectList windows;
        QObjectList popups;
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            const bool popup = window->type() == Qt::Popup;
            if (window->type() == Qt::Desktop || (popup && !window->isVisible())) continue;
            QAccessibleInterface* root = window->accessibleRoot();
            if (root == nullptr || root->object() == nullptr) continue;
            (popup ? popups : windows).append(root->object());
        }
        return windows + popups;
    }
};

QAccessibleInterface* factory(const QString& key, QObject* object) {
    if (object == QCoreApplication::instance() && key == QLatin1String("QApplication"))
        return new ApplicationAccessible;
    if (key == QLatin1String(Form1::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

}  // namespace

void InstallWindowAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    static_cast<void>(installed);
}

}  // namespace corvella

#include "windowplacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

bool CompositorPlacesWindows() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void CenterOnScreen(QWidget* window) {
    if (CompositorPlacesWindows()) {
        return;
    }
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void KeepAboveOwner(QWidget* window) {
    QWidget* owner = window->parentWidget();
    if (!window->isWindow() || !owner) {
        return;
    }
    QWindow* ownerHandle = owner->window()->windowHandle();
    if (!ownerHandle) {
        return;
    }
    window->winId();
    if (QWindow* handle = window->windowHandle()) {
        handle->setTransientParent(ownerHandle);
    }
}

void MinimizeApplication() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            window->showMinimized();
        }
    }
}

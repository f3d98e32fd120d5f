#include "WindowOps.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace app {

void SetTopMost(QWidget* window, bool on) {
    if (!window)
        return;
    // Toggling the widget flag would hide the window; the QWindow flag only changes the stacking.
    // The native window is created first so the flag is there on the first show as well.
    window->winId();
    if (QWindow* handle = window->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
}

bool ForceForeground(QWidget* window) {
    if (!window)
        return true;
    if (window->isMaximized())
        window->show();
    else
        window->showNormal();
    window->raise();
    window->activateWindow();
    if (QWindow* handle = window->windowHandle())
        handle->requestActivate();
    return true;
}

bool IsForeground(const QWidget* window) {
    if (!window || !window->isVisible())
        return false;
    const QWindow* handle = window->windowHandle();
    return handle && QGuiApplication::focusWindow() == handle;
}

bool BeginWindowDrag(QWidget* window) {
    if (!window)
        return false;
    QWindow* handle = window->windowHandle();
    return handle && handle->startSystemMove();
}

} // namespace app
